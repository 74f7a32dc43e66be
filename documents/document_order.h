#pragma once
#include "platform/database.h"
#include <QDate>
#include <QString>
#include <optional>
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

// A stored date: the usual ISO text read directly, anything else as every other read does.
QDate storedDate(const db::Value& v);

// True when row `a` is listed before row `b`, both read by a NewestFirstCursor: by their keys,
// equal keys in stored order.
bool rowListedBefore(const db::Row& a, const db::Row& b);

// Reads the stored documents (fadok) that meet a condition in the order above, a part at a time:
// each part holds whole months, walked down the index on the issue date, so the first screen
// needs no read of the whole table. Each statement runs to its end: nothing stays open between
// parts to hold other workstations off. The cursor stops when the database it was made on is no
// longer the open one.
class NewestFirstCursor {
public:
    // `columns`: the select list, which includes Datawyst and Numer; each row read ends with one
    // more column, the document's rowid. `where`: conditions that each begin with " AND ", with
    // their bound values.
    NewestFirstCursor(App& app, QString columns, QString where = {}, std::vector<db::Value> params = {});

    // The next rows in order: whole months holding about `atLeast` rows or more; empty at the
    // end. Throws AppError.
    std::vector<db::Row> next(int atLeast);
    bool atEnd() const { return done_; }
    bool readsFrom(const db::Database& db) const { return db_ == &db; }
    // True when a document of this stored issue date has been read already, or would have been:
    // its month lies among those read (a document stored since then is not read again).
    bool hasRead(const db::Value& datawyst) const;

private:
    // The rows that meet the condition besides the cursor's own; `limit` > 0 takes that many
    // from the newest issue date down.
    std::vector<db::Row> read(const QString& condition, const std::vector<db::Value>& values, int limit);
    // One step down the date index: whole months, or the rest at the end.
    std::vector<db::Row> walk(int atLeast);
    static void sort(std::vector<db::Row>& rows);

    App& app_;
    db::Database* db_;
    QString columns_;
    QString where_;
    std::vector<db::Value> params_;
    std::optional<QString> below_;  // the issue dates read so far are at or above this text
    bool done_ = false;
    std::vector<db::Row> undated_;  // texts that are no date, listed last
};
