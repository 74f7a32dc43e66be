#pragma once

#include <QString>

struct sqlite3;

namespace db {

// Registers on a connection what the program's SQL expects of its old engine: Val, Year, Month,
// Day, a LIKE and a collation "PL" that ignore case for Polish letters and order them as the
// Polish alphabet does.
void registerSqlFunctions(sqlite3* db);

// The collation's comparison, for code that sorts texts the way the database does.
int comparePolish(const QString& a, const QString& b);

} // namespace db
