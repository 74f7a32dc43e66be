#pragma once
#include <QString>
#include <optional>

class App;

// The settings kept per user under the program's key, and the settings cache through which
// most program settings pass (read once, written back together at exit).

inline const QString kRegFamilyKey = QStringLiteral("SOFTWARE\\Brenik Software\\Wirlan3");

void RegKeyCreate(const QString& keyPath);
// Empty when the key or the value is missing.
std::optional<QString> RegValueRead(const QString& keyPath, const QString& name);
// Writes only into an existing key.
void RegValueWrite(const QString& keyPath, const QString& name, const QString& value);
// Creates the key when needed and writes the value.
void RegSave(const QString& keyPath, const QString& name, const QString& value);
// The stored value; a missing one is stored with the default (when the key exists) and returned.
QString RegRead(const QString& keyPath, const QString& name, const QString& defaultValue);

// The family key exists and the cache starts empty.
void RegPakietKeyCreate(App& app);
// Sets the program key and rewrites "Wersja" and "ProgramFolder" (creating the key on first run).
void RegPakietKeyOpen(App& app);

// The cache: the first read of a name reads the store (storing the default when missing);
// later reads and every save stay in memory until RegParSaveAll writes all entries in the
// order in which their names first entered the cache.
QString RegParRead(App& app, const QString& name, const QString& defaultValue);
void RegParSave(App& app, const QString& name, const QString& value);
void RegParSaveAll(App& app);

// The file name of a database path without its four-character extension ("C:\Dane\Firma.mdb"
// gives "Firma"): the database's name in captions, messages and the names of its copies. Either
// separator counts; a file name shorter than an extension gives no name.
QString BaseNameFromPath(const QString& path);
// Only the digits, "." and "-" of a text, in order.
QString DigitsOnly(const QString& text);

// The number a text begins with (blanks first allowed, "." the decimal mark), rounded to the
// nearest whole number, halves to even; 0 when the text begins with no number. Empty when the
// result lies outside [minimum, maximum].
std::optional<qint64> numericValue(const QString& text, qint64 minimum, qint64 maximum);
