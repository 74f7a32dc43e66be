#include "core/base_upgrade.h"
#include "core/app.h"
#include "core/shared_procs.h"
#include "core/structure_version.h"
#include "platform/database.h"
#include "platform/message_box.h"
#include <utility>
#include <vector>

namespace {

struct NewColumn {
    const char* table;
    const char* column;
    const char* type;
    const char* fill;  // value for the rows already there, or nullptr
};

// The columns each structure version added, by the version that brought them. Within a group
// a header column goes to dodok and fadok in the same order, so that a buffer and its stored
// table keep identical column order (documents are copied between them with SELECT *).
struct Group {
    std::pair<int, int> before;  // run for structures older than this
    std::vector<NewColumn> columns;
};

const std::vector<Group>& groups()
{
    static const std::vector<Group> g = {
        {{3, 0},
         {{"dodok", "Zaplacono", "CURRENCY", nullptr},
          {"fadok", "Zaplacono", "CURRENCY", nullptr},
          {"dodok", "Stanowisko", "SHORT", "0"},
          {"dokor", "Stanowisko", "SHORT", "0"},
          {"dopoz", "Stanowisko", "SHORT", "0"},
          {"fadok", "Stanowisko", "SHORT", "0"},
          {"fapoz", "Stanowisko", "SHORT", "0"}}},
        // 3.1 let the texts of dopoz be empty; this file format has no such restriction.
        {{3, 2},
         {{"dodok", "Potracenie", "CURRENCY", nullptr},
          {"dodok", "DoZaplaty", "CURRENCY", "RazBrutto"},
          {"fadok", "Potracenie", "CURRENCY", nullptr},
          {"fadok", "DoZaplaty", "CURRENCY", "RazBrutto"}}},
        {{3, 4},
         {{"dodok", "Fundusz", "TEXT(100) COLLATE NOCASE", nullptr},
          {"fadok", "Fundusz", "TEXT(100) COLLATE NOCASE", nullptr}}},
    };
    return g;
}

QStringList columnsOf(db::Database& db, const QString& table)
{
    QStringList names;
    for (auto& r : db.query(QStringLiteral("PRAGMA table_info(%1)").arg(table))) names << r.text("name").toLower();
    return names;
}

// A file that had some of the new columns already may hold a buffer whose columns stand in
// another order than its stored table's; documents are copied with SELECT *, so the buffer is
// rebuilt with the stored table's definition, its rows and indexes kept.
void alignColumnOrder(db::Database& db, const QString& stored, const QString& buffer)
{
    QStringList want = columnsOf(db, stored), have = columnsOf(db, buffer);
    if (want == have) return;
    QStringList a = want, b = have;
    a.sort();
    b.sort();
    if (a != b) return;  // not the same columns: nothing to reorder
    QString definition =
        db.scalar(QStringLiteral("SELECT sql FROM sqlite_master WHERE type = 'table' AND name = ?"), {stored}).toText();
    QStringList indexes;
    for (auto& r : db.query(
             QStringLiteral("SELECT sql FROM sqlite_master WHERE type = 'index' AND tbl_name = ? AND sql IS NOT NULL"),
             {buffer}))
        indexes << r.text("sql");
    const QString tmp = buffer + QStringLiteral("_nowa");
    const QString list = want.join(QStringLiteral(", "));
    db.execute(QStringLiteral("CREATE TABLE %1 %2").arg(tmp, definition.mid(definition.indexOf('('))));
    db.execute(QStringLiteral("INSERT INTO %1 (%2) SELECT %2 FROM %3").arg(tmp, list, buffer));
    db.execute(QStringLiteral("DROP TABLE %1").arg(buffer));
    db.execute(QStringLiteral("ALTER TABLE %1 RENAME TO %2").arg(tmp, buffer));
    for (const QString& index : indexes) db.execute(index);
}

// Older files lack the indexes of the template (resources/schema.sql): the unique document
// number guards the save, the others keep the lists and buffers fast. An old file that already
// holds a repeated number keeps working without the unique index; the save checks numbers too.
void addMissingIndexes(db::Database& db)
{
    static const char* const indexes[] = {
        "CREATE UNIQUE INDEX IF NOT EXISTS fadok_numer ON fadok (Numer)",
        "CREATE INDEX IF NOT EXISTS fadok_datawyst ON fadok (Datawyst)",
        "CREATE INDEX IF NOT EXISTS fadok_kornumer ON fadok (KorNumer)",
        "CREATE INDEX IF NOT EXISTS fadok_kontrahent ON fadok (Nazkon COLLATE BINARY, Adrkon COLLATE BINARY, "
        "Nipkon COLLATE BINARY, Nazdok COLLATE BINARY, Numdok COLLATE BINARY, Datadok COLLATE BINARY, "
        "Wyddok COLLATE BINARY, PlatRach COLLATE BINARY)",
        "CREATE INDEX IF NOT EXISTS fadok_platfor ON fadok (PlatFor COLLATE BINARY)",
        "CREATE INDEX IF NOT EXISTS fadok_platter ON fadok (PlatTer COLLATE BINARY)",
        "CREATE INDEX IF NOT EXISTS fadok_uwagi ON fadok (Uwagi COLLATE BINARY)",
        "CREATE INDEX IF NOT EXISTS fadok_wystawil ON fadok (Wystawil COLLATE BINARY)",
        "CREATE INDEX IF NOT EXISTS dodok_stanowisko ON dodok (Stanowisko)",
        "CREATE INDEX IF NOT EXISTS fapoz_numer ON fapoz (Numer, Inddok)",
        "CREATE INDEX IF NOT EXISTS fapoz_produkt ON fapoz (Nazwa COLLATE BINARY, Indjed COLLATE BINARY, "
        "Indvat COLLATE BINARY, Cenanet)",
        "CREATE INDEX IF NOT EXISTS fapoz_indjed ON fapoz (Indjed COLLATE BINARY)",
        "CREATE INDEX IF NOT EXISTS fapoz_indvat ON fapoz (Indvat COLLATE BINARY)",
        "CREATE INDEX IF NOT EXISTS dopoz_stanowisko ON dopoz (Stanowisko, Pozycja)",
        "CREATE INDEX IF NOT EXISTS dokor_stanowisko ON dokor (Stanowisko, Pozycja)",
    };
    for (const char* sql : indexes) {
        try {
            db.execute(QString::fromLatin1(sql));
        } catch (const AppError& e) {
            if (e.number() != err::kDuplicateKey) throw;
        }
    }
}

}  // namespace

bool BaseUpgrade(App& app, db::Database& db, const QString& fileName, int storedMajor, int storedMinor)
{
    StatusInfo(QStringLiteral("Aktualizacja struktury bazy: ") + fileName + QStringLiteral("..."));
    const StructureVersion program = programVersion(app);
    const std::pair<int, int> stored{storedMajor, storedMinor};
    try {
        db::Transaction tr(db);
        for (const Group& group : groups()) {
            if (!(stored < group.before)) continue;
            for (const NewColumn& c : group.columns) {
                QString table = QString::fromLatin1(c.table), column = QString::fromLatin1(c.column);
                if (db.columnExists(table, column)) continue;
                db.execute(
                    QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 %3").arg(table, column, QString::fromLatin1(c.type)));
                if (c.fill)
                    db.execute(QStringLiteral("UPDATE %1 SET %2 = %3").arg(table, column, QString::fromLatin1(c.fill)));
            }
        }
        alignColumnOrder(db, QStringLiteral("fadok"), QStringLiteral("dodok"));
        alignColumnOrder(db, QStringLiteral("fapoz"), QStringLiteral("dopoz"));
        alignColumnOrder(db, QStringLiteral("fapoz"), QStringLiteral("dokor"));
        addMissingIndexes(db);
        // Never write a lower version over a newer file's.
        if (stored < std::pair<int, int>{program.major, program.minor})
            db.execute(QStringLiteral("UPDATE dbprg SET VerMajor = ?, VerMinor = ?, VerRevision = ? WHERE Indprg = ?"),
                       {program.major, program.minor, program.revision, app.gProgramKod});
        tr.commit();
    } catch (const AppError& e) {
        StatusInfo(QString());
        ui::msgBox(
            QStringLiteral("Aktualizacja bazy: ") + fileName +
                QStringLiteral(" nie powiodła się. Zamknij wszyskie programy korzystające z bazy i spróbuj ponownie."),
            ui::Buttons::Ok, ui::Icon::Critical, e.description());
        return false;
    }
    StatusInfo(QString());
    return true;
}
