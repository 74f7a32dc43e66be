#include "platform/database.h"
#include "platform/database_snapshot.h"
#include "platform/sql_functions.h"
#include "support/other_process.h"
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdio>
#include <fcntl.h>
#include <future>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

struct DatabaseTest : ::testing::Test {
    QTemporaryDir dir;
    QString path(const QString& n = "t.mdb") const { return dir.filePath(n); }
    std::unique_ptr<db::Database> fresh()
    {
        auto d = db::Database::create(path());
        d->executeScript("CREATE TABLE t (Numer TEXT COLLATE NOCASE, Kwota CURRENCY, Data DATETIME)");
        return d;
    }
    // Whether others than the file's owner may read or write it.
    static bool othersMay(const QString& file)
    {
        return QFile::permissions(file) & (QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther);
    }
    // A umask that lets others read what is made, as a usual one does; the copies are private all the same.
    struct UsualUmask {
        mode_t before = ::umask(022);
        ~UsualUmask() { ::umask(before); }
    };
};

TEST_F(DatabaseTest, BindsValuesSoQuotesCannotRewriteTheStatement)
{
    auto d = fresh();
    QString evil = "O'Brien'); DROP TABLE t; --";
    d->execute("INSERT INTO t (Numer, Kwota, Data) VALUES (?, ?, ?)",
               {evil, *Decimal::parse("1,23"), QDate(2026, 3, 4)});
    auto r = d->queryOne("SELECT * FROM t WHERE Numer = ?", {evil});
    ASSERT_TRUE(r);
    EXPECT_EQ(r->decimal("kwota"), *Decimal::parse("1.23"));
    EXPECT_EQ(r->date("DATA"), QDate(2026, 3, 4));
    EXPECT_THROW((*r)["brak"], AppError);
}

TEST_F(DatabaseTest, EmptyTextIsStoredAsNull)
{
    auto d = fresh();
    d->execute("INSERT INTO t (Numer) VALUES (?)", {QString("")});
    EXPECT_EQ(d->scalar("SELECT count(*) FROM t WHERE Numer IS NULL").toInt(), 1);
}

TEST_F(DatabaseTest, TransactionRollsBackUnlessCommitted)
{
    auto d = fresh();
    {
        db::Transaction tr(*d);
        d->execute("INSERT INTO t (Numer) VALUES ('1')");
    }
    EXPECT_EQ(d->scalar("SELECT count(*) FROM t").toInt(), 0);
    {
        db::Transaction tr(*d);
        d->execute("INSERT INTO t (Numer) VALUES ('1')");
        tr.commit();
    }
    EXPECT_EQ(d->scalar("SELECT count(*) FROM t").toInt(), 1);
}

TEST_F(DatabaseTest, ErrorsCarryEngineNumbers)
{
    auto d = fresh();
    try {
        d->query("SELECT * FROM nietabela");
        FAIL();
    } catch (const AppError& e) {
        EXPECT_EQ(e.number(), err::kNoSuchTable);
    }
    d->executeScript("CREATE UNIQUE INDEX u ON t (Numer)");
    d->execute("INSERT INTO t (Numer) VALUES ('1')");
    try {
        d->execute("INSERT INTO t (Numer) VALUES ('1')");
        FAIL();
    } catch (const AppError& e) {
        EXPECT_EQ(e.number(), err::kDuplicateKey);
    }
    // A file that may not grow any more: the disk is full.
    d->execute("PRAGMA max_page_count = " + d->scalar("PRAGMA page_count").toText());
    try {
        for (int i = 2; i < 10000; ++i)
            d->execute("INSERT INTO t (Numer) VALUES (?)", {QString(500, 'x') + QString::number(i)});
        FAIL();
    } catch (const AppError& e) {
        EXPECT_EQ(e.number(), err::kNoDiskSpace);
    }
    EXPECT_THROW(db::Database::open(path("brak.mdb")), AppError);
}

TEST_F(DatabaseTest, JetFunctionsAndPolishCaseInsensitiveText)
{
    auto d = fresh();
    for (auto n : {"10/2026", "9/2026", "ŁÓDŹ", "łódź", "zebra", "żaba", "Ćma", "cma"})
        d->execute("INSERT INTO t (Numer, Data) VALUES (?, '2026-07-15')", {QString::fromUtf8(n)});
    EXPECT_EQ(d->scalar("SELECT Val(' 12 3/x')").toText(), "123");
    EXPECT_EQ(d->scalar("SELECT Numer FROM t WHERE Val(Numer) > 0 ORDER BY Val(Numer)").toText(), "9/2026");
    EXPECT_EQ(d->scalar("SELECT Year(Data) * 100 + Month(Data) FROM t LIMIT 1").toInt(), 202607);
    // The stored column knows only A to Z without case; a statement that names the Polish
    // collation compares and orders Polish letters too.
    EXPECT_EQ(d->scalar("SELECT count(*) FROM t WHERE Numer = 'CMA'").toInt(), 1);
    EXPECT_EQ(d->scalar("SELECT count(*) FROM t WHERE Numer = 'łódź'").toInt(), 1);
    EXPECT_EQ(d->scalar("SELECT count(*) FROM t WHERE Numer = 'łódź' COLLATE PL").toInt(), 2);
    EXPECT_EQ(d->scalar("SELECT count(*) FROM t WHERE Numer LIKE 'ŁÓ%'").toInt(), 2);
    auto rows = d->query("SELECT Numer FROM t WHERE Val(Numer) = 0 ORDER BY Numer COLLATE PL");
    QStringList order;
    for (auto& r : rows) order << r.text("Numer").toLower();
    EXPECT_LT(order.indexOf("cma"), order.indexOf(QString::fromUtf8("ćma")));
    EXPECT_LT(order.indexOf("zebra"), order.indexOf(QString::fromUtf8("żaba")));
}

TEST_F(DatabaseTest, PasswordCanBeAddedChangedAndRemoved)
{
    fresh()->execute("INSERT INTO t (Numer) VALUES ('A')");
    {
        auto d = db::Database::open(path());
        d->changePassword("tajne");
        EXPECT_TRUE(d->isEncrypted());
    }
    EXPECT_FALSE(db::isPlainDatabaseFile(path()));
    try {
        db::Database::open(path(), "zle");
        FAIL();
    } catch (const AppError& e) {
        EXPECT_EQ(e.number(), err::kNotValidPassword);
    }
    {
        auto d = db::Database::open(path(), "tajne");
        EXPECT_EQ(d->scalar("SELECT Numer FROM t").toText(), "A");
        d->changePassword("inne");
    }
    EXPECT_THROW(db::Database::open(path(), "tajne"), AppError);
    {
        auto d = db::Database::open(path(), "inne");
        d->changePassword("");
    }
    EXPECT_TRUE(db::isPlainDatabaseFile(path()));
    EXPECT_EQ(db::Database::open(path())->scalar("SELECT Numer FROM t").toText(), "A");
}

// Wherever the password change stops, the file under the database's name is the old one (old
// password) or the new one (new password), whole, with the old file's mode, and nothing is left
// beside it. What an earlier version left when it stopped between its two renames is put right
// by the next opening.
TEST_F(DatabaseTest, APasswordChangeStoppedAtAnyStepLeavesTheOldOrTheNewFileWithItsMode)
{
    fresh()->execute("INSERT INTO t (Numer) VALUES ('A')");
    const QFile::Permissions privateMode = QFile::ReadOwner | QFile::WriteOwner;
    QString current;  // the password in force
    for (const QFile::Permissions mode : {privateMode, privateMode | QFile::ReadGroup})
        for (int stop = 1; stop <= 5; ++stop) {  // 5: the change runs to its end
            SCOPED_TRACE(
                QStringLiteral("mode %1, stopped after step %2").arg(int(mode), 0, 16).arg(stop).toStdString());
            ASSERT_TRUE(QFile::setPermissions(path(), mode));
            const QString wanted = current.isEmpty() ? QStringLiteral("tajne") : QString();
            {
                auto d = db::Database::open(path(), current);
                try {
                    d->changePassword(wanted, [&](int step) {
                        EXPECT_TRUE(QFileInfo(path()).isFile()) << "after step " << step;
                        if (step == stop) throw AppError(err::kDiskFull, "test", "stopped");
                    });
                    EXPECT_EQ(stop, 5);
                } catch (const AppError& e) {
                    EXPECT_EQ(e.number(), err::kDiskFull);
                }
            }
            if (stop >= 4) current = wanted;                    // the new file took the database's place at step 4
            const QFile::Permissions ownerGroupOthers(0x7077);  // not the bits of "this user"
            EXPECT_EQ(QFile::permissions(path()) & ownerGroupOthers, mode);
            EXPECT_FALSE(QFileInfo::exists(path("t.mdb.haslo.tmp")));
            auto d = db::Database::open(path(), current);
            EXPECT_EQ(d->isEncrypted(), !current.isEmpty());
            EXPECT_EQ(d->scalar("SELECT Numer FROM t").toText(), "A");
            EXPECT_EQ(d->scalar("PRAGMA integrity_check").toText(), "ok");
        }
    ASSERT_TRUE(QFile::rename(path(), path("t.mdb.haslo.old")));
    for (const char* left : {"t.mdb.haslo.tmp", "t.mdb.haslo.tmp-journal"}) {
        QFile unfinished(path(left));
        ASSERT_TRUE(unfinished.open(QIODevice::WriteOnly));
        unfinished.write(QByteArray(4096, 'x'));
    }
    EXPECT_EQ(db::Database::open(path(), current)->scalar("SELECT Numer FROM t").toText(), "A");
    EXPECT_FALSE(QFileInfo::exists(path("t.mdb.haslo.tmp")));
    EXPECT_FALSE(QFileInfo::exists(path("t.mdb.haslo.tmp-journal")));
    EXPECT_FALSE(QFileInfo::exists(path("t.mdb.haslo.old")));
}

// A workstation that sat idle while another one rewrote the file (a password change) must not
// store into the copy that was put aside: its next transaction is refused.
TEST_F(DatabaseTest, AConnectionToAFileReplacedMeanwhileWritesNothing)
{
    fresh()->execute("INSERT INTO t (Numer) VALUES ('A')");
    auto idle = db::Database::open(path());
    {
        db::Transaction ok(*idle, db::Transaction::Mode::Immediate);  // the file is still its own
    }
    // Restored from a copy by hand: another file is put in its place.
    const QString copy = path() + ".kopia";
    ASSERT_TRUE(QFile::copy(path(), copy));
    ASSERT_EQ(std::rename(QFile::encodeName(copy).constData(), QFile::encodeName(path()).constData()), 0);
    try {
        db::Transaction t(*idle, db::Transaction::Mode::Immediate);
        FAIL() << "a transaction on the replaced file was begun";
    } catch (const AppError& e) {
        EXPECT_EQ(e.number(), err::kFileReplaced);  // explained as a replaced file, not a locked table
    }
    EXPECT_EQ(db::Database::open(path())->scalar("SELECT count(*) FROM t").toInt(), 1);
}

TEST_F(DatabaseTest, ExclusiveOpeningRefusesAnotherConnection)
{
    fresh();
    auto holder = db::Database::open(path(), QString(), {.exclusive = true});
    try {
        db::Database::open(path(), QString(), {.busyTimeoutMs = 100});
        FAIL();
    } catch (const AppError& e) {
        EXPECT_EQ(e.number(), err::kFileInUse);
    }
}

TEST_F(DatabaseTest, TransactionRollsBackWhenAStatementFailsMidWay)
{
    auto d = fresh();
    d->executeScript("CREATE UNIQUE INDEX u ON t (Numer)");
    try {
        db::Transaction tr(*d);
        d->execute("INSERT INTO t (Numer) VALUES ('1')");
        d->execute("INSERT INTO t (Numer) VALUES ('1')");
        tr.commit();
        FAIL();
    } catch (const AppError& e) {
        EXPECT_EQ(e.number(), err::kDuplicateKey);
    }
    EXPECT_FALSE(d->inTransaction());
    EXPECT_EQ(d->scalar("SELECT count(*) FROM t").toInt(), 0);
}

TEST_F(DatabaseTest, LongBinaryValuesComeBackByteForByte)
{
    auto d = fresh();
    d->executeScript("CREATE TABLE b (Wartosc LONGBINARY)");
    QByteArray big(3 * 1024 * 1024 + 17, '\0');
    for (int i = 0; i < big.size(); ++i) big[i] = char((i * 31) ^ (i >> 8));
    d->execute("INSERT INTO b VALUES (?)", {big});
    d->execute("INSERT INTO b VALUES (?)", {QByteArray()});
    auto rows = d->query("SELECT Wartosc FROM b");
    EXPECT_EQ(rows[0].at(0).toBytes(), big);
    EXPECT_TRUE(rows[1].at(0).toBytes().isEmpty());
    EXPECT_EQ(rows[0].declaredType(0), "LONGBINARY");
}

TEST_F(DatabaseTest, OldEngineWildcardsAndTextFunctions)
{
    auto d = fresh();
    for (auto n : {"Kowalski Jan", "NOWAK ŁUKASZ", "14 dni", "gotówka"})
        d->execute("INSERT INTO t (Numer) VALUES (?)", {QString::fromUtf8(n)});
    auto count = [&](const char* where) {
        return d->scalar(QStringLiteral("SELECT count(*) FROM t WHERE ") + where).toInt();
    };
    EXPECT_EQ(count("Numer LIKE '*łuk*'"), 1);
    EXPECT_EQ(count("Numer LIKE '%kowal%'"), 1);
    EXPECT_EQ(count("[Left](Numer,1) Like '[0-9]'"), 1);
    EXPECT_EQ(count("[Left](Numer,1) not Like '[0-9]'"), 3);
    EXPECT_EQ(count("Numer LIKE '#? dni'"), 1);
    EXPECT_EQ(count("Numer LIKE '[!k]*'"), 3);
    EXPECT_EQ(count("Numer LIKE ?"), 0);
    EXPECT_EQ(d->scalar("SELECT count(*) FROM t WHERE Numer LIKE ?", {QString::fromUtf8("*GOTÓW*")}).toInt(), 1);
    EXPECT_EQ(d->scalar("SELECT [Right]('abcdef', 2) || Mid('abcdef', 2, 3) || Len('żółw')").toText(), "efbcd4");
    EXPECT_EQ(d->scalar("SELECT Format('2024-03-08', 'MM.yyyy')").toText(), "03.2024");
    EXPECT_EQ(d->scalar("SELECT Day('2024-03-08')").toInt(), 8);
    // Accented letters of other languages sort next to their base letter but are not equal to it.
    EXPECT_LT(db::comparePolish("Cafe", QString::fromUtf8("Café")), 0);
    EXPECT_LT(db::comparePolish(QString::fromUtf8("Café"), "Cafg"), 0);
    EXPECT_EQ(db::comparePolish(QString::fromUtf8("ŻABA"), QString::fromUtf8("żaba")), 0);
}

TEST(PolishSortKey, OrdersAndMatchesAsTheCollationCompares)
{
    const char* texts[] = {"",
                           "a",
                           "A",
                           "ą",
                           "Ąb",
                           "b",
                           "c",
                           "ć",
                           "Cafe",
                           "Café",
                           "cafg",
                           "e",
                           "ę",
                           "ł",
                           "L",
                           "lz",
                           "ń",
                           "ó",
                           "o",
                           "ś",
                           "z",
                           "ź",
                           "Ż",
                           "żaba",
                           "ŻABA",
                           "1",
                           "10",
                           "9",
                           "-",
                           " ",
                           "Ω",
                           "ω",
                           "中",
                           "😀",
                           "a\xff"
                           "b"};  // a character beyond 16 bits, bytes that are no UTF-8
    for (const char* a : texts) {
        // The key and the comparison of the UTF-8 bytes as the database gives them are the same.
        QByteArray utf8Key("x");
        db::appendPolishSortKey(a, utf8Key);
        EXPECT_EQ(utf8Key, "x" + db::polishSortKey(QString::fromUtf8(a))) << a;
        for (const char* b : texts) {
            SCOPED_TRACE(std::string(a) + " | " + b);
            const QString x = QString::fromUtf8(a), y = QString::fromUtf8(b);
            const int byKeys = db::polishSortKey(x) < db::polishSortKey(y)    ? -1
                               : db::polishSortKey(x) == db::polishSortKey(y) ? 0
                                                                              : 1;
            EXPECT_EQ(byKeys, db::comparePolish(x, y));
            EXPECT_EQ(db::comparePolishUtf8(a, b), db::comparePolish(x, y));
        }
    }
}

TEST_F(DatabaseTest, WrongOrMissingPasswordOnAnEncryptedFileIs3031AndPlainToolsCannotReadIt)
{
    fresh()->execute("INSERT INTO t (Numer) VALUES ('tajny dokument')");
    db::Database::open(path())->changePassword("haslo");
    for (QString wrong : {QString(), QString("Haslo")}) {
        try {
            db::Database::open(path(), wrong);
            FAIL();
        } catch (const AppError& e) {
            EXPECT_EQ(e.number(), err::kNotValidPassword);
        }
    }
    QFile f(path());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_FALSE(f.readAll().contains("tajny dokument"));
    QString shell = QStandardPaths::findExecutable("sqlcipher");
    if (shell.isEmpty()) return;
    QProcess p;
    p.start(shell, {path(), "SELECT count(*) FROM t;"});
    ASSERT_TRUE(p.waitForFinished(5000));
    EXPECT_NE(p.exitCode(), 0);
}

TEST_F(DatabaseTest, ACopyIsACompleteDatabaseWithTheSamePassword)
{
    const UsualUmask umask;
    fresh()->execute("INSERT INTO t (Numer) VALUES ('A')");
    {
        auto d = db::Database::open(path());
        d->backupTo(path("kopia.mdb"));
        d->changePassword("tajne");
        d->backupTo(path("kopia2.mdb"));
        EXPECT_THROW(d->backupTo(dir.filePath("brak/kopia3.mdb")), AppError);
    }
    EXPECT_TRUE(db::isPlainDatabaseFile(path("kopia.mdb")));
    EXPECT_FALSE(othersMay(path("kopia.mdb")));
    EXPECT_FALSE(othersMay(path("kopia2.mdb")));
    EXPECT_EQ(db::Database::open(path("kopia.mdb"))->scalar("SELECT Numer FROM t").toText(), "A");
    EXPECT_THROW(db::Database::open(path("kopia2.mdb")), AppError);
    EXPECT_EQ(db::Database::open(path("kopia2.mdb"), "tajne")->scalar("SELECT Numer FROM t").toText(), "A");
}

// Commits of another connection land between the pieces of a copy (the first of them rewrites
// every row and grows the file): the copy still holds one state of the file, the last one seen,
// and each commit got the file's lock at once.
TEST_F(DatabaseTest, ACopyInPiecesHoldsOneStateWhateverIsCommittedBetweenThem)
{
    const UsualUmask umask;
    for (const QString& haslo : {QString(), QStringLiteral("tajne")}) {
        SCOPED_TRACE(haslo.toStdString());
        QFile::remove(path());
        {
            auto d = fresh();
            d->executeScript("CREATE TABLE w (k INTEGER, v BLOB); WITH RECURSIVE c(i) AS (SELECT 1 UNION ALL "
                             "SELECT i + 1 FROM c WHERE i < 3000) INSERT INTO w SELECT i, randomblob(300) FROM c;");
            if (!haslo.isEmpty()) d->changePassword(haslo);
        }
        auto other = db::Database::open(path(), haslo, {.busyTimeoutMs = 100});
        int pieces = 0;
        auto commit = [&] {
            ++pieces;
            if (pieces == 20)
                other->executeScript("UPDATE w SET k = k + 1, v = randomblob(300); INSERT INTO w SELECT k + 3000, "
                                     "randomblob(300) FROM w WHERE k < 500;");
            if (pieces == 50 || pieces == 90) other->execute("UPDATE w SET k = k + 1 WHERE k % 7 = 0");
        };
        ASSERT_NO_THROW(
            db::snapshotFile(path(), haslo, path("kopia.mdb"), {.pieceBytes = 16384, .betweenPieces = commit}));
        EXPECT_FALSE(othersMay(path("kopia.mdb")));
        auto copy = db::Database::open(path("kopia.mdb"), haslo);
        // The lock file of an opening is as private as its database.
        EXPECT_FALSE(othersMay(db::PresenceLock::companionPath(path("kopia.mdb"))));
        EXPECT_EQ(copy->scalar("PRAGMA integrity_check").toText(), "ok");
        const char* state = "SELECT count(*) || ' ' || sum(k) || ' ' || hex(sum(length(v))) FROM w";
        EXPECT_EQ(copy->scalar(state).toText().toStdString(), other->scalar(state).toText().toStdString());
    }
}

TEST_F(DatabaseTest, FilesOfTheOldEngineAreNotDatabasesOfThisProgram)
{
    QFile f(path("stara.mdb"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray("\x00\x01\x00\x00Standard ACE DB\x00", 20) + QByteArray(4096, 'x'));
    f.close();
    EXPECT_TRUE(db::isJetFile(path("stara.mdb")));
    try {
        db::Database::open(path("stara.mdb"));
        FAIL();
    } catch (const AppError& e) {
        EXPECT_EQ(e.number(), err::kNotDatabase);
    }
    // Nor is a text that merely carries the name: no password is asked for it.
    QFile text(path("tekst.mdb"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("to nie jest baza danych\n");
    text.close();
    try {
        db::Database::open(path("tekst.mdb"));
        FAIL();
    } catch (const AppError& e) {
        EXPECT_EQ(e.number(), err::kNotDatabase);
    }
}

TEST_F(DatabaseTest, APipeOrAFolderNamedAsADatabaseIsRefusedWithoutBeingOpened)
{
    // A pipe keeps whoever opens it for reading waiting for a writer. Should the opening wait, a
    // writer is played after a while, so that the case fails instead of the suite hanging.
    const QString pipe = path("potok.mdb");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    ASSERT_TRUE(QDir().mkdir(path("folder.mdb")));
    for (const QString& p : {pipe, path("folder.mdb")}) {
        SCOPED_TRACE(p.toStdString());
        auto refused = std::make_shared<std::promise<long>>();
        auto number = refused->get_future();
        std::thread([p, refused] {
            try {
                db::Database::open(p);
                refused->set_value(0);
            } catch (const AppError& e) {
                refused->set_value(e.number());
            } catch (...) {
                refused->set_value(-1);
            }
        }).detach();
        int waits = 0;
        while (number.wait_for(std::chrono::seconds(1)) != std::future_status::ready) {
            ASSERT_LT(++waits, 10) << "the opening does not come back";
            // What a writer puts in is no database, and lets a waiting reader go.
            const int fd = ::open(QFile::encodeName(p).constData(), O_WRONLY | O_NONBLOCK);
            if (fd < 0) continue;
            [[maybe_unused]] const ssize_t written = ::write(fd, "x", 1);
            ::close(fd);
        }
        EXPECT_EQ(waits, 0);
        EXPECT_EQ(number.get(), err::kNotAFile);
    }
    // The companion of an opening was never made.
    EXPECT_FALSE(QFile::exists(db::PresenceLock::companionPath(pipe)));
}

// Another workstation is a separate process (the sqlcipher shell) on the same file.
TEST_F(DatabaseTest, AnotherProcessHoldingTheFileExclusivelyIsMetPromptly)
{
    fresh();
    {
        OtherProcess other(path(), "PRAGMA locking_mode=EXCLUSIVE; BEGIN EXCLUSIVE; COMMIT;");
        if (!other.ready()) GTEST_SKIP() << "the sqlcipher shell is needed to play another workstation";
        QElapsedTimer timer;
        timer.start();
        try {
            db::Database::open(path());
            FAIL();
        } catch (const AppError& e) {
            EXPECT_EQ(e.number(), err::kFileInUse);
        }
        EXPECT_LT(timer.elapsed(), 1500);
    }
    // Held exclusively here, refused there.
    auto holder = db::Database::open(path(), QString(), {.exclusive = true});
    OtherProcess other(path(), "SELECT 1;");
    ASSERT_TRUE(other.ready());
    EXPECT_TRUE(other.run("INSERT INTO t (Kwota) VALUES (1);"));  // the shell reports the refusal and goes on
    holder.reset();
    EXPECT_EQ(db::Database::open(path())->scalar("SELECT count(*) FROM t").toInt(), 0);
}

// A workstation that merely has the file open: this test program started again, keeping one
// connection open until its input is closed or it is killed.
TEST(PresenceHolder, Run)
{
    const QString path = qEnvironmentVariable("ROLKWIT_PRESENCE_HOLDER_DB");
    if (path.isEmpty()) GTEST_SKIP() << "started by the presence test only";
    auto held = db::Database::open(path);
    std::puts("presence-held");
    std::fflush(stdout);
    for (int c = std::getchar(); c != EOF; c = std::getchar()) {}
}

TEST_F(DatabaseTest, AnExclusiveOpeningWaitsForEveryWorkstationThatHasTheFileOpen)
{
    fresh();
    for (const bool killed : {false, true}) {
        SCOPED_TRACE(killed ? "the other workstation killed" : "the other workstation closed");
        QProcess other;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("ROLKWIT_PRESENCE_HOLDER_DB", path());
        other.setProcessEnvironment(env);
        other.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=PresenceHolder.Run"});
        QByteArray out;
        while (!out.contains("presence-held") && other.waitForReadyRead(10000)) out += other.readAllStandardOutput();
        ASSERT_TRUE(out.contains("presence-held")) << out.constData();
        // Beside it an ordinary opening goes on; an exclusive one, or a password change, is refused.
        auto mine = db::Database::open(path());
        for (const auto& exclusiveStep :
             std::vector<std::function<void()>>{[&] { db::Database::open(path(), QString(), {.exclusive = true}); },
                                                [&] { mine->changePassword("tajne"); }}) {
            try {
                exclusiveStep();
                ADD_FAILURE() << "the file was taken exclusively while another workstation had it open";
            } catch (const AppError& e) {
                EXPECT_EQ(e.number(), err::kFileInUse);
            }
        }
        mine.reset();
        if (killed)
            other.kill();
        else
            other.closeWriteChannel();
        ASSERT_TRUE(other.waitForFinished(10000));
        EXPECT_NO_THROW(db::Database::open(path(), QString(), {.exclusive = true}));
    }
    EXPECT_TRUE(db::isPlainDatabaseFile(path()));
    EXPECT_FALSE(QFile::exists(db::PresenceLock::companionPath(path())));  // the last one out removed it
}

TEST_F(DatabaseTest, ExclusiveOpeningIsRefusedWhileAnotherProcessReadsAndWritersWaitForEachOther)
{
    fresh();
    {
        OtherProcess reader(path(), "BEGIN; SELECT count(*) FROM sqlite_master;");
        if (!reader.ready()) GTEST_SKIP() << "the sqlcipher shell is needed to play another workstation";
        try {
            db::Database::open(path(), QString(), {.exclusive = true});
            FAIL();
        } catch (const AppError& e) {
            EXPECT_EQ(e.number(), err::kFileInUse);
        }
    }
    // A writer there holds its transaction; a writer here waits for it instead of failing.
    OtherProcess writer(path(), "BEGIN IMMEDIATE; INSERT INTO t (Kwota) VALUES (1);");
    ASSERT_TRUE(writer.ready());
    auto d = db::Database::open(path(), QString(), {.busyTimeoutMs = 200});
    try {
        db::Transaction tr(*d);
        FAIL();
    } catch (const AppError& e) {
        EXPECT_EQ(e.number(), err::kTableLocked);
    }
    ASSERT_TRUE(writer.run("COMMIT;"));
    db::Transaction tr(*d);
    d->execute("INSERT INTO t (Kwota) VALUES (2)");
    tr.commit();
    EXPECT_EQ(d->scalar("SELECT count(*) FROM t").toInt(), 2);
}

}  // namespace
