#pragma once
#include "platform/database.h"
#include <sqlcipher/sqlite3.h>
#include <stdexcept>
#include <vector>

// The raw engine's side of a figure: a statement prepared, bound and stepped through the
// engine's own interface, every column of every row read, nothing built of it.

namespace bench {

inline void bindRaw(sqlite3_stmt* st, const std::vector<db::Value>& params)
{
    for (size_t i = 0; i < params.size(); ++i) {
        const int at = int(i + 1);
        const auto& d = params[i].data();
        if (auto n = std::get_if<qint64>(&d))
            sqlite3_bind_int64(st, at, *n);
        else if (auto r = std::get_if<double>(&d))
            sqlite3_bind_double(st, at, *r);
        else if (auto s = std::get_if<QString>(&d)) {
            const QByteArray u = s->toUtf8();
            sqlite3_bind_text(st, at, u.constData(), int(u.size()), SQLITE_TRANSIENT);
        } else
            sqlite3_bind_null(st, at);
    }
}

// Runs `sql` to its end; gives the number of rows and adds the bytes read to `bytes`.
inline qint64 runRaw(sqlite3* db, const QString& sql, const std::vector<db::Value>& params = {},
                     qint64* bytes = nullptr)
{
    sqlite3_stmt* st = nullptr;
    const QByteArray text = sql.toUtf8();
    if (sqlite3_prepare_v2(db, text.constData(), int(text.size()), &st, nullptr) != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(db));
    bindRaw(st, params);
    qint64 rows = 0, read = 0;
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        ++rows;
        for (int c = 0, n = sqlite3_column_count(st); c < n; ++c) {
            switch (sqlite3_column_type(st, c)) {
            case SQLITE_INTEGER: read += sqlite3_column_int64(st, c) & 1; break;
            case SQLITE_FLOAT: read += sqlite3_column_double(st, c) > 0; break;
            case SQLITE_TEXT:
                sqlite3_column_text(st, c);
                read += sqlite3_column_bytes(st, c);
                break;
            case SQLITE_BLOB:
                sqlite3_column_blob(st, c);
                read += sqlite3_column_bytes(st, c);
                break;
            default: break;
            }
        }
    }
    sqlite3_finalize(st);
    if (rc != SQLITE_DONE) throw std::runtime_error(sqlite3_errmsg(db));
    if (bytes) *bytes += read;
    return rows;
}

}  // namespace bench
