#include "core/background_database.h"
#include "core/base_connect.h"
#include "core/base_par.h"
#include "core/registry.h"
#include "editor/document_form.h"
#include "editor/entry_page.h"
#include "editor/main_pages.h"
#include "editor/main_window.h"
#include "support/damaged_file.h"
#include "support/editing_window.h"
#include "support/form_controls.h"
#include "support/scoped_responder.h"
#include "support/temp_database.h"
#include "support/test_settings.h"
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <gtest/gtest.h>

// "Otwórz" from the menu: the chosen file is connected, remembered and the pages attach to it;
// a cancelled choice keeps the database that was open.
TEST(OpenDatabase, MenuOpenAttachesTheChosenFileAndRemembersIt)
{
    TempDatabase first;
    useTestSettings(first.app, first.dir.path());
    first.app.gPrgPar.BazaNazwa = "Firma";
    QString second = first.dir.filePath("Druga.mdb");
    ASSERT_TRUE(QFile::copy(TempDatabase::templatePath(), second));
    QFile(second).setPermissions(QFile::ReadOwner | QFile::WriteOwner);

    ScopedResponder r;
    r.answers = {ui::Answer::No, ui::Answer::No};  // no header definition now
    MainWindow w(first.app);
    w.Przylacz();
    EXPECT_EQ(w.labNazwaBazy->text(), "Firma");

    r.dialog = [](QDialog&) { return int(QDialog::Rejected); };
    w.mnuBazaOtworz->trigger();
    EXPECT_TRUE(first.app.gBazaOtwarta);
    EXPECT_EQ(first.app.gPrgPar.BazaPlik, first.path);

    // What the clerk typed stays in the first database's buffer.
    auto* form = w.pages()->picWprowadzanie->picDokument();
    controls(form).txtNazkon->setText("Jan Kowalski");
    r.dialog = [&](QDialog& d) {
        if (auto* fd = qobject_cast<QFileDialog*>(&d)) {
            fd->selectFile(second);
            return int(QDialog::Accepted);
        }
        return int(QDialog::Rejected);
    };
    w.mnuBazaOtworz->trigger();
    EXPECT_EQ(first.app.gPrgPar.BazaPlik, second);
    EXPECT_EQ(db::Database::open(first.path)->scalar("SELECT Nazkon FROM dodok").toText(), "Jan Kowalski");
    EXPECT_EQ(first.app.gBaseDb->path(), second);
    EXPECT_EQ(RegRead(first.app.gRegProgramKey, "BazaPlik", ""), second);
    EXPECT_EQ(w.labNazwaBazy->text(), "Druga");
    // The new database got this workstation's fresh document.
    EXPECT_GT(first.app.gBaseDb->scalar("SELECT count(*) FROM dopoz WHERE Stanowisko = 0").toInt(), 0);
}

// A file whose own name is shorter than an extension, in a folder named like a database file,
// opens and is created like any other: no name to show, and nothing ends the program.
TEST(OpenDatabase, AShortFileNameInAFolderNamedLikeADatabaseOpensAndIsCreated)
{
    TempDatabase first;
    useTestSettings(first.app, first.dir.path());
    ASSERT_TRUE(QDir(first.dir.path()).mkdir("Stare.mdb"));
    const QString opened = first.dir.filePath("Stare.mdb/ab");
    ASSERT_TRUE(QFile::copy(TempDatabase::templatePath(), opened));
    QFile(opened).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    QFile::copy(TempDatabase::templatePath(), first.dir.filePath("Rolkwit.mbs"));

    ScopedResponder r;
    r.answers = {ui::Answer::No, ui::Answer::No, ui::Answer::No, ui::Answer::No};  // no header definition now
    MainWindow w(first.app);
    w.Przylacz();
    for (auto [item, file] :
         {std::pair{w.mnuBazaOtworz, opened}, std::pair{w.mnuBazaNowa, first.dir.filePath("Stare.mdb/a.b")}}) {
        SCOPED_TRACE(file.toStdString());
        int errorDialogs = 0;
        r.dialog = [&, file = file](QDialog& d) {
            if (auto* fd = qobject_cast<QFileDialog*>(&d)) {
                fd->selectFile(file);
                return int(QDialog::Accepted);
            }
            ++errorDialogs;
            return int(QDialog::Rejected);
        };
        item->trigger();
        EXPECT_EQ(errorDialogs, 0);
        EXPECT_TRUE(first.app.gBazaOtwarta);
        EXPECT_EQ(first.app.gPrgPar.BazaPlik, file);
        EXPECT_EQ(RegRead(first.app.gRegProgramKey, "BazaNazwa", "?"), "");
        EXPECT_EQ(w.labNazwaBazy->text(), "");
    }
}

// A file damaged inside opens (the opening reads a few pages) and is let go as soon as the
// damage is met, by the attach or by the check in the background: one message, the window as
// after a failed open, and nothing written after it, neither at the message nor on closing.
TEST(OpenDatabase, AFileDamagedInsideIsLetGoWithOneMessageAndNothingWrittenAfterIt)
{
    TempDatabase first;
    useTestSettings(first.app, first.dir.path());
    BaseParSave(first.app, first.db(), "DokNaglowek1", "Skup");
    const QString damaged = first.dir.filePath("Uszkodzona.mdb");
    ASSERT_TRUE(QFile::copy(first.path, damaged));
    QFile(damaged).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    fillDocuments(damaged);
    ruinPagesInside(damaged);

    ScopedResponder r;
    QByteArray atMessage;
    r.answer = [&](const ui::Message&) {
        atMessage = fileBytes(damaged);
        return ui::Answer::Ok;
    };
    auto w = std::make_unique<MainWindow>(first.app);
    first.app.mainFrame = w.get();
    w->Przylacz();
    r.dialog = [&](QDialog& d) {
        if (auto* fd = qobject_cast<QFileDialog*>(&d)) {
            fd->selectFile(damaged);
            return int(QDialog::Accepted);
        }
        return int(QDialog::Rejected);
    };
    w->mnuBazaOtworz->trigger();
    backgroundDatabase(first.app).waitIdle(10000);
    EXPECT_EQ(r.texts(), QStringList{QString::fromUtf8("Baza: %1 jest uszkodzona. Baza nie może zostać otwarta. "
                                                       "Odtwórz bazę z kopii zapasowej.")
                                         .arg(damaged)});
    EXPECT_FALSE(first.app.gBazaOtwarta);
    EXPECT_FALSE(w->btnZapisz->isEnabled());
    EXPECT_FALSE(w->mnuBazaWlas->isEnabled());
    EXPECT_EQ(fileBytes(damaged), atMessage);

    FormControls(w->pages()->picWprowadzanie->picDokument()).txtNazkon->setText("Jan Kowalski");
    w->close();
    w.reset();
    first.app.mainFrame = nullptr;
    EXPECT_EQ(fileBytes(damaged), atMessage);
    EXPECT_EQ(r.seen.size(), 1u);
}

namespace {

struct ChangedFile : EditingFixture {
    // This workstation's rows of the file's buffer as the grid shows rows: number, name, quantity.
    QStringList bufferedRows(db::Database& d, const char* table)
    {
        QStringList rows;
        d.forEach(
            QStringLiteral("SELECT Pozycja, Nazwa, Ilosc FROM %1 WHERE Stanowisko = 0 ORDER BY Pozycja, rowid")
                .arg(table),
            {}, [&](const db::Row& r) { rows << r.at(0).toText() + " " + r.at(1).toText() + " " + r.at(2).toText(); });
        return rows;
    }
    QStringList shownRows()
    {
        QStringList rows;
        for (const Position& p : form->positions()->rows())
            rows << (p.Pozycja ? QString::number(*p.Pozycja) : QString()) + " " + p.Nazwa + " " +
                        (p.Ilosc ? QString::number(p.Ilosc->units()) : QString());
        return rows;
    }
};

}  // namespace

// The file is changed under the window: a copy put in its place, a copy written over it, or the
// copy's buffer of this workstation emptied. The window keeps the whole typed document, and the
// buffer of the file connected anew holds exactly it (nothing of what that buffer held), so that
// the next save stores what was typed and nothing else.
TEST_F(ChangedFile, TheTypedDocumentGoesWholeIntoTheFileConnectedAnew)
{
    struct Case {
        const char* how;
        bool inPlace;      // written over the file (the same node) instead of put in its place
        bool emptyBuffer;  // the copy's buffer of this workstation holds nothing
    };
    const std::vector<Case> cases = {{"mv", false, false}, {"mv, empty buffer", false, true}, {"cp", true, false}};
    ASSERT_TRUE(BaseConnect(t.app, t.path));  // the program's connection, which tells of a changed file
    open();
    t.app.mainFrame = window.get();
    const QString copy = t.dir.filePath("kopia.mdb");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        form->NowyDokument();
        typeRow(0, "Kukurydza", "7", "t", "900", "7");
        QFile::remove(copy);
        ASSERT_TRUE(QFile::copy(t.path, copy));
        if (c.emptyBuffer)
            for (const char* table : {"dodok", "dopoz", "dokor"})
                db::Database::open(copy)->execute(QStringLiteral("DELETE FROM %1 WHERE Stanowisko = 0").arg(table));
        form->NowyDokument();
        type(controls(form).txtNazkon, "Rolnik Mix");
        type(controls(form).txtAdrkon, "Wola 2");
        typeRow(0, "Owies", "1", "t", "50", "7");
        const QStringList typed = shownRows();
        if (c.inPlace) {
            QFile target(t.path), source(copy);
            ASSERT_TRUE(source.open(QIODevice::ReadOnly) && target.open(QIODevice::ReadWrite));
            target.write(source.readAll());
            target.resize(source.size());
        } else {
            ASSERT_EQ(std::rename(QFile::encodeName(copy).constData(), QFile::encodeName(t.path).constData()), 0);
        }
        answers.seen.clear();
        ctrlEnter();
        QApplication::processEvents();
        ASSERT_TRUE(t.app.gBazaOtwarta);
        EXPECT_TRUE(answers.last().contains(QString::fromUtf8("został zmieniony przez inny program")));

        auto file = db::Database::open(t.path);
        EXPECT_EQ(file->scalar("SELECT count(*) FROM dodok WHERE Stanowisko = 0").toInt(), 1);
        EXPECT_EQ(file->scalar("SELECT Nazkon FROM dodok WHERE Stanowisko = 0").toText(), "Rolnik Mix");
        EXPECT_EQ(bufferedRows(*file, "dopoz"), typed);
        EXPECT_TRUE(bufferedRows(*file, "dokor").isEmpty());
        EXPECT_EQ(shownRows(), typed);
        EXPECT_EQ(controls(form).txtNazkon->text(), "Rolnik Mix");

        ctrlEnter();
        EXPECT_EQ(file->scalar("SELECT group_concat(Nazkon) FROM fadok").toText(), "Rolnik Mix");
        EXPECT_EQ(file->scalar("SELECT group_concat(Nazwa) FROM fapoz").toText(), "Owies");
        file->execute("DELETE FROM fapoz");
        file->execute("DELETE FROM fadok");
    }
    t.app.mainFrame = nullptr;
}

// Another key given to the file under the window, and the password question cancelled: the
// window has no database, and the typed form stays on screen whole, rows included.
TEST_F(ChangedFile, ACancelledPasswordKeepsTheTypedFormOnScreen)
{
    ASSERT_TRUE(BaseConnect(t.app, t.path));
    open();
    t.app.mainFrame = window.get();
    type(controls(form).txtNazkon, "Rolnik Mix");
    typeRow(0, "Owies", "1", "t", "50", "7");
    const QStringList typed = shownRows();
    const QString copy = t.dir.filePath("kopia.mdb");
    ASSERT_TRUE(QFile::copy(t.path, copy));
    db::Database::open(copy, QString(), {.exclusive = true})->changePassword("inne");
    ASSERT_EQ(std::rename(QFile::encodeName(copy).constData(), QFile::encodeName(t.path).constData()), 0);
    ctrlEnter();
    QApplication::processEvents();
    EXPECT_FALSE(t.app.gBazaOtwarta);
    EXPECT_EQ(controls(form).txtNazkon->text(), "Rolnik Mix");
    EXPECT_EQ(shownRows(), typed);
    t.app.mainFrame = nullptr;
}
