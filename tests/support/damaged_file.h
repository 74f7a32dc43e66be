#pragma once
#include "platform/database.h"
#include <QFile>
#include <gtest/gtest.h>

// Database files damaged as disks and copies damage them: bytes overwritten, files cut short.

inline void overwriteFile(const QString& path, qint64 at, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    f.seek(at);
    f.write(bytes);
}

inline QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Stores 400 documents with long remarks in the database file `path` (closed), so that it has
// pages that opening it does not read.
inline void fillDocuments(const QString& path)
{
    auto d = db::Database::open(path);
    db::Transaction tr(*d);
    for (int i = 0; i < 400; ++i)
        d->execute("INSERT INTO fadok (Numer, Nazkon, Uwagi) VALUES (?, 'Jan Kowal', ?)",
                   {QString::number(i), QString(300, QChar('u'))});
    tr.commit();
}

inline qint64 pageSizeOf(const QString& path, const QString& haslo = QString())
{
    return db::Database::open(path, haslo)->scalar("PRAGMA page_size").toInt();
}

// Ruins eight pages in the middle of the filled documents of the closed file `path`: the tables'
// first and last rows stay readable, the documents between them do not.
inline void ruinPagesInside(const QString& path, const QString& haslo = QString())
{
    const qint64 pageSize = pageSizeOf(path, haslo);
    const qint64 middle = db::Database::open(path, haslo)->scalar("PRAGMA page_count").toInt() / 2;
    overwriteFile(path, pageSize * (middle - 4), QByteArray(int(pageSize * 8), '\xff'));
}
