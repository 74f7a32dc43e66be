#pragma once
#include <QString>
#include <utility>

struct sqlite3;

// The engine's failures in the program's terms, shared by the files of the database layer.
namespace db {

extern const QString kDamagedText;
extern const QString kChangedText;

// A connection that met a damaged page reads and writes nothing more.
[[noreturn]] void refuseDamaged(const QString& sql);

QString engineMessage(sqlite3* h);

// Our error number and Polish description for an engine result code.
std::pair<long, QString> translate(int code, const QString& msg);

}  // namespace db
