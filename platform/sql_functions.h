#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

struct sqlite3;

namespace db {

// Registers on a connection what the program's SQL expects of its old engine: Val, Year, Month,
// Day, Left, Right, Mid, Len, Format (dates), a LIKE that understands both the old wildcards
// (* ? # [a-z] [!0-9]) and the standard ones (% _), and a collation "PL"; LIKE and the
// collation ignore case for Polish letters, and the collation orders them as the alphabet does.
// LEFT and RIGHT are words of this engine's grammar: call them bracketed, [Left](Nazwa, 1).
// The collation is the program's own: statements name it where they need it
// ("ORDER BY Nazkon COLLATE PL"), and no table or index of a file may be declared with it, or
// other SQLite tools could not read the file.
void registerSqlFunctions(sqlite3* db);

// The collation's comparison, for code that sorts texts the way the database does.
int comparePolish(QStringView a, QStringView b);
inline int comparePolish(const QString& a, const QString& b)
{
    return comparePolish(QStringView(a), QStringView(b));
}
// A key whose byte order is the collation's order (equal keys: texts the collation finds equal),
// for sorting and grouping many texts without comparing them again and again.
QByteArray polishSortKey(const QString& text);
// The same key of a UTF-8 text appended to `key`: many texts' keys kept one after another
// without a buffer each.
void appendPolishSortKey(QByteArrayView utf8, QByteArray& key);
// The collation's comparison of two UTF-8 texts.
int comparePolishUtf8(QByteArrayView a, QByteArrayView b);

}  // namespace db
