#pragma once
#include "documents/position_math.h"
#include "documents/record_columns.h"
#include "platform/db_value.h"
#include <QString>
#include <optional>
#include <vector>

class App;
namespace db {
class Row;
}

// The two position buffers of a workstation: dopoz holds the positions being edited (for a
// correction: as they are to be after it), dokor the corrected invoice's positions.
enum class PositionTable { Dopoz, Dokor };
QString tableName(PositionTable t);

// What tells whose a position row is: the workstation and, for a stored row, the document's kind
// and number and whether it is a corrected row. A buffer row carries the workstation only.
struct PositionKey {
    int Stanowisko = 0;
    QString Inddok;
    QString Numer;
    std::optional<bool> Korekta;

    // The key columns of dopoz, dokor and fapoz.
    static const QStringList& columns();
};

// One buffer row as the grids show it. `id` is the row's rowid, the key of the writes.
struct Position {
    qint64 id = 0;
    std::optional<qint64> Pozycja;
    QString Nazwa;
    OptDecimal Ilosc;
    QString Indjed;
    OptDecimal Cenanet;
    QString Indvat;
    OptDecimal WartNetto;
    OptDecimal WartVAT;
    OptDecimal WartBrutto;

    bool operator==(const Position&) const = default;

    // The columns that the grids show, in their order (Pozycja first), and this row's values in
    // that order; both come from one declaration of the columns (positions.cpp), as does the reader.
    static const QStringList& columns();
    static const std::vector<StoredKind>& columnKinds();
    std::vector<db::Value> values() const;
    // Reads the shown columns of a row of dopoz, dokor or fapoz (id only when selected as "id").
    // An amount or a number that the program cannot have stored throws AppError 13.
    static Position fromRow(const db::Row& r);
    // The row with its quantity and values negated: the corrected side of a stored correction.
    Position negated() const;
};

// The statement that adds a whole row to a position table (dopoz, dokor, fapoz): the key's
// columns, then the shown ones. It binds positionValues().
QString positionInsert(const QString& table);
std::vector<db::Value> positionValues(const PositionKey& key, const Position& p);

// This workstation's rows of one position buffer. Every method runs on the open database and
// throws AppError on a database failure; writes of several rows run in one transaction.
class PositionBuffer final {
public:
    PositionBuffer(App& app, PositionTable table) : app_(app), table_(table) {}
    PositionTable table() const { return table_; }

    // The rows ordered by Pozycja (rows without a number first, then in entry order).
    std::vector<Position> read() const;
    // Writes one column of one row. `column` is one of the grid's column names.
    void update(qint64 id, const QString& column, const db::Value& value);
    // Writes the computed values of a row.
    void writeValues(qint64 id, const RowValues& v);
    // Writes every column of a row that the grid edits or computes, in one statement.
    void writeRow(const Position& p);
    // Adds an empty row numbered `pozycja`; gives its id.
    qint64 append(qint64 pozycja);
    // Adds a whole row as it is; gives its id.
    qint64 insert(const Position& p);
    // Deletes every row of this workstation.
    void clear();
    // Adds an empty row before the row at `index` of `order` (the current order of ids) and
    // numbers it and every row after it consecutively from index + 1; gives its id.
    qint64 insertAt(const std::vector<qint64>& order, int index);
    void remove(qint64 id);
    // Numbers the rows 1, 2, 3 ... in the given order, writing only the numbers that differ.
    void renumber(const std::vector<Position>& rows);
    // Column sums of net, VAT and gross (exact: the columns hold scaled integers).
    Sums sums() const;
    int count() const;

private:
    App& app_;
    PositionTable table_;
};
