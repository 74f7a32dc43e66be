#include "documents/doc_header.h"
#include "documents/positions.h"
#include "support/temp_database.h"
#include <gtest/gtest.h>

// The template holds the tables the program works with, and the documents' tables exactly the
// columns that the program's statements write (a column missing from either side breaks a save).
TEST(Template, TablesAndColumnsAreExactlyThoseOfTheProgram)
{
    TempDatabase t;
    QStringList tables;
    for (auto& r : t.db().query("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name"))
        tables << r.text("name");
    EXPECT_EQ(tables, QStringList({"dbbin", "dboso", "dbpar", "dbprg", "dbupr", "dodok", "dokor", "dopopr", "dopoz",
                                   "fadok", "fapoz"}));
    auto columns = [&](const QString& table) {
        QStringList c;
        for (auto& r : t.db().query(QStringLiteral("PRAGMA table_info(%1)").arg(table))) c << r.text("name");
        return c;
    };
    // The buffers have the stored positions' columns; the program keys their rows by the workstation alone.
    const QStringList positions = PositionKey::columns() + Position::columns();
    for (const auto& [table, expected] : {std::pair{QString("fadok"), DocHeader::columns()},
                                          {"dodok", DocHeader::columns()},
                                          {"dopoz", positions},
                                          {"dokor", positions},
                                          {"fapoz", positions}}) {
        SCOPED_TRACE(table.toStdString());
        QStringList have = columns(table), want = expected;
        have.sort();
        want.sort();
        EXPECT_EQ(have.join(' ').toStdString(), want.join(' ').toStdString());
    }
    auto fr = t.db().query("SELECT * FROM dbprg");
    ASSERT_EQ(fr.size(), 1u);
    EXPECT_EQ(fr[0].text("Indprg"), "FR");
    EXPECT_EQ(QStringLiteral("%1.%2.%3").arg(fr[0].text("VerMajor"), fr[0].text("VerMinor"), fr[0].text("VerRevision")),
              t.app.version);
    for (auto table : {"fadok", "dodok", "fapoz", "dopoz", "dokor", "dbpar", "dbbin"})
        EXPECT_EQ(t.db().scalar(QStringLiteral("SELECT count(*) FROM %1").arg(table)).toInt(), 0) << table;
    EXPECT_EQ(t.db().scalar("PRAGMA journal_mode").toText(), "delete");
}
