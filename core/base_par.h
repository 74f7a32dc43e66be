#pragma once
#include <QString>

class App;
namespace db {
class Database;
}

// Parameters kept inside a database file (table dbpar). A missing parameter is stored with the
// default on its first read, so later reads agree whatever default they pass.
// On a database error both report it and return "" / false.
QString BaseParRead(App& app, db::Database& db, const QString& indpar, const QString& defaultValue);
bool BaseParSave(App& app, db::Database& db, const QString& indpar, const QString& wartosc);

// While a file is being opened nothing is written to it: from holdDefaults until
// storeHeldDefaults, a parameter missing in the file `path` is given its default without storing
// it (a later read gets the same one); storeHeldDefaults stores them in one transaction, once
// the opening's reads found the file sound, and dropHeldDefaults forgets them.
void holdDefaults(App& app, const QString& path);
void storeHeldDefaults(App& app, db::Database& db);
void dropHeldDefaults(App& app);
