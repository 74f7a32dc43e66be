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
