#include "core/base_upgrade.h"
#include "core/app.h"
#include "core/base_connect.h"
#include "core/shared_procs.h"
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
         {{"dodok", "Fundusz", "TEXT(100) COLLATE PL", nullptr},
          {"fadok", "Fundusz", "TEXT(100) COLLATE PL", nullptr}}},
    };
    return g;
}

} // namespace

bool BaseUpgrade(App& app, db::Database& db, const QString& fileName, int storedMajor, int storedMinor)
{
    StatusInfo(QStringLiteral("Aktualizacja struktury bazy: ") + fileName + QStringLiteral("..."));
    const StructureVersion program = ProgramVersion(app);
    const std::pair<int, int> stored{storedMajor, storedMinor};
    try {
        db::Transaction tr(db);
        for (const Group& group : groups()) {
            if (!(stored < group.before)) continue;
            for (const NewColumn& c : group.columns) {
                QString table = QString::fromLatin1(c.table), column = QString::fromLatin1(c.column);
                if (db.columnExists(table, column)) continue;
                db.execute(QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 %3").arg(table, column, QString::fromLatin1(c.type)));
                if (c.fill)
                    db.execute(QStringLiteral("UPDATE %1 SET %2 = %3").arg(table, column, QString::fromLatin1(c.fill)));
            }
        }
        // Never write a lower version over a newer file's.
        if (stored < std::pair<int, int>{program.major, program.minor})
            db.execute(QStringLiteral("UPDATE dbprg SET VerMajor = ?, VerMinor = ?, VerRevision = ? WHERE Indprg = ?"),
                       {program.major, program.minor, program.revision, app.gProgramKod});
        tr.commit();
    } catch (const AppError& e) {
        StatusInfo(QString());
        ui::msgBox(QStringLiteral("Aktualizacja bazy: ") + fileName +
                       QStringLiteral(" nie powiodła się. Zamknij wszyskie programy korzystające z bazy i spróbuj ponownie."),
                   ui::Buttons::Ok, ui::Icon::Critical, e.description());
        return false;
    }
    StatusInfo(QString());
    return true;
}
