#pragma once
#include <QString>
#include <QStringList>

// Builds a database file of an older structure version (2.0, 3.0 ... 3.4): the tables as that
// version had them, the "FR" row of dbprg with the version, and one stored invoice, its
// positions and a buffered header, so that an upgrade has rows to fill.
void makeOldStructure(const QString& path, int major, int minor);

// Column names of a table, in order.
QStringList storedColumns(const QString& path, const QString& table);
