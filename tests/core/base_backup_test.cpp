#include "core/base_backup.h"
#include "core/base_files.h"
#include "support/damaged_file.h"
#include "support/other_process.h"
#include "support/saving_elsewhere.h"
#include "support/scoped_responder.h"
#include "support/temp_database.h"
#include <QDir>
#include <QFileDialog>
#include <QMap>
#include <gtest/gtest.h>

namespace {

struct Settings {
    QMap<QString, QString> values;
    BackupSettings access()
    {
        return {[this](const QString& n) { return values.value(n); },
                [this](const QString& n, const QString& v) { values[n] = v; }};
    }
};

struct BackupTest : ::testing::Test {
    TempDatabase t;
    ScopedResponder r;
    Settings s;
    QString folder = t.dir.filePath("Archiwum");
    QDateTime now{QDate(2024, 3, 8), QTime(9, 30)};

    BackupTest()
    {
        s.values = {{"BazaKopia", "1"}, {"BazaKopiaFolder", folder}};
        t.db().execute("INSERT INTO fadok (Numer, RazBrutto) VALUES ('1/03/2024', ?)", {Decimal(123)});
    }
    bool kopia(bool force = false) { return BazaKopia(t.app, t.path, force, s.access(), now); }
    QString file(const QString& name) const { return QDir(folder).filePath(name); }
    static qint64 documents(const QString& path, const QString& haslo = QString())
    {
        return db::Database::open(path, haslo)->scalar("SELECT count(*) FROM fadok").toInt();
    }
};

TEST(backupDue, FromTheNthMidnightAfterTheLastCopy)
{
    QString last = backupDateText(QDateTime(QDate(2024, 3, 1), QTime(14, 0)));
    EXPECT_FALSE(backupDue(last, 7, QDateTime(QDate(2024, 3, 7), QTime(23, 59))));
    EXPECT_TRUE(backupDue(last, 7, QDateTime(QDate(2024, 3, 8), QTime(0, 0, 1))));
    EXPECT_TRUE(backupDue(last, 0, QDateTime(QDate(2024, 3, 1), QTime(14, 5))));
    EXPECT_TRUE(backupDue("", 30, QDateTime(QDate(2024, 3, 1), QTime(14, 5))));
    EXPECT_TRUE(backupDue("nie data", 30, QDateTime(QDate(2024, 3, 1), QTime(14, 5))));
    EXPECT_FALSE(backupDue("01.03.2024 14:00:00", 7, QDateTime(QDate(2024, 3, 2), QTime(0, 0))));
}

TEST_F(BackupTest, OffAndNotForcedDoesNothing)
{
    s.values["BazaKopia"] = "0";
    EXPECT_FALSE(kopia());
    EXPECT_TRUE(r.seen.empty());
    EXPECT_FALSE(QDir(folder).exists());
}

TEST_F(BackupTest, DueCopyIsACompleteDatabaseUnderItsNamesAndTheDateIsStored)
{
    s.values["BazaKopiaDzien"] = "1";
    EXPECT_TRUE(kopia());
    EXPECT_TRUE(r.seen.empty());  // no confirmation asked for
    EXPECT_EQ(documents(file("Kopia Firma.mdb")), 1);
    EXPECT_EQ(documents(file("Kopia Firma z dnia 08-03-2024.mdb")), 1);
    EXPECT_FALSE(QFile::exists(file("Temp Kopia Firma.mdb")));
    EXPECT_EQ(s.values["BazaKopiaData"], backupDateText(now));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), 2);

    // Not due again within the interval.
    s.values["BazaKopiaCoDni"] = "7";
    now = now.addDays(6);
    EXPECT_FALSE(kopia());
}

TEST_F(BackupTest, ConfirmationAsksAndReportsAndNoLeavesEverythingAsItWas)
{
    s.values["BazaKopiaPotwierdz"] = "1";
    r.answers = {ui::Answer::No};
    EXPECT_FALSE(kopia());
    ASSERT_EQ(r.seen.size(), 1u);
    EXPECT_EQ(r.seen[0].text,
              QString::fromUtf8("Wykonana zostanie kopia bazy: Firma. Ostatni raz kopia została wykonana: ?. "
                                "Wykonać kopię teraz?"));
    EXPECT_EQ(r.seen[0].title, "Archiwizacja bazy");
    EXPECT_EQ(r.seen[0].buttons, ui::Buttons::YesNo);
    EXPECT_EQ(r.seen[0].defaultButton, ui::Answer::No);  // Enter does not start a copy
    EXPECT_FALSE(QDir(folder).exists());
    EXPECT_FALSE(s.values.contains("BazaKopiaData"));

    EXPECT_TRUE(kopia());
    ASSERT_EQ(r.seen.size(), 3u);
    EXPECT_EQ(r.seen[2].text,
              QString::fromUtf8("Kopia bazy: Firma została wykonana poprawnie. Kopia znajduje się w katalogu: ") +
                  QDir::toNativeSeparators(folder));
    EXPECT_EQ(r.seen[2].title, "Sukces");
}

TEST_F(BackupTest, ForcedCopyAsksEvenWhenOffAndNotDue)
{
    s.values["BazaKopia"] = "0";
    s.values["BazaKopiaCoDni"] = "30";
    s.values["BazaKopiaData"] = backupDateText(now);
    EXPECT_TRUE(kopia(true));
    EXPECT_EQ(r.seen.size(), 2u);
    EXPECT_TRUE(r.seen[0].text.contains(backupDateText(now)));
}

TEST_F(BackupTest, AFailedCopyLeavesThePreviousCopyIntact)
{
    ASSERT_TRUE(kopia());
    t.db().execute("INSERT INTO fadok (Numer) VALUES ('2/03/2024')");
    s.values.remove("BazaKopiaData");
    // Something in the way of the new copy: it cannot be written.
    QDir().mkpath(file("Temp Kopia Firma.mdb.part"));
    EXPECT_FALSE(kopia());
    ASSERT_EQ(r.seen.size(), 1u);
    EXPECT_EQ(r.seen[0].text,
              QString::fromUtf8("Kopiowanie bazy: Firma nie powiodło się. Błąd kopiowania pliku. Sprawdź czy "
                                "baza nie jest otwarta przez innego użytkownika lub program. Sprawdź ilość "
                                "wolnego miejsca na dysku."));
    EXPECT_EQ(r.seen[0].title, QString::fromUtf8("Błąd kopiowania bazy bazy"));
    EXPECT_EQ(documents(file("Kopia Firma.mdb")), 1);
    EXPECT_FALSE(s.values.contains("BazaKopiaData"));
    // A second failure still keeps it.
    EXPECT_FALSE(kopia());
    EXPECT_EQ(documents(file("Kopia Firma.mdb")), 1);
}

// The copy is checked whole before it replaces the previous one, which is what a damaged file is
// restored from; the damaged file is let go with its one message.
TEST_F(BackupTest, ADamagedFileNeverReplacesTheLastGoodCopy)
{
    ASSERT_TRUE(kopia());
    const QByteArray good = fileBytes(file("Kopia Firma.mdb"));
    t.app.gBaseDb.reset();
    fillDocuments(t.path);
    ruinPagesInside(t.path);
    for (const bool open : {true, false}) {
        SCOPED_TRACE(open ? "through the program's connection" : "through a connection of its own");
        r.seen.clear();
        s.values.remove("BazaKopiaData");
        t.app.gBazaOtwarta = open;
        if (open) t.app.gBaseDb = db::Database::open(t.path);
        EXPECT_FALSE(kopia());
        EXPECT_EQ(fileBytes(file("Kopia Firma.mdb")), good);
        EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{"Kopia Firma.mdb"});
        EXPECT_FALSE(s.values.contains("BazaKopiaData"));
        EXPECT_EQ(r.texts(), QStringList{QString::fromUtf8("Baza: %1 jest uszkodzona. Baza nie może zostać otwarta. "
                                                           "Odtwórz bazę z kopii zapasowej.")
                                             .arg(t.path)});
        EXPECT_FALSE(t.app.gBazaOtwarta);
    }
}

TEST_F(BackupTest, CopyTakenWhileAnotherWorkstationWritesHoldsOnlyCommittedData)
{
    t.db().executeScript("CREATE TABLE w (a)");
    OtherProcess other(t.path, "BEGIN IMMEDIATE; INSERT INTO w VALUES (1);");
    if (!other.ready()) GTEST_SKIP() << "the sqlcipher shell is needed to play another workstation";
    ASSERT_TRUE(kopia());
    auto copy = db::Database::open(file("Kopia Firma.mdb"));
    EXPECT_EQ(copy->scalar("SELECT count(*) FROM w").toInt(), 0);
    EXPECT_EQ(copy->scalar("SELECT count(*) FROM fadok").toInt(), 1);
    EXPECT_EQ(copy->scalar("PRAGMA integrity_check").toText(), "ok");
}

TEST_F(BackupTest, EncryptedDatabaseIsCopiedWithItsPasswordAndAnExclusiveConnectionDoesNotStopIt)
{
    t.db().changePassword("tajne");
    t.app.gBazaHaslo = "tajne";
    t.app.gBaseDb.reset();  // the only connection: the file can be had exclusively
    t.app.gBaseDb = db::Database::open(t.path, "tajne", {.exclusive = true});
    ASSERT_TRUE(kopia());
    EXPECT_THROW(documents(file("Kopia Firma.mdb")), AppError);
    EXPECT_EQ(documents(file("Kopia Firma.mdb"), "tajne"), 1);
}

// The copy of a protected file is read in short pieces: another workstation saving all the while
// never waits long for it, and the copy holds one state of the file.
TEST_F(BackupTest, AnotherWorkstationsSavesDuringTheBackupAreNeverHeldForLong)
{
    t.db().changePassword("tajne");
    t.app.gBazaHaslo = "tajne";
    addBallast(t.path, "tajne", 200);
    SavingElsewhere other(t.path, "tajne", 1000);  // the bound a save may wait
    ASSERT_TRUE(kopia());
    other.stop();
    EXPECT_GT(other.made(), 0);
    EXPECT_EQ(other.failed(), 0);
    auto copy = db::Database::open(file("Kopia Firma.mdb"), "tajne");
    EXPECT_EQ(copy->scalar("PRAGMA integrity_check").toText(), "ok");
}

TEST_F(BackupTest, RenameCopiesToTheNewNameAndRefusesUnsafeTargets)
{
    App& app = t.app;
    EXPECT_TRUE(BaseRename(app, t.path, "Firma", "Firma"));
    EXPECT_EQ(QDir(t.dir.path()).entryList({"*.mdb"}).size(), 1);

    QString target = t.dir.filePath("Nowa Firma.mdb");
    EXPECT_TRUE(BaseRename(app, t.path, "Firma", "Nowa Firma"));
    EXPECT_EQ(app.gPrgPar.BazaPlik, target);
    EXPECT_EQ(app.gPrgPar.BazaNazwa, "Nowa Firma");
    EXPECT_EQ(documents(target), 1);
    EXPECT_TRUE(QFile::exists(t.path));  // the old file stays
    EXPECT_TRUE(r.seen.empty());

    app.gPrgPar.BazaPlik = t.path;
    EXPECT_FALSE(BaseRename(app, t.path, "Firma", "Nowa Firma"));  // an unrelated file has that name
    EXPECT_FALSE(BaseRename(app, t.path, "Firma", "../Inna"));
    EXPECT_FALSE(BaseRename(app, t.path, "Firma", "C:\\Inna"));
    EXPECT_EQ(r.seen.size(), 3u);
    EXPECT_EQ(app.gPrgPar.BazaPlik, t.path);
    EXPECT_EQ(QDir(t.dir.path()).entryList({"*.mdb"}).size(), 2);
}

struct CreateTest : BackupTest {
    QString chosen;
    CreateTest()
    {
        QFile::copy(TempDatabase::templatePath(), t.dir.filePath("Rolkwit.mbs"));
        r.dialog = [this](QDialog& d) {
            auto& fd = dynamic_cast<QFileDialog&>(d);
            EXPECT_EQ(fd.windowTitle(), QString::fromUtf8("Utwórz bazę danych programu Rolkwit"));
            if (chosen.isEmpty()) return int(QDialog::Rejected);
            fd.selectFile(chosen);
            return int(QDialog::Accepted);
        };
    }
    PasswordPrompt noPassword()
    {
        return [](const QString&) { return std::nullopt; };
    }
};

TEST_F(CreateTest, NewDatabaseComesFromTheTemplateAndIsConnected)
{
    chosen = t.dir.filePath("Sklep.mdb");
    EXPECT_TRUE(BaseCreate(t.app, noPassword()));
    EXPECT_EQ(t.app.gPrgPar.BazaPlik, chosen);
    EXPECT_EQ(t.app.gPrgPar.BazaNazwa, "Sklep");
    ASSERT_TRUE(t.app.gBazaOtwarta);
    EXPECT_EQ(t.app.gBaseDb->scalar("SELECT count(*) FROM fadok").toInt(), 0);
    EXPECT_EQ(t.app.gBaseDb->scalar("SELECT VerMinor FROM dbprg WHERE Indprg = 'FR'").toInt(), 5);
    EXPECT_FALSE(QFile::exists(chosen + ".part"));

    // An existing file of another name is replaced by the new database.
    chosen = t.path;
    EXPECT_TRUE(BaseCreate(t.app, noPassword()));
    EXPECT_EQ(documents(t.path), 0);
}

TEST_F(CreateTest, TheOpenDatabaseIsNeverReplacedAndAMissingTemplateTouchesNothing)
{
    chosen = t.path;
    EXPECT_FALSE(BaseCreate(t.app, noPassword()));
    EXPECT_EQ(documents(t.path), 1);
    ASSERT_EQ(r.seen.size(), 1u);

    QFile::remove(t.dir.filePath("Rolkwit.mbs"));
    t.app.gBaseDb.reset();
    t.app.gBazaOtwarta = false;
    EXPECT_FALSE(BaseCreate(t.app, noPassword()));
    ASSERT_EQ(r.seen.size(), 2u);
    EXPECT_EQ(r.seen[1].text, QString::fromUtf8("Brak pliku: %1. Sprawdź czy plik znajduje się w katalogu programu.")
                                  .arg(t.dir.filePath("Rolkwit.mbs")));
    EXPECT_EQ(documents(t.path), 1);

    chosen.clear();
    EXPECT_FALSE(BaseCreate(t.app, noPassword()));
    EXPECT_EQ(r.seen.size(), 2u);
}

TEST(FileHelpers, CopyAndMoveCreateFoldersAndDoNotReplace)
{
    QTemporaryDir dir;
    QString a = dir.filePath("a.txt");
    QFile f(a);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("x");
    f.close();
    EXPECT_EQ(FileCopySH(a, dir.filePath("sub/b.txt")), 0);
    EXPECT_EQ(FileCopySH(a, dir.filePath("sub/b.txt")), 0);
    EXPECT_TRUE(QFile::exists(dir.filePath("sub/b (2).txt")));
    EXPECT_EQ(FileMoveSH(a, dir.filePath("inny/c.txt")), 0);
    EXPECT_FALSE(QFile::exists(a));
    EXPECT_NE(FileCopySH(a, dir.filePath("d.txt")), 0);
}

TEST(FileHelpers, FolderBrowseGivesTheChoiceOrKeepsThePath)
{
    QTemporaryDir dir;
    ScopedResponder r;
    QString path = dir.path();
    r.dialog = [](QDialog&) { return int(QDialog::Rejected); };
    EXPECT_EQ(FolderBrowse(nullptr, "Wybierz folder", path), dir.path());
    QDir(dir.path()).mkdir("Kopie");
    r.dialog = [&](QDialog& d) {
        dynamic_cast<QFileDialog&>(d).selectFile(dir.filePath("Kopie"));
        return int(QDialog::Accepted);
    };
    EXPECT_EQ(FolderBrowse(nullptr, "Wybierz folder", path), dir.filePath("Kopie"));
    EXPECT_EQ(path, dir.filePath("Kopie"));
}

}  // namespace
