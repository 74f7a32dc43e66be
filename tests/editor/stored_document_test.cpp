#include "support/stored_document.h"
#include "core/dlg_baza_haslo.h"
#include "core/dlg_baza_wlas.h"
#include "documents/save.h"
#include "editor/side_list.h"
#include "platform/date_text.h"
#include "platform/qor_combo.h"
#include "platform/qor_controls.h"
#include "register/register_model.h"
#include "register/register_page.h"
#include "support/document_fixture.h"
#include "support/editing_window.h"
#include "support/form_controls.h"
#include "support/other_process.h"
#include <QFile>
#include <QFileDialog>
#include <QFocusEvent>
#include <QLabel>
#include <QPushButton>
#include <functional>

// Sequences a clerk runs through the real window (two databases, a cancelled dialog, an archive,
// a restart) in which no stored document may be replaced unseen.

namespace {

struct StoredDocumentFixture : EditingFixture {
    // The list row of stored document `numer`.
    int rowOf(const QString& numer)
    {
        for (int i = 0; i < rows->rowCount(); ++i)
            if (rows->numer(i) == numer) return i;
        ADD_FAILURE() << "not listed: " << numer.toStdString();
        return 0;
    }
    // "Otwórz" from the menu; the file dialog chooses `file`, or is cancelled when it is empty.
    void openFromMenu(const QString& file)
    {
        answers.dialog = [file](QDialog& d) {
            auto* fd = qobject_cast<QFileDialog*>(&d);
            if (!fd || file.isEmpty()) return int(QDialog::Rejected);
            fd->selectFile(file);
            return int(QDialog::Accepted);
        };
        window->mnuBazaOtworz->trigger();
        answers.dialog = [this](QDialog&) {
            ++answers.dialogs;
            return 0;
        };
    }
    QString buffers(db::Database& db)
    {
        return db.scalar(
                     "SELECT group_concat(Nazwa || ':' || Pozycja) FROM (SELECT Nazwa, Pozycja FROM dopoz UNION ALL "
                     "SELECT Nazwa, Pozycja FROM dokor)")
                   .toText() +
               "|" + db.scalar("SELECT count(*) FROM dopoz").toText() + "|" +
               db.scalar("SELECT count(*) FROM dokor").toText() + "|" +
               db.scalar("SELECT group_concat(Numer) FROM dodok").toText();
    }
    DocHeader correctionOf(const QString& numer, const QString& korNumer)
    {
        return correctionHeader(numer, korNumer, QDate(2024, 4, 2));
    }
};

}  // namespace

// Editing 1/05/2024 of one database, then opening another that holds its own paid 1/05/2024:
// the document there is no edit of the one loaded here, so saving asks and carries nothing.
TEST_F(StoredDocumentFixture, AnotherDatabaseOpenedMeanwhileIsNotWrittenUnderTheLoadedNumber)
{
    bufferDocument(t.app, invoiceHeader("1/05/2024"), {{"Pszenica", "10", "kg", "800,00", "7"}});
    ASSERT_TRUE(saveBuffered(t.app).ok);
    bufferNewDocument(t.app, false);

    const QString other = t.dir.filePath("Druga.mdb");
    ASSERT_TRUE(QFile::copy(TempDatabase::templatePath(), other));
    QFile(other).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    {
        App b;
        b.gBaseDb = db::Database::open(other);
        b.gBazaOtwarta = true;
        b.gBazaPar.NumSzablon = "Numer/Miesiąc/Rok[4]";
        BaseParSave(b, *b.gBaseDb, "DokNaglowek1", "Skup");
        BaseParSave(b, *b.gBaseDb, "NumAuto", "0");
        bufferDocument(b, invoiceHeader("1/05/2024"), {{"Rzepak", "1", "kg", "1500,00", "7"}});
        ASSERT_TRUE(saveBuffered(b).ok);
        b.gBaseDb->execute("UPDATE fadok SET Zaplacono = RazBrutto");
        // A half-typed document waits in the other database's buffer.
        bufferDocument(b, invoiceHeader("x"), {{"Owies", "2", "kg", "5,00", "7"}});
    }
    open();
    doubleClickRow(rowOf("1/05/2024"));
    ASSERT_FALSE(controls(form).labPoprawa->isHidden());
    openFromMenu(other);
    ASSERT_EQ(t.app.gBaseDb->path(), other);
    EXPECT_TRUE(controls(form).labPoprawa->isHidden());
    EXPECT_FALSE(form->editState().poprawa());

    answers.yes = false;
    answers.seen.clear();
    controls(form).txtNumer->setText("1/05/2024");
    ctrlEnter();
    EXPECT_TRUE(answers.texts().contains(QString::fromUtf8("Dokument o numerze 1/05/2024 istnieje w bazie danych. "
                                                           "Zastąpić istniejący dokument?")));
    db::Database& b = *t.app.gBaseDb;
    EXPECT_EQ(b.scalar("SELECT group_concat(Nazwa) FROM fapoz").toText(), "Rzepak");
    EXPECT_EQ(b.scalar("SELECT Zaplacono FROM fadok").toDecimal(), dec("1605"));
}

// A cancelled "Otwórz" changes nothing in the window: no second header question, the preview
// button as it was, and a loaded document still edited under its own number.
TEST_F(StoredDocumentFixture, ACancelledOpenLeavesTheWindowAndTheEditAsTheyWere)
{
    BaseParSave(t.app, t.db(), "DokNaglowek1", "");
    bufferDocument(t.app, invoiceHeader("1/05/2024"), {{"Pszenica", "10", "kg", "800,00", "7"}});
    ASSERT_TRUE(saveBuffered(t.app).ok);
    bufferNewDocument(t.app, false);
    answers.yes = false;  // no header definition now
    open();
    const int asked = int(answers.seen.size());
    ASSERT_EQ(asked, 1);
    ASSERT_FALSE(window->btnPodglad->isEnabled());
    RegisterPage* kartoteka = pages->picKartoteka;
    ASSERT_EQ(kartoteka->dataKar()->rowCount(), 1);
    kartoteka->gridKar()->setCurrentIndex(kartoteka->dataKar()->index(0, 2));
    SideList* slo = pages->picWprowadzanie->sideList();
    const QString shown = slo->Caption();
    ASSERT_EQ(slo->Tag(), "Kontrahenci");
    openFromMenu(QString());
    EXPECT_EQ(int(answers.seen.size()), asked);
    EXPECT_FALSE(window->btnPodglad->isEnabled());
    // The register, its current row and the side list as they were.
    EXPECT_EQ(kartoteka->dataKar()->rowCount(), 1);
    EXPECT_EQ(kartoteka->currentRow(), 0);
    EXPECT_EQ(slo->Tag(), "Kontrahenci");
    EXPECT_EQ(slo->Caption(), shown);
    EXPECT_EQ(slo->rowCount(), 1);

    doubleClickRow(rowOf("1/05/2024"));
    openFromMenu(QString());
    EXPECT_FALSE(controls(form).labPoprawa->isHidden());
    EXPECT_EQ(controls(form).txtNumer->text(), "1/05/2024");
    EXPECT_EQ(controls(form).dataPoz->rowCount(), 1);
    typeCell(controls(form).gridPoz, 0, PositionModel::Ilosc, "11");
    ctrlEnter();
    EXPECT_EQ(int(answers.seen.size()), asked);
    EXPECT_EQ(t.db().scalar("SELECT count(*) FROM fadok").toInt(), 1);
    EXPECT_EQ(t.db().scalar("SELECT Ilosc FROM fapoz").toDecimal(), Decimal(11));
}

// A command that lets go of the database while another workstation holds the file: the typed
// header cannot go into the buffer, so after that one error nothing is changed or opened and the
// window keeps what was typed instead of the header buffered earlier. Once the other workstation
// lets go, the password change goes through with it.
TEST_F(StoredDocumentFixture, LettingGoOfAHeldFileKeepsTheTypedDocument)
{
    // Waits for a lock are short here; the program's own are longer.
    t.app.gBaseDb = db::Database::open(t.path, QString(), {.busyTimeoutMs = 300});
    window = openMainWindow(t.app, {1280, 800}, true);
    pages = window->pages();
    page = pages->picWprowadzanie;
    form = page->picDokument();
    type(controls(form).txtNazkon, "Nowak");
    typeCell(form->positionGrid(), 0, PositionModel::Nazwa, "Owies");
    ASSERT_TRUE(form->ZapiszDoBufora(false));
    type(controls(form).txtNazkon, "Nowak-Kowalska");

    const QString druga = t.dir.filePath("Druga.mdb");
    ASSERT_TRUE(QFile::copy(TempDatabase::templatePath(), druga));
    QFile(druga).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    QString chosen;
    int errors = 0;
    answers.dialog = [&](QDialog& d) {
        if (auto* h = dynamic_cast<dlgBazaHaslo*>(&d)) {
            h->txtOpis->setText("tajne");
            h->txtHaslo->setText("tajne");
            h->cmdOk->click();
            return int(QDialog::Accepted);
        }
        if (auto* fd = qobject_cast<QFileDialog*>(&d)) {
            fd->selectFile(chosen);
            return int(QDialog::Accepted);
        }
        ++errors;
        return 0;
    };
    dlgBazaWlas wlas(t.app, window.get());
    const struct {
        const char* command;
        std::function<void()> run;
    } commands[] = {
        {"password change", [&] { wlas.cmdHaslo->click(); }},
        {"Otwórz",
         [&] {
             chosen = druga;
             window->mnuBazaOtworz->trigger();
         }},
        {"Nowa",
         [&] {
             chosen = t.dir.filePath("Nowa.mdb");
             window->mnuBazaNowa->trigger();
         }},
    };
    for (const auto& c : commands) {
        SCOPED_TRACE(c.command);
        errors = 0;
        {
            OtherProcess other(t.path, "BEGIN; SELECT count(*) FROM dodok;");
            ASSERT_TRUE(other.ready());
            c.run();
        }
        EXPECT_EQ(errors, 1);  // the buffer could not be written
        EXPECT_TRUE(t.app.gBazaHaslo.isEmpty());
        EXPECT_TRUE(db::isPlainDatabaseFile(t.path));
        ASSERT_TRUE(t.app.gBazaOtwarta);
        EXPECT_EQ(t.app.gBaseDb->path(), t.path);
        EXPECT_FALSE(QFile::exists(t.dir.filePath("Nowa.mdb")));
        EXPECT_EQ(controls(form).txtNazkon->text(), "Nowak-Kowalska");
        EXPECT_EQ(form->positions()->data(form->positions()->index(0, PositionModel::Nazwa)).toString(), "Owies");
    }

    errors = 0;
    wlas.cmdHaslo->click();
    EXPECT_EQ(errors, 0);
    EXPECT_EQ(t.app.gBazaHaslo, "tajne");
    EXPECT_FALSE(db::isPlainDatabaseFile(t.path));
    EXPECT_EQ(controls(form).txtNazkon->text(), "Nowak-Kowalska");
    EXPECT_EQ(t.db().scalar("SELECT Nazkon FROM dodok").toText(), "Nowak-Kowalska");
    EXPECT_EQ(t.db().scalar("SELECT Nazwa FROM dopoz WHERE Pozycja = 1").toText(), "Owies");
}

// After a stored correction was edited, "<Nowy dokument>" offers only invoices not yet corrected.
TEST_F(StoredDocumentFixture, ANewDocumentAfterAnEditedCorrectionOffersOnlyUncorrectedInvoices)
{
    for (const char* numer : {"1/04/2024", "2/04/2024"}) {
        bufferDocument(t.app, invoiceHeader(numer, QDate(2024, 4, 2)), {{"Pszenica", "10", "kg", "800,00", "7"}});
        ASSERT_TRUE(saveBuffered(t.app).ok);
    }
    bufferDocument(t.app, correctionOf("1/05/2024", "1/04/2024"), {{"Pszenica", "9", "kg", "800,00", "7"}},
                   {{"Pszenica", "10", "kg", "800,00", "7"}});
    ASSERT_TRUE(saveBuffered(t.app).ok);
    bufferNewDocument(t.app, false);
    open();
    doubleClickRow(rowOf("1/05/2024"));
    ASSERT_GE(controls(form).cmbKornum->findData("1/04/2024"), 0);  // its own invoice, while it is edited
    doubleClickRow(0);
    EXPECT_EQ(controls(form).cmbDokument->boundValue().toString(), "KFR");
    EXPECT_LT(controls(form).cmbKornum->findData("1/04/2024"), 0);
    EXPECT_GE(controls(form).cmbKornum->findData("2/04/2024"), 0);
}

// On an archive database a new document, the choice of a correction and a load show the form
// and write nothing into the buffers.
TEST_F(StoredDocumentFixture, AnArchiveShowsDocumentsButNothingIsWritten)
{
    bufferDocument(t.app, invoiceHeader("1/05/2024"), {{"Pszenica", "10", "kg", "800,00", "7"}});
    ASSERT_TRUE(saveBuffered(t.app).ok);
    typeRows(t.app, PositionTable::Dopoz, {{"Owies", "2", "kg", "5,00", "7"}});
    BaseParSave(t.app, t.db(), "BazaOdczyt", "1");
    open();
    const QString kept = buffers(t.db());
    doubleClickRow(0);
    EXPECT_EQ(buffers(t.db()), kept);
    controls(form).cmbDokument->setBoundValue("KFR");
    EXPECT_EQ(buffers(t.db()), kept);
    EXPECT_EQ(controls(form).dataKor->rowCount(), t.app.gPrgPar.TabPozLicz);
    controls(form).cmbDokument->setBoundValue("FR");
    doubleClickRow(rowOf("1/05/2024"));
    EXPECT_EQ(buffers(t.db()), kept);
    ASSERT_EQ(controls(form).dataPoz->rowCount(), 1);
    EXPECT_EQ(controls(form).dataPoz->position(0).Nazwa, "Pszenica");
    EXPECT_EQ(controls(form).txtNazkon->text(), "Jan O'Brien");
}

TEST_F(StoredDocumentFixture, DatesOutsideTheCenturiesAreRefusedAndOnlyLeavingTheFieldIsChecked)
{
    open();
    const QString warning = QString::fromUtf8("Błędna data. Wprowadź datę w formacie daty krótkiej ustawień lokalnych "
                                              "systemu, np: ") +
                            dateText(QDate::currentDate());
    for (const char* text : {"10.01.0024", "10.01.2100", "10.01.1899"}) {
        SCOPED_TRACE(text);
        answers.seen.clear();
        type(controls(form).txtDatawyst, text);
        controls(form).txtNazkon->setFocus();
        QApplication::processEvents();
        EXPECT_EQ(answers.texts(), QStringList{warning});
        EXPECT_TRUE(controls(form).txtDatawyst->hasFocus());
    }
    type(controls(form).txtDatawyst, "10.01.1999");
    controls(form).txtNazkon->setFocus();
    EXPECT_EQ(textDate(controls(form).txtDatawyst->text()), QDate(1999, 1, 10));
    EXPECT_EQ(controls(form).txtNumer->text(), "1/01/1999");

    // Switching to another window or opening a menu in the middle of typing is no leaving.
    for (Qt::FocusReason reason : {Qt::ActiveWindowFocusReason, Qt::PopupFocusReason}) {
        answers.seen.clear();
        type(controls(form).txtDatawyst, "10.01.20");
        QFocusEvent out(QEvent::FocusOut, reason);
        QApplication::sendEvent(controls(form).txtDatawyst, &out);
        EXPECT_TRUE(answers.seen.empty());
        EXPECT_EQ(controls(form).txtNumer->text(), "1/01/1999");
    }
    type(controls(form).txtDatawyst, "10.01.2024");

    // Days typed key by key stay as typed; "Zapłacono gotówką" makes the term the issue date.
    type(controls(form).cmbPlatTer, "");
    type(controls(form).cmbPlatdni, "14");
    EXPECT_EQ(controls(form).cmbPlatdni->currentText(), "14");
    EXPECT_EQ(controls(form).cmbPlatTer->currentText(), dateText(QDate(2024, 1, 24)));
    controls(form).cmbPlatdni->setEditText(QString::fromUtf8("Zapłacono gotówką"));
    EXPECT_EQ(controls(form).cmbPlatdni->currentText(), "");
    EXPECT_EQ(controls(form).cmbPlatTer->currentText(), dateText(QDate(2024, 1, 10)));
}

// Two rows that each fit the money range but not together: the second is refused like a row
// beyond the range, and the totals never show a wrapped amount.
TEST_F(StoredDocumentFixture, RowsWhoseSumLeavesTheMoneyRangeAreRefused)
{
    open();
    for (int row : {0, 1}) {
        typeCell(controls(form).gridPoz, row, PositionModel::Nazwa, "Pszenica");
        typeCell(controls(form).gridPoz, row, PositionModel::Indjed, "kg");
        typeCell(controls(form).gridPoz, row, PositionModel::Indvat, "7");
        typeCell(controls(form).gridPoz, row, PositionModel::Cenanet, "500000000000000");
    }
    EXPECT_EQ(answers.dialogs, 0);
    typeCell(controls(form).gridPoz, 0, PositionModel::Ilosc, "1");
    typeCell(controls(form).gridPoz, 1, PositionModel::Ilosc, "1");
    EXPECT_EQ(answers.dialogs, 1);  // the overflow reported
    EXPECT_EQ(controls(form).txtRazBrutto->value(), dec("535000000000000"));
    EXPECT_TRUE(t.db().scalar("SELECT WartBrutto FROM dopoz WHERE Pozycja = 2").isNull());
}

// Positions loaded from a document stored with gaps are numbered 1..n, and a row added then
// takes the next number: no two rows share one.
TEST_F(StoredDocumentFixture, RowsAddedAfterALoadNeverRepeatANumber)
{
    bufferDocument(t.app, invoiceHeader("1/05/2024"),
                   {{"A", "1", "kg", "5", "7"}, {"B", "1", "kg", "5", "7"}, {"C", "1", "kg", "5", "7"}});
    ASSERT_TRUE(saveBuffered(t.app).ok);
    t.db().execute("UPDATE fapoz SET Pozycja = Pozycja + 1 WHERE Pozycja > 1");  // stored as 1, 3, 4
    bufferNewDocument(t.app, false);
    open();
    doubleClickRow(rowOf("1/05/2024"));
    controls(form).gridPoz->mnuPopPozDodaj_Click();
    EXPECT_EQ(t.db().scalar("SELECT group_concat(Pozycja) FROM (SELECT Pozycja FROM dopoz ORDER BY Pozycja)").toText(),
              "1,2,3,4");
    // Even with a gap left in the buffer the new row comes after the highest.
    t.db().execute("UPDATE dopoz SET Pozycja = 5 WHERE Pozycja = 4");  // 1, 2, 3, 5
    controls(form).dataPoz->reload();
    controls(form).gridPoz->mnuPopPozDodaj_Click();
    EXPECT_EQ(t.db().scalar("SELECT count(DISTINCT Pozycja) = count(*) FROM dopoz").toInt(), 1);
}

// After a restart the buffered correction still names its invoice (which the list of invoices not
// yet corrected leaves out) and a fund the list does not know keeps its deduction.
TEST_F(StoredDocumentFixture, AResumedCorrectionKeepsItsInvoiceAndAnUnknownFundItsDeduction)
{
    const QString fund = QString::fromUtf8("Fundusz Promocji Roślin Oleistych");
    DocHeader f = invoiceHeader("1/04/2024", QDate(2024, 4, 2));
    f.Fundusz = fund;
    bufferDocument(t.app, f, {{"Rzepak", "3500", "kg", "1,00", "7"}});
    ASSERT_TRUE(saveBuffered(t.app).ok);
    DocHeader k = correctionOf("1/05/2024", "1/04/2024");
    k.Fundusz = fund;
    bufferDocument(t.app, k, {{"Rzepak", "2500", "kg", "1,00", "7"}}, {{"Rzepak", "3500", "kg", "1,00", "7"}});
    ASSERT_TRUE(saveBuffered(t.app).ok);
    bufferNewDocument(t.app, false);
    open();
    doubleClickRow(rowOf("1/04/2024"));
    EXPECT_EQ(controls(form).cmbFundusz->currentText(), fund);
    EXPECT_EQ(controls(form).txtPotracenie->value(), dec("4"));

    doubleClickRow(rowOf("1/05/2024"));
    window->close();  // the edited correction stays in the buffer
    window.reset();
    open();
    EXPECT_FALSE(controls(form).labPoprawa->isHidden());  // the edit resumes
    EXPECT_EQ(controls(form).cmbDokument->boundValue().toString(), "KFR");
    EXPECT_EQ(controls(form).cmbKornum->boundValue().toString(), "1/04/2024");
    EXPECT_EQ(controls(form).cmbFundusz->currentText(), fund);
    EXPECT_EQ(controls(form).txtPotracenie->value(), dec("-1"));
    // Saved under its own number again, it stays the invoice's one correction.
    ctrlEnter();
    EXPECT_EQ(t.db().scalar("SELECT count(*) FROM fadok WHERE KorNumer = '1/04/2024'").toInt(), 1);
    EXPECT_EQ(t.db().scalar("SELECT Fundusz FROM fadok WHERE Numer = '1/05/2024'").toText(), fund);
    EXPECT_EQ(t.db().scalar("SELECT Potracenie FROM fadok WHERE Numer = '1/05/2024'").toDecimal(), Decimal(-1));
}

// A stored document being edited when the program ends (closed, or killed: nothing written at
// the end) is edited again after the restart, under its own number, and Ctrl+Enter stores over
// it without a question: the file then holds it once, with the change.
TEST_F(StoredDocumentFixture, AnEditResumedAfterARestartStoresOverItsOwnDocumentOnce)
{
    bufferDocument(t.app, invoiceHeader("1/04/2024", QDate(2024, 4, 2)), {{"Rzepak", "3500", "kg", "1,00", "7"}});
    ASSERT_TRUE(saveBuffered(t.app).ok);
    bufferDocument(t.app, correctionOf("1/05/2024", "1/04/2024"), {{"Rzepak", "2500", "kg", "1,00", "7"}},
                   {{"Rzepak", "3500", "kg", "1,00", "7"}});
    ASSERT_TRUE(saveBuffered(t.app).ok);
    bufferNewDocument(t.app, false);
    const struct {
        const char* numer;
        bool killed;
    } cases[] = {{"1/04/2024", true}, {"1/05/2024", true}, {"1/04/2024", false}};
    int ilosc = 1000;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.numer) + (c.killed ? " killed" : " closed"));
        open();
        doubleClickRow(rowOf(c.numer));
        typeCell(controls(form).gridPoz, 0, PositionModel::Ilosc, QString::number(++ilosc));
        if (!c.killed) window->close();
        window.reset();
        open();
        EXPECT_FALSE(controls(form).labPoprawa->isHidden());
        EXPECT_EQ(controls(form).txtNumer->text(), c.numer);
        answers.seen.clear();
        ctrlEnter();
        EXPECT_TRUE(answers.seen.empty()) << answers.texts().join(" | ").toStdString();
        EXPECT_EQ(t.db().scalar("SELECT count(*) FROM fadok WHERE Numer = ?", {c.numer}).toInt(), 1);
        EXPECT_EQ(t.db().scalar("SELECT count(*) FROM fadok").toInt(), 2);
        EXPECT_EQ(t.db().scalar("SELECT Ilosc FROM fapoz WHERE Numer = ? AND Korekta = 0", {c.numer}).toDecimal(),
                  Decimal(ilosc));
        window.reset();
    }
}

// The question before a stored document is replaced has "Nie" as the button Enter presses.
TEST_F(StoredDocumentFixture, TheReplaceQuestionDefaultsToNo)
{
    bufferDocument(t.app, invoiceHeader(today(1)), {{"Pszenica", "10", "kg", "800,00", "7"}});
    ASSERT_TRUE(saveBuffered(t.app).ok);
    bufferNewDocument(t.app, false);
    open();
    typeSeller();
    typeRow(0, "Owies", "2", "kg", "5", "7");
    type(controls(form).txtNumer, today(1));
    answers.yes = false;
    ctrlEnter();
    ASSERT_FALSE(answers.seen.empty());
    const ui::Message& q = answers.seen.back();
    EXPECT_EQ(q.buttons, ui::Buttons::YesNo);
    EXPECT_EQ(q.icon, ui::Icon::Question);
    EXPECT_EQ(q.defaultButton, ui::Answer::No);
    EXPECT_EQ(t.db().scalar("SELECT Nazwa FROM fapoz").toText(), "Pszenica");
}

// Every column goes through the file to its own place and back: typed into the form, buffered,
// stored, marked paid, loaded for editing, shown, read back from the form, stored again. Each
// field of the header and of a position holds a value that no other field of its record holds,
// so a value that lands in another column shows, in the form or in the file.
TEST_F(StoredDocumentFixture, EveryColumnGoesThroughTheFileToItsOwnPlaceAndBack)
{
    t.app.gStanowisko = 3;
    storeDocument(t.app, invoiceHeader("1/04/2024", QDate(2024, 4, 2)), {{"Pszenica", "10", "kg", "800,00", "7"}});
    open();
    DocHeader h = everyFieldHeader();
    h.Stanowisko = 3;
    h.RazNetto = dec("10000");
    h.RazVAT = dec("700");
    h.RazBrutto = dec("10700");
    h.Potracenie = dec("10");
    h.DoZaplaty = dec("10690");
    typeRows(t.app, PositionTable::Dopoz, {{"Owies", "300", "t", "50", "7"}, {"Żyto", "2", "dt", "9", "5"}});
    typeRows(t.app, PositionTable::Dokor, {{"Owies", "100", "t", "50", "7"}, {"Żyto", "2", "dt", "9", "5"}});
    form->showLoadedRows({{}, {}, true});
    form->setHeader(h);
    auto save = [&] {
        ASSERT_TRUE(form->ZapiszDoBufora());
        ASSERT_TRUE(editing->ZapiszDokument()) << answers.texts().join(" | ").toStdString();
    };
    // The file, column by column, as any tool reads it (amounts in ten-thousandths).
    auto expectRow = [](const db::Row& row, const std::vector<std::pair<const char*, QString>>& want) {
        EXPECT_EQ(size_t(row.size()), want.size());
        for (const auto& [column, text] : want) EXPECT_EQ(row.text(column), text) << column;
    };
    auto expectFile = [&](const QString& zaplacono) {
        auto header = t.db().queryOne("SELECT * FROM fadok WHERE Numer = '8/05/2024'");
        ASSERT_TRUE(header);
        expectRow(*header, {{"Stanowisko", "3"},
                            {"Inddok", "KFR"},
                            {"Numer", "8/05/2024"},
                            {"Datawyst", "2024-05-06"},
                            {"Datasprz", "2024-05-04"},
                            {"KorInddok", "FR"},
                            {"KorNumer", "1/04/2024"},
                            {"KorDatawyst", "2024-04-02"},
                            {"Podstawa", "umowa kontraktacji"},
                            {"Wydane", "WZ 12"},
                            {"Nazkon", "Jan O'Brien"},
                            {"Adrkon", QString::fromUtf8("Łąkowa 1, Kęty")},
                            {"Nipkon", "84010112345"},
                            {"Nazdok", "Paszport"},
                            {"Numdok", "AB 123"},
                            {"Wyddok", QString::fromUtf8("Wójt")},
                            {"Datadok", "2019-03-04"},
                            {"RazNetto", "100000000"},
                            {"RazVAT", "7000000"},
                            {"RazBrutto", "107000000"},
                            {"Potracenie", "100000"},
                            {"DoZaplaty", "106900000"},
                            {"PlatFor", "przelew"},
                            {"PlatDni", "14"},
                            {"PlatTer", "od dnia dostarczenia towaru"},
                            {"PlatRach", "12 1020"},
                            {"Wystawil", "Anna"},
                            {"Uwagi", "uwagi\ndwie linie"},
                            {"Fundusz", QString::fromUtf8("Fundusz Promocji Mleka")},
                            {"Zaplacono", zaplacono}});
        const auto positions = t.db().query("SELECT * FROM fapoz WHERE Numer = '8/05/2024' ORDER BY Korekta, Pozycja");
        ASSERT_EQ(positions.size(), 4u);
        expectRow(positions[0], {{"Stanowisko", "3"},
                                 {"Inddok", "KFR"},
                                 {"Numer", "8/05/2024"},
                                 {"Pozycja", "1"},
                                 {"Korekta", "0"},
                                 {"Nazwa", "Owies"},
                                 {"Ilosc", "3000000"},
                                 {"Indjed", "t"},
                                 {"Cenanet", "500000"},
                                 {"Indvat", "7"},
                                 {"WartNetto", "150000000"},
                                 {"WartVAT", "10500000"},
                                 {"WartBrutto", "160500000"}});
        expectRow(positions[3], {{"Stanowisko", "3"},
                                 {"Inddok", "KFR"},
                                 {"Numer", "8/05/2024"},
                                 {"Pozycja", "2"},
                                 {"Korekta", "1"},
                                 {"Nazwa", QString::fromUtf8("Żyto")},
                                 {"Ilosc", "-20000"},
                                 {"Indjed", "dt"},
                                 {"Cenanet", "90000"},
                                 {"Indvat", "5"},
                                 {"WartNetto", "-180000"},
                                 {"WartVAT", "-9000"},
                                 {"WartBrutto", "-189000"}});
    };
    // Checked after the first pass too: a swap made both ways cancels out after a second one.
    save();
    expectFile(QString());
    t.db().execute("UPDATE fadok SET Zaplacono = ? WHERE Numer = '8/05/2024'", {dec("1234,56")});
    form->NowyDokument();

    ASSERT_TRUE(editing->WczytajDokument("popraw", "8/05/2024"));
    const auto shown = form->header().values();
    const auto given = h.values();
    for (int i = 0; i < DocHeader::columns().size(); ++i)
        EXPECT_EQ(shown[size_t(i)].toText().toStdString(), given[size_t(i)].toText().toStdString())
            << DocHeader::columns()[i].toStdString();
    auto texts = [](const Position& p) {
        QStringList out;
        for (const db::Value& v : p.values()) out << v.toText();
        return out.join(" | ").toStdString();
    };
    EXPECT_EQ(texts(controls(form).dataPoz->position(0)), texts(typedPosition({"Owies", "300", "t", "50", "7"}, 1)));
    EXPECT_EQ(texts(controls(form).dataKor->position(0)), texts(typedPosition({"Owies", "100", "t", "50", "7"}, 1)));
    save();
    EXPECT_TRUE(answers.seen.empty()) << answers.texts().join(" | ").toStdString();
    expectFile("12345600");
}
