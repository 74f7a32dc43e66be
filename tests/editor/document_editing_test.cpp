#include "editor/document_editing.h"
#include "core/base_par.h"
#include "documents/numbering.h"
#include "documents/save.h"
#include "editor/document_form.h"
#include "editor/document_list_events.h"
#include "editor/entry_page.h"
#include "editor/main_pages.h"
#include "editor/main_window.h"
#include "editor/position_grid.h"
#include "editor/position_model.h"
#include "platform/clipboard_link.h"
#include "platform/date_text.h"
#include "platform/qor_combo.h"
#include "platform/qor_controls.h"
#include "support/answers.h"
#include "support/document_fixture.h"
#include "support/editing_window.h"
#include "support/form_controls.h"
#include "support/temp_database.h"
#include "support/test_settings.h"
#include "support/typing.h"
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>
#include <functional>
#include <gtest/gtest.h>

// The document's road through the real entry page: typed, saved, listed, reopened, corrected.

TEST_F(EditingFixture, TypedInvoiceSavedWithCtrlEnterIsStoredListedAndANewOneStarts)
{
    open();
    EXPECT_EQ(listed(), QStringList{"<Nowy dokument>"});
    EXPECT_EQ(controls(form).txtNumer->text(), today(1));
    typeSeller();
    typeCell(controls(form).gridPoz, 0, PositionModel::Nazwa, "Pszenica");
    typeCell(controls(form).gridPoz, 0, PositionModel::Ilosc, "2,5");
    typeCell(controls(form).gridPoz, 0, PositionModel::Indjed, "kg");
    typeCell(controls(form).gridPoz, 0, PositionModel::Cenanet, "10,00");
    typeCell(controls(form).gridPoz, 0, PositionModel::Indvat, "23");
    typeCell(controls(form).gridPoz, 2, PositionModel::Nazwa, QString::fromUtf8("Żyto"));
    typeCell(controls(form).gridPoz, 2, PositionModel::Ilosc, "1,005");
    typeCell(controls(form).gridPoz, 2, PositionModel::Indjed, "t");
    typeCell(controls(form).gridPoz, 2, PositionModel::Cenanet, "1");
    typeCell(controls(form).gridPoz, 2, PositionModel::Indvat, "7,5");
    ctrlEnter();
    ASSERT_TRUE(answers.seen.empty()) << answers.texts().join(" | ").toStdString();

    auto d = t.db().queryOne("SELECT * FROM fadok");
    ASSERT_TRUE(d);
    EXPECT_EQ(d->text("Numer"), today(1));
    EXPECT_EQ(d->date("Datawyst"), QDate::currentDate());
    EXPECT_EQ(d->text("Nazkon"), "Jan O'Brien");
    EXPECT_EQ(d->text("PlatFor"), QString::fromUtf8("gotówka"));
    EXPECT_TRUE(d->isNull("Nipkon"));
    EXPECT_TRUE(d->isNull("Uwagi"));
    EXPECT_EQ(d->decimal("RazNetto"), dec("26,01"));
    EXPECT_EQ(d->decimal("RazBrutto"), dec("31,84"));
    EXPECT_EQ(d->decimal("DoZaplaty"), dec("31,84"));
    auto positions = t.db().query("SELECT * FROM fapoz ORDER BY Pozycja");
    ASSERT_EQ(positions.size(), 2u);
    EXPECT_EQ(positions[0].decimal("WartBrutto"), dec("30,75"));
    EXPECT_EQ(positions[1].text("Nazwa"), QString::fromUtf8("Żyto"));
    EXPECT_EQ(positions[1].decimal("WartNetto"), dec("1,01"));

    // Listed first and selected; the form holds a new document under the next number.
    ASSERT_EQ(listed(), (QStringList{"<Nowy dokument>", "FR  " + today(1)}));
    ASSERT_GE(currentRow(), 0);
    EXPECT_EQ(rows->numer(currentRow()), today(1));
    EXPECT_EQ(rows->index(currentRow(), DocumentListModel::RazBrutto).data().toString(), "31,84");
    EXPECT_TRUE(page->toolZapiszDrukuj()->isEnabled());
    EXPECT_EQ(controls(form).txtNumer->text(), today(2));
    EXPECT_TRUE(controls(form).txtNazkon->text().isEmpty());
    EXPECT_EQ(controls(form).dataPoz->rowCount(), t.app.gPrgPar.TabPozLicz);
    EXPECT_EQ(t.db().scalar("SELECT count(*) FROM dopoz WHERE Nazwa IS NOT NULL").toInt(), 0);
}

TEST_F(EditingFixture, ValidationMessageFocusesTheFieldAndStoresNothing)
{
    open();
    type(controls(form).txtNazkon, "Jan");
    typeCell(controls(form).gridPoz, 0, PositionModel::Nazwa, "Owies");
    typeCell(controls(form).gridPoz, 0, PositionModel::Ilosc, "1");
    typeCell(controls(form).gridPoz, 0, PositionModel::Indjed, "kg");
    typeCell(controls(form).gridPoz, 0, PositionModel::Cenanet, "5");
    ctrlEnter();
    EXPECT_EQ(answers.last(), QString::fromUtf8("Brak adresu sprzedawcy. Wprowadź adres i spróbuj ponownie."));
    EXPECT_TRUE(controls(form).txtAdrkon->hasFocus());
    type(controls(form).txtAdrkon, "Wola");
    type(controls(form).cmbPlatFor, "przelew");
    typeCell(controls(form).gridPoz, 0, PositionModel::Indvat, "7");
    typeCell(controls(form).gridPoz, 1, PositionModel::Ilosc, "2");
    typeCell(controls(form).gridPoz, 1, PositionModel::Cenanet, "5");
    ctrlEnter();
    EXPECT_EQ(answers.last(),
              QString::fromUtf8("Błędna pozycja dokumentu nr 2. Brak nazwy towaru / usługi. Jeżeli nie "
                                "chcesz wprowadzać pozycji wprowadź 0 (zero) do pola ilość lub usuń pozycję."));
    EXPECT_TRUE(controls(form).gridPoz->hasFocus());
    EXPECT_EQ(t.db().scalar("SELECT count(*) FROM fadok").toInt(), 0);
}

// A header the buffer cannot hold as typed stops the save with its message, the focus in the
// field and the form as it was: a date field with a text that is no date, a number of blanks.
TEST_F(EditingFixture, AHeaderFieldThatCannotBeStoredAsTypedStopsTheSave)
{
    open();
    const QString bladDaty =
        QString::fromUtf8("Błędna data. Wprowadź datę w formacie daty krótkiej ustawień lokalnych systemu, np: ") +
        dateText(QDate::currentDate());
    struct Case {
        QLineEdit* field;
        QString text;
        QString message;
    };
    const std::vector<Case> cases = {
        {controls(form).txtDatadok, "32.13.2024", bladDaty},
        {controls(form).txtDatawyst, "32.13.2024", bladDaty},
        {controls(form).txtDatasprz, "1.1", bladDaty},
        {controls(form).txtNumer, "   ",
         QString::fromUtf8("Brak numeru dokumentu. Wprowadź numer i spróbuj ponownie.")},
    };
    typeSeller();
    typeRow(0, "Owies", "2", "kg", "5", "7");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field->objectName().toStdString());
        const QString was = c.field->text();
        type(c.field, c.text);
        answers.seen.clear();
        ctrlEnter();
        ASSERT_EQ(answers.texts(), QStringList{c.message});
        EXPECT_TRUE(c.field->hasFocus());
        EXPECT_EQ(c.field->text(), c.text);
        EXPECT_EQ(controls(form).txtNazkon->text(), "Jan O'Brien");
        EXPECT_EQ(t.db().scalar("SELECT count(*) FROM fadok").toInt(), 0);
        c.field->setText(was);
    }
    ctrlEnter();
    EXPECT_EQ(t.db().scalar("SELECT count(*) FROM fadok").toInt(), 1);
}

// A name typed and erased, the row left without a value: the first save refuses the row as it
// would a named one, the next one takes it for an empty line.
TEST_F(EditingFixture, AnErasedNameWithoutAValueIsRefusedOnceThenSkipped)
{
    open();
    typeSeller();
    typeRow(0, "Owies", "2", "kg", "5", "7");
    typeCell(controls(form).gridPoz, 1, PositionModel::Nazwa, "Jęczmień");
    typeCell(controls(form).gridPoz, 1, PositionModel::Nazwa, "");
    ctrlEnter();
    EXPECT_EQ(answers.texts(),
              QStringList{QString::fromUtf8("Błędna pozycja dokumentu nr 2. Brak jednostki miary. Jeżeli nie chcesz "
                                            "określać jednostki wprowadź ---")});
    EXPECT_EQ(t.db().scalar("SELECT count(*) FROM fadok").toInt(), 0);
    ctrlEnter();
    EXPECT_EQ(answers.seen.size(), 1u) << answers.texts().join(" | ").toStdString();
    EXPECT_EQ(t.db().scalar("SELECT group_concat(Nazwa) FROM fapoz").toText(), "Owies");
}

TEST_F(EditingFixture, DoubleClickEditsAStoredDocumentUnderItsNumberAndKeepsItPaid)
{
    bufferDocument(t.app, invoiceHeader("1/05/2024"), {{"Pszenica", "10", "kg", "800,00", "7"}});
    t.app.gBazaPar.NumSzablon = "Numer/Miesiąc/Rok[4]";
    ASSERT_TRUE(saveBuffered(t.app).ok);
    t.db().execute("UPDATE fadok SET Zaplacono = RazBrutto, Uwagi = 'pilne'");
    bufferNewDocument(t.app, false);
    open();
    ASSERT_EQ(rows->rowCount(), 2);
    doubleClickRow(1);
    ASSERT_EQ(currentRow(), 1);
    EXPECT_FALSE(controls(form).labPoprawa->isHidden());
    EXPECT_EQ(controls(form).txtNumer->text(), "1/05/2024");
    EXPECT_EQ(controls(form).txtDatawyst->text(), dateText(QDate(2024, 5, 6)));
    EXPECT_EQ(controls(form).txtNazkon->text(), "Jan O'Brien");
    EXPECT_EQ(controls(form).txtUwagi->toPlainText(), "pilne");
    EXPECT_EQ(controls(form).txtRazBrutto->value(), dec("8560"));
    EXPECT_EQ(controls(form).dataPoz->rowCount(), 1);
    EXPECT_TRUE(page->toolEdycjaPodglad()->isEnabled());
    // Leaving the issue date of a stored document never changes its number.
    controls(form).txtDatawyst->setFocus();
    controls(form).txtNazkon->setFocus();
    EXPECT_EQ(controls(form).txtNumer->text(), "1/05/2024");

    typeCell(controls(form).gridPoz, 0, PositionModel::Ilosc, "11");
    ctrlEnter();
    EXPECT_TRUE(answers.seen.empty()) << answers.last().toStdString();
    EXPECT_EQ(t.db().scalar("SELECT count(*) FROM fadok").toInt(), 1);
    EXPECT_EQ(t.db().scalar("SELECT Ilosc FROM fapoz").toDecimal(), Decimal(11));
    EXPECT_EQ(t.db().scalar("SELECT Zaplacono FROM fadok").toDecimal(), dec("8560"));  // still marked paid
    EXPECT_TRUE(controls(form).labPoprawa->isHidden());

    // "<Nowy dokument>" starts a new document.
    doubleClickRow(1);
    doubleClickRow(0);
    EXPECT_TRUE(controls(form).labPoprawa->isHidden());
    EXPECT_TRUE(controls(form).txtNazkon->text().isEmpty());
    EXPECT_FALSE(page->toolEdycjaPodglad()->isEnabled());
}

TEST_F(EditingFixture, CorrectionTypedFromTheInvoiceItCorrects)
{
    bufferDocument(t.app, invoiceHeader("1/04/2024", QDate(2024, 4, 2)), {{"Pszenica", "10", "kg", "800,00", "7"}});
    t.app.gBazaPar.NumSzablon = "Numer/Miesiąc/Rok[4]";
    ASSERT_TRUE(saveBuffered(t.app).ok);
    bufferNewDocument(t.app, false);
    open();
    controls(form).cmbDokument->setBoundValue("KFR");  // the user picks the correction
    controls(form).cmbKordok->setBoundValue("FR");
    ASSERT_TRUE(controls(form).cmbKornum->findData("1/04/2024") >= 0);
    controls(form).cmbKornum->setBoundValue("1/04/2024");  // ... and the corrected invoice
    EXPECT_EQ(controls(form).txtNazkon->text(), "Jan O'Brien");
    EXPECT_EQ(controls(form).txtKorDatawyst->text(), dateText(QDate(2024, 4, 2)));
    EXPECT_EQ(controls(form).txtRazBrutto->value(), Decimal());
    typeCell(controls(form).gridPoz, 0, PositionModel::Ilosc, "0");
    EXPECT_EQ(controls(form).txtRazBrutto->value(), dec("-8560"));
    const QString numer = controls(form).txtNumer->text();
    ctrlEnter();
    ASSERT_TRUE(answers.seen.empty()) << answers.texts().join(" | ").toStdString();

    auto before = t.db().queryOne("SELECT * FROM fapoz WHERE Numer = ? AND Korekta = 1", {numer});
    ASSERT_TRUE(before);
    EXPECT_EQ(before->decimal("Ilosc"), Decimal(-10));
    EXPECT_EQ(before->decimal("WartNetto"), Decimal(-8000));
    EXPECT_EQ(before->decimal("Cenanet"), Decimal(800));
    EXPECT_EQ(t.db().scalar("SELECT KorNumer FROM fadok WHERE Numer = ?", {numer}).toText(), "1/04/2024");
    // The invoice is not offered for another correction.
    controls(form).cmbDokument->setBoundValue("FR");
    controls(form).cmbDokument->setBoundValue("KFR");
    controls(form).cmbKordok->setBoundValue("FR");
    EXPECT_LT(controls(form).cmbKornum->findData("1/04/2024"), 0);

    // Reopened, both grids show positive quantities.
    doubleClickRow(1);
    EXPECT_EQ(controls(form).cmbDokument->boundValue().toString(), "KFR");
    EXPECT_EQ(controls(form).cmbKornum->boundValue().toString(), "1/04/2024");
    EXPECT_EQ(controls(form).dataKor->position(0).Ilosc, Decimal(10));
    EXPECT_EQ(controls(form).dataPoz->position(0).Ilosc, Decimal(0));
    EXPECT_EQ(controls(form).txtRazBrutto->value(), dec("-8560"));
}

// Each load that replaces the positions buffers the header the form then shows, with the loaded
// rows; the payment days that a dated term gives count from the issue date shown.
TEST_F(EditingFixture, EveryLoadBuffersTheHeaderTheFormShows)
{
    DocHeader stored = invoiceHeader("1/05/2024");
    stored.PlatTer = dateText(QDate(2024, 5, 20));
    stored.Uwagi = "zapisane";
    bufferDocument(t.app, stored, {{"Pszenica", "10", "kg", "800,00", "7"}});
    ASSERT_TRUE(saveBuffered(t.app).ok);
    bufferNewDocument(t.app, false);
    open();
    const struct {
        const char* load;
        std::function<void()> run;
    } loads[] = {
        {"copy dropped on the kind", [&] { editing->WczytajDokument("nowy", "1/05/2024"); }},
        {"positions dropped on the grid", [&] { editing->WczytajPozycje("1/05/2024", false); }},
        {"corrected invoice chosen",
         [&] {
             controls(form).cmbDokument->setBoundValue("KFR");
             controls(form).cmbKordok->setBoundValue("FR");
             controls(form).cmbKornum->setBoundValue("1/05/2024");
         }},
        {"opened for editing", [&] { editing->WczytajDokument("popraw", "1/05/2024"); }},
    };
    for (const auto& l : loads) {
        SCOPED_TRACE(l.load);
        type(controls(form).txtNazkon, "Rolnik X");
        ASSERT_TRUE(form->ZapiszDoBufora());
        l.run();
        EXPECT_EQ(bufferedHeader(), shownHeader());
        EXPECT_EQ(t.db().scalar("SELECT group_concat(Nazwa) FROM dopoz WHERE Nazwa IS NOT NULL").toText(), "Pszenica");
    }
    EXPECT_TRUE(answers.seen.empty()) << answers.texts().join(" | ").toStdString();
}

TEST_F(EditingFixture, DatesAndPaymentTermsFollowEachOther)
{
    open();
    type(controls(form).txtDatasprz, "31.02.2024");
    controls(form).txtNazkon->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(answers.last(),
              QString::fromUtf8("Błędna data. Wprowadź datę w formacie daty krótkiej ustawień lokalnych "
                                "systemu, np: ") +
                  dateText(QDate::currentDate()));
    EXPECT_TRUE(controls(form).txtDatasprz->hasFocus());
    type(controls(form).txtDatasprz, "");
    controls(form).txtNazkon->setFocus();
    EXPECT_EQ(answers.seen.size(), 1u);  // an empty date may be left

    type(controls(form).cmbPlatTer, "");
    type(controls(form).txtDatawyst, dateText(QDate(2024, 1, 10)));
    type(controls(form).cmbPlatdni, "14");
    EXPECT_EQ(controls(form).cmbPlatTer->currentText(), dateText(QDate(2024, 1, 24)));
    type(controls(form).cmbPlatTer, dateText(QDate(2024, 2, 9)));
    EXPECT_EQ(controls(form).cmbPlatdni->currentText(), "30");
    // Leaving the issue date copies it into the sale date and proposes its period's number.
    controls(form).txtDatawyst->setFocus();
    controls(form).txtNazkon->setFocus();
    EXPECT_EQ(controls(form).txtDatasprz->text(), dateText(QDate(2024, 1, 10)));
    EXPECT_EQ(controls(form).txtNumer->text(), "1/01/2024");
    // The delivery term stays; picking "[data]" again shows the computed date.
    controls(form).cmbPlatTer->setCurrentIndex(1);
    emit controls(form).cmbPlatTer->activated(1);
    type(controls(form).cmbPlatdni, "7");
    EXPECT_EQ(controls(form).cmbPlatTer->currentText(), "od dnia dostarczenia towaru");
    controls(form).cmbPlatTer->setCurrentIndex(0);
    emit controls(form).cmbPlatTer->activated(0);
    EXPECT_EQ(controls(form).cmbPlatTer->currentText(), dateText(QDate(2024, 1, 17)));
}

TEST_F(EditingFixture, RightButtonSelectsTheRowAndSetsThePopup)
{
    bufferDocument(t.app, invoiceHeader("1/05/2024"), {{"Pszenica", "10", "kg", "800,00", "7"}});
    ASSERT_TRUE(saveBuffered(t.app).ok);
    open();
    QMenu& menu = *window->mnuPopKartoteka;
    struct {
        QAction *popraw, *usun, *kopiuj, *wklej;
    } p{window->mnuPopKarPopraw, window->mnuPopKarUsun, window->mnuPopKarKopiuj, window->mnuPopKarWklej};
    auto rightClick = [&](int i) {
        QTest::mouseClick(lst->viewport(), Qt::RightButton, {}, rowRect(i).center());
        menu.hide();
    };
    rightClick(0);
    EXPECT_EQ(currentRow(), 0);
    EXPECT_FALSE(p.popraw->isEnabled());
    EXPECT_FALSE(p.kopiuj->isEnabled());
    EXPECT_FALSE(p.wklej->isEnabled());
    EXPECT_EQ(p.wklej->text(), "Wklej z...");

    clipboard::writeLink(">Wirlan Data|FR|C:\\Dane\\Firma.mdb||FR |7/05/2024");
    rightClick(1);
    EXPECT_EQ(currentRow(), 1);
    EXPECT_TRUE(p.popraw->isEnabled());
    EXPECT_TRUE(p.usun->isEnabled());
    EXPECT_TRUE(p.wklej->isEnabled());
    EXPECT_EQ(p.wklej->text(), "Wklej z FR Nr 7/05/2024");
    QApplication::clipboard()->clear();
}

TEST_F(EditingFixture, CtrlEnterInAnOpenCellStoresWhatTheCellHolds)
{
    open();
    typeSeller();
    typeCell(controls(form).gridPoz, 0, PositionModel::Nazwa, "Owies");
    typeCell(controls(form).gridPoz, 0, PositionModel::Ilosc, "2");
    typeCell(controls(form).gridPoz, 0, PositionModel::Indjed, "kg");
    typeCell(controls(form).gridPoz, 0, PositionModel::Indvat, "7");
    // The price is typed and the save pressed before the cell is left.
    QModelIndex i = controls(form).dataPoz->index(0, PositionModel::Cenanet);
    controls(form).gridPoz->setCurrentIndex(i);
    static_cast<QAbstractItemView*>(controls(form).gridPoz)->edit(i);
    QLineEdit* editor = nullptr;
    for (auto* e : controls(form).gridPoz->viewport()->findChildren<QLineEdit*>())
        if (!e->isHidden()) editor = e;
    ASSERT_TRUE(editor);
    editor->setFocus();
    typeText(editor, "5");
    QTest::keyClick(editor, Qt::Key_Return, Qt::ControlModifier);
    ASSERT_TRUE(answers.seen.empty()) << answers.texts().join(" | ").toStdString();
    EXPECT_EQ(t.db().scalar("SELECT WartBrutto FROM fapoz").toDecimal(), dec("10,70"));
}

TEST_F(EditingFixture, ToolbarSavesAndAnArchiveDatabaseSavesNothing)
{
    open();
    typeSeller();
    typeRow(0, "Owies", "2", "kg", "5", "7");
    page->toolZapiszZapisz()->trigger();
    ASSERT_TRUE(answers.seen.empty()) << answers.texts().join(" | ").toStdString();
    EXPECT_EQ(t.db().scalar("SELECT count(*) FROM fadok").toInt(), 1);
    EXPECT_EQ(rows->numer(currentRow()), today(1));

    // An archive database with a complete document in the buffer: nothing saves it.
    BaseParSave(t.app, t.db(), "BazaOdczyt", "1");
    typeRows(t.app, PositionTable::Dopoz, {{"Owies", "2", "kg", "5", "7"}});
    window->Przylacz();
    typeSeller();
    controls(form).txtNumer->setText(today(5));
    form->PozycjeSumuj();
    ctrlEnter();
    window->MnuPopDokZapisz->trigger();
    EXPECT_EQ(t.db().scalar("SELECT count(*) FROM fadok").toInt(), 1);
}

TEST_F(EditingFixture, ListRefillThatFailsKeepsItsRowsAndIsReported)
{
    bufferDocument(t.app, invoiceHeader("1/05/2024"), {{"Pszenica", "10", "kg", "800,00", "7"}});
    ASSERT_TRUE(saveBuffered(t.app).ok);
    bufferNewDocument(t.app, false);
    open();
    ASSERT_EQ(rows->rowCount(), 2);
    t.db().execute("ALTER TABLE fadok RENAME TO fadok_gone");
    editing->lista()->OdswiezListeDokumentow(QString());
    EXPECT_EQ(rows->rowCount(), 2);
    EXPECT_EQ(answers.dialogs, 1);  // the error report
    // Opening a document that is gone changes nothing either.
    editing->WczytajDokument("popraw", "1/05/2024");
    EXPECT_TRUE(controls(form).labPoprawa->isHidden());
}
