#include "platform/qor_combo.h"
#include "shots.h"
#include "support/entry_scenes.h"
#include "support/form_controls.h"
#include "support/stored_document.h"
#include <QTest>

bool entryLayouts(Shots& s)
{
    EditingWindow w;
    w.prepare();
    if (!storeInvoiceToCorrect(w)) return s.fail("the invoice to correct was not stored");
    w.open();
    const struct {
        const char* name;
        QSize size;
    } sizes[] = {{"compact", w.window->minimumSizeHint().expandedTo(w.window->minimumSize())},
                 {"large", QSize(1600, 1000)}};
    for (bool korekta : {false, true}) {
        if (korekta)
            correctStoredInvoice(w);
        else if (!openInvoiceWithLongTexts(w))
            return s.fail("the stored invoice did not open");
        for (const auto& size : sizes) {
            w.window->resize(size.size);
            QApplication::processEvents();
            s.grab(w.window.get(), QStringLiteral("%1_%2").arg(size.name, korekta ? "correction" : "invoice"));
        }
    }
    return true;
}

bool sideList(Shots& s)
{
    EditingWindow w;
    w.prepare();
    int n = 0;
    for (const char* name : {"Jan Nowak", "Zofia Ćwik", "ANNA ŻAK", "Łukasz Ąbel", "adam Bąk"}) {
        DocHeader h = invoiceHeader(QStringLiteral("%1/05/2024").arg(++n));
        h.Nazkon = QString::fromUtf8(name);
        h.PlatRach = "11 2222";
        std::vector<TypedRow> rows = {{n == 1 ? "Pszenica" : QString::fromUtf8("Żyto paszowe"), "2", "t", "10,55"}};
        if (n == 1) rows.push_back({"Rzepak ozimy", "1", "kg", "1234,56", "23"});
        storeDocument(w.t.app, h, rows);
    }
    w.open();
    auto focus = [](QWidget* f) {
        f->setFocus();
        QTest::qWait(50);
    };
    focus(controls(w.form).txtNazkon);
    s.grab(w.window.get(), "side_list_contractors");
    focus(controls(w.form).txtDatasprz);
    s.grab(w.window.get(), "side_list_dates");
    controls(w.form).gridPoz->setCurrentIndex(controls(w.form).dataPoz->index(0, PositionModel::Nazwa));
    focus(controls(w.form).gridPoz);
    s.grab(w.window.get(), "side_list_products");
    return true;
}

bool documentList(Shots& s)
{
    EditingWindow w;
    w.prepare();
    App& app = w.t.app;
    app.gBazaPar.NumSzablon = QString::fromUtf8("Numer/Miesiąc/Rok[4]");
    for (int i = 1; i <= 12; ++i) {
        DocHeader h = invoiceHeader(QStringLiteral("%1/04/2024").arg(i), QDate(2024, 4, i));
        h.Nazkon = QStringLiteral("Gospodarstwo Rolne nr %1").arg(i);
        bufferDocument(app, h, {{"Pszenica", QString::number(100 * i), "kg", "0,95", "7"}});
        if (!saveBuffered(app).ok) return s.fail("an invoice was not stored");
    }
    bufferDocument(app, correctionHeader("1/05/2024", "3/04/2024", QDate(2024, 4, 3)),
                   {{"Pszenica", "250", "kg", "0,95", "7"}}, {{"Pszenica", "300", "kg", "0,95", "7"}});
    if (!saveBuffered(app).ok) return s.fail("the correction was not stored");
    bufferNewDocument(app, false);
    w.open();
    w.doubleClickRow(1);
    s.grab(w.window.get(), "document_list_correction");
    return true;
}
