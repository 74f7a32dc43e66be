#pragma once
#include <QString>

class App;
namespace db {
class Database;
}

// Brings an older database structure up to the one this program needs and records the
// program's version in dbprg. `db` must be open exclusively; `fileName` names the file in
// messages. Everything runs in one transaction: on failure nothing is changed, a message says
// so and the result is false. A column that is already there is left as it is.
bool BaseUpgrade(App& app, db::Database& db, const QString& fileName, int storedMajor, int storedMinor);
