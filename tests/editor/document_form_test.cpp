#include "editor/document_form.h"
#include "core/base_par.h"
#include "documents/buffer.h"
#include "documents/numbering.h"
#include "editor/entry_page.h"
#include "editor/main_pages.h"
#include "editor/position_grid.h"
#include "editor/position_model.h"
#include "editor/side_list.h"
#include "platform/date_text.h"
#include "platform/qor_combo.h"
#include "platform/qor_controls.h"
#include "platform/twips.h"
#include "register/register_page.h"
#include "support/document_fixture.h"
#include "support/form_controls.h"
#include "support/scoped_responder.h"
#include "support/temp_database.h"
#include "support/typing.h"
#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

Decimal d(const char* t)
{
    return *Decimal::parse(QString::fromUtf8(t));
}

// Types a text key by key; Polish letters arrive as key events carrying their text.

struct Window {
    std::unique_ptr<MainPages> pages;
    DocumentForm* form = nullptr;

    explicit Window(App& app, QSize size = {1024, 700})
    {
        pages = std::make_unique<MainPages>(app);
        form = pages->picWprowadzanie->picDokument();
        pages->Form_Load();
        pages->resize(size);
        pages->show();
        pages->Przylacz();
    }
    template <class T>
    T* find(const char* name)
    {
        return pages->findChild<T*>(QString::fromUtf8(name));
    }

    // Types into a grid cell as a person does: the cell's editor, the text, Enter.
    void typeCell(PositionGrid* grid, int row, int col, const QString& text)
    {
        ASSERT_TRUE(typeIntoCell(grid, row, col, text)) << "no editor for column " << col;
    }
};

struct FormFixture : ::testing::Test {
    TempDatabase t;
    ScopedResponder responder;

    void SetUp() override
    {
        responder.answer = [](const ui::Message&) { return ui::Answer::No; };
        BaseParSave(t.app, t.db(), "DokNaglowek1", "Skup Zboża Sp. z o.o.");
    }
    db::Row row(const char* table, int pozycja, int stanowisko = 0)
    {
        return *t.db().queryOne(QStringLiteral("SELECT * FROM %1 WHERE Stanowisko = ? AND Pozycja = ?").arg(table),
                                {stanowisko, pozycja});
    }
};

}  // namespace

TEST_F(FormFixture, TypedPositionsComputeRowsAndTotalsAtOnce)
{
    Window w(t.app);
    auto* grid = w.find<PositionGrid>("gridPoz");
    ASSERT_EQ(grid->model()->rowCount(), 3);
    w.typeCell(grid, 0, PositionModel::Nazwa, QString::fromUtf8("Żyto"));
    w.typeCell(grid, 0, PositionModel::Ilosc, "2,5");
    w.typeCell(grid, 0, PositionModel::Cenanet, "10,00");
    EXPECT_EQ(row("dopoz", 1).decimal("WartNetto"), d("25"));
    w.typeCell(grid, 0, PositionModel::Indvat, "23");
    EXPECT_EQ(row("dopoz", 1).decimal("WartVAT"), d("5,75"));
    EXPECT_EQ(row("dopoz", 1).decimal("WartBrutto"), d("30,75"));
    EXPECT_EQ(row("dopoz", 1).text("Nazwa"), QString::fromUtf8("Żyto"));
    EXPECT_EQ(w.find<QorNumber>("txtRazBrutto")->text(), "30,75");
    EXPECT_EQ(w.find<QorNumber>("txtDoZaplaty")->value(), d("30,75"));
    EXPECT_FALSE(w.find<QorNumber>("txtPotracenie")->value());

    w.typeCell(grid, 1, PositionModel::Ilosc, "1,005");
    w.typeCell(grid, 1, PositionModel::Cenanet, "1");
    w.typeCell(grid, 1, PositionModel::Indvat, "7,5");
    EXPECT_EQ(row("dopoz", 2).decimal("WartNetto"), d("1,01"));
    EXPECT_EQ(row("dopoz", 2).decimal("WartVAT"), d("0,08"));
    w.typeCell(grid, 2, PositionModel::Ilosc, "2473,99");
    w.typeCell(grid, 2, PositionModel::Cenanet, "1");
    w.typeCell(grid, 2, PositionModel::Indvat, "zw");
    EXPECT_EQ(row("dopoz", 3).decimal("WartBrutto"), d("2473,99"));
    EXPECT_EQ(controls(w.form).txtRazNetto->value(), d("2500"));

    auto* fund = w.find<QorCombo>("cmbFundusz");
    fund->setCurrentIndex(1);  // the user picks a fund
    EXPECT_EQ(controls(w.form).txtPotracenie->value(), d("2"));
    EXPECT_EQ(controls(w.form).txtDoZaplaty->value(), d("2505,83") - d("2"));
    fund->setCurrentIndex(0);  // "(brak)"
    EXPECT_FALSE(controls(w.form).txtPotracenie->value());
    EXPECT_EQ(controls(w.form).txtDoZaplaty->value(), d("2505,83"));
}

TEST_F(FormFixture, KeyInTheLastCellOfTheLastRowAppendsARow)
{
    Window w(t.app);
    auto* grid = w.find<PositionGrid>("gridPoz");
    grid->setFocus();
    grid->setCurrentIndex(grid->model()->index(2, PositionModel::WartBrutto));
    QTest::keyClick(grid, Qt::Key_Tab);
    EXPECT_EQ(grid->model()->rowCount(), 4);
    EXPECT_EQ(grid->currentIndex().row(), 3);
    EXPECT_EQ(grid->currentIndex().column(), 0);
    EXPECT_EQ(row("dopoz", 4).isNull("Nazwa"), true);
}

TEST_F(FormFixture, PopupCommandsFollowTheRowTheKindAndTheLock)
{
    Window w(t.app);
    auto* grid = w.find<PositionGrid>("gridPoz");
    QMenu* menu = grid->preparePopup(1);
    EXPECT_TRUE(grid->mnuPopPozWstaw->isEnabled());
    EXPECT_TRUE(grid->mnuPopPozUsun->isEnabled());
    EXPECT_EQ(menu->actions().size(), 5);
    grid->preparePopup(-1);
    EXPECT_FALSE(grid->mnuPopPozWstaw->isEnabled());
    EXPECT_TRUE(grid->mnuPopPozDodaj->isEnabled());

    grid->setCurrentIndex(grid->model()->index(1, 1));
    grid->preparePopup(1);
    grid->mnuPopPozWstaw->trigger();
    EXPECT_EQ(t.db().scalar("SELECT count(*) FROM dopoz").toInt(), 4);
    EXPECT_EQ(grid->currentIndex().row(), 1);
    grid->mnuPopPozUsun->trigger();
    grid->mnuPopPozUsun->trigger();
    grid->mnuPopPozUsun->trigger();
    grid->mnuPopPozUsun->trigger();  // the only row stays
    EXPECT_EQ(t.db().scalar("SELECT count(*) FROM dopoz").toInt(), 1);
    ASSERT_FALSE(responder.seen.empty());
    EXPECT_TRUE(responder.seen.back().text.startsWith("Wymagane jest"));

    controls(w.form).cmbDokument->setBoundValue("KFR");  // the user switches to a correction
    EXPECT_TRUE(controls(w.form).tabPoz->isTabVisible(1));
    grid->preparePopup(0);
    EXPECT_FALSE(grid->mnuPopPozWstaw->isEnabled());
    EXPECT_FALSE(grid->mnuPopPozDodaj->isEnabled());
    EXPECT_EQ(t.db().scalar("SELECT count(*) FROM dokor").toInt(), 3);
}

TEST_F(FormFixture, ArchiveDatabaseCannotBeChangedButItsPagesCanBeBrowsed)
{
    BaseParSave(t.app, t.db(), "BazaOdczyt", "1");
    t.db().execute("INSERT INTO dopoz (Stanowisko, Pozycja, Nazwa, Ilosc) VALUES (0, 1, 'Owies', 10000)");
    Window w(t.app);
    EXPECT_TRUE(t.app.gBazaPar.BazaOdczyt);
    EXPECT_FALSE(w.pages->picWprowadzanie->toolZapiszZapisz()->isEnabled());
    auto* grid = w.find<PositionGrid>("gridPoz");
    grid->setCurrentIndex(grid->model()->index(0, PositionModel::Ilosc));
    grid->setFocus();
    QTest::keyClicks(grid, "5");
    QTest::keyClick(grid, Qt::Key_Return);
    grid->setCurrentIndex(grid->model()->index(0, PositionModel::WartBrutto));
    QTest::keyClick(grid, Qt::Key_Tab);
    grid->preparePopup(0);
    EXPECT_FALSE(grid->mnuPopPozDodaj->isEnabled());
    EXPECT_FALSE(grid->mnuPopPozUsun->isEnabled());
    grid->mnuPopPozUsun_Click();
    grid->mnuPopPozDodaj_Click();
    w.pages->picWprowadzanie->toolZapisz_ButtonClick("Zapisz");
    w.pages->Form_Unload();
    EXPECT_EQ(t.db().scalar("SELECT count(*) FROM dopoz").toInt(), 1);
    EXPECT_EQ(t.db().scalar("SELECT Ilosc FROM dopoz").toInt(), 10000);
    EXPECT_EQ(t.db().scalar("SELECT count(*) FROM dodok").toInt(), 0);

    w.pages->toolWprowadz_ButtonClick("Kartoteka");
    EXPECT_TRUE(w.pages->picKartoteka->isVisible());
    w.pages->toolWprowadz_ButtonClick("Wprowadzanie");
    EXPECT_TRUE(w.form->isVisible());

    BaseParSave(t.app, t.db(), "BazaOdczyt", "0");  // another database: saving again
    w.pages->Przylacz();
    EXPECT_TRUE(w.pages->picWprowadzanie->toolZapiszZapisz()->isEnabled());
}

TEST_F(FormFixture, RestartRestoresTheEditedDocumentWithItsFund)
{
    {
        Window w(t.app);
        QTest::keyClicks(controls(w.form).txtNazkon, "Jan O'Brien");
        typeText(controls(w.form).txtAdrkon, QString::fromUtf8("Łąkowa 1, Kęty"));
        w.typeCell(controls(w.form).gridPoz, 0, PositionModel::Nazwa, "Rzepak");
        w.typeCell(controls(w.form).gridPoz, 0, PositionModel::Ilosc, "3500");
        w.typeCell(controls(w.form).gridPoz, 0, PositionModel::Cenanet, "1");
        controls(w.form).cmbFundusz->setCurrentIndex(2);
        controls(w.form).txtDatawyst->setText("nie data");  // closing buffers whatever the fields hold
        controls(w.form).txtNumer->clear();
        w.pages->Form_Unload();
    }
    EXPECT_EQ(t.db().scalar("SELECT Nazkon FROM dodok WHERE Stanowisko = 0").toText(), "Jan O'Brien");
    EXPECT_TRUE(t.db().scalar("SELECT Datawyst FROM dodok").isNull());

    Window again(t.app);
    EXPECT_EQ(controls(again.form).txtNazkon->text(), "Jan O'Brien");
    EXPECT_EQ(controls(again.form).txtAdrkon->text(), QString::fromUtf8("Łąkowa 1, Kęty"));
    EXPECT_EQ(controls(again.form).cmbFundusz->currentIndex(), 2);
    EXPECT_EQ(controls(again.form).txtRazNetto->value(), d("3500"));
    EXPECT_EQ(controls(again.form).txtPotracenie->value(), d("4"));
    EXPECT_EQ(controls(again.form).txtDoZaplaty->value(), d("3496"));
    EXPECT_FALSE(controls(again.form).txtNumer->text().isEmpty());
    EXPECT_EQ(controls(again.form).txtDatawyst->text(), dateText(QDate::currentDate()));  // none was buffered

    // A resumed document takes today's dates and a number of their period; a dated term moves
    // with them and keeps its days.
    DocHeader dated = *DocHeader::buffered(t.db(), 0);
    dated.Datawyst = dated.Datasprz = QDate(2024, 4, 1);
    dated.PlatDni = 7;
    dated.PlatTer = dateText(QDate(2024, 4, 8));
    ASSERT_TRUE(ZapiszDoBufora(t.app, dated));
    Window resumed(t.app);
    const QDate today = QDate::currentDate();
    EXPECT_EQ(controls(resumed.form).txtDatawyst->text(), dateText(today));
    EXPECT_EQ(controls(resumed.form).cmbPlatdni->currentText(), "7");
    EXPECT_EQ(controls(resumed.form).cmbPlatTer->currentText(), dateText(today.addDays(7)));
    EXPECT_EQ(controls(resumed.form).txtNumer->text(), NumberUtworz(1, today, "Numer/Miesiąc/Rok[4]"));

    t.app.gStanowisko = 1;  // another workstation on the same file
    Window other(t.app);
    EXPECT_TRUE(controls(other.form).txtNazkon->text().isEmpty());
    EXPECT_EQ(t.db().scalar("SELECT count(*) FROM dopoz WHERE Stanowisko = 1").toInt(), 3);
    EXPECT_EQ(t.db().scalar("SELECT count(*) FROM dopoz WHERE Stanowisko = 0 AND Nazwa = 'Rzepak'").toInt(), 1);
}

TEST_F(FormFixture, RestoredCorrectionIsNotOverwrittenByTheCorrectedInvoice)
{
    t.db().execute("INSERT INTO fadok (Inddok, Numer, Datawyst) VALUES ('FR', '1/04/2024', '2024-04-02')");
    t.db().execute("INSERT INTO dopoz (Stanowisko, Pozycja, Nazwa, WartNetto, WartVAT, WartBrutto) VALUES (0, 1, "
                   "'Owies', 900000, 0, 900000)");
    t.db().execute("INSERT INTO dokor (Stanowisko, Pozycja, Nazwa, WartNetto, WartVAT, WartBrutto) VALUES (0, 1, "
                   "'Owies', 1000000, 0, 1000000)");
    DocHeader h;
    h.Inddok = "KFR";
    h.Numer = "2/05/2024";
    h.KorInddok = "FR";
    h.KorNumer = "1/04/2024";
    h.KorDatawyst = QDate(2024, 4, 2);
    ASSERT_TRUE(ZapiszDoBufora(t.app, h));

    auto pages = std::make_unique<MainPages>(t.app);
    QSignalSpy loads(pages->picWprowadzanie->picDokument(), &DocumentForm::korygowanyWybrany);
    pages->Form_Load();
    pages->Przylacz();
    DocumentForm* form = pages->picWprowadzanie->picDokument();
    EXPECT_EQ(loads.count(), 0);
    EXPECT_EQ(controls(form).cmbDokument->boundValue().toString(), "KFR");
    EXPECT_EQ(controls(form).cmbKornum->boundValue().toString(), "1/04/2024");
    EXPECT_FALSE(controls(form).cmbKornum->changeSuppressed());
    EXPECT_EQ(t.db().scalar("SELECT count(*) FROM dopoz WHERE Nazwa = 'Owies'").toInt(), 1);
    EXPECT_EQ(controls(form).txtRazNetto->value(), d("-10"));
    EXPECT_TRUE(controls(form).tabPoz->isTabVisible(1));
    EXPECT_FALSE(controls(form).dataPoz->flags(controls(form).dataPoz->index(0, PositionModel::Nazwa)) &
                 Qt::ItemIsEditable);
}

// Every column of the header comes back as the form was given it: an invoice with a fund and
// every text, a correction of a stored invoice, and one with the parts left empty.
TEST_F(FormFixture, HeaderShownInTheFormReadsBackTheSame)
{
    t.db().execute("INSERT INTO fadok (Inddok, Numer, Datawyst) VALUES ('FR', '1/04/2024', '2024-04-02')");
    Window w(t.app);
    DocHeader invoice = everyFieldHeader();
    invoice.Inddok = "FR";
    invoice.Numer = "7/05/2024";
    invoice.KorInddok.clear();
    invoice.KorNumer.clear();
    invoice.KorDatawyst = QDate();
    DocHeader correction = everyFieldHeader();
    correction.Fundusz = "Fundusz spoza listy";  // a fund this version does not list is kept
    correction.PlatTer = "20.05.2024";           // a term that is a date agrees with the days
    correction.RazNetto = d("-10,5");
    DocHeader empty;
    empty.PlatDni = 0;  // the days read back as a number, 0 when the field is empty
    // The empty invoice after the correction: nothing of the corrected document stays behind.
    for (const auto& [what, h] : {std::pair{"invoice", invoice}, {"correction", correction}, {"empty", empty}}) {
        SCOPED_TRACE(what);
        w.form->setHeader(h);
        const auto back = w.form->header().values();
        const auto given = h.values();
        for (int i = 0; i < DocHeader::columns().size(); ++i)
            EXPECT_EQ(back[size_t(i)].toText().toStdString(), given[size_t(i)].toText().toStdString())
                << DocHeader::columns()[i].toStdString();
    }
}

TEST_F(FormFixture, NestedGuardsKeepAListQuietUntilTheOutermostEnds)
{
    QorCombo c;
    c.setRowSource("LIST A;a|B;b");
    c.Refill();
    QSignalSpy changes(&c, &QorCombo::Change);
    {
        ChangeGuard outer{&c};
        {
            ChangeGuard inner{&c};
            c.setBoundValue("A");
        }
        c.setBoundValue("B");
    }
    EXPECT_EQ(changes.count(), 0);
    c.setBoundValue(QVariant());
    EXPECT_EQ(changes.count(), 1);
    EXPECT_TRUE(c.boundValue().isNull());
}

TEST_F(FormFixture, EmptyHeaderLineAsksOnEveryAttach)
{
    BaseParSave(t.app, t.db(), "DokNaglowek1", "");
    Window w(t.app);
    QSignalSpy dialog(w.pages.get(), &MainPages::mnuNarzParDok_Click);
    w.pages->Przylacz();
    ASSERT_EQ(responder.seen.size(), 2u);
    EXPECT_EQ(responder.seen[0].buttons, ui::Buttons::YesNo);
    EXPECT_EQ(dialog.count(), 0);
    responder.answer = [](const ui::Message&) { return ui::Answer::Yes; };
    w.pages->Przylacz();
    EXPECT_EQ(dialog.count(), 1);
}

TEST_F(FormFixture, NewDocumentAndAttachProposeTheNumberOfTheIssueDateShown)
{
    const QDate today = QDate::currentDate();
    t.db().execute("INSERT INTO fadok (Inddok, Numer, Datawyst) VALUES ('FR', ?, ?)",
                   {NumberUtworz(7, today, "Numer/Miesiąc/Rok[4]"), today});
    const QString todays = NumberUtworz(8, today, "Numer/Miesiąc/Rok[4]");
    Window w(t.app);
    struct Case {
        const char* what;
        bool ustawPocz, attach, buffered;
        QString date, numer;
    };
    const Case cases[] = {
        {"new document with the default header", true, false, false, dateText(today), todays},
        {"attach: a new document, the default header set afterwards", false, true, false, dateText(today), todays},
        {"attach: the same with the default header set twice", true, true, false, dateText(today), todays},
        {"attach: the buffered document keeps the date shown", false, true, true, "15.01.2001", "1/01/2001"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        t.app.gPrgPar.UstawPocz = c.ustawPocz;
        if (c.buffered) t.db().execute("UPDATE dopoz SET Nazwa = 'Owies' WHERE Stanowisko = 0 AND Pozycja = 1");
        controls(w.form).txtDatawyst->setText("15.01.2001");
        if (c.attach)
            w.pages->Przylacz();
        else
            w.form->NowyDokument();
        const FormControls f = controls(w.form);
        EXPECT_EQ(f.txtDatawyst->text(), c.date);
        EXPECT_EQ(f.txtNumer->text(), c.numer);
        if (!c.buffered) {
            EXPECT_EQ(f.txtDatasprz->text(), c.date);
        }
    }
}

TEST_F(FormFixture, AFailedProposalLeavesNoNumber)
{
    Window w(t.app);
    t.db().execute("ALTER TABLE fadok RENAME TO fadok_x");
    controls(w.form).txtDatawyst->setText("15.01.2024");
    w.form->txtDatawyst_LostFocus();
    EXPECT_TRUE(controls(w.form).txtNumer->text().isEmpty());
    EXPECT_FALSE(controls(w.form).txtNumer->placeholderText().isEmpty());
    EXPECT_FALSE(w.form->ZapiszDoBufora());
}

// A template without a running number whose number of this year is stored: the attach and a new
// document with the default header propose several times, and the reason is told once; a save
// tells it again.
TEST_F(FormFixture, AProposalThatTheTemplateCannotGiveIsToldOnce)
{
    t.app.gPrgPar.UstawPocz = true;
    BaseParSave(t.app, t.db(), "NumSzablon", "FV/Rok[4]");
    const QString numer = QStringLiteral("FV/%1").arg(QDate::currentDate().year());
    t.db().execute("INSERT INTO fadok (Inddok, Numer, Datawyst) VALUES ('FR', ?, ?)", {numer, QDate::currentDate()});
    Window w(t.app);
    w.form->NowyDokument();
    ASSERT_EQ(responder.seen.size(), 1u);
    EXPECT_TRUE(responder.seen[0].text.contains(numer));
    EXPECT_TRUE(controls(w.form).txtNumer->text().isEmpty());
    // The save road says why there is no number, not only that there is none.
    EXPECT_FALSE(w.form->ZapiszDoBufora());
    ASSERT_EQ(responder.seen.size(), 2u);
    EXPECT_EQ(responder.seen[1].text, responder.seen[0].text);
}

TEST_F(FormFixture, LayoutFollowsTheWindowAndNeverGoesNegative)
{
    Window w(t.app);
    DocumentForm* f = w.form;
    const twips::Scale& s = f->scale();  // the layout in the twips it was drawn in
    const int pixel = twips::kPerPixel;
    f->resize(f->width(), s.px(6495));
    EXPECT_NEAR(s.topOf(controls(f).txtRazNetto), 5610, pixel);
    EXPECT_NEAR(s.topOf(controls(f).txtDoZaplaty), 6150, pixel);
    EXPECT_NEAR(s.heightOf(controls(f).tabPoz), 2090, pixel);
    f->resize(f->width(), s.px(9000));
    EXPECT_NEAR(s.topOf(controls(f).txtRazNetto), 9000 - 1250 + 210, pixel);
    EXPECT_NEAR(s.topOf(controls(f).txtDoZaplaty), 9000 - 480, pixel);
    EXPECT_GT(s.heightOf(controls(f).tabPoz), 2090);
    EXPECT_NEAR(s.leftOf(controls(f).lstSlo) + s.widthOf(controls(f).lstSlo), s.widthOf(f) - 180, pixel);

    f->resize(10, 10);  // held at its minimum, nothing negative
    EXPECT_EQ(f->size(), f->minimumSize());
    EXPECT_GT(s.widthOf(controls(f).lstSlo), 0);
    EXPECT_GT(s.heightOf(controls(f).lstSlo), 0);
    w.pages->resize(50, 50);
    EXPECT_GE(w.pages->width(), w.pages->minimumWidth());
    EXPECT_EQ(w.pages->picKartoteka->geometry(), w.pages->picWprowadzanie->geometry());
}

// A refused save names the field to put right and the form gives that very control the focus;
// a position fault the grid of its rows, on its tab.
TEST_F(FormFixture, AFaultFocusesTheControlOfTheFieldItNames)
{
    Window w(t.app);
    QApplication::setActiveWindow(w.pages.get());
    controls(w.form).cmbDokument->setBoundValue("KFR");  // a correction shows every field
    struct Case {
        FormField field;
        const char* control;
    };
    const std::vector<Case> cases = {
        {FormField::Numer, "txtNumer"},     {FormField::Datawyst, "txtDatawyst"}, {FormField::Datasprz, "txtDatasprz"},
        {FormField::Kornum, "cmbKornum"},   {FormField::Nazkon, "txtNazkon"},     {FormField::Adrkon, "txtAdrkon"},
        {FormField::PlatFor, "cmbPlatFor"}, {FormField::TabPoz, "tabPoz"},        {FormField::Pozycje, "gridPoz"},
        {FormField::PozycjeKor, "gridKor"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.control);
        controls(w.form).txtUwagi->setFocus();
        w.form->showFault(CheckFault{QString(), c.field, 0});
        QWidget* want = w.find<QWidget>(c.control);
        ASSERT_TRUE(want);
        QWidget* got = QApplication::focusWidget();
        EXPECT_TRUE(got == want || want->isAncestorOf(got)) << (got ? got->objectName().toStdString() : "");
    }
}
