#include "register/register_page.h"
#include "core/base_par.h"
#include "editor/document_editing.h"
#include "editor/main_pages.h"
#include "editor/main_window.h"
#include "platform/qor_combo.h"
#include "register/chart_page.h"
#include "register/register_columns.h"
#include "register/register_model.h"
#include "support/answers.h"
#include "support/editing_window.h"
#include "support/model_protocol.h"
#include "support/stored_document.h"
#include "support/typing.h"
#include <QAction>
#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QClipboard>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QValueAxis>
#include <gtest/gtest.h>

// The register and chart pages of the real main window, driven as a person does.

namespace {

struct RegisterWindow : ::testing::Test, StoredDocuments {
    Answers answers;
    std::unique_ptr<MainWindow> window;
    RegisterPage* page = nullptr;
    ChartPage* chart = nullptr;

    void SetUp() override
    {
        BaseParSave(t.app, db(), "DokNaglowek1", "Skup");
        window = openMainWindow(t.app);
        page = window->pages()->picKartoteka;
        chart = window->pages()->picWykres;
        window->btnKartoteka->trigger();
    }
    QStringList listed()
    {
        QStringList numbers;
        for (int r = 0; r < page->dataKar()->rowCount(); ++r) numbers << page->dataKar()->value(r, "Numer").toText();
        return numbers;
    }
    int rowOf(const QString& numer) { return int(listed().indexOf(numer)); }
    // The sums row once the sums asked for are in; sumNow() as it stands.
    QString sum(int column)
    {
        backgroundDatabase(t.app).waitIdle(10000);
        return sumNow(column);
    }
    QString sumNow(int column)
    {
        return page->gridSuma()->item(0, column) ? page->gridSuma()->item(0, column)->text() : QString();
    }
    OptDecimal paid(const QString& numer)
    {
        return db().queryOne("SELECT Zaplacono FROM fadok WHERE Numer = ?", {numer})->optDecimal("Zaplacono");
    }
    void choose(QorCombo* c, const QString& text) { c->setCurrentIndex(c->findText(text)); }
    // The window shows the rows written into the buffer here, as after a load: the save stores
    // what the window shows.
    void showBufferedRows() { window->pages()->picWprowadzanie->picDokument()->showLoadedRows({{}, {}, true}); }
    void rightClick(int row)
    {
        const QRect cell = page->gridKar()->visualRect(page->dataKar()->index(row, 1));
        const QPoint at = row < 0 ? QPoint(5, page->gridKar()->viewport()->height() - 5) : cell.center();
        QTest::mouseClick(page->gridKar()->viewport(), Qt::RightButton, {}, at);
        window->mnuPopKar->hide();
    }
    void markByHand(int row)
    {
        QHeaderView* h = page->gridKar()->verticalHeader();
        // In the middle of the record selector: its edges are the header's resize handles.
        QTest::mouseClick(h->viewport(), Qt::LeftButton, Qt::ControlModifier,
                          QPoint(5, h->sectionViewportPosition(row) + h->sectionSize(row) / 2));
    }
    QStringList clipboardNumbers()
    {
        QStringList numbers;
        for (const QString& line : QApplication::clipboard()->text().split("\r\n").mid(1))
            if (!line.isEmpty()) numbers << line.section('\t', 1, 1);
        return numbers;
    }
    // 1200 more documents, 40 a month from January 2015: the list is far longer than its first
    // reading, and its last document is "1/01/2015". Listed anew.
    void storeLongList()
    {
        db().execute("WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 1199), "
                     "d(i, m) AS (SELECT i, date('2015-01-01', '+' || (i / 40) || ' months') FROM n) "
                     "INSERT INTO fadok (Inddok, Numer, Datawyst) SELECT 'FR', (i % 40 + 1) || '/' || "
                     "strftime('%m/%Y', m), date(m, '+' || (i % 28) || ' days') FROM d");
        page->KartotekaOdswiez();
    }
    void sumuj(bool on)
    {
        if (page->cbFSumuj()->isChecked() != on) QTest::mouseClick(page->cbFSumuj(), Qt::LeftButton);
        backgroundDatabase(t.app).waitIdle(10000);
    }
};

}  // namespace

TEST_F(RegisterWindow, FiltersApplyWhenChosenOrOnEnterAndEachListGoesBackToAll)
{
    EXPECT_EQ(listed().size(), 6);
    EXPECT_EQ(page->cmbFDokument()->itemText(0), "(wszystkie)");
    QStringList forms;
    for (int i = 0; i < page->cmbFPlatfor()->count(); ++i) forms << page->cmbFPlatfor()->itemText(i).toLower();
    EXPECT_EQ(forms, QStringList({"(wszystkie)", QString::fromUtf8("gotówka"), "przelew"}));

    page->txtFNazwa()->setFocus();
    typeText(page->txtFNazwa(), "jan");
    EXPECT_EQ(listed().size(), 6) << "typing alone refreshes nothing";
    QTest::keyClick(page->txtFNazwa(), Qt::Key_Return);
    EXPECT_EQ(listed(), QStringList({"11/03/2024", "10/02/2024", "1/01/2023"}));
    QTest::mouseClick(page->cbFNiezaplacone(), Qt::LeftButton);
    EXPECT_EQ(listed(), QStringList({"11/03/2024", "10/02/2024"}));
    choose(page->cmbFMiesiac(), "02.2024");
    EXPECT_EQ(listed(), QStringList({"10/02/2024"}));
    choose(page->cmbFDokument(), "KFR");
    EXPECT_TRUE(listed().isEmpty());
    for (QorCombo* c : {page->cmbFDokument(), page->cmbFMiesiac()}) choose(c, "(wszystkie)");
    EXPECT_EQ(listed(), QStringList({"11/03/2024", "10/02/2024"}));
    choose(page->cmbFPlatfor(), QString::fromUtf8("gotówka"));
    EXPECT_EQ(listed(), QStringList({"10/02/2024"}));
}

TEST_F(RegisterWindow, SumsRowSitsUnderTheGridAndFollowsFiltersWidthsAndScrolling)
{
    const QRect full = page->gridKar()->geometry();
    sumuj(true);
    ASSERT_TRUE(page->pboxSuma()->isVisible());
    EXPECT_EQ(page->pboxSuma()->y(), page->gridKar()->geometry().bottom() + 1);
    EXPECT_EQ(page->pboxSuma()->geometry().bottom(), full.bottom());
    EXPECT_EQ(page->gridSuma()->mapTo(page, QPoint(0, 0)).x(), page->gridKar()->x());
    EXPECT_EQ(sum(1), "Razem");
    EXPECT_EQ(sum(11), "1 390,75");
    EXPECT_EQ(sum(14), "279,75");
    EXPECT_EQ(sum(15), "");

    page->txtFNazwa()->setText("jan");
    page->txtFNazwa()->setFocus();
    QTest::keyClick(page->txtFNazwa(), Qt::Key_Return);
    EXPECT_EQ(sumNow(11), "") << "the sums of another filter stay until this one's arrive";
    EXPECT_EQ(sum(11), "1 207,25");
    // Saved while the register is hidden: its sums are read when it is shown again.
    window->btnWykres->trigger();
    bufferDocument(t.app, invoiceHeader("1/04/2024", QDate(2024, 4, 2)), {{"Pszenica", "1", "kg", "2", "7"}});
    showBufferedRows();
    ASSERT_TRUE(window->pages()->dokumenty->ZapiszDokument());
    window->btnKartoteka->trigger();
    EXPECT_EQ(sum(11),
              db().scalar("SELECT sum(RazBrutto) FROM fadok WHERE Nazkon LIKE '%jan%'").toDecimal().toDisplay(2));
    EXPECT_NE(sum(11), "1 207,25");

    page->gridKar()->horizontalHeader()->resizeSection(6, 321);
    EXPECT_EQ(page->gridSuma()->columnWidth(6), 321);
    page->gridKar()->setColumnHidden(4, true);
    EXPECT_EQ(page->gridSuma()->columnWidth(4), 0);
    for (int i = 0; i < 21; ++i) EXPECT_EQ(page->gridSuma()->columnWidth(i), page->gridKar()->columnWidth(i)) << i;
    // The columns are wider than the window: the sums row's scroll bar moves both grids.
    page->gridSuma()->horizontalScrollBar()->setValue(250);
    EXPECT_EQ(page->gridKar()->horizontalScrollBar()->value(), 250);
    EXPECT_EQ(page->gridSuma()->horizontalScrollBar()->maximum(), page->gridKar()->horizontalScrollBar()->maximum());
    // A current cell moved to the right edge drags the sums row along.
    page->gridKar()->scrollTo(page->dataKar()->index(0, 20));
    EXPECT_EQ(page->gridSuma()->horizontalScrollBar()->value(), page->gridKar()->horizontalScrollBar()->value());

    sumuj(false);
    EXPECT_FALSE(page->pboxSuma()->isVisible());
    EXPECT_EQ(page->gridKar()->geometry(), full);
}

TEST_F(RegisterWindow, PopupMarksTheRowUnderThePointerAndTheSumsAndChartFollow)
{
    window->btnWykres->trigger();
    choose(chart->cmbWRok, "2024");
    choose(chart->cmbWRodzaj, QString::fromUtf8("Zakupy brutto +  zapłacone"));
    EXPECT_DOUBLE_EQ(chart->grid().values[2][1], 172.5);
    window->btnKartoteka->trigger();
    sumuj(true);

    const struct {
        const char* numer;
        bool offersPaid;
    } offers[] = {{"12/03/2024", false}, {"11/03/2024", true}, {"10/02/2024", true}, {"1/01/2023", false}};
    for (const auto& o : offers) {
        SCOPED_TRACE(o.numer);
        rightClick(rowOf(o.numer));
        EXPECT_EQ(page->currentRow(), rowOf(o.numer));
        EXPECT_EQ(window->mnuPopKarZaplacono->isEnabled(), o.offersPaid);
        EXPECT_EQ(window->mnuPopKarNieZaplacono->isEnabled(), !o.offersPaid);
        EXPECT_TRUE(window->mnuPopKarDrukuj2->isEnabled());
    }

    rightClick(rowOf("11/03/2024"));
    window->mnuPopKarZaplacono->trigger();
    EXPECT_EQ(paid("11/03/2024"), dec("999"));
    EXPECT_EQ(page->dataKar()->index(rowOf("11/03/2024"), 14).data().toString(), "999,00");
    EXPECT_EQ(sum(14), "1 278,75");
    EXPECT_DOUBLE_EQ(chart->grid().values[2][1], 1171.5);

    rightClick(rowOf("12/03/2024"));
    window->mnuPopKarNieZaplacono->trigger();
    EXPECT_FALSE(paid("12/03/2024"));
    EXPECT_EQ(sum(14), "1 156,75");
    EXPECT_DOUBLE_EQ(chart->grid().values[2][1], 1049.5);

    // A row marked paid stays in the unpaid list until the next refresh.
    QTest::mouseClick(page->cbFNiezaplacone(), Qt::LeftButton);
    EXPECT_EQ(listed(), QStringList({"12/03/2024", "10/02/2024", "9/12/2023"}));
    rightClick(rowOf("10/02/2024"));
    window->mnuPopKarZaplacono->trigger();
    EXPECT_EQ(listed().size(), 3);
    window->mnuPopKarOdswiez->trigger();
    EXPECT_EQ(listed(), QStringList({"12/03/2024", "9/12/2023"}));

    // An empty list offers no row command, and marking touches nothing.
    choose(page->cmbFMiesiac(), "01.2023");
    ASSERT_TRUE(listed().isEmpty());
    rightClick(-1);
    for (QAction* a : {window->mnuPopKarZaplacono, window->mnuPopKarNieZaplacono, window->mnuPopKarDrukuj2,
                       window->mnuPopKarWyslij2, window->mnuPopKarZapisz2})
        EXPECT_FALSE(a->isEnabled()) << a->objectName().toStdString();
    page->KartotekaZaplacono(true);
    EXPECT_EQ(paid("1/01/2023"), dec("7.25"));
    EXPECT_EQ(answers.dialogs, 0);
}

TEST_F(RegisterWindow, TypedPaidAmountIsStoredOrRefusedWithAMessage)
{
    sumuj(true);
    const int row = rowOf("11/03/2024");
    ASSERT_TRUE(typeIntoCell(page->gridKar(), row, 14, "12,5"));
    EXPECT_EQ(paid("11/03/2024"), dec("12.5"));
    EXPECT_EQ(sum(14), "292,25");
    ASSERT_TRUE(typeIntoCell(page->gridKar(), row, 14, "dwanaście"));
    EXPECT_EQ(paid("11/03/2024"), dec("12.5"));
    ASSERT_FALSE(answers.seen.empty());
    EXPECT_TRUE(answers.last().contains(QString::fromUtf8("nie jest kwotą")));
    EXPECT_EQ(page->dataKar()->index(row, 14).data().toString(), "12,50");
    ASSERT_TRUE(typeIntoCell(page->gridKar(), row, 14, "0"));
    EXPECT_EQ(paid("11/03/2024"), dec("0"));
    ASSERT_TRUE(typeIntoCell(page->gridKar(), row, 14, ""));
    EXPECT_FALSE(paid("11/03/2024"));
    EXPECT_EQ(sum(14), "279,75");
    // Only the paid amount takes typing.
    EXPECT_FALSE(page->dataKar()->flags(page->dataKar()->index(row, 11)) & Qt::ItemIsEditable);
}

// An archive database takes no payments, neither from the popup nor typed into the paid cell.
TEST_F(RegisterWindow, AnArchiveDatabaseRecordsNoPayments)
{
    BaseParSave(t.app, db(), "BazaOdczyt", "1");
    window->Przylacz();
    const int row = rowOf("11/03/2024");
    rightClick(row);
    EXPECT_FALSE(window->mnuPopKarZaplacono->isEnabled());
    EXPECT_TRUE(window->mnuPopKarDrukuj2->isEnabled());
    page->KartotekaZaplacono(true);
    EXPECT_FALSE(page->dataKar()->flags(page->dataKar()->index(row, 14)) & Qt::ItemIsEditable);
    EXPECT_FALSE(page->dataKar()->setData(page->dataKar()->index(row, 14), "12,5"));
    EXPECT_FALSE(paid("11/03/2024"));
}

TEST_F(RegisterWindow, MarkedRowsAreCopiedInTheOrderTheyWereMarked)
{
    // A click on a cell moves the current row and marks nothing.
    QTest::mouseClick(page->gridKar()->viewport(), Qt::LeftButton, {},
                      page->gridKar()->visualRect(page->dataKar()->index(3, 2)).center());
    EXPECT_EQ(page->currentRow(), 3);
    EXPECT_TRUE(page->markedRows().empty());

    window->mnuKarWierszeKopiuj->trigger();
    EXPECT_EQ(QApplication::clipboard()->text().count("\r\n"), 1) << "only the captions";

    window->mnuKarWierszeZaznacz->trigger();
    EXPECT_EQ(page->markedRows().size(), 6u);
    window->mnuKarWierszeKopiuj->trigger();
    EXPECT_EQ(clipboardNumbers(), listed());
    EXPECT_TRUE(page->markedRows().empty());
    EXPECT_TRUE(page->gridKar()->selectionModel()->selectedRows().isEmpty());
    EXPECT_EQ(page->currentRow(), 3);

    for (int row : {2, 0, 1}) markByHand(row);
    window->mnuKarWierszeKopiuj->trigger();
    EXPECT_EQ(clipboardNumbers(), QStringList({"2/03/2024", "12/03/2024", "11/03/2024"}));

    // Every row marked by hand: still the marking order, not the list's.
    for (int row = 5; row >= 0; --row) markByHand(row);
    window->mnuKarWierszeKopiuj->trigger();
    QStringList reversed = listed();
    std::reverse(reversed.begin(), reversed.end());
    EXPECT_EQ(clipboardNumbers(), reversed);
}

// A list longer than what was read is marked whole by its counted length, without reading it, and
// copied whole in the list's order.
TEST_F(RegisterWindow, EveryRowOfALongListIsMarkedWithoutReadingItAndCopiedInItsOrder)
{
    storeLongList();
    ASSERT_LT(page->dataKar()->rowCount(), 1206) << "the whole list read at once";
    window->mnuKarWierszeZaznacz->trigger();
    EXPECT_EQ(page->markedRows().size(), 1206u);
    EXPECT_LT(page->dataKar()->heldRows(), 1206);
    window->mnuKarWierszeKopiuj->trigger();
    const QStringList copied = clipboardNumbers();
    EXPECT_EQ(copied, listed());
    EXPECT_EQ(copied.value(6), "40/06/2017");
}

// Ctrl+End, the scroll bar dragged to its end and Page Down held reach the last document of a
// list longer than its first reading.
TEST_F(RegisterWindow, KeysAndTheScrollBarReachTheLastDocument)
{
    QTableView* grid = page->gridKar();
    const std::pair<const char*, std::function<void()>> moves[] = {
        {"Ctrl+End", [&] { QTest::keyClick(grid, Qt::Key_End, Qt::ControlModifier); }},
        {"scroll bar",
         [&] {
             QTest::qWait(300);  // the list shown a moment
             grid->verticalScrollBar()->setValue(grid->verticalScrollBar()->maximum());
             QApplication::processEvents();
         }},
        {"Page Down held",
         [&] {
             for (int i = 0; i < 200 && page->currentRow() < page->dataKar()->rowCount() - 1; ++i)
                 QTest::keyClick(grid, Qt::Key_PageDown);
         }},
    };
    for (const auto& [name, move] : moves) {
        SCOPED_TRACE(name);
        db().execute("DELETE FROM fadok WHERE Numer LIKE '%/2015' OR Numer LIKE '%/2016' OR Numer LIKE '%/2017'");
        storeLongList();
        grid->setFocus();  // no cell current yet
        ASSERT_LT(page->dataKar()->rowCount(), 1206) << "the whole list read at once";
        move();
        EXPECT_EQ(page->dataKar()->rowCount(), 1206);
        EXPECT_EQ(grid->rowAt(grid->viewport()->height() - 2), 1205);
        EXPECT_EQ(page->dataKar()->value(1205, "Numer").toText(), "1/01/2015");
        if (std::string(name) != "scroll bar") {
            EXPECT_EQ(page->currentRow(), 1205);
        }
    }
}

TEST_F(RegisterWindow, ChartDrawsZerosWithoutAYearAndFollowsItsChoices)
{
    EXPECT_EQ(chart->grid().labels, QStringList({"C1", "C2", "C3", "C4"}));
    choose(chart->cmbWRodzaj, "Zakupy brutto + vat + netto");
    EXPECT_DOUBLE_EQ(chart->grid().values[2][0], 0) << "no year chosen";
    EXPECT_EQ(chart->cmbWRok->count(), 2);
    choose(chart->cmbWRok, "2024");
    EXPECT_EQ(chart->grid().labels, QStringList({"Brutto", "Netto", "Kwota VAT"}));
    EXPECT_DOUBLE_EQ(chart->grid().values[2][0], 1173.5);
    // The value scale follows the data alone: the same months drawn again get the same scale,
    // whatever was drawn before.
    auto* axis = qobject_cast<QValueAxis*>(chart->MSChart->chart()->axes(Qt::Vertical).value(0));
    ASSERT_TRUE(axis);
    auto scale = [&] {
        return QStringLiteral("%1..%2 by %3").arg(axis->min()).arg(axis->max()).arg(axis->tickInterval()).toStdString();
    };
    EXPECT_EQ(scale(), "0..1200 by 200");
    // A scale that grows or shrinks a hundred thousand times is laid out without a tick for every old step.
    for (const auto& [sql, expected] : {std::pair{"UPDATE fadok SET RazBrutto = RazBrutto * 2.2", "0..3000 by 500"},
                                        {"UPDATE fadok SET RazBrutto = RazBrutto / 2.2", "0..1200 by 200"},
                                        {"UPDATE fadok SET RazBrutto = RazBrutto * 100000", "0..1.2e+08 by 2e+07"},
                                        {"UPDATE fadok SET RazBrutto = RazBrutto / 100000", "0..1200 by 200"}}) {
        db().execute(QString::fromUtf8(sql));
        for (int again = 0; again < 2; ++again) {
            window->mnuWykOdswiez->trigger();
            EXPECT_EQ(scale(), expected) << sql << ", drawn " << again + 1 << " times";
        }
    }
    choose(chart->cmbWRodzaj, "Zakupy brutto + niezapłacone");
    EXPECT_EQ(chart->grid().columns(), 2);
    EXPECT_DOUBLE_EQ(chart->grid().values[2][1], 999);
    // Another workstation's change shows at "Odśwież".
    db().execute("UPDATE fadok SET Zaplacono = DoZaplaty");
    window->mnuWykOdswiez->trigger();
    EXPECT_DOUBLE_EQ(chart->grid().values[2][1], 0);
    EXPECT_EQ(answers.dialogs, 0);
}

TEST_F(RegisterWindow, SaveRefillsTheListsAndRefreshesRegisterAndChart)
{
    choose(page->cmbFMiesiac(), "03.2024");
    choose(chart->cmbWRok, "2024");
    choose(chart->cmbWRodzaj, "Zakupy brutto + vat + netto");
    bufferDocument(t.app, invoiceHeader("1/01/2025", QDate(2025, 1, 7)), {{"Pszenica", "100", "kg", "2", "7"}});
    showBufferedRows();
    ASSERT_TRUE(window->pages()->dokumenty->ZapiszDokument());
    EXPECT_EQ(page->cmbFMiesiac()->itemText(1), "01.2025");
    EXPECT_EQ(page->cmbFMiesiac()->currentText(), "03.2024") << "the choice is kept";
    EXPECT_EQ(chart->cmbWRok->itemText(0), "2025");
    EXPECT_EQ(chart->cmbWRok->currentText(), "2024");
    choose(page->cmbFMiesiac(), "(wszystkie)");
    EXPECT_EQ(listed().first(), "1/01/2025");
    choose(chart->cmbWRok, "2025");
    EXPECT_DOUBLE_EQ(chart->grid().values[0][0], 214);
}

// A year whose sums the database cannot add up (amounts beyond any range): each failure is
// reported once, the program goes on, and a save stays done.
TEST_F(RegisterWindow, FailuresAreReportedAndNothingElseStops)
{
    const qint64 huge = std::numeric_limits<qint64>::max() / 2 + 1;
    for (const char* n : {"1/06/2031", "2/06/2031"})
        db().execute("INSERT INTO fadok (Inddok, Numer, Datawyst, RazBrutto) VALUES ('FR', ?, '2031-06-01', ?)",
                     {n, db::Value(huge)});
    window->Przylacz();
    ASSERT_EQ(answers.dialogs, 0);
    choose(chart->cmbWRodzaj, "Zakupy brutto + vat + netto");
    choose(chart->cmbWRok, "2031");
    EXPECT_EQ(answers.dialogs, 1);
    sumuj(true);
    EXPECT_EQ(answers.dialogs, 2);
    EXPECT_TRUE(page->pboxSuma()->isVisible());

    bufferDocument(t.app, invoiceHeader("1/07/2031", QDate(2031, 7, 1)), {{"Pszenica", "1", "kg", "2", "7"}});
    showBufferedRows();
    EXPECT_TRUE(window->pages()->dokumenty->ZapiszDokument());
    backgroundDatabase(t.app).waitIdle(10000);
    EXPECT_EQ(answers.dialogs, 4);
    EXPECT_TRUE(db().queryOne("SELECT Numer FROM fadok WHERE Numer = '1/07/2031'"));
    EXPECT_EQ(listed().first(), "1/07/2031");
}

TEST_F(RegisterWindow, DetachingLetsGoOfTheRows)
{
    window->Odlacz();
    EXPECT_EQ(page->dataKar()->rowCount(), 0);
}

// The register's rows change as Qt's model tester expects: read, a part read at the end, the rest
// counted, gaps opened where rows are shown, parts let go, a paid amount typed, the list read
// again after a document was stored.
TEST_F(RegisterWindow, EveryChangeOfTheRowsKeepsToTheModelProtocol)
{
    db().execute("WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 5999), "
                 "d(i, m) AS (SELECT i, date('2015-01-01', '+' || (i / 400) || ' months') FROM n) "
                 "INSERT INTO fadok (Inddok, Numer, Datawyst, RazBrutto) SELECT 'FR', (i % 400 + 1) || '/' || "
                 "strftime('%m/%Y', m), date(m, '+' || (i % 28) || ' days'), 100 FROM d");
    RegisterModel* model = page->dataKar();
    ModelProtocol protocol(model);
    page->KartotekaOdswiez();
    model->fetchNext();
    model->countRest();
    for (int r = 0; r < model->rowCount(); r += 397) model->value(r, "Numer");
    QApplication::processEvents();
    model->letGo();
    const int row = model->rowCount() / 2;
    EXPECT_TRUE(model->setData(model->index(row, registerColumn("Zaplacono")), "12,5"));
    db().execute("INSERT INTO fadok (Inddok, Numer, Datawyst) VALUES ('FR', '401/03/2016', '2016-03-31')");
    page->KartotekaOdswiez();
    model->countRest();
    QApplication::processEvents();
    EXPECT_EQ(model->rowCount(), db().scalar("SELECT count(*) FROM fadok").toInt());
    EXPECT_TRUE(protocol.faults().empty()) << protocol.faults();
}
