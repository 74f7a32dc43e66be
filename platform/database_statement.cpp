#include "platform/database.h"
#include "platform/database_errors.h"
#include <sqlcipher/sqlite3.h>

// The rows and statements of a connection: binding, stepping and reading the engine's values.

namespace db {

// ---- Row ----

int Columns::find(const QString& name) const
{
    if (auto it = index.constFind(name); it != index.constEnd()) return *it;
    // Of columns spelt alike but for case, the last one, as the exact spellings keep it.
    for (qsizetype i = names.size() - 1; i >= 0; --i)
        if (names[i].compare(name, Qt::CaseInsensitive) == 0) return int(i);
    return -1;
}

AppError missingColumn(const QString& name)
{
    return AppError(err::kNoSuchColumn, QStringLiteral("Row"), QStringLiteral("Brak kolumny %1.").arg(name));
}

const Value& Row::operator[](const QString& name) const
{
    const int i = columns_->find(name);
    if (i < 0) throw missingColumn(name);
    return values_[size_t(i)];
}

// ---- Statement ----

Statement::Statement(Database& db, const QString& sql) : db_(db), sql_(sql), utf8Sql_(sql.toUtf8())
{
    stmt_ = db.takePrepared(utf8Sql_);
    if (stmt_) return;
    int rc = sqlite3_prepare_v2(db.handle(), utf8Sql_.constData(), int(utf8Sql_.size()), &stmt_, nullptr);
    if (rc != SQLITE_OK) db_.fail(rc, sql);
}

Statement::~Statement()
{
    if (stmt_) db_.keepPrepared(std::move(utf8Sql_), stmt_);
}

void Statement::bind(int index, const Value& v)
{
    int rc = SQLITE_OK;
    const auto& d = v.data();
    if (std::holds_alternative<std::monostate>(d))
        rc = sqlite3_bind_null(stmt_, index);
    else if (auto i = std::get_if<qint64>(&d))
        rc = sqlite3_bind_int64(stmt_, index, *i);
    else if (auto r = std::get_if<double>(&d))
        rc = sqlite3_bind_double(stmt_, index, *r);
    else if (auto s = std::get_if<QString>(&d)) {
        QByteArray u = s->toUtf8();
        rc = sqlite3_bind_text(stmt_, index, u.constData(), u.size(), SQLITE_TRANSIENT);
    } else if (auto b = std::get_if<QByteArray>(&d))
        rc = sqlite3_bind_blob(stmt_, index, b->constData(), b->size(), SQLITE_TRANSIENT);
    if (rc != SQLITE_OK) db_.fail(rc, sql_);
}

void Statement::bindAll(const std::vector<Value>& values)
{
    for (size_t i = 0; i < values.size(); ++i) bind(int(i + 1), values[i]);
}

bool Statement::step()
{
    if (db_.isDamaged()) refuseDamaged(sql_);
    if (db_.isChanged()) throw AppError(err::kFileReplaced, sql_, kChangedText);
    int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    db_.fail(rc, sql_);
}

int Statement::columnCount() const
{
    return sqlite3_column_count(stmt_);
}

QString Statement::columnName(int i) const
{
    return QString::fromUtf8(sqlite3_column_name(stmt_, i));
}

void Statement::requireColumns(const QStringList& names) const
{
    QStringList present;
    for (int i = 0; i < columnCount(); ++i) present << columnName(i);
    for (const QString& name : names)
        if (!present.contains(name, Qt::CaseInsensitive)) throw missingColumn(name);
}

Row Statement::row() const
{
    int n = columnCount();
    if (!columns_) {
        auto c = std::make_shared<Columns>();
        for (int i = 0; i < n; ++i) {
            QString name = columnName(i);
            c->index.insert(name, i);
            c->names << name;
            const char* t = sqlite3_column_decltype(stmt_, i);
            c->types << QString::fromUtf8(t ? t : "").section('(', 0, 0).trimmed().toUpper();
        }
        columns_ = c;
    }
    std::vector<Value> values;
    values.reserve(size_t(n));
    for (int i = 0; i < n; ++i) values.push_back(value(i));
    return Row(columns_, std::move(values));
}

Value Statement::value(int i) const
{
    switch (sqlite3_column_type(stmt_, i)) {
    case SQLITE_INTEGER: return Value::raw(qint64(sqlite3_column_int64(stmt_, i)));
    case SQLITE_FLOAT: return Value::raw(sqlite3_column_double(stmt_, i));
    case SQLITE_TEXT:
        return Value::raw(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt_, i)),
                                            sqlite3_column_bytes(stmt_, i)));
    case SQLITE_BLOB: {
        const void* p = sqlite3_column_blob(stmt_, i);
        return Value::raw(QByteArray(static_cast<const char*>(p), sqlite3_column_bytes(stmt_, i)));
    }
    default: return Value();
    }
}

QByteArrayView Statement::utf8(int i) const
{
    const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, i));
    return t ? QByteArrayView(t, sqlite3_column_bytes(stmt_, i)) : QByteArrayView();
}

size_t Statement::kind(int i) const
{
    switch (sqlite3_column_type(stmt_, i)) {
    case SQLITE_INTEGER: return Value::Data(qint64()).index();
    case SQLITE_FLOAT: return Value::Data(0.0).index();
    case SQLITE_TEXT: return Value::Data(QString()).index();
    case SQLITE_BLOB: return Value::Data(QByteArray()).index();
    default: return Value::Data().index();
    }
}

bool Statement::isNull(int i) const
{
    return sqlite3_column_type(stmt_, i) == SQLITE_NULL;
}

void Statement::reset()
{
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

}  // namespace db
