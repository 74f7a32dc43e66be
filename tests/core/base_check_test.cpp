#include "core/background_database.h"
#include "core/base_connect.h"
#include "core/base_par.h"
#include "core/error_report.h"
#include "core/start_database.h"
#include "support/damaged_file.h"
#include "support/old_structure.h"
#include "support/other_process.h"
#include "support/scoped_responder.h"
#include "support/temp_database.h"
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <deque>
#include <gtest/gtest.h>

namespace {

// The password dialog played by a test: gives the queued entries in turn (nullopt = Cancel).
struct Prompt {
    std::deque<std::optional<QString>> entries;
    QStringList asked;
    PasswordPrompt fn()
    {
        return [this](const QString& opis) -> std::optional<QString> {
            asked << opis;
            if (entries.empty()) return std::nullopt;
            auto e = entries.front();
            entries.pop_front();
            return e;
        };
    }
};

struct BaseCheckTest : ::testing::Test {
    TempDatabase t;
    ScopedResponder r;
    Prompt prompt;
    QString haslo;
    bool readOnly = true;

    BaseCheckTest()
    {
        t.app.gBaseDb.reset();
        t.app.gBazaOtwarta = false;
    }
    bool check(const QString& path) { return BaseCheck(t.app, path, haslo, readOnly, prompt.fn()); }
    QString copyAs(const QString& name)
    {
        QString p = t.dir.filePath(name);
        QFile::copy(t.path, p);
        return p;
    }
    void setVersion(const QString& path, int major, int minor)
    {
        db::Database::open(path)->execute("UPDATE dbprg SET VerMajor = ?, VerMinor = ? WHERE Indprg = 'FR'",
                                          {major, minor});
    }
    // A copy of the template with pages that opening it does not read.
    QString filled(const QString& name)
    {
        const QString p = copyAs(name);
        fillDocuments(p);
        return p;
    }
    const QString damagedMessage =
        QString::fromUtf8("Baza: %1 jest uszkodzona. Baza nie może zostać otwarta. Odtwórz bazę z kopii zapasowej.");
    QString version(const QString& path)
    {
        auto row =
            db::Database::open(path)->queryOne("SELECT VerMajor, VerMinor, VerRevision FROM dbprg WHERE Indprg = 'FR'");
        return QStringLiteral("%1.%2.%3").arg(row->text("VerMajor"), row->text("VerMinor"), row->text("VerRevision"));
    }
};

TEST_F(BaseCheckTest, AcceptsTheTemplateAndReadsTheExclusiveParameter)
{
    EXPECT_TRUE(check(t.path));
    EXPECT_EQ(haslo, "");
    EXPECT_FALSE(readOnly);
    EXPECT_TRUE(r.seen.empty());
    EXPECT_TRUE(prompt.asked.isEmpty());
    // A missing "BaseReadOnly" is read as "0" by the check, and stored only once the window's
    // first reads are done.
    const QString stored = "SELECT count(*) FROM dbpar WHERE Indpar = 'BaseReadOnly' AND Wartosc = '0'";
    EXPECT_EQ(db::Database::open(t.path)->scalar(stored).toInt(), 0);
    storeHeldDefaults(t.app, *db::Database::open(t.path));
    EXPECT_EQ(db::Database::open(t.path)->scalar(stored).toInt(), 1);
    db::Database::open(t.path)->execute("UPDATE dbpar SET Wartosc = '1' WHERE Indpar = 'BaseReadOnly'");
    EXPECT_TRUE(check(t.path));
    EXPECT_TRUE(readOnly);
}

TEST_F(BaseCheckTest, NamesOtherThanDatabaseFilesAreRefusedSilentlyButCapitalsAreAccepted)
{
    EXPECT_FALSE(check(t.dir.filePath("Firma.txt")));
    EXPECT_FALSE(check("*.mdb"));
    EXPECT_TRUE(r.seen.empty());
    EXPECT_TRUE(check(copyAs("FIRMA2.MDB")));
}

TEST_F(BaseCheckTest, PasswordLoopAsksUntilRightOrCancelledAndKeepsTheCallersPasswordOnFailure)
{
    db::Database::open(t.path)->changePassword("tajne");
    t.app.gBazaHaslo = "poprzednie";

    haslo = "";
    prompt.entries = {QString("zle"), QString("tajne")};
    EXPECT_TRUE(check(t.path));
    EXPECT_EQ(prompt.asked, QStringList({"Firma", "Firma"}));
    EXPECT_EQ(haslo, "tajne");

    // Cancel, or an empty entry, ends the check with one word of why and leaves the password.
    for (std::optional<QString> entry : {std::optional<QString>(), std::optional<QString>(QString())}) {
        haslo = "";
        prompt.asked.clear();
        r.seen.clear();
        prompt.entries = {entry};
        EXPECT_FALSE(check(t.path));
        EXPECT_EQ(prompt.asked.size(), 1);
        EXPECT_EQ(haslo, "");
        ASSERT_EQ(r.seen.size(), 1u);
        EXPECT_EQ(r.seen[0].text,
                  QString::fromUtf8("Baza: Firma.mdb jest chroniona hasłem. Bez hasła baza nie może zostać otwarta."));
    }
    EXPECT_EQ(t.app.gBazaHaslo, "poprzednie");
    r.seen.clear();

    // The password of the previous database is tried first: no dialog when it fits.
    haslo = "tajne";
    prompt.asked.clear();
    EXPECT_TRUE(check(t.path));
    EXPECT_TRUE(prompt.asked.isEmpty());
}

TEST_F(BaseCheckTest, AFileWithoutPasswordGivesAnEmptyPasswordWhateverWasTried)
{
    haslo = "tajne";
    EXPECT_TRUE(check(t.path));
    EXPECT_EQ(haslo, "");
}

TEST_F(BaseCheckTest, FileHeldExclusivelyByAnotherProcessGivesM1Promptly)
{
    OtherProcess other(t.path, "PRAGMA locking_mode=EXCLUSIVE; BEGIN EXCLUSIVE; COMMIT;");
    if (!other.ready()) GTEST_SKIP() << "the sqlcipher shell is needed to play another workstation";
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(check(t.path));
    EXPECT_LT(timer.elapsed(), 2000);
    ASSERT_EQ(r.seen.size(), 1u);
    EXPECT_EQ(r.seen[0].text, QString::fromUtf8("Baza: Firma.mdb została otwarta w trybie wyłączności przez innego "
                                                "użytkownika. Baza nie może zostać ostwarta."));
    EXPECT_EQ(r.seen[0].title, "Rolkwit");
    EXPECT_EQ(r.seen[0].icon, ui::Icon::Exclamation);
}

TEST_F(BaseCheckTest, FilesWithoutThisProgramsStructureGetM4OrM5)
{
    QString foreign = t.dir.filePath("Obca.mdb");
    db::Database::create(foreign)->executeScript("CREATE TABLE x (a)");
    EXPECT_FALSE(check(foreign));
    QString m4 = QString::fromUtf8("Baza: %1 nie posiada struktury danych dla programu: Rolkwit. Baza nie może zostać "
                                   "otwarta. Program może otworzyć tylko bazy utworzone przez program Bazownik.");
    ASSERT_EQ(r.seen.size(), 1u);
    EXPECT_EQ(r.seen[0].text, m4.arg(foreign));
    EXPECT_EQ(r.seen[0].title, QString::fromUtf8("Błąd otwarcia bazy"));

    // A file of the old engine is not taken for a protected one: no password is asked.
    QString jet = t.dir.filePath("Stara.mdb");
    QFile f(jet);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray("\x00\x01\x00\x00Standard Jet DB\x00", 20) + QByteArray(2048, '\x5a'));
    f.close();
    EXPECT_FALSE(check(jet));
    EXPECT_TRUE(prompt.asked.isEmpty());
    ASSERT_EQ(r.seen.size(), 2u);
    EXPECT_EQ(r.seen[1].text, m4.arg(jet));

    db::Database::open(t.path)->execute("UPDATE dbprg SET Indprg = 'FA'");
    EXPECT_FALSE(check(t.path));
    ASSERT_EQ(r.seen.size(), 3u);
    EXPECT_EQ(r.seen[2].text, QString::fromUtf8("Baza: %1 nie posiada struktury danych programu: Rolkwit. Baza nie "
                                                "może zostać otwarta.")
                                  .arg(t.path));
    EXPECT_EQ(r.seen[2].icon, ui::Icon::Exclamation);
}

// A file that is no database at all, or one whose structure is damaged, is refused by the check
// with one message, is never taken for a protected file, and leaves nothing to attach.
TEST_F(BaseCheckTest, NoDatabaseOrABrokenStructureGetsOneMessageAndNoPasswordQuestion)
{
    const QString text = t.dir.filePath("Tekst.mdb");
    overwriteFile(text, 0, QByteArray("Faktura VAT RR nr 1/05/2024 dla Jana O'Briena; ").repeated(40).left(1024));
    const QString zeroed = copyAs("Zerowana.mdb");
    overwriteFile(zeroed, 0, QByteArray(100, '\0'));
    const QString badHeader = copyAs("Naglowek.mdb");  // the signature is there, the page size is impossible
    overwriteFile(badHeader, 16, QByteArray("\x00\x03", 2));
    const QString shortByAPage = filled("Krotsza.mdb");
    QFile::resize(shortByAPage, QFileInfo(shortByAPage).size() - pageSizeOf(shortByAPage));
    const QString shortInAPage = filled("Ucieta.mdb");
    QFile::resize(shortInAPage, QFileInfo(shortInAPage).size() - 100);
    const QString protectedShort = filled("Chroniona.mdb");
    db::Database::open(protectedShort, QString(), {.exclusive = true})->changePassword("tajne");
    QFile::resize(protectedShort, QFileInfo(protectedShort).size() - 1024);
    // The root of the documents' table: every reading of them starts there.
    const QString rootRuined = filled("Korzen.mdb");
    const qint64 root =
        db::Database::open(rootRuined)->scalar("SELECT rootpage FROM sqlite_master WHERE name = 'fadok'").toInt();
    overwriteFile(rootRuined, pageSizeOf(rootRuined) * (root - 1), QByteArray(64, '\xff'));

    const QString m4 =
        QString::fromUtf8("Baza: %1 nie posiada struktury danych dla programu: Rolkwit. Baza nie może "
                          "zostać otwarta. Program może otworzyć tylko bazy utworzone przez program Bazownik.");
    const struct {
        QString path;
        QString message;
    } cases[] = {{text, m4},
                 {zeroed, m4},
                 {badHeader, damagedMessage},
                 {shortByAPage, damagedMessage},
                 {shortInAPage, damagedMessage},
                 {protectedShort, damagedMessage},
                 {rootRuined, damagedMessage}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        r.seen.clear();
        prompt.asked.clear();
        haslo = "tajne";
        EXPECT_FALSE(check(c.path));
        EXPECT_TRUE(prompt.asked.isEmpty());
        ASSERT_EQ(r.seen.size(), 1u);
        EXPECT_EQ(r.seen[0].text, c.message.arg(c.path));
        EXPECT_EQ(t.app.checkedConnection.db, nullptr);
    }
}

// Damage inside the file passes the opening, which reads a few pages; the whole-file check in
// the background finds it: the file is let go with one message and nothing written after it.
// Sound pages under an index that lacks a row of its table are damage too.
TEST_F(BaseCheckTest, DamageInsideIsFoundInTheBackgroundAndTheFileLetGoWithOneMessage)
{
    const std::pair<const char*, void (*)(const QString&, const QString&)> damages[] = {
        {"pages", ruinPagesInside}, {"index", storeBesideTheNumberIndex}};
    for (const auto& [damage, ruin] : damages)
        for (const QString& haslo : {QString(), QStringLiteral("tajne")}) {
            SCOPED_TRACE(damage + haslo.toStdString());
            const QString path =
                filled(QString::fromLatin1(damage) + (haslo.isEmpty() ? "Uszkodzona.mdb" : "UszkodzonaChroniona.mdb"));
            if (!haslo.isEmpty()) db::Database::open(path, QString(), {.exclusive = true})->changePassword(haslo);
            ruin(path, haslo);
            r.seen.clear();
            t.app.gPrgPar.BazaPlik = path;
            t.app.gBazaHaslo = haslo;
            ASSERT_TRUE(openStartDatabase(t.app, prompt.fn()));
            EXPECT_TRUE(r.seen.empty());
            const QByteArray opened = fileBytes(path);

            EXPECT_TRUE(backgroundDatabase(t.app).waitIdle(10000));
            EXPECT_FALSE(t.app.gBazaOtwarta);
            EXPECT_EQ(r.texts(), QStringList{damagedMessage.arg(path)});
            EXPECT_EQ(fileBytes(path), opened);
        }
}

// A statement of the program that meets a damaged page: nothing is read or written after it,
// what fails on the file is not reported on its own, and the file is let go with the one message.
TEST_F(BaseCheckTest, AStatementMeetingADamagedPageStopsTheConnectionAndLetsTheFileGoWithOneMessage)
{
    const QString path = filled("Uszkodzona.mdb");
    ruinPagesInside(path);
    ASSERT_TRUE(checkAndConnect(t.app, path, prompt.fn(), QString()));
    int reported = 0;
    t.app.errorReporter = [&](App&, const QString&, const QString&) { ++reported; };
    db::Database& d = *t.app.gBaseDb;
    long number = 0;
    try {
        d.scalar("SELECT count(*) FROM fadok NOT INDEXED WHERE length(Uwagi) > 0");
    } catch (const AppError& e) {
        number = e.number();
        ErrorReport(t.app, "Kartoteka");
    }
    EXPECT_EQ(number, err::kDamaged);
    const QByteArray found = fileBytes(path);
    for (const char* sql : {"INSERT INTO dbpar (Indpar, Wartosc) VALUES ('Nowy', '1')", "DELETE FROM dopoz",
                            "BEGIN IMMEDIATE", "SELECT count(*) FROM dbpar"}) {
        SCOPED_TRACE(sql);
        try {
            d.execute(sql);
            ADD_FAILURE() << "run";
        } catch (const AppError& e) {
            EXPECT_EQ(e.number(), err::kDamaged);
            ErrorReport(t.app, "Zapisz");
        }
    }
    EXPECT_EQ(reported, 0);
    EXPECT_TRUE(r.seen.empty());  // the message comes once the statement's caller is done

    QCoreApplication::processEvents();
    EXPECT_FALSE(t.app.gBazaOtwarta);
    EXPECT_EQ(r.texts(), QStringList{damagedMessage.arg(path)});
    EXPECT_EQ(fileBytes(path), found);
    t.app.errorReporter = nullptr;
}

TEST_F(BaseCheckTest, OlderStructureIsUpgradedOnlyAfterM6)
{
    QString old = t.dir.filePath("Stara.mdb");
    makeOldStructure(old, 3, 4);
    r.answers = {ui::Answer::No};
    EXPECT_FALSE(check(old));
    ASSERT_EQ(r.seen.size(), 1u);
    EXPECT_EQ(r.seen[0].text,
              QString::fromUtf8("Baza: Stara.mdb posiada strukturę danych w wersji: 3.4. Wymagana jest "
                                "struktura bazy w wersji: 3.5. Chcesz aktualizować strukture bazy teraz?"));
    EXPECT_EQ(r.seen[0].title, QString::fromUtf8("Błąd weryfikacji struktury bazy"));
    EXPECT_EQ(r.seen[0].buttons, ui::Buttons::YesNo);
    EXPECT_EQ(version(old), "3.4.1");

    r.answers = {ui::Answer::Yes};
    EXPECT_TRUE(check(old));
    EXPECT_EQ(r.seen.size(), 2u);
    EXPECT_EQ(version(old), "3.5.12");
}

TEST_F(BaseCheckTest, SameOrNewerStructureIsNotQuestioned)
{
    for (auto [major, minor] : {std::pair{3, 5}, std::pair{3, 7}, std::pair{4, 0}}) {
        setVersion(t.path, major, minor);
        EXPECT_TRUE(check(t.path)) << major << "." << minor;
        EXPECT_EQ(version(t.path), QStringLiteral("%1.%2.12").arg(major).arg(minor));
    }
    EXPECT_TRUE(r.seen.empty());
}

TEST_F(BaseCheckTest, StructureStillOldAfterTheUpgradeGivesM7)
{
    QString old = t.dir.filePath("Stara.mdb");
    makeOldStructure(old, 3, 4);
    db::Database::open(old)->executeScript("CREATE TRIGGER cofnij AFTER UPDATE ON dbprg BEGIN "
                                           "UPDATE dbprg SET VerMinor = 4 WHERE Indprg = 'FR'; END");
    EXPECT_FALSE(check(old));
    ASSERT_EQ(r.seen.size(), 2u);
    EXPECT_TRUE(r.seen[1].text.startsWith(QString::fromUtf8("Struktura bazy: Stara.mdb  nie została zaktualizowana. "
                                                            "Sprawdź wersję pliku: ")));
    EXPECT_TRUE(r.seen[1].text.endsWith(".stb"));
    EXPECT_EQ(r.seen[1].icon, ui::Icon::Critical);
}

TEST_F(BaseCheckTest, UpgradeWhileAnotherWorkstationReadsTheFileFailsAndChangesNothing)
{
    QString old = t.dir.filePath("Stara.mdb");
    makeOldStructure(old, 3, 2);
    OtherProcess other(old, "BEGIN; SELECT count(*) FROM fadok;");
    if (!other.ready()) GTEST_SKIP() << "the sqlcipher shell is needed to play another workstation";
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(check(old));
    EXPECT_LT(timer.elapsed(), 2000);
    EXPECT_EQ(version(old), "3.2.1");
    EXPECT_FALSE(storedColumns(old, "fadok").contains("Fundusz"));
}

TEST_F(BaseCheckTest, ConnectDisconnectAndExclusiveConnection)
{
    App& app = t.app;
    EXPECT_TRUE(BaseConnect(app, t.path));
    EXPECT_TRUE(app.gBazaOtwarta);
    EXPECT_FALSE(app.gBaseDb->isExclusive());
    BaseDisconnect(app);
    EXPECT_FALSE(app.gBazaOtwarta);
    EXPECT_EQ(app.gBaseDb, nullptr);

    app.gBazaWylacznie = true;
    EXPECT_TRUE(BaseConnect(app, t.path));
    EXPECT_TRUE(app.gBaseDb->isExclusive());
    EXPECT_FALSE(check(t.path));  // held by this program's own connection
    EXPECT_TRUE(r.texts().last().contains(QString::fromUtf8("trybie wyłączności")));

    // A failed connect leaves no connection at all.
    EXPECT_FALSE(BaseConnect(app, t.dir.filePath("Brak.mdb")));
    EXPECT_FALSE(app.gBazaOtwarta);
    EXPECT_EQ(app.gBaseDb, nullptr);
}

TEST_F(BaseCheckTest, OpenDialogConnectsAndStoresThePathOnlyOnSuccess)
{
    App& app = t.app;
    app.gPrgPar.BazaPlik = "poprzednia.mdb";
    QString chosen = copyAs("Druga.mdb");
    r.dialog = [&](QDialog& d) {
        auto& fd = dynamic_cast<QFileDialog&>(d);
        EXPECT_EQ(fd.windowTitle(), QString::fromUtf8("Otwórz bazę danych programu Rolkwit"));
        fd.selectFile(chosen);
        return int(QDialog::Accepted);
    };
    EXPECT_TRUE(BaseOpenDialog(app, prompt.fn()));
    EXPECT_TRUE(app.gBazaOtwarta);
    EXPECT_EQ(app.gPrgPar.BazaPlik, chosen);
    EXPECT_EQ(app.gPrgPar.BazaNazwa, "Druga");

    // Cancelled: nothing changes.
    r.dialog = [](QDialog&) { return int(QDialog::Rejected); };
    EXPECT_FALSE(BaseOpenDialog(app, prompt.fn()));
    EXPECT_EQ(app.gPrgPar.BazaPlik, chosen);
    EXPECT_TRUE(app.gBazaOtwarta);

    // Checked but not connectable (exclusive wanted while another workstation reads it): the
    // path is not stored, and the failure is reported as such.
    QString locked = copyAs("Trzecia.mdb");
    db::Database::open(locked)->execute("INSERT INTO dbpar VALUES ('BaseReadOnly', '1')");
    OtherProcess other(locked, "BEGIN; SELECT count(*) FROM sqlite_master;");
    if (!other.ready()) GTEST_SKIP() << "the sqlcipher shell is needed to play another workstation";
    int errorDialogs = 0;
    r.dialog = [&](QDialog& d) {
        if (auto* fd = qobject_cast<QFileDialog*>(&d)) {
            fd->selectFile(locked);
            return int(QDialog::Accepted);
        }
        ++errorDialogs;  // the failed connect is reported in the error dialog
        return int(QDialog::Rejected);
    };
    EXPECT_FALSE(BaseOpenDialog(app, prompt.fn()));
    EXPECT_EQ(errorDialogs, 1);
    EXPECT_FALSE(app.gBazaOtwarta);
    EXPECT_EQ(app.gPrgPar.BazaPlik, chosen);
}

TEST_F(BaseCheckTest, StartUpConnectsTheRememberedDatabase)
{
    App& app = t.app;
    app.gPrgPar.BazaPlik = "";
    EXPECT_FALSE(openStartDatabase(app, prompt.fn()));
    app.gPrgPar.BazaPlik = t.dir.filePath("Brak.mdb");
    EXPECT_FALSE(openStartDatabase(app, prompt.fn()));
    EXPECT_FALSE(app.gBazaOtwarta);

    db::Database::open(t.path)->changePassword("tajne");
    app.gPrgPar.BazaPlik = t.path;
    prompt.entries = {QString("tajne")};
    EXPECT_TRUE(openStartDatabase(app, prompt.fn()));
    EXPECT_TRUE(app.gBazaOtwarta);
    EXPECT_EQ(app.gBazaHaslo, "tajne");
    EXPECT_EQ(app.gBaseDb->scalar("SELECT VerMajor FROM dbprg WHERE Indprg = 'FR'").toInt(), 3);
}

}  // namespace
