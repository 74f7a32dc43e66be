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

// Stores one more document in the closed file `path` while the unique index of the documents'
// numbers is left out of the schema: the index then lacks the newest row, though every page of
// the file is sound.
inline void storeBesideTheNumberIndex(const QString& path, const QString& haslo = QString())
{
    std::optional<db::Row> index;
    {
        auto d = db::Database::open(path, haslo);
        index = d->queryOne("SELECT type, name, tbl_name, rootpage, sql FROM sqlite_master WHERE name = 'fadok_numer'");
        ASSERT_TRUE(index);
        d->execute("PRAGMA writable_schema = ON");
        d->execute("DELETE FROM sqlite_master WHERE name = 'fadok_numer'");
    }
    db::Database::open(path, haslo)->execute("INSERT INTO fadok (Numer, Nazkon) VALUES ('Najnowszy', 'Jan Kowal')");
    auto d = db::Database::open(path, haslo);
    d->execute("PRAGMA writable_schema = ON");
    d->execute("INSERT INTO sqlite_master (type, name, tbl_name, rootpage, sql) VALUES (?, ?, ?, ?, ?)",
               {index->at(0), index->at(1), index->at(2), index->at(3), index->at(4)});
}
