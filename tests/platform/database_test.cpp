#include "platform/database.h"
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct DatabaseTest : ::testing::Test {
    QTemporaryDir dir;
    QString path(const QString& n = "t.mdb") const { return dir.filePath(n); }
    std::unique_ptr<db::Database> fresh()
    {
        auto d = db::Database::create(path());
        d->executeScript("CREATE TABLE t (Numer TEXT COLLATE PL, Kwota CURRENCY, Data DATETIME)");
        return d;
    }
};

TEST_F(DatabaseTest, BindsValuesSoQuotesCannotRewriteTheStatement)
{
    auto d = fresh();
    QString evil = "O'Brien'); DROP TABLE t; --";
    d->execute("INSERT INTO t (Numer, Kwota, Data) VALUES (?, ?, ?)", {evil, *Decimal::parse("1,23"), QDate(2026, 3, 4)});
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
        EXPECT_EQ(e.number(), db::kNoSuchTable);
    }
    d->executeScript("CREATE UNIQUE INDEX u ON t (Numer)");
    d->execute("INSERT INTO t (Numer) VALUES ('1')");
    try {
        d->execute("INSERT INTO t (Numer) VALUES ('1')");
        FAIL();
    } catch (const AppError& e) {
        EXPECT_EQ(e.number(), db::kDuplicateKey);
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
    EXPECT_EQ(d->scalar("SELECT count(*) FROM t WHERE Numer = 'łódź'").toInt(), 2);
    EXPECT_EQ(d->scalar("SELECT count(*) FROM t WHERE Numer LIKE 'ŁÓ%'").toInt(), 2);
    auto rows = d->query("SELECT Numer FROM t WHERE Val(Numer) = 0 ORDER BY Numer");
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
        EXPECT_EQ(e.number(), db::kNotValidPassword);
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

TEST_F(DatabaseTest, ExclusiveOpeningRefusesAnotherConnection)
{
    fresh();
    auto holder = db::Database::open(path(), QString(), {.exclusive = true});
    try {
        db::Database::open(path(), QString(), {.busyTimeoutMs = 100});
        FAIL();
    } catch (const AppError& e) {
        EXPECT_EQ(e.number(), db::kFileInUse);
    }
}

} // namespace

#include "support/other_process.h"
namespace {
TEST(DatabaseProcesses, ExclusiveOpeningIsRefusedWhileAnotherProcessReads)
{
    QTemporaryDir dir;
    QString p = dir.filePath("x.mdb");
    db::Database::create(p)->executeScript("CREATE TABLE t (a); INSERT INTO t VALUES (1);");
    OtherProcess other(p, "BEGIN; SELECT count(*) FROM t;");
    ASSERT_TRUE(other.ready());
    EXPECT_THROW(db::Database::open(p, QString(), {.exclusive = true}), AppError);
}
}
