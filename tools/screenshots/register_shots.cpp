#include "editor/document_list_events.h"
#include "platform/qor_combo.h"
#include "platform/report_render.h"
#include "register/chart_page.h"
#include "register/preview_panel.h"
#include "register/print_pipeline.h"
#include "register/register_model.h"
#include "register/register_page.h"
#include "register/services.h"
#include "shots.h"
#include "support/editing_window.h"
#include "support/report_documents.h"
#include "support/stored_document.h"
#include <QBuffer>
#include <QCheckBox>
#include <QImage>
#include <QPainter>
#include <QTableView>
#include <QTest>

namespace {

// Selects the document list's row of `numer` as a click does.
bool selectRow(MainWindow& window, const QString& numer)
{
    EntryPage* page = window.pages()->picWprowadzanie;
    for (int i = 0; i < page->lstDokRows()->rowCount(); ++i)
        if (page->lstDokRows()->numer(i) == numer) {
            const QRect r = page->lstDok()->visualRect(page->lstDokRows()->index(i, 0));
            QTest::mouseClick(page->lstDok()->viewport(), Qt::LeftButton, {}, r.center());
            window.pages()->dokumenty->lista()->lstDok_Click();
            return true;
        }
    return false;
}

// A logo for the printed header: the buyer's name on green.
QByteArray logoPng()
{
    QImage logo(300, 200, QImage::Format_RGB32);
    logo.fill(QColor(40, 110, 60));
    QPainter p(&logo);
    p.setPen(Qt::white);
    p.setFont(QFont("DejaVu Sans", 40, QFont::Bold));
    p.drawText(logo.rect(), Qt::AlignCenter, QString::fromUtf8("KŁOS"));
    p.end();
    QByteArray png;
    QBuffer buf(&png);
    buf.open(QIODevice::WriteOnly);
    logo.save(&buf, "PNG");
    return png;
}

}  // namespace

bool registerAndChart(Shots& s)
{
    StoredDocuments d;
    MainPages pages(d.t.app);
    pages.resize(1000, 560);
    pages.show();
    attachRegister(d.t.app);
    pages.toolWprowadz_ButtonClick("Kartoteka");
    RegisterPage* page = pages.picKartoteka;
    page->cbFSumuj()->setChecked(true);
    page->cbFSumuj_Click();
    page->gridKar()->selectRow(1);
    page->gridKar()->selectionModel()->select(page->dataKar()->index(3, 0),
                                              QItemSelectionModel::Select | QItemSelectionModel::Rows);
    page->gridKar()->selectionModel()->setCurrentIndex(page->dataKar()->index(2, 6), QItemSelectionModel::NoUpdate);
    QTest::qWait(50);
    s.grab(&pages, "register_sums");
    pages.resize(1600, 700);
    QTest::qWait(50);
    s.grab(&pages, "register_sums_wide");
    pages.resize(1000, 560);
    pages.toolWprowadz_ButtonClick("Wykres");
    pages.picWykres->cmbWRok->setBoundValue("2024");
    for (const char* kind : {"B", "N"}) {
        pages.picWykres->cmbWRodzaj->setBoundValue(kind);
        QTest::qWait(50);
        s.grab(&pages, QStringLiteral("chart_%1").arg(QString(kind).toLower()));
    }
    // A correction that lowers a month below 0: the scale goes just below it, not a whole step.
    d.add("KFR", "1/05/2024", QDate(2024, 5, 6), "Anna Nowak", "gotówka", "-107", {}, {});
    pages.picWykres->cmbWRodzaj->setBoundValue("B");
    pages.picWykres->WykresOdswiez();
    QTest::qWait(50);
    s.grab(&pages, "chart_below_zero");
    return true;
}

bool preview(Shots& s)
{
    ReportDocuments d;
    auto window = openMainWindow(d.app, {1280, 860});
    EntryPage* page = window->pages()->picWprowadzanie;
    if (!selectRow(*window, d.faktura.Numer) || !window->btnPodglad->isEnabled())
        return s.fail("the invoice cannot be previewed");
    window->btnPodglad->trigger();
    QTest::qWait(100);
    s.grab(window.get(), "preview_invoice");
    if (!selectRow(*window, d.korekta.Numer)) return s.fail("no correction in the list");
    QTest::mouseDClick(page->lstDok()->viewport(), Qt::LeftButton, {},
                       page->lstDok()->visualRect(page->lstDok()->currentIndex()).center());
    QTest::qWait(100);
    window->btnCala->trigger();
    QTest::qWait(100);
    s.grab(window.get(), "preview_correction");
    window->resize(1000, 600);
    QTest::qWait(100);
    s.grab(window.get(), "preview_small");
    return true;
}

bool pdfs(Shots& s)
{
    ReportDocuments d;
    auto write = [&](const DocHeader& h, const QString& name) {
        d.select(h);
        QString title = h.Numer;
        auto r = documentReport(d.app, "FANET", "rapFANET1", title);
        const QString path = s.dir.filePath(name);
        if (!r || !report::exportPdf(*r, path)) return s.fail("no PDF of " + h.Numer);
        std::printf("%s\n", qPrintable(path));
        return true;
    };
    bool ok = write(d.faktura, "invoice.pdf") && write(d.korekta, "correction.pdf");
    d.option("DrukOryginal", "1");
    d.option("DrukDuplikat", "1");
    d.option("DrukOswiadczenie", "1");
    d.t.db().execute("INSERT INTO dbbin (Indpar, Wartosc) VALUES ('Logo', ?)", {logoPng()});
    ok = ok && write(d.faktura, "invoice_options.pdf");
    d.option("DrukOryginal", "0");
    d.option("DrukOryKop", "1");
    d.option("DrukWystaw", "1");
    d.option("DrukRoznice", "1");
    ok = ok && write(d.korekta, "correction_options.pdf");
    std::vector<TypedRow> rows;
    for (int i = 1; i <= 40; ++i)
        rows.push_back({QString::fromUtf8("Pozycja nr %1 – ziarno zbóż, partia z dostawy porannej ąćęłńóśźż").arg(i),
                        "1234,5", "kg", "1,2345", i % 3 ? "7" : "23"});
    ok = ok && write(storeDocument(d.app, invoiceHeader("3/05/2024"), rows), "invoice_40.pdf");
    // Amounts of tens of millions stay on one line in their cells.
    const std::vector<TypedRow> large{{"Pszenica konsumpcyjna", "1234567,891", "kg", "45,6789", "7"},
                                      {"Rzepak", "987654,321", "kg", "38,7654", "23"},
                                      {"Kukurydza", "2000000", "kg", "12,5", "5"}};
    return ok && write(storeDocument(d.app, invoiceHeader("4/05/2024"), large), "invoice_millions.pdf");
}
