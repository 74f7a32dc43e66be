#include "core/base_upgrade.h"
#include "support/old_structure.h"
#include "support/scoped_responder.h"
#include "support/temp_database.h"
#include <QMap>
#include <gtest/gtest.h>

namespace {

struct BaseUpgradeTest : ::testing::Test {
    TempDatabase t;  // the template: the structure every upgrade must reach
    ScopedResponder r;
    QString old = t.dir.filePath("Stara.mdb");

    bool upgrade(int major, int minor)
    {
        makeOldStructure(old, major, minor);
        auto d = db::Database::open(old, QString(), {.exclusive = true});
        return BaseUpgrade(t.app, *d, "Stara.mdb", major, minor);
    }
    // How the document tables declare each column ("fadok.numer" -> "TEXT COLLATE NOCASE") and
    // how each of their indexes orders ("fadok_numer" -> "unique Numer NOCASE").
    static std::string declarations(const QString& path)
    {
        auto d = db::Database::open(path);
        QMap<QString, QString> out;
        const QStringList tables = {"fadok", "dodok", "fapoz", "dopoz", "dokor"};
        for (auto& r : d->query("SELECT type, name, tbl_name, sql FROM sqlite_master WHERE sql IS NOT NULL")) {
            if (!tables.contains(r.text("tbl_name"))) continue;
            const QString sql = r.text("sql");
            if (r.text("type") == "table") {
                const int open = sql.indexOf('(');
                for (const QString& c : sql.mid(open + 1, sql.lastIndexOf(')') - open - 1).split(',')) {
                    const QString s = c.simplified();
                    out[r.text("name") + "." + s.section(' ', 0, 0).toLower()] = s.section(' ', 1).toUpper();
                }
            } else {
                QString how = sql.contains("UNIQUE", Qt::CaseInsensitive) ? "unique" : "";
                for (auto& k : d->query(QStringLiteral("PRAGMA index_xinfo(%1)").arg(r.text("name"))))
                    if (k.integer("key")) how += " " + k.text("name") + " " + k.text("coll");
                out[r.text("name")] = how;
            }
        }
        QString text;
        for (auto it = out.begin(); it != out.end(); ++it) text += it.key() + ": " + it.value() + "\n";
        return text.toStdString();
    }
};

TEST_F(BaseUpgradeTest, EveryOlderVersionReachesTheTemplatesColumnsAndVersion)
{
    for (auto [major, minor] : {std::pair{2, 0}, std::pair{2, 9}, std::pair{3, 0}, std::pair{3, 1}, std::pair{3, 2},
                                std::pair{3, 3}, std::pair{3, 4}}) {
        SCOPED_TRACE(QStringLiteral("%1.%2").arg(major).arg(minor).toStdString());
        QFile::remove(old);
        ASSERT_TRUE(upgrade(major, minor));
        // The same columns, types, collations and indexes as the template: nothing that a
        // standard SQLite tool would not know.
        EXPECT_EQ(declarations(old), declarations(t.path));
        // A buffer and its stored table keep one column order.
        EXPECT_EQ(storedColumns(old, "dodok"), storedColumns(old, "fadok"));
        EXPECT_EQ(storedColumns(old, "dopoz"), storedColumns(old, "fapoz"));
        EXPECT_EQ(storedColumns(old, "dokor"), storedColumns(old, "fapoz"));
        auto d = db::Database::open(old);
        auto v = d->queryOne("SELECT VerMajor, VerMinor, VerRevision FROM dbprg WHERE Indprg = 'FR'");
        EXPECT_EQ(v->integer("VerMajor") * 10000 + v->integer("VerMinor") * 100 + v->integer("VerRevision"), 30512);
        EXPECT_EQ(d->scalar("SELECT VerMajor FROM dbprg WHERE Indprg = 'FA'").toInt(), 9);
        // The unique document number guards the save on upgraded files too.
        EXPECT_EQ(d->scalar("SELECT count(*) FROM sqlite_master WHERE type = 'index' AND name = 'fadok_numer'").toInt(),
                  1);
    }
    EXPECT_TRUE(r.seen.empty());
}

TEST_F(BaseUpgradeTest, Version2RowsGetWorkstationZeroAndAmountToPayEqualToGross)
{
    ASSERT_TRUE(upgrade(2, 0));
    auto d = db::Database::open(old);
    for (auto table : {"fadok", "dodok", "fapoz", "dopoz", "dokor"})
        EXPECT_EQ(d->scalar(QStringLiteral("SELECT count(*) FROM %1 WHERE Stanowisko = 0").arg(table)).toInt(), 1)
            << table;
    for (auto table : {"fadok", "dodok"}) {
        auto row = d->queryOne(QStringLiteral("SELECT * FROM %1").arg(table));
        EXPECT_EQ(row->decimal("DoZaplaty"), Decimal(123));
        EXPECT_TRUE(row->isNull("Potracenie"));
        EXPECT_TRUE(row->isNull("Zaplacono"));
        EXPECT_TRUE(row->isNull("Fundusz"));
    }
    // Documents still copy from the buffer with SELECT *; a stored number stays unique.
    EXPECT_THROW(d->execute("INSERT INTO fadok SELECT * FROM fadok"), AppError);
    d->execute("DELETE FROM fadok");
    d->execute("INSERT INTO fadok SELECT * FROM dodok WHERE Stanowisko = 0");
    EXPECT_EQ(d->scalar("SELECT DoZaplaty FROM fadok").toDecimal(), Decimal(123));
}

TEST_F(BaseUpgradeTest, Version34GetsOnlyTheVersionAndNewerFilesAreNotTouched)
{
    ASSERT_TRUE(upgrade(3, 4));
    auto cols = storedColumns(old, "fadok");
    QFile::remove(old);
    makeOldStructure(old, 3, 4);
    EXPECT_EQ(storedColumns(old, "fadok"), cols);

    QFile::remove(old);
    makeOldStructure(old, 4, 0);
    {
        auto d = db::Database::open(old, QString(), {.exclusive = true});
        EXPECT_TRUE(BaseUpgrade(t.app, *d, "Stara.mdb", 4, 0));
    }
    EXPECT_EQ(db::Database::open(old)->scalar("SELECT VerMajor * 10 + VerMinor FROM dbprg WHERE Indprg = 'FR'").toInt(),
              40);
}

TEST_F(BaseUpgradeTest, AColumnAlreadyThereIsSkipped)
{
    makeOldStructure(old, 3, 1);
    {
        auto d = db::Database::open(old);
        d->execute("ALTER TABLE dodok ADD COLUMN Potracenie CURRENCY");
        d->execute("ALTER TABLE fadok ADD COLUMN Potracenie CURRENCY");
        d->execute("UPDATE fadok SET Potracenie = 10000");
    }
    auto d = db::Database::open(old, QString(), {.exclusive = true});
    ASSERT_TRUE(BaseUpgrade(t.app, *d, "Stara.mdb", 3, 1));
    EXPECT_EQ(d->scalar("SELECT Potracenie FROM fadok").toDecimal(), Decimal(1));
    EXPECT_EQ(d->scalar("SELECT DoZaplaty FROM fadok").toDecimal(), Decimal(123));
}

TEST_F(BaseUpgradeTest, ABufferWithColumnsInAnotherOrderIsRebuiltWithItsRows)
{
    makeOldStructure(old, 3, 1);
    {
        auto d = db::Database::open(old);
        d->executeScript("CREATE INDEX dodok_st ON dodok (Stanowisko)");
        d->execute("ALTER TABLE dodok ADD COLUMN DoZaplaty CURRENCY");  // half of a step done elsewhere
        d->execute("UPDATE dodok SET DoZaplaty = 50000");
    }
    auto d = db::Database::open(old, QString(), {.exclusive = true});
    ASSERT_TRUE(BaseUpgrade(t.app, *d, "Stara.mdb", 3, 1));
    d.reset();
    EXPECT_EQ(storedColumns(old, "dodok"), storedColumns(old, "fadok"));
    auto check = db::Database::open(old);
    EXPECT_EQ(check->scalar("SELECT DoZaplaty FROM dodok").toDecimal(), Decimal(5));
    EXPECT_EQ(check->scalar("SELECT Numer FROM dodok").toText(), "1/05/2020");
    EXPECT_EQ(check->scalar("SELECT count(*) FROM sqlite_master WHERE name = 'dodok_st'").toInt(), 1);
}

TEST_F(BaseUpgradeTest, AFailedStepChangesNothingAndSaysSo)
{
    makeOldStructure(old, 2, 0);
    db::Database::open(old)->executeScript(
        "CREATE TRIGGER stop BEFORE UPDATE ON dbprg BEGIN SELECT RAISE(ABORT, 'zablokowane'); END");
    auto columns = storedColumns(old, "fadok");
    {
        auto d = db::Database::open(old, QString(), {.exclusive = true});
        EXPECT_FALSE(BaseUpgrade(t.app, *d, "Stara.mdb", 2, 0));
    }
    ASSERT_EQ(r.seen.size(), 1u);
    EXPECT_EQ(r.seen[0].text,
              QString::fromUtf8("Aktualizacja bazy: Stara.mdb nie powiodła się. Zamknij wszyskie programy "
                                "korzystające z bazy i spróbuj ponownie."));
    EXPECT_EQ(r.seen[0].icon, ui::Icon::Critical);
    // The error's description, in the program's words: the engine's stay in the details and the log.
    EXPECT_EQ(r.seen[0].title, QString::fromUtf8("Baza danych nie przyjęła zmiany."));
    EXPECT_EQ(storedColumns(old, "fadok"), columns);
    EXPECT_EQ(db::Database::open(old)->scalar("SELECT VerMajor FROM dbprg WHERE Indprg = 'FR'").toInt(), 2);
}

}  // namespace
