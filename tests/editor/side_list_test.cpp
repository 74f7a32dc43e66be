#include "editor/side_list.h"
#include "editor/drags.h"
#include "platform/date_text.h"
#include "platform/qor_combo.h"
#include "platform/qor_controls.h"
#include "support/document_fixture.h"
#include "support/editing_window.h"
#include "support/form_controls.h"
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QPlainTextEdit>
#include <stdexcept>
#include <string>

// The side list on the real entry page: what focusing a field shows, what a double click and a
// drop fill, and stored invoices dragged onto the form. Drags are sent as the events a drag
// delivers to the control under the pointer.

namespace {

QString u(const char* s)
{
    return QString::fromUtf8(s);
}

struct SideListFixture : EditingFixture {
    SideList* slo = nullptr;
    int stored = 0;

    void SetUp() override
    {
        EditingFixture::SetUp();
        t.app.gPrgPar.PlatDni = "14";
        t.app.gBazaPar.NumSzablon = u("Numer/Miesiąc/Rok[4]");
    }
    void open()
    {
        EditingFixture::open();
        slo = controls(form).lstSlo;
    }
    // A stored invoice of seller `nazkon` with one position.
    QString store(const QString& nazkon, const QString& konto = "11 2222", const QString& nazwa = "Pszenica")
    {
        const QString numer = QStringLiteral("%1/05/2024").arg(++stored);
        t.db().execute(
            "INSERT INTO fadok (Inddok, Numer, Datawyst, Datasprz, Nazkon, Adrkon, Nipkon, Nazdok, Numdok, Datadok, "
            "Wyddok, PlatRach, PlatFor, PlatDni, PlatTer, Uwagi, Wystawil, RazNetto) "
            "VALUES ('FR', ?, '2024-05-06', '2024-05-06', ?, 'Wola 1', '123', 'Paszport', 'AB1', '2019-03-04', "
            "'Wójt', ?, 'przelew', 7, 'po odbiorze', 'pilne', 'Anna', 0)",
            {numer, nazkon, konto});
        t.db().execute(
            "INSERT INTO fapoz (Inddok, Numer, Pozycja, Korekta, Nazwa, Ilosc, Indjed, Cenanet, Indvat, WartNetto, "
            "WartVAT, WartBrutto) VALUES ('FR', ?, 1, 0, ?, 20000, 't', 105500, '7', 211000, 14800, 225800)",
            {numer, nazwa});
        return numer;
    }
    // Saves the form as a document of seller `nazkon` from Kalwaria paying in cash, one position.
    void saveSeller(const QString& nazkon)
    {
        controls(form).txtNazkon->setText(nazkon);
        controls(form).txtAdrkon->setText("Kalwaria");
        controls(form).cmbPlatFor->setEditText(u("gotówka"));
        for (auto [column, value] : {std::pair{PositionModel::Nazwa, "Owies"},
                                     {PositionModel::Ilosc, "1"},
                                     {PositionModel::Indjed, "kg"},
                                     {PositionModel::Cenanet, "2"},
                                     {PositionModel::Indvat, "7"}})
            controls(form).dataPoz->setData(controls(form).dataPoz->index(0, column), value);
        pages->dokumenty->Zapisz();
        ASSERT_TRUE(answers.seen.empty()) << answers.texts().join(" | ").toStdString();
    }
    QStringList rows(int column = 0)
    {
        QStringList l;
        for (int i = 0; i < slo->rowCount(); ++i) l << slo->text(i, column);
        return l;
    }
    int rowOf(int column, const QString& text) { return int(rows(column).indexOf(text)); }
    // A click on row `i` of the side list and a double click on it, as a person does.
    void pick(int i)
    {
        ASSERT_GE(i, 0);
        ASSERT_LT(i, slo->rowCount());
        const QModelIndex it = slo->model()->index(i, 0);
        slo->scrollTo(it);
        // On the row where the list shows it: a wide row goes on past the list's right edge.
        const QRect r = slo->visualRect(it);
        const QPoint at(std::min(r.center().x(), slo->viewport()->width() / 2), r.center().y());
        QTest::mouseClick(slo->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(slo->viewport(), Qt::LeftButton, {}, at);
        QApplication::processEvents();
    }
    // Selects row `i` of the side list, as pressing the button to drag it does.
    void select(int i)
    {
        ASSERT_GE(i, 0);
        slo->setCurrentIndex(slo->model()->index(i, 0));
    }
    void focus(QWidget* w)
    {
        w->setFocus();
        QApplication::processEvents();
    }
    // What a control under a drag shows: Copy takes it, Link refuses it but would still apply a
    // side list entry, Ignore refuses it.
    Qt::DropAction over(QWidget* target, const QMimeData& data, QPoint at = {})
    {
        if (at.isNull()) at = target->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction | Qt::LinkAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        if (!enter.isAccepted()) return Qt::IgnoreAction;
        QDragMoveEvent move(at, Qt::CopyAction | Qt::LinkAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &move);
        return move.isAccepted() ? move.dropAction() : Qt::IgnoreAction;
    }
    // Moves a drag onto `target` and releases it there; false when the target refused it.
    bool dropOn(QWidget* target, const QMimeData& data, QPoint at = {})
    {
        if (at.isNull()) at = target->rect().center();
        if (over(target, data, at) == Qt::IgnoreAction) return false;
        QDropEvent drop(at, Qt::CopyAction | Qt::LinkAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &drop);
        QApplication::processEvents();
        return drop.isAccepted();
    }
    std::unique_ptr<QMimeData> sideListDrag() { return std::unique_ptr<QMimeData>(sideListDragData(slo->Tag())); }
    std::unique_ptr<QMimeData> documentDrag(const QString& numer)
    {
        return std::unique_ptr<QMimeData>(documentDragData(numer));
    }
    QPoint cell(int row, int column = PositionModel::Nazwa)
    {
        return controls(form).gridPoz->visualRect(controls(form).dataPoz->index(row, column)).center();
    }
    // A row this workstation's position buffer must hold; a missing one fails the test.
    db::Row bufferRow(int pozycja)
    {
        auto r = t.db().queryOne("SELECT * FROM dopoz WHERE Stanowisko = 0 AND Pozycja = ?", {pozycja});
        if (!r) throw std::runtime_error("no buffered position " + std::to_string(pozycja));
        return *r;
    }
    // A buffered position as "name quantity unit price rate net VAT gross".
    QString bufferText(int pozycja)
    {
        db::Row r = bufferRow(pozycja);
        QStringList l{r.text("Nazwa")};
        for (const char* c : {"Ilosc", "Indjed", "Cenanet", "Indvat", "WartNetto", "WartVAT", "WartBrutto"})
            l << (r.declaredType(c) == "CURRENCY" ? r.decimal(c).toString() : r.text(c));
        return l.join(' ');
    }
};

}  // namespace

TEST_F(SideListFixture, EachFieldAndGridColumnShowsItsDictionaryReadOnceAndASaveReadsItAgainAtOnce)
{
    const QString numer = store("Jan Nowak");
    // The same product stored cheaper: the list offers its highest price.
    t.db().execute("INSERT INTO fapoz (Inddok, Numer, Pozycja, Korekta, Nazwa, Indjed, Cenanet, Indvat) "
                   "VALUES ('FR', ?, 2, 0, 'Pszenica', 't', 20000, '7')",
                   {numer});
    open();
    // The attach shows the contractors.
    EXPECT_EQ(slo->Tag(), "Kontrahenci");
    EXPECT_EQ(slo->Caption(), u("Kontrahenci (przeciągnij do odpowiedniego pola)"));
    EXPECT_EQ(slo->model()->headerData(0, Qt::Horizontal).toString(), "Nazwa kontrahenta");
    EXPECT_EQ(slo->model()->columnCount(), 8);
    EXPECT_EQ(rows(), QStringList{"Jan Nowak"});

    struct Case {
        QWidget* field;
        const char* tag;
        const char* firstRow;
    };
    const Case cases[] = {
        {controls(form).cmbPlatFor, "Formy płatności", "przelew"},
        {controls(form).cmbPlatTer, "Terminy płatności", "po odbiorze"},
        {controls(form).txtUwagi, "Uwagi", "pilne"},
        {controls(form).txtWystawil, "Wystawiający", "Anna"},
        {controls(form).txtNipkon, "Kontrahenci", "Jan Nowak"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tag);
        focus(c.field);
        EXPECT_EQ(slo->Tag(), u(c.tag));
        EXPECT_EQ(rows().value(0), u(c.firstRow));
    }
    // The grid's columns: units, rates, products for the rest.
    focus(controls(form).gridPoz);
    for (const auto& [column, tag] : {std::pair{PositionModel::Indjed, "Jednostki miary"},
                                      {PositionModel::Cenanet, "Produkty"},
                                      {PositionModel::Indvat, "Stawki podatku VAT"},
                                      {PositionModel::Ilosc, "Produkty"}}) {
        SCOPED_TRACE(tag);
        controls(form).gridPoz->setCurrentIndex(controls(form).dataPoz->index(1, column));
        EXPECT_EQ(slo->Tag(), u(tag));
    }
    EXPECT_EQ(rows(2), QStringList{"10,55"});
    // Moving between the seller's fields reads nothing again.
    focus(controls(form).txtAdrkon);
    store("Adam Zet");
    focus(controls(form).txtNazkon);
    focus(controls(form).txtNipkon);
    EXPECT_EQ(rows(), QStringList{"Jan Nowak"});

    // A save reads the list again at once, with what it stored, and its entries apply at once.
    saveSeller(u("Zofia Ćwik"));
    ASSERT_TRUE(controls(form).txtNazkon->text().isEmpty());
    EXPECT_EQ(slo->Tag(), "Kontrahenci");
    EXPECT_EQ(rows(), (QStringList{"Adam Zet", "Jan Nowak", u("Zofia Ćwik")}));
    pick(rowOf(0, u("Zofia Ćwik")));
    EXPECT_EQ(controls(form).txtAdrkon->text(), "Kalwaria");
    // Every other dictionary is read again when it is next shown.
    focus(controls(form).cmbPlatFor);
    EXPECT_EQ(rows(), (QStringList{u("gotówka"), "przelew"}));
}

TEST_F(SideListFixture, DatesListAnchorsOnTheIssueDateAndTodayAndKeepsItsKind)
{
    open();
    const QDate today = QDate::currentDate();
    controls(form).txtDatawyst->clear();
    focus(controls(form).txtDatasprz);
    focus(controls(form).cmbPlatdni);
    EXPECT_EQ(slo->Tag(), "Kontrahenci");  // no issue date: nothing changes

    controls(form).txtDatawyst->setText(dateText(QDate(2024, 3, 15)));
    focus(controls(form).txtDatasprz);
    EXPECT_EQ(slo->Tag(), "Datasprz");
    EXPECT_EQ(controls(form).labSlownik->text(), "Daty");
    ASSERT_EQ(slo->rowCount(), 31);
    EXPECT_EQ(rows(1).value(10), dateText(QDate(2024, 3, 15)));
    EXPECT_TRUE(slo->model()->index(10, 1).data(Qt::FontRole).value<QFont>().bold());
    EXPECT_EQ(slo->model()->index(12, 1).data(Qt::ForegroundRole).value<QBrush>().color(),
              QColor(255, 0, 0));  // a Sunday

    // A changed issue date shows in the list only after another list came in between.
    controls(form).txtDatawyst->setText(dateText(QDate(2024, 6, 1)));
    focus(controls(form).txtNumer);
    focus(controls(form).txtDatasprz);
    EXPECT_EQ(rows(1).value(10), dateText(QDate(2024, 3, 15)));
    focus(controls(form).txtNazkon);
    focus(controls(form).txtDatasprz);
    EXPECT_EQ(rows(1).value(10), dateText(QDate(2024, 6, 1)));
    // The issue date's own list is today's, whatever the field holds.
    focus(controls(form).txtDatawyst);
    EXPECT_EQ(slo->Tag(), "Datawyst");
    EXPECT_EQ(rows(1).value(10), dateText(today));
}

TEST_F(SideListFixture, PickedHeaderEntriesFillTheirFieldsWhereverTheFocusIs)
{
    const QString adres = u("Wólka Łęczyńska, ul. Przemysłowo-Rolnicza 1234 m. 56, 21-010 Łęczna, gmina Łęczna");
    const QString numer = store("Jan Nowak");
    t.db().execute("UPDATE fadok SET Numdok = NULL, Datadok = NULL, Adrkon = ? WHERE Numer = ?", {adres, numer});
    // The issue dates offered reach into the month before, which holds a document: its period
    // proposes another number than today's.
    t.app.gPrgPar.DataPrzed = 40;
    const QDate earlier = QDate::currentDate().addMonths(-1);
    t.db().execute("INSERT INTO fadok (Inddok, Numer, Datawyst) VALUES ('FR', ?, ?)",
                   {NumberUtworz(1, earlier, u("Numer/Miesiąc/Rok[4]")), earlier});
    t.app.gBazaPar.NumAuto = true;
    BaseParSave(t.app, t.db(), "NumAuto", "1");
    open();
    ASSERT_EQ(controls(form).txtNumer->text(), NumberUtworz(1, QDate::currentDate(), u("Numer/Miesiąc/Rok[4]")));

    // A contractor overwrites all eight seller fields, the empty ones too.
    controls(form).txtNumdok->setText("stary");
    controls(form).txtDatadok->setText(dateText(QDate(2001, 1, 1)));
    pick(rowOf(0, "Jan Nowak"));
    EXPECT_EQ(controls(form).txtNazkon->text(), "Jan Nowak");
    EXPECT_EQ(controls(form).txtAdrkon->text(), adres);
    EXPECT_EQ(controls(form).txtAdrkon->cursorPosition(), 0);  // a long address shows its beginning
    EXPECT_EQ(controls(form).txtNipkon->text(), "123");
    EXPECT_EQ(controls(form).cmbNazdok->currentText(), "Paszport");
    EXPECT_TRUE(controls(form).txtNumdok->text().isEmpty());
    EXPECT_TRUE(controls(form).txtDatadok->text().isEmpty());
    EXPECT_EQ(controls(form).txtWyddok->text(), u("Wójt"));
    EXPECT_EQ(controls(form).txtPlatRach->text(), "11 2222");

    // An issue date sets the sale date, proposes the number of its period and moves the term.
    controls(form).cmbPlatTer->setEditText("[data]");
    controls(form).cmbPlatdni->setEditText("14");
    focus(controls(form).txtDatawyst);
    pick(rowOf(1, dateText(earlier)));
    EXPECT_EQ(controls(form).txtDatawyst->text(), dateText(earlier));
    EXPECT_EQ(controls(form).txtDatasprz->text(), dateText(earlier));
    EXPECT_EQ(controls(form).txtNumer->text(), NumberUtworz(2, earlier, u("Numer/Miesiąc/Rok[4]")));
    EXPECT_EQ(controls(form).cmbPlatTer->currentText(), dateText(earlier.addDays(14)));

    // The days: the anchor is 0, three days before it -3; the term follows.
    focus(controls(form).cmbPlatdni);
    EXPECT_EQ(slo->Tag(), "Dni");
    pick(rowOf(2, "<<<"));
    EXPECT_EQ(controls(form).cmbPlatdni->currentText(), "0");
    EXPECT_EQ(controls(form).cmbPlatTer->currentText(), dateText(earlier));
    pick(rowOf(2, "-3"));
    EXPECT_EQ(controls(form).cmbPlatdni->currentText(), "-3");
    EXPECT_EQ(controls(form).cmbPlatTer->currentText(), dateText(earlier.addDays(-3)));
}

TEST_F(SideListFixture, PickedProductUnitAndRateWriteTheCurrentRowAndAProductNoCorrection)
{
    store("Jan Nowak");
    t.db().execute("INSERT INTO fapoz (Inddok, Numer, Pozycja, Korekta, Nazwa, Indjed, Cenanet, Indvat) "
                   "VALUES ('FR', '1/05/2024', 2, 0, 'Owies', 'kg', 20000, '7,5')");
    open();
    PositionGrid* grid = controls(form).gridPoz;
    PositionModel* poz = controls(form).dataPoz;
    poz->setData(poz->index(1, PositionModel::Ilosc), "5");
    poz->setData(poz->index(1, PositionModel::Cenanet), "3");
    focus(grid);
    grid->setCurrentIndex(poz->index(1, PositionModel::Nazwa));
    ASSERT_EQ(slo->Tag(), "Produkty");
    pick(rowOf(0, "Pszenica"));
    EXPECT_EQ(bufferText(2), "Pszenica 1 t 10.55 7 10.55 0.74 11.29");
    EXPECT_EQ(controls(form).txtRazBrutto->value(), dec("11,29"));

    // A unit changes only the unit; a rate with a comma is stored with a point and recomputes VAT.
    focus(grid);
    grid->setCurrentIndex(poz->index(1, PositionModel::Indjed));
    pick(rowOf(0, "kg"));
    EXPECT_EQ(bufferText(2), "Pszenica 1 kg 10.55 7 10.55 0.74 11.29");
    focus(grid);
    grid->setCurrentIndex(poz->index(1, PositionModel::Indvat));
    pick(rowOf(0, "7,5"));
    EXPECT_EQ(bufferText(2), "Pszenica 1 kg 10.55 7.5 10.55 0.79 11.34");
    EXPECT_EQ(controls(form).txtRazBrutto->value(), dec("11,34"));

    // Without a current row a product opens a new one.
    const int count = poz->rowCount();
    grid->selectionModel()->clearCurrentIndex();
    slo->PanelSlownikPokaz("Produkty");
    select(rowOf(0, "Owies"));
    slo->lstSlo_DblClick();
    ASSERT_EQ(poz->rowCount(), count + 1);
    EXPECT_EQ(bufferRow(count + 1).text("Nazwa"), "Owies");
    EXPECT_EQ(grid->currentIndex().row(), count);

    // On a correction a product changes nothing; a unit still applies.
    controls(form).cmbDokument->setBoundValue("KFR");
    focus(grid);
    grid->setCurrentIndex(poz->index(0, PositionModel::Nazwa));
    select(rowOf(0, "Owies"));
    slo->lstSlo_DblClick();
    EXPECT_TRUE(bufferRow(1).isNull("Nazwa"));
    grid->setCurrentIndex(poz->index(0, PositionModel::Indjed));
    select(rowOf(0, "t"));
    slo->lstSlo_DblClick();
    EXPECT_EQ(bufferRow(1).text("Indjed"), "t");
}

TEST_F(SideListFixture, HeaderFieldsTakeTheirOwnKindAndStillApplyAnyEntry)
{
    store("Jan Nowak");
    open();
    focus(controls(form).txtNazkon);
    select(0);
    auto contractor = sideListDrag();
    struct Case {
        QWidget* target;
        Qt::DropAction shows;
    };
    for (const Case& c :
         {Case{controls(form).txtNazkon, Qt::CopyAction}, Case{controls(form).txtNipkon, Qt::CopyAction},
          Case{controls(form).txtUwagi->viewport(), Qt::LinkAction},
          Case{controls(form).cmbPlatdni->lineEdit(), Qt::LinkAction}, Case{controls(form).txtDatawyst, Qt::LinkAction},
          Case{controls(form).cmbDokument, Qt::IgnoreAction}, Case{controls(form).txtNumer, Qt::IgnoreAction},
          Case{controls(form).txtPodstawa, Qt::IgnoreAction}}) {
        SCOPED_TRACE(c.target->objectName().toStdString() + " " + c.target->parent()->objectName().toStdString());
        EXPECT_EQ(over(c.target, *contractor), c.shows);
    }
    // Dropped on the remarks, a contractor fills the seller and leaves the remarks alone.
    controls(form).txtUwagi->setPlainText("uwaga");
    EXPECT_TRUE(dropOn(controls(form).txtUwagi->viewport(), *contractor));
    EXPECT_EQ(controls(form).txtNazkon->text(), "Jan Nowak");
    EXPECT_EQ(controls(form).txtAdrkon->text(), "Wola 1");
    EXPECT_EQ(controls(form).txtUwagi->toPlainText(), "uwaga");

    // The dates list's own kinds are taken where they go: the days also by the days field.
    controls(form).txtDatawyst->setText(dateText(QDate(2024, 3, 15)));
    focus(controls(form).cmbPlatdni);
    select(rowOf(2, "-3"));
    auto days = sideListDrag();
    EXPECT_EQ(over(controls(form).cmbPlatdni->lineEdit(), *days), Qt::CopyAction);
    EXPECT_TRUE(dropOn(controls(form).cmbPlatdni->lineEdit(), *days));
    EXPECT_EQ(controls(form).cmbPlatdni->currentText(), "-3");
    focus(controls(form).txtDatawyst);
    select(0);
    EXPECT_EQ(over(controls(form).txtDatawyst, *sideListDrag()), Qt::CopyAction);
    EXPECT_EQ(over(controls(form).txtDatasprz, *sideListDrag()), Qt::LinkAction);

    // A document is no entry for a header field; text dragged from elsewhere is the field's own.
    EXPECT_EQ(over(controls(form).txtNazkon, *documentDrag("1/05/2024")), Qt::IgnoreAction);
    QMimeData text;
    text.setText("tekst");
    EXPECT_NE(over(controls(form).txtNazkon, text), Qt::IgnoreAction);
}

TEST_F(SideListFixture, GridRowFollowsThePointerUnderProductsAndTheDropFillsIt)
{
    store("Jan Nowak");
    open();
    PositionGrid* grid = controls(form).gridPoz;
    focus(grid);
    grid->setCurrentIndex(controls(form).dataPoz->index(0, PositionModel::Indjed));
    slo->PanelSlownikPokaz("Produkty");
    select(0);
    auto product = sideListDrag();
    // Over the third row it becomes current; the list keeps the products while the grid moves,
    // though the grid's column is the units'.
    EXPECT_EQ(over(grid->viewport(), *product, cell(2)), Qt::CopyAction);
    EXPECT_EQ(grid->currentIndex().row(), 2);
    EXPECT_EQ(slo->Tag(), "Produkty");
    EXPECT_FALSE(slo->BlokadaSlownika);
    // Below the last row the current row stays.
    const QPoint below(5, grid->viewport()->height() - 2);
    ASSERT_EQ(grid->rowAt(below.y()), -1);
    EXPECT_EQ(over(grid->viewport(), *product, below), Qt::CopyAction);
    EXPECT_EQ(grid->currentIndex().row(), 2);
    EXPECT_TRUE(dropOn(grid->viewport(), *product, cell(1)));
    EXPECT_EQ(bufferRow(2).text("Nazwa"), "Pszenica");
    EXPECT_TRUE(bufferRow(3).isNull("Nazwa"));

    // A contractor over the grid is refused, and dropped there it fills the seller.
    focus(controls(form).txtNazkon);
    select(0);
    auto contractor = sideListDrag();
    EXPECT_EQ(over(grid->viewport(), *contractor, cell(0)), Qt::LinkAction);
    EXPECT_EQ(grid->currentIndex().row(), 1);
    EXPECT_TRUE(dropOn(grid->viewport(), *contractor, cell(0)));
    EXPECT_EQ(controls(form).txtNazkon->text(), "Jan Nowak");

    // On a correction products are refused over the grid and its row stays.
    controls(form).cmbDokument->setBoundValue("KFR");
    focus(grid);
    grid->setCurrentIndex(controls(form).dataPoz->index(0, PositionModel::Nazwa));
    select(0);
    EXPECT_EQ(over(grid->viewport(), *sideListDrag(), cell(2)), Qt::LinkAction);
    EXPECT_EQ(grid->currentIndex().row(), 0);
}

TEST_F(SideListFixture, StoredInvoicesDroppedOnTheKindComboOrTheGridAreCopiedIn)
{
    const QString numer = store(u("Jan Ćwik"));
    open();
    const QString ownNumber = controls(form).txtNumer->text();
    const QString ownDate = controls(form).txtDatawyst->text();
    controls(form).txtNazkon->setText("inny");
    controls(form).dataPoz->setData(controls(form).dataPoz->index(0, PositionModel::Nazwa), "Owies");

    // The new document's row and an unknown number change nothing.
    EXPECT_EQ(over(controls(form).cmbDokument, *documentDrag(QString())), Qt::IgnoreAction);
    EXPECT_EQ(over(controls(form).gridPoz->viewport(), *documentDrag(QString()), cell(0)), Qt::IgnoreAction);
    EXPECT_FALSE(dropOn(controls(form).gridPoz->viewport(), *documentDrag("9/09/2099"), cell(0)));
    EXPECT_EQ(bufferRow(1).text("Nazwa"), "Owies");

    // On the grid: the positions only, the totals follow.
    EXPECT_TRUE(dropOn(controls(form).gridPoz->viewport(), *documentDrag(numer), cell(0)));
    ASSERT_EQ(controls(form).dataPoz->rowCount(), 1);
    EXPECT_EQ(bufferRow(1).text("Nazwa"), "Pszenica");
    EXPECT_EQ(controls(form).txtRazBrutto->value(), dec("22,58"));
    EXPECT_EQ(controls(form).txtNazkon->text(), "inny");

    // On the kind combo: header and positions, the document keeps its number and dates.
    controls(form).dataPoz->setData(controls(form).dataPoz->index(0, PositionModel::Nazwa), "Owies");
    EXPECT_EQ(over(controls(form).cmbDokument, *documentDrag(numer)), Qt::CopyAction);
    EXPECT_TRUE(dropOn(controls(form).cmbDokument, *documentDrag(numer)));
    EXPECT_EQ(controls(form).txtNazkon->text(), u("Jan Ćwik"));
    EXPECT_EQ(controls(form).txtUwagi->toPlainText(), "pilne");
    EXPECT_EQ(bufferRow(1).text("Nazwa"), "Pszenica");
    EXPECT_EQ(controls(form).txtNumer->text(), ownNumber);
    EXPECT_EQ(controls(form).txtDatawyst->text(), ownDate);
    EXPECT_TRUE(controls(form).labPoprawa->isHidden());

    // While a correction is written documents are refused.
    controls(form).cmbDokument->setBoundValue("KFR");
    EXPECT_EQ(over(controls(form).cmbDokument, *documentDrag(numer)), Qt::IgnoreAction);
    EXPECT_EQ(over(controls(form).gridPoz->viewport(), *documentDrag(numer), cell(0)), Qt::IgnoreAction);
}

TEST(ListDrag, StartsPastTheDragDistanceWithTheLeftButtonAlone)
{
    const int d = QApplication::startDragDistance();
    const QPoint at(50, 50);
    EXPECT_TRUE(dragStarts(Qt::LeftButton, at, at + QPoint(d, 0)));
    EXPECT_FALSE(dragStarts(Qt::LeftButton, at, at + QPoint(0, d - 1)));
    EXPECT_FALSE(dragStarts(Qt::LeftButton | Qt::RightButton, at, at + QPoint(d, d)));
    EXPECT_FALSE(dragStarts(Qt::RightButton, at, at + QPoint(d, d)));
}

// The contractors are read in the background on attaching: a field focused before they arrive
// keeps its own dictionary.
TEST_F(SideListFixture, ContractorsReadOnAttachingDoNotReplaceTheDictionaryOfAFieldFocusedMeanwhile)
{
    store("Jan Nowak");
    open();
    pages->Odlacz();
    window->Przylacz();
    controls(form).txtUwagi->setFocus();
    ASSERT_EQ(slo->Tag(), "Uwagi");
    EXPECT_TRUE(backgroundDatabase(t.app).waitIdle(10000));
    EXPECT_EQ(slo->Tag(), "Uwagi");
    EXPECT_EQ(rows(), QStringList{"pilne"});
}

// The contractors shown on attaching are read again after a save, as if they had been asked for,
// also when no field of theirs has the focus.
TEST_F(SideListFixture, ContractorsReadOnAttachingAreReadAgainAfterASave)
{
    store("Jan Nowak");
    open();
    ASSERT_EQ(slo->Tag(), "Kontrahenci");
    focus(controls(form).txtPodstawa);
    saveSeller(u("Zofia Ćwik"));
    EXPECT_EQ(slo->Tag(), "Kontrahenci");
    EXPECT_EQ(rows(), (QStringList{"Jan Nowak", u("Zofia Ćwik")}));
}

// The list a save reads again comes in the background: the entry picked in it stays picked in the
// fresh rows, wherever the stored document puts it, and applies as picked.
TEST_F(SideListFixture, AnEntryPickedBeforeTheListIsReadAgainAfterASaveStaysPicked)
{
    store("Jan Nowak");
    store("Zenon Wrona", "33 4444");
    open();
    focus(controls(form).txtPodstawa);
    select(rowOf(0, "Zenon Wrona"));
    saveSeller("Adam Zet");
    ASSERT_TRUE(backgroundDatabase(t.app).waitIdle(10000));
    // Looked at through the view's own model: the list's accessors would take the rows first.
    const QModelIndex current = slo->currentIndex();
    EXPECT_EQ(slo->model()->rowCount(), 3);
    EXPECT_EQ(slo->model()->index(current.row(), 0).data().toString(), "Zenon Wrona");
    EXPECT_TRUE(slo->selectionModel()->isRowSelected(current.row()));
    slo->lstSlo_DblClick();
    EXPECT_EQ(controls(form).txtPlatRach->text(), "33 4444");
}

TEST_F(SideListFixture, AnotherDatabaseShowsItsOwnContractors)
{
    store("Jan Nowak");
    open();
    ASSERT_EQ(rows(), QStringList{"Jan Nowak"});
    TempDatabase other("Druga.mdb");
    other.db().execute("INSERT INTO fadok (Inddok, Numer, Nazkon) VALUES ('FR', '1/01/2024', 'Ewa Lis')");
    BaseParSave(other.app, other.db(), "DokNaglowek1", "Skup");
    pages->Odlacz();
    t.app.gBaseDb = std::move(other.app.gBaseDb);
    window->Przylacz();
    backgroundDatabase(t.app).waitIdle(10000);
    EXPECT_EQ(slo->Tag(), "Kontrahenci");
    EXPECT_EQ(rows(), QStringList{"Ewa Lis"});
    // With no database open nothing of one stays.
    pages->Odlacz();
    pages->showNoDatabase();
    EXPECT_EQ(slo->rowCount(), 0);
    EXPECT_TRUE(slo->Tag().isEmpty());
    EXPECT_TRUE(controls(form).labSlownik->text().isEmpty());
}
