#include "documents/positions.h"
#include "core/app.h"
#include "documents/record_columns.h"
#include "documents/transaction_scope.h"
#include "platform/app_error.h"
#include "platform/database.h"

QString tableName(PositionTable t)
{
    return t == PositionTable::Dopoz ? QStringLiteral("dopoz") : QStringLiteral("dokor");
}

namespace {

db::Database& openDb(App& app)
{
    if (!app.gBazaOtwarta || !app.gBaseDb)
        throw AppError(err::kObjectNotSet, QStringLiteral("PositionBuffer"),
                       QStringLiteral("Brak otwartej bazy danych"));
    return *app.gBaseDb;
}

OptDecimal neg(const OptDecimal& v)
{
    return v ? OptDecimal(-*v) : v;
}

}  // namespace

namespace {

const RecordColumns<PositionKey>& keyTable()
{
    using C = RecordColumns<PositionKey>;
    using K = PositionKey;
    static const C t = {C::count("Stanowisko", &K::Stanowisko), C::text("Inddok", &K::Inddok),
                        C::text("Numer", &K::Numer), C::flag("Korekta", &K::Korekta)};
    return t;
}

// The columns the grids show, in their order.
const RecordColumns<Position>& table()
{
    using C = RecordColumns<Position>;
    using P = Position;
    static const C t = {C::count("Pozycja", &P::Pozycja),       C::text("Nazwa", &P::Nazwa),
                        C::amount("Ilosc", &P::Ilosc),          C::text("Indjed", &P::Indjed),
                        C::amount("Cenanet", &P::Cenanet),      C::text("Indvat", &P::Indvat),
                        C::amount("WartNetto", &P::WartNetto),  C::amount("WartVAT", &P::WartVAT),
                        C::amount("WartBrutto", &P::WartBrutto)};
    return t;
}

}  // namespace

const QStringList& PositionKey::columns()
{
    return keyTable().names();
}

const QStringList& Position::columns()
{
    return table().names();
}

const std::vector<StoredKind>& Position::columnKinds()
{
    return table().kinds();
}

std::vector<db::Value> Position::values() const
{
    return table().values(*this);
}

Position Position::negated() const
{
    Position p = *this;
    p.Ilosc = neg(Ilosc);
    p.WartNetto = neg(WartNetto);
    p.WartVAT = neg(WartVAT);
    p.WartBrutto = neg(WartBrutto);
    return p;
}

QString positionInsert(const QString& table)
{
    return db::insertStatement(table, PositionKey::columns() + Position::columns());
}

std::vector<db::Value> positionValues(const PositionKey& key, const Position& p)
{
    std::vector<db::Value> v = keyTable().values(key);
    const std::vector<db::Value> shown = p.values();
    v.insert(v.end(), shown.begin(), shown.end());
    return v;
}

Position Position::fromRow(const db::Row& r)
{
    Position p;
    if (r.has(QStringLiteral("id"))) p.id = r.integer(QStringLiteral("id"));
    table().read(r, p);
    return p;
}

std::vector<Position> PositionBuffer::read() const
{
    std::vector<Position> rows;
    openDb(app_).forEach(QStringLiteral("SELECT rowid AS id, %2 FROM %1 WHERE Stanowisko = ? ORDER BY Pozycja, rowid")
                             .arg(tableName(table_), Position::columns().join(u", ")),
                         {app_.gStanowisko}, [&](const db::Row& r) { rows.push_back(Position::fromRow(r)); });
    return rows;
}

void PositionBuffer::update(qint64 id, const QString& column, const db::Value& value)
{
    if (!Position::columns().contains(column))
        throw AppError(err::kNoSuchColumn, QStringLiteral("PositionBuffer"),
                       QStringLiteral("Nieznana kolumna: ") + column);
    openDb(app_).execute(QStringLiteral("UPDATE %1 SET %2 = ? WHERE rowid = ?").arg(tableName(table_), column),
                         {value, id});
}

void PositionBuffer::writeValues(qint64 id, const RowValues& v)
{
    openDb(app_).execute(QStringLiteral("UPDATE %1 SET WartNetto = ?, WartVAT = ?, WartBrutto = ? WHERE rowid = ?")
                             .arg(tableName(table_)),
                         {v.WartNetto, v.WartVAT, v.WartBrutto, id});
}

void PositionBuffer::writeRow(const Position& p)
{
    // Every column but the number, which the row commands keep.
    QStringList set;
    for (const QString& c : Position::columns().mid(1)) set << c + QStringLiteral(" = ?");
    std::vector<db::Value> values = p.values();
    values.erase(values.begin());
    values.push_back(p.id);
    openDb(app_).execute(QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?").arg(tableName(table_), set.join(u", ")),
                         values);
}

qint64 PositionBuffer::append(qint64 pozycja)
{
    Position p;
    p.Pozycja = pozycja;
    return insert(p);
}

qint64 PositionBuffer::insert(const Position& p)
{
    auto& db = openDb(app_);
    db.execute(positionInsert(tableName(table_)), positionValues({app_.gStanowisko, {}, {}, {}}, p));
    return db.scalar(QStringLiteral("SELECT last_insert_rowid()")).toInt();
}

void PositionBuffer::clear()
{
    openDb(app_).execute(QStringLiteral("DELETE FROM %1 WHERE Stanowisko = ?").arg(tableName(table_)),
                         {app_.gStanowisko});
}

qint64 PositionBuffer::insertAt(const std::vector<qint64>& order, int index)
{
    auto& db = openDb(app_);
    TransactionScope tr(db);
    qint64 id = append(index + 1);
    const QString sql = QStringLiteral("UPDATE %1 SET Pozycja = ? WHERE rowid = ?").arg(tableName(table_));
    for (size_t i = size_t(std::max(index, 0)); i < order.size(); ++i) db.execute(sql, {qint64(i) + 2, order[i]});
    tr.commit();
    return id;
}

void PositionBuffer::remove(qint64 id)
{
    openDb(app_).execute(QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(tableName(table_)), {id});
}

void PositionBuffer::renumber(const std::vector<Position>& rows)
{
    auto& db = openDb(app_);
    TransactionScope tr(db);
    const QString sql = QStringLiteral("UPDATE %1 SET Pozycja = ? WHERE rowid = ?").arg(tableName(table_));
    qint64 n = 1;
    for (const auto& p : rows) {
        if (p.Pozycja != n) db.execute(sql, {n, p.id});
        ++n;
    }
    tr.commit();
}

Sums PositionBuffer::sums() const
{
    auto r = openDb(app_).queryOne(
        QStringLiteral("SELECT SUM(WartNetto) AS n, SUM(WartVAT) AS v, SUM(WartBrutto) AS b FROM %1 "
                       "WHERE Stanowisko = ?")
            .arg(tableName(table_)),
        {app_.gStanowisko});
    return {r->decimal("n"), r->decimal("v"), r->decimal("b")};
}

int PositionBuffer::count() const
{
    return int(openDb(app_)
                   .scalar(QStringLiteral("SELECT count(*) FROM %1 WHERE Stanowisko = ?").arg(tableName(table_)),
                           {app_.gStanowisko})
                   .toInt());
}
