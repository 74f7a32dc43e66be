#pragma once
#include "platform/database.h"
#include "platform/lazy_query_model.h"
#include <QDate>
#include <QMetaType>
#include <QString>
#include <optional>
#include <set>
#include <vector>

class App;

// Stored documents are listed newest period first: by the year, then the month of the issue
// date, then by the running number (the number's leading digits, as Val reads them), highest
// first. A document without a date or a number comes after those with one.
struct DocumentOrderKey {
    std::optional<int> year, month;
    std::optional<double> running;

    static DocumentOrderKey of(const QDate& datawyst, const db::Value& numer);
};

// True when `a` is listed before `b`.
bool listedBefore(const DocumentOrderKey& a, const DocumentOrderKey& b);

// The number a document number starts with, as Val reads it; 0 when it starts with none.
double runningNumber(const QString& numer);

// A stored date: the usual ISO text read directly, anything else as every other read does.
QDate storedDate(const db::Value& v);

// True when row `a` is listed before row `b`, both read by a NewestFirstCursor: by their keys,
// equal keys in stored order.
bool rowListedBefore(const db::Row& a, const db::Row& b);

// The stored documents a part of the list holds: those whose issue date is stored as a text
// from `from` up to (not including) `to`, an empty `to` standing for no bound above; or those
// listed at the end (`end`): no date, or a value that is no date.
struct DocumentRange {
    QString from, to;
    bool end = false;

    bool holds(const QString& datawyst) const;
};
Q_DECLARE_METATYPE(DocumentRange)

// Reads the stored documents (fadok) that meet a condition in the order above, a part at a
// time: each part holds one month, walked down the index on the issue date, so the first screen
// needs no read of the whole table, and the documents listed at the end come last. Each
// statement runs to its end: nothing stays open between parts to hold other workstations off.
// The cursor stops when the database it was made on is no longer the open one.
//
// For a list that shows a document of any month at once (place), the months between those
// read and that one are counted, not read: they are read when shown (open).
class NewestFirstCursor : public LazyQueryModel::Source {
public:
    using Piece = LazyQueryModel::Piece;

    // `columns`: the select list, which includes Datawyst and Numer; each row read ends with one
    // more column, the document's rowid. `where`: conditions that each begin with " AND ", with
    // their bound values.
    NewestFirstCursor(App& app, QString columns, QString where = {}, std::vector<db::Value> params = {});

    // The next months in order, holding about `atLeast` rows or more; at the end, the
    // documents listed last; nothing after them. Throws AppError.
    std::vector<Piece> next(int atLeast) override;
    std::vector<db::Row> reread(const QVariant& key) override;
    std::vector<Piece> open(const LazyQueryModel::Gap& gap, qint64 offset) override;
    int takeMovedToEnd() override;

    bool atEnd() const { return done_; }
    bool readsFrom(const db::Database& db) const { return db_ == &db; }
    // True when the walk down the months has reached documents of this stored issue date.
    bool walked(const QString& datawyst) const;
    // The month of a document dated `datawyst` below those walked so far: the months between
    // counted, that month read; the walk goes on below it. Throws AppError.
    std::vector<Piece> place(const QString& datawyst);
    // A counted gap that holds the month of `datawyst`: that month read, the rest counted anew.
    std::vector<Piece> openAt(const LazyQueryModel::Gap& gap, const QString& datawyst);

private:
    // The rows meeting `condition` besides the cursor's own, in the order of the date index;
    // `limit` > 0 takes that many from the newest issue date down.
    std::vector<db::Row> read(const QString& condition, const std::vector<db::Value>& values, int limit = 0);
    std::vector<db::Row> readRange(const DocumentRange& r);
    // How many documents a range holds; at most `limit` of them are counted when it is above 0.
    qint64 count(const DocumentRange& r, qint64 limit = 0);
    // The same, counted from whichever side costs less.
    qint64 countSmart(const DocumentRange& r);
    // A month's part of rows read: the dated ones sorted; the others kept for the end.
    LazyQueryModel::Part part(DocumentRange r, std::vector<db::Row> rows, bool counted);
    std::vector<Piece> around(const LazyQueryModel::Gap& gap, const DocumentRange& month, bool exact);
    std::vector<db::Row> endRows();
    static void sort(std::vector<db::Row>& rows);

    App& app_;
    db::Database* db_;
    QString columns_;
    QString where_;
    std::vector<db::Value> params_;
    std::optional<QString> below_;  // the issue dates walked so far are at or above this text
    bool done_ = false;
    std::set<qint64> undated_;  // rowids of texts that are no date, listed at the end
    int moved_ = 0;
};
