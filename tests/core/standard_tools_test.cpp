#include "documents/save.h"
#include "support/document_fixture.h"
#include "support/temp_database.h"
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

// An office checks, queries and exports its database file with standard SQLite tools: a plain
// sqlite3 shell for an unprotected file, the sqlcipher shell after the key for a protected one.

namespace {

const QStringList kTables = {"fadok", "dodok", "fapoz", "dopoz", "dokor", "dbprg", "dbpar", "dbbin", "dboso", "dbupr"};

// Runs an SQLite shell (installed by scripts/install-deps.sh) on `file` with `sql` as its input
// and gives its output lines; a statement the shell cannot run fails the test.
QStringList runShell(const QString& program, const QString& file, const QString& sql)
{
    const QString exe = QStandardPaths::findExecutable(program);
    if (exe.isEmpty()) {
        ADD_FAILURE() << program.toStdString() << " is not installed";
        return {};
    }
    QProcess p;
    p.start(exe, {"-batch", "-bail", file});
    p.write(sql.toUtf8());
    p.closeWriteChannel();
    EXPECT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    return QString::fromUtf8(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
}

// What the office runs: the check, a count of every table, a filter on a text column (written in
// other letter case than stored) and the stored numbers in order.
const QString kOfficeScript = [] {
    QString sql = "PRAGMA integrity_check;\n";
    for (const QString& t : kTables) sql += QStringLiteral("SELECT '%1', count(*) FROM %1;\n").arg(t);
    sql += "SELECT 'filtr', count(*) FROM fadok WHERE Nazkon = 'ADAM KOWAL';\n"
           "SELECT 'numer', Numer FROM fadok ORDER BY Numer;\n";
    return sql;
}();

struct StandardTools : ::testing::Test {
    TempDatabase t;
    Replies replies{t.app};

    void store(const QString& numer, const QString& nazkon)
    {
        DocHeader h = invoiceHeader(numer);
        h.Nazkon = nazkon;
        bufferDocument(t.app, h, {{"Pszenica", "10", "kg", "800,00", "7"}, {"Żyto", "2", "t", "1,00", "7"}});
        const SaveResult saved = saveBuffered(t.app);
        ASSERT_TRUE(saved.ok) << (saved.fault ? saved.fault->message.toStdString() : replies.lastError.toStdString());
    }
    // The lines the office script should print, as the program itself counts the tables.
    QStringList expected(db::Database& d, const QStringList& numbers)
    {
        QStringList lines{"ok"};
        for (const QString& table : kTables)
            lines << QStringLiteral("%1|%2").arg(table).arg(
                d.scalar(QStringLiteral("SELECT count(*) FROM %1").arg(table)).toInt());
        lines << QStringLiteral("filtr|%1").arg(numbers.isEmpty() ? 0 : 1);
        for (const QString& n : numbers) lines << "numer|" + n;
        return lines;
    }
};

}  // namespace

TEST_F(StandardTools, APlainShellChecksCountsFiltersAndOrdersTheTemplateAndAWrittenFile)
{
    {
        SCOPED_TRACE("template");
        EXPECT_EQ(runShell("sqlite3", TempDatabase::templatePath(), kOfficeScript), expected(t.db(), {}));
    }
    store("2/05/2024", QString::fromUtf8("Łucja Żak"));
    store("10/05/2024", "Adam Kowal");
    store("1/05/2024", "Zenon Ącki");
    t.app.gBaseDb.reset();  // the program has closed the file
    auto d = db::Database::open(t.path);
    SCOPED_TRACE("file with stored documents");
    EXPECT_EQ(runShell("sqlite3", t.path, kOfficeScript), expected(*d, {"1/05/2024", "10/05/2024", "2/05/2024"}));
    EXPECT_GT(d->scalar("SELECT count(*) FROM fapoz").toInt(), 0);
}

TEST_F(StandardTools, AProtectedFileOpensInTheSqlcipherShellWithItsKey)
{
    store("1/05/2024", "Adam Kowal");
    t.db().changePassword("tajne");
    t.app.gBaseDb.reset();
    auto d = db::Database::open(t.path, "tajne");
    EXPECT_EQ(runShell("sqlcipher", t.path, "PRAGMA key = 'tajne';\n" + kOfficeScript), expected(*d, {"1/05/2024"}));
}

// The program compares and orders as it did when the file declared the Polish collation: numbers
// and keys without case through their indexes, Polish order and Polish letters without case where
// a statement names the collation.
TEST_F(StandardTools, TheProgramsOwnComparisonsAndOrderAreKept)
{
    store("A/1", QString::fromUtf8("Łucja Żak"));
    store("B/1", "Zenon Kowal");
    store("C/1", QString::fromUtf8("Ćma Bąk"));
    store("D/1", "cyprian Nowak");
    db::Database& d = t.db();

    // One number whatever its letter case: found, and never stored twice.
    EXPECT_EQ(d.scalar("SELECT Nazkon FROM fadok WHERE Numer = ?", {"a/1"}).toText(), QString::fromUtf8("Łucja Żak"));
    try {
        d.execute("INSERT INTO fadok (Numer) VALUES ('b/1')");
        ADD_FAILURE() << "a number differing only in letter case was stored";
    } catch (const AppError& e) {
        EXPECT_EQ(e.number(), err::kDuplicateKey);
    }
    // Those lookups use their indexes (a statement whose collation differs from its index's
    // would read the whole table).
    for (auto [sql, index] : {std::pair{"SELECT * FROM fadok WHERE Numer = ?", "fadok_numer"},
                              std::pair{"SELECT * FROM fapoz WHERE Numer = ?", "fapoz_numer"},
                              std::pair{"SELECT Numer FROM fadok WHERE KorNumer = ?", "fadok_kornumer"},
                              std::pair{"SELECT Wartosc FROM dbpar WHERE Indpar = ?", "sqlite_autoindex_dbpar_1"}}) {
        SCOPED_TRACE(sql);
        QString plan;
        for (auto& r : d.query(QStringLiteral("EXPLAIN QUERY PLAN %1").arg(QString::fromLatin1(sql)), {"x"}))
            plan += r.text("detail");
        EXPECT_TRUE(plan.contains(QString::fromLatin1(index))) << plan.toStdString();
    }

    QStringList names;
    for (auto& r : d.query("SELECT Nazkon FROM fadok ORDER BY Nazkon COLLATE PL")) names << r.text("Nazkon");
    EXPECT_EQ(names, QStringList({"cyprian Nowak", QString::fromUtf8("Ćma Bąk"), QString::fromUtf8("Łucja Żak"),
                                  "Zenon Kowal"}));
    EXPECT_EQ(
        d.scalar("SELECT Numer FROM fadok WHERE Nazkon = ? COLLATE PL", {QString::fromUtf8("ŁUCJA ŻAK")}).toText(),
        "A/1");
}
