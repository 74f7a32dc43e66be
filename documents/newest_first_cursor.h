#pragma once
#include "documents/document_order.h"
#include "platform/database.h"
#include "platform/lazy_query_model.h"
#include <QMetaType>
#include <QString>
#include <functional>
#include <optional>
#include <set>
#include <vector>

class App;

// The stored documents a part of the list holds: those whose issue date is stored as a text
// from `from` up to (not including) `to`, an empty `to` standing for no bound above; or those
// listed at the end (`end`): no date, or a value that is no date. A range of one month
// (`month`) may hold only some of its documents: `count` of them in the list's order from the
// one numbered `first` (a count below 0: all from there).
struct DocumentRange {
    QString from, to;
    bool end = false;
    bool month = false;
    qint64 first = 0, count = -1;

    bool holds(const QString& datawyst) const;
    bool sameDates(const DocumentRange& o) const { return end == o.end && from == o.from && to == o.to; }
};
Q_DECLARE_METATYPE(DocumentRange)

// Reads the stored documents (fadok) that meet a condition in the order above, a month at a
// time down the index on the issue date, the documents listed at the end last, so the first
// screen needs no read of the whole table. Of a long month only the rows near what is shown are
// read: the month's order is read first (number and rowid of each document), its rows by their
// rowids. Each statement runs to its end: nothing stays open between parts to hold other
// workstations off. The cursor stops when the database it was made on is no longer the open one.
//
// For a list that shows a document of any month at once (place), the months between those
// walked and that one are counted, not read: they are read when shown (open).
class NewestFirstCursor : public LazyQueryModel::Source {
public:
    using Piece = LazyQueryModel::Piece;

    // `columns`: the select list, which includes Datawyst and Numer; each row read ends with one
    // more column, the document's rowid. `where`: conditions that each begin with " AND ", with
    // their bound values.
    NewestFirstCursor(App& app, QString columns, QString where = {}, std::vector<db::Value> params = {});

    // The next months in order, holding about `atLeast` rows or more (of a long month its first
    // rows, the rest counted); at the end, the documents listed last; nothing after them.
    // Throws AppError.
    std::vector<Piece> next(int atLeast) override;
    std::vector<db::Row> reread(const QVariant& key) override;
    std::vector<Piece> open(const LazyQueryModel::Gap& gap, qint64 offset) override;
    int takeMovedToEnd() override;

    bool atEnd() const { return done_; }
    bool readsFrom(const db::Database& db) const { return db_ == &db; }
    // True when the walk down the months has reached documents of this stored issue date.
    bool walked(const QString& datawyst) const;

    // Document `rowid`, dated `datawyst`, was just stored here. The pieces that show its month
    // around it, read anew:
    // - below the months walked so far, after the months between, counted; the walk goes on
    //   below that month;
    std::vector<Piece> place(const QString& datawyst, qint64 rowid);
    // - inside a counted gap, between the rest of the gap counted anew;
    std::vector<Piece> openAt(const LazyQueryModel::Gap& gap, const QString& datawyst, qint64 rowid);
    // - in place of the parts of a month whose dates hold it (`month`), or of dates that held no
    //   month: a document of a month newer than that one, stored since, splits the dates into
    //   its month and the older ones.
    std::vector<Piece> month(const DocumentRange& month, const QString& datawyst, qint64 rowid);
    // The documents not walked yet, counted, not read: the dated ones below the walk, then those
    // listed at the end; the walk ends here. Throws AppError.
    std::vector<Piece> rest();
    // How many documents the list holds in all. Counted once (which reads every page of an
    // index: a list does it when the program is idle) and then followed as documents are
    // stored here.
    qint64 countAll();
    // The same count as a function that runs on any connection to the file, in any thread; what
    // it gave is taken by takeAll(), unless the count is known here already.
    std::function<qint64(db::Database&)> allCounter() const;
    void takeAll(qint64 all);
    bool allCounted() const { return total_.has_value(); }
    // Takes the count of all documents that `before`, a list of the same file read earlier with
    // the same conditions, knew, so that a save right after this list was read need not count
    // them all. It is only an estimate (other workstations may have stored or deleted documents
    // since): the gaps between months counted from it are counted again by recount().
    void takeTotalFrom(const NewestFirstCursor& before);
    // Gaps were counted from such an estimate and not counted again yet.
    bool estimated() const { return estimated_; }
    // The documents of each of these gaps between months, counted exactly, in their order; the
    // gaps of the list are then no longer estimated.
    std::vector<qint64> recount(const std::vector<DocumentRange>& gaps);
    // Document `rowid` was stored here: `added` when it was not one listed before; without
    // `dated` it goes with those listed at the end.
    void stored(qint64 rowid, bool dated, bool added);

private:
    // The rows meeting `condition` besides the cursor's own; `limit` > 0 takes that many from the
    // newest issue date down.
    std::vector<db::Row> read(const QString& condition, const std::vector<db::Value>& values, int limit = 0);
    std::vector<db::Row> readRange(const DocumentRange& r);
    // How many documents a range holds; at most `limit` of them are counted when it is above 0.
    qint64 count(const DocumentRange& r, qint64 limit = 0);
    // The same, counted from whichever side costs less.
    qint64 countSmart(const DocumentRange& r);
    // The rowids of a month's dated documents in the list's order (kept for the last months
    // read; `fresh` reads them again). Texts that are no date found there go to the end;
    // `counted` when they were counted where they were found.
    const std::vector<qint64>& order(const DocumentRange& month, bool counted, bool fresh = false);
    // Rows `first` to `first + count` of a month, in the list's order.
    std::vector<db::Row> rowsOf(const DocumentRange& month, qint64 first, qint64 count);
    // The pieces of a month whose order is read: a short month whole, a long one as its rows
    // around number `at`, the rest counted.
    std::vector<Piece> monthPieces(const DocumentRange& month, qint64 at);
    // A part of rows read: the dated ones sorted; the others kept for the end.
    LazyQueryModel::Part part(DocumentRange r, std::vector<db::Row> rows, bool counted);
    // Where document `rowid` stands in its month's order; 0 when it is not there.
    qint64 indexIn(const DocumentRange& month, qint64 rowid);
    std::vector<db::Row> endRows();
    void undated(qint64 rowid, bool counted);
    static void sort(std::vector<db::Row>& rows);

    struct MonthOrder {
        DocumentRange month;
        std::vector<qint64> rowids;
    };

    App& app_;
    db::Database* db_;
    QString columns_;
    QString where_;
    std::vector<db::Value> params_;
    std::optional<QString> below_;  // the issue dates walked so far are at or above this text
    bool done_ = false;
    std::set<qint64> undated_;  // rowids of texts that are no date, listed at the end
    int moved_ = 0;
    std::vector<MonthOrder> orders_;  // the months whose order was read last, newest use last
    std::optional<qint64> total_;
    std::optional<qint64> hint_;  // taken from an earlier list while total_ is not counted
    bool estimated_ = false;      // a gap was counted from hint_
    QString file_;                // the file db_ had open when this cursor was made
};
