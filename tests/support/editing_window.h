#pragma once
#include "core/background_database.h"
#include "core/base_connect.h"
#include "core/base_par.h"
#include "documents/document_list.h"
#include "documents/numbering.h"
#include "editor/document_editing.h"
#include "editor/document_form.h"
#include "editor/entry_page.h"
#include "editor/main_pages.h"
#include "editor/main_window.h"
#include "editor/position_grid.h"
#include "editor/position_model.h"
#include "support/answers.h"
#include "support/form_controls.h"
#include "support/temp_database.h"
#include "support/test_settings.h"
#include "support/typing.h"
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

// The real main window of `app`, loaded, shown at `size` and attached to the open database;
// with `asMainFrame` the one the program's procedures reach through the App.
inline std::unique_ptr<MainWindow> openMainWindow(App& app, QSize size = {1280, 800}, bool asMainFrame = false)
{
    auto window = std::make_unique<MainWindow>(app);
    if (asMainFrame) app.mainFrame = window.get();
    window->pages()->Form_Load();
    window->setWindowState(Qt::WindowNoState);
    window->resize(size);
    window->show();
    QApplication::setActiveWindow(window.get());
    window->Przylacz();
    // As the clerk finds it a moment later: what the attach reads in the background is in.
    backgroundDatabase(app).waitIdle(10000);
    return window;
}

// The real main window on a temporary database, typed into as a person does: the tests' and
// the screenshot tool's.
struct EditingWindow {
    TempDatabase t;
    Answers answers;
    std::unique_ptr<MainWindow> window;
    MainPages* pages = nullptr;
    EntryPage* page = nullptr;
    DocumentForm* form = nullptr;
    DocumentEditing* editing = nullptr;
    QTableView* lst = nullptr;
    DocumentListModel* rows = nullptr;  // the document list's rows

    // Settings of its own, a buyer's header line (no question about it on attaching) and a
    // payment form for new documents.
    void prepare()
    {
        useTestSettings(t.app, t.dir.path());
        BaseParSave(t.app, t.db(), "DokNaglowek1", "Skup");
        t.app.gPrgPar.PlatForma = "przelew";
    }
    void open()
    {
        window = openMainWindow(t.app);
        pages = window->pages();
        page = pages->picWprowadzanie;
        form = page->picDokument();
        lst = page->lstDok();
        rows = page->lstDokRows();
        editing = pages->dokumenty;
    }
    void type(QWidget* w, const QString& text)
    {
        w->setFocus();
        if (auto* c = qobject_cast<QComboBox*>(w)) w = c->lineEdit();
        static_cast<QLineEdit*>(w)->clear();
        typeText(w, text);
    }
    void typeSeller()
    {
        type(controls(form).txtNazkon, "Jan O'Brien");
        type(controls(form).txtAdrkon, QString::fromUtf8("Wólka 7"));
        type(controls(form).cmbPlatFor, QString::fromUtf8("gotówka"));
    }
    void ctrlEnter() { QTest::keyClick(controls(form).txtNazkon, Qt::Key_Return, Qt::ControlModifier); }
    QString today(int n) { return NumberUtworz(n, QDate::currentDate(), "Numer/Miesiąc/Rok[4]"); }
    QStringList listed()
    {
        QStringList l;
        for (int i = 0; i < rows->rowCount(); ++i) l << rows->text(i);
        return l;
    }
    // The header this workstation's buffer holds and the one the form shows, column by column
    // (a fund stored as a blank is none): after a crash the buffer must bring back what was shown.
    static std::string headerTexts(DocHeader h)
    {
        h.clearBlankFund();
        QStringList texts;
        for (const db::Value& v : h.values()) texts << v.toText();
        return texts.join(" | ").toStdString();
    }
    std::string bufferedHeader()
    {
        return headerTexts(DocHeader::buffered(t.db(), t.app.gStanowisko).value_or(DocHeader()));
    }
    std::string shownHeader() { return headerTexts(form->header()); }
    QRect rowRect(int i) { return lst->visualRect(rows->index(i, 0)); }
    // The document list's current row, -1 when none or when it is not selected.
    int currentRow()
    {
        const QModelIndex i = lst->currentIndex();
        return i.isValid() && lst->selectionModel()->isRowSelected(i.row(), {}) ? i.row() : -1;
    }
    void doubleClickRow(int i)
    {
        QRect r = rowRect(i);
        QTest::mouseClick(lst->viewport(), Qt::LeftButton, {}, r.center());
        QTest::mouseDClick(lst->viewport(), Qt::LeftButton, {}, r.center());
        QApplication::processEvents();
    }
};

// The same window for a test.
struct EditingFixture : ::testing::Test, EditingWindow {
    void SetUp() override { prepare(); }
    void typeCell(PositionGrid* grid, int row, int col, const QString& text)
    {
        ASSERT_TRUE(typeIntoCell(grid, row, col, text)) << "no editor for column " << col;
    }
    // A whole position typed into row `row` of the positions grid.
    void typeRow(int row, const QString& name, const QString& qty, const QString& unit, const QString& price,
                 const QString& vat)
    {
        typeCell(controls(form).gridPoz, row, PositionModel::Nazwa, name);
        typeCell(controls(form).gridPoz, row, PositionModel::Ilosc, qty);
        typeCell(controls(form).gridPoz, row, PositionModel::Indjed, unit);
        typeCell(controls(form).gridPoz, row, PositionModel::Cenanet, price);
        typeCell(controls(form).gridPoz, row, PositionModel::Indvat, vat);
    }
};
