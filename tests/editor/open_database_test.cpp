#include "core/background_database.h"
#include "core/base_connect.h"
#include "core/base_par.h"
#include "core/registry.h"
#include "editor/document_form.h"
#include "editor/entry_page.h"
#include "editor/main_pages.h"
#include "editor/main_window.h"
#include "support/damaged_file.h"
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
