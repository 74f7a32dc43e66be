#include "documents/newest_first_cursor.h"
#include "core/app.h"
#include <algorithm>
#include <map>
#include <utility>

namespace {

// Rows of a long month read at once around what is shown.
constexpr qint64 kWindow = LazyQueryModel::kPart;
// Months whose order is kept.
constexpr size_t kOrders = 8;

// The first text above every text that starts with `prefix`.
QString after(const QString& prefix)
{
    QString t = prefix;
    t[t.size() - 1] = QChar(t[t.size() - 1].unicode() + 1);
    return t;
}

// Bounds compared as texts; an empty upper bound stands above every text.
bool belowTo(const QString& text, const QString& to)
{
    return to.isEmpty() || text < to;
}
QString lowerTo(const QString& a, const QString& b)
{
    if (a.isEmpty()) return b;
    if (b.isEmpty()) return a;
    return std::min(a, b);
}

bool empty(const DocumentRange& r)
{
    return !r.to.isEmpty() && r.from >= r.to;
}

// The dates of a month: all its documents.
DocumentRange whole(DocumentRange r)
{
    r.first = 0;
    r.count = -1;
    return r;
}

DocumentRange slice(DocumentRange r, qint64 first, qint64 count)
{
    r.first = first;
    r.count = count;
    return r;
}

// The range's condition on the date index. Texts sort after numbers and before binary values;
// an empty text cannot be bound (it binds as NULL), so the ends are written out.
QString rangeCondition(const DocumentRange& r, std::vector<db::Value>& values)
{
    QString sql = r.from.isEmpty() ? QStringLiteral(" AND Datawyst >= ''") : QStringLiteral(" AND Datawyst >= ?");
    if (!r.from.isEmpty()) values.push_back(r.from);
    sql += r.to.isEmpty() ? QStringLiteral(" AND Datawyst < x''") : QStringLiteral(" AND Datawyst < ?");
    if (!r.to.isEmpty()) values.push_back(r.to);
    return sql;
}

int dateColumn(const db::Row& r)
{
    return r.indexOf(QStringLiteral("Datawyst"));
}

qint64 rowidOf(const db::Row& r)
{
    return r.at(r.size() - 1).toInt();
}

db::Value scalar(db::Database& db, const QString& sql, const std::vector<db::Value>& values)
{
    db::Statement st(db, sql);
    st.bindAll(values);
    return st.step() ? st.value(0) : db::Value();
}

LazyQueryModel::Gap gapOf(const DocumentRange& r, qint64 count)
{
    return {QVariant::fromValue(r), count};
}

}  // namespace

bool DocumentRange::holds(const QString& datawyst) const
{
    return !end && datawyst >= from && belowTo(datawyst, to);
}

NewestFirstCursor::NewestFirstCursor(App& app, QString columns, QString where, std::vector<db::Value> params)
    : app_(app), db_(app.gBaseDb.get()), columns_(std::move(columns)), where_(std::move(where)),
      params_(std::move(params))
{
    done_ = !db_;
    if (db_) file_ = db_->path();
}

void NewestFirstCursor::sort(std::vector<db::Row>& rows)
{
    if (rows.empty()) return;
    const int date = dateColumn(rows.front());
    const int numer = rows.front().indexOf(QStringLiteral("Numer"));
    // Keys taken once per row; documents with equal keys keep their stored order.
    struct Keyed {
        DocumentOrderKey key;
        qint64 rowid;
        size_t at;
    };
    std::vector<Keyed> keys;
    keys.reserve(rows.size());
    for (size_t i = 0; i < rows.size(); ++i)
        keys.push_back({DocumentOrderKey::of(storedDate(rows[i].at(date)), rows[i].at(numer)), rowidOf(rows[i]), i});
    std::sort(keys.begin(), keys.end(), [](const Keyed& a, const Keyed& b) {
        if (listedBefore(a.key, b.key)) return true;
        if (listedBefore(b.key, a.key)) return false;
        return a.rowid < b.rowid;
    });
    std::vector<db::Row> sorted;
    sorted.reserve(rows.size());
    for (const Keyed& k : keys) sorted.push_back(std::move(rows[k.at]));
    rows = std::move(sorted);
}

std::vector<db::Row> NewestFirstCursor::read(const QString& condition, const std::vector<db::Value>& values, int limit)
{
    std::vector<db::Value> p = params_;
    p.insert(p.end(), values.begin(), values.end());
    QString sql = QStringLiteral("SELECT %1, rowid FROM fadok WHERE 1 = 1%2%3").arg(columns_, where_, condition);
    if (limit > 0) {
        sql += QStringLiteral(" ORDER BY Datawyst DESC LIMIT ?");
        p.push_back(limit);
    }
    return db_->query(sql, p);
}

std::vector<db::Row> NewestFirstCursor::readRange(const DocumentRange& r)
{
    if (empty(r)) return {};
    std::vector<db::Value> values;
    const QString condition = rangeCondition(r, values);
    return read(condition, values);
}

qint64 NewestFirstCursor::count(const DocumentRange& r, qint64 limit)
{
    if (empty(r)) return 0;
    std::vector<db::Value> values = params_;
    const QString condition = rangeCondition(r, values);
    QString sql = QStringLiteral("SELECT 1 FROM fadok WHERE 1 = 1%1%2").arg(where_, condition);
    if (limit > 0) {
        sql += QStringLiteral(" LIMIT ?");
        values.push_back(limit);
    }
    return scalar(*db_, QStringLiteral("SELECT count(*) FROM (%1)").arg(sql), values).toInt();
}

qint64 NewestFirstCursor::countAll()
{
    if (!total_) total_ = allCounter()(*db_);
    return *total_;
}

std::function<qint64(db::Database&)> NewestFirstCursor::allCounter() const
{
    // Without a condition the engine counts the smallest index by its pages.
    const QString sql = where_.isEmpty() ? QStringLiteral("SELECT count(*) FROM fadok")
                                         : QStringLiteral("SELECT count(*) FROM fadok WHERE 1 = 1%1").arg(where_);
    return [sql, params = params_](db::Database& db) { return scalar(db, sql, params).toInt(); };
}

void NewestFirstCursor::takeAll(qint64 all)
{
    if (!total_) total_ = all;
}

void NewestFirstCursor::takeTotalFrom(const NewestFirstCursor& before)
{
    if (total_ || !db_ || before.db_ != db_ || before.file_ != file_ || before.where_ != where_) return;
    hint_ = before.total_ ? before.total_ : before.hint_;
}

std::vector<qint64> NewestFirstCursor::recount(const std::vector<DocumentRange>& gaps)
{
    countAll();
    std::vector<qint64> counts;
    counts.reserve(gaps.size());
    for (const DocumentRange& r : gaps) counts.push_back(countSmart(r));
    estimated_ = false;
    return counts;
}

void NewestFirstCursor::stored(qint64 rowid, bool dated, bool added)
{
    if (added) {
        if (total_)
            ++*total_;
        else if (hint_)
            ++*hint_;
    }
    if (!dated) undated_.insert(rowid);
}

qint64 NewestFirstCursor::countSmart(const DocumentRange& r)
{
    // A small range is counted as it is; a large one as all documents but those outside it,
    // which are then the fewer.
    constexpr qint64 kDirect = 20000;
    const qint64 direct = count(r, kDirect);
    if (direct < kDirect) return direct;
    auto outside = [&](const QString& condition, const QString& bound) {
        std::vector<db::Value> values = params_;
        if (!bound.isEmpty()) values.push_back(bound);
        return scalar(*db_, QStringLiteral("SELECT count(*) FROM fadok WHERE 1 = 1%1%2").arg(where_, condition), values)
            .toInt();
    };
    const qint64 out =
        outside(r.from.isEmpty() ? QStringLiteral(" AND Datawyst < ''") : QStringLiteral(" AND Datawyst < ?"), r.from) +
        outside(r.to.isEmpty() ? QStringLiteral(" AND Datawyst >= x''") : QStringLiteral(" AND Datawyst >= ?"), r.to) +
        outside(QStringLiteral(" AND Datawyst IS NULL"), QString());
    qint64 all = 0;
    if (!total_ && hint_) {
        all = *hint_;
        estimated_ = true;
    } else {
        all = countAll();
    }
    return std::max(direct, all - out);
}

void NewestFirstCursor::undated(qint64 rowid, bool counted)
{
    // A stored text that is no date is listed with the documents without one, after every dated
    // document. Found where it was counted, it moves there.
    if (undated_.insert(rowid).second && counted) ++moved_;
}

LazyQueryModel::Part NewestFirstCursor::part(DocumentRange r, std::vector<db::Row> rows, bool counted)
{
    std::erase_if(rows, [&](const db::Row& row) {
        if (listedMonth(row.at(dateColumn(row)))) return false;
        undated(rowidOf(row), counted);
        return true;
    });
    sort(rows);
    return {QVariant::fromValue(r), std::move(rows)};
}

const std::vector<qint64>& NewestFirstCursor::order(const DocumentRange& month, bool counted, bool fresh)
{
    auto kept =
        std::find_if(orders_.begin(), orders_.end(), [&](const MonthOrder& o) { return o.month.sameDates(month); });
    if (kept != orders_.end()) {
        MonthOrder o = std::move(*kept);
        orders_.erase(kept);
        if (!fresh) {
            orders_.push_back(std::move(o));
            return orders_.back().rowids;
        }
    }
    // Number and rowid of each document, straight from the engine's texts: a month of thousands
    // of documents costs a few milliseconds.
    struct Keyed {
        std::optional<double> running;
        qint64 rowid;
    };
    std::vector<Keyed> keys;
    std::vector<db::Value> values = params_;
    const QString condition = rangeCondition(whole(month), values);
    db::Statement st(*db_,
                     QStringLiteral("SELECT rowid, Numer, Datawyst FROM fadok WHERE 1 = 1%1%2").arg(where_, condition));
    st.bindAll(values);
    while (st.step()) {
        const qint64 rowid = st.value(0).toInt();
        if (st.isNull(2) || !listedByMonth(st.utf8(2))) {
            undated(rowid, counted);
            continue;
        }
        keys.push_back({st.isNull(1) ? std::nullopt : std::optional(runningNumber(st.utf8(1))), rowid});
    }
    std::sort(keys.begin(), keys.end(), [](const Keyed& a, const Keyed& b) {
        if (a.running != b.running) return a.running && (!b.running || *a.running > *b.running);
        return a.rowid < b.rowid;
    });
    MonthOrder o{whole(month), {}};
    o.rowids.reserve(keys.size());
    for (const Keyed& k : keys) o.rowids.push_back(k.rowid);
    if (orders_.size() >= kOrders) orders_.erase(orders_.begin());
    orders_.push_back(std::move(o));
    return orders_.back().rowids;
}

std::vector<db::Row> NewestFirstCursor::rowsOf(const DocumentRange& month, qint64 first, qint64 count)
{
    const std::vector<qint64>& ids = order(month, true);
    const qint64 from = std::clamp<qint64>(first, 0, qint64(ids.size()));
    const qint64 to = count < 0 ? qint64(ids.size()) : std::clamp<qint64>(first + count, from, qint64(ids.size()));
    std::vector<qint64> wanted(ids.begin() + from, ids.begin() + to);
    if (wanted.empty()) return {};
    // By their rowids, a few hundred to a statement (the engine takes at most 999 values).
    std::vector<db::Row> found;
    for (size_t chunk = 0; chunk < wanted.size(); chunk += 500) {
        QStringList marks;
        std::vector<db::Value> values;
        for (size_t i = chunk; i < wanted.size() && i < chunk + 500; ++i) {
            marks << QStringLiteral("?");
            values.push_back(wanted[i]);
        }
        for (db::Row& r : read(QStringLiteral(" AND rowid IN (%1)").arg(marks.join(',')), values))
            found.push_back(std::move(r));
    }
    // In the month's order; a document gone meanwhile is left out.
    std::map<qint64, size_t> at;
    for (size_t i = 0; i < found.size(); ++i) at[rowidOf(found[i])] = i;
    std::vector<db::Row> rows;
    rows.reserve(wanted.size());
    for (qint64 id : wanted)
        if (auto it = at.find(id); it != at.end()) rows.push_back(std::move(found[it->second]));
    return rows;
}

qint64 NewestFirstCursor::indexIn(const DocumentRange& month, qint64 rowid)
{
    const std::vector<qint64>& ids = order(month, true);
    const auto it = std::find(ids.begin(), ids.end(), rowid);
    return it == ids.end() ? 0 : qint64(it - ids.begin());
}

std::vector<NewestFirstCursor::Piece> NewestFirstCursor::monthPieces(const DocumentRange& month, qint64 at)
{
    const qint64 n = qint64(order(month, true).size());
    if (n <= 2 * kWindow) return {part(whole(month), readRange(whole(month)), true)};
    const qint64 first = std::clamp<qint64>(at - kWindow / 2, 0, n - kWindow);
    std::vector<Piece> pieces;
    if (first > 0) pieces.push_back(gapOf(slice(month, 0, first), first));
    pieces.push_back(
        LazyQueryModel::Part{QVariant::fromValue(slice(month, first, kWindow)), rowsOf(month, first, kWindow)});
    if (first + kWindow < n) pieces.push_back(gapOf(slice(month, first + kWindow, -1), n - first - kWindow));
    return pieces;
}

std::vector<db::Row> NewestFirstCursor::endRows()
{
    // No date, a number or a binary value (below and above every text), and the texts that
    // are no date found so far.
    std::vector<db::Row> rows;
    for (const char* c : {" AND Datawyst IS NULL", " AND Datawyst < ''", " AND Datawyst >= x''"})
        for (db::Row& r : read(QString::fromLatin1(c), {})) rows.push_back(std::move(r));
    for (qint64 id : undated_) {
        std::vector<db::Row> found = read(QStringLiteral(" AND rowid = ?"), {id});
        if (!found.empty() && !listedMonth(found.front().at(dateColumn(found.front()))))
            rows.push_back(std::move(found.front()));
    }
    sort(rows);
    return rows;
}

std::vector<NewestFirstCursor::Piece> NewestFirstCursor::next(int atLeast)
{
    if (done_) return {};
    if (app_.gBaseDb.get() != db_) {
        done_ = true;
        return {};
    }
    atLeast = std::max(atLeast, 1);
    std::vector<Piece> pieces;
    qint64 given = 0;
    while (given < atLeast && !done_) {
        // The newest month below those walked: one seek down the date index; texts that are no
        // date on the way go to the end.
        const QString hi = below_.value_or(QString());
        std::optional<QString> month;
        QString below = hi;
        while (!month) {
            std::vector<db::Value> values = params_;
            const QString condition = rangeCondition({QString(), below}, values);
            const db::Value top = scalar(
                *db_, QStringLiteral("SELECT max(Datawyst) FROM fadok WHERE 1 = 1%1%2").arg(where_, condition), values);
            if (top.isNull()) break;
            month = listedMonth(top);
            if (!month) {
                for (const db::Row& r : read(QStringLiteral(" AND Datawyst = ?"), {top})) undated(rowidOf(r), false);
                below = top.toText();
            }
        }
        if (!month) {
            // Only texts that are no date are left: their range is held, without rows, and the
            // end follows.
            pieces.push_back(LazyQueryModel::Part{QVariant::fromValue(DocumentRange{QString(), hi}), {}});
            pieces.push_back(LazyQueryModel::Part{QVariant::fromValue(DocumentRange{{}, {}, true}), endRows()});
            done_ = true;
            break;
        }
        DocumentRange range{*month, hi, false, true};
        const qint64 wanted = std::max<qint64>(atLeast - given, kWindow);
        // A short month is read at once and sorted here; of a long one the order is read first.
        std::vector<db::Value> values;
        const QString condition = rangeCondition(range, values);
        const qint64 most = std::max(wanted, 2 * kWindow);
        std::vector<db::Row> rows = read(condition, values, int(most + 1));
        const qint64 n = qint64(rows.size()) <= most ? -1 : qint64(order(range, false).size());
        if (n < 0) {
            LazyQueryModel::Part p = part(range, std::move(rows), false);
            given += qint64(p.rows.size());
            pieces.push_back(std::move(p));
        } else {
            // A long month: its first rows, the rest counted.
            pieces.push_back(
                LazyQueryModel::Part{QVariant::fromValue(slice(range, 0, wanted)), rowsOf(range, 0, wanted)});
            pieces.push_back(gapOf(slice(range, wanted, -1), n - wanted));
            given += wanted;
        }
        below_ = *month;
    }
    return pieces;
}

std::vector<db::Row> NewestFirstCursor::reread(const QVariant& key)
{
    if (app_.gBaseDb.get() != db_) return {};
    const DocumentRange r = key.value<DocumentRange>();
    if (r.end) return endRows();
    if (r.month && (r.first > 0 || r.count >= 0)) return rowsOf(r, r.first, r.count);
    return part(r, readRange(r), true).rows;
}

std::vector<NewestFirstCursor::Piece> NewestFirstCursor::open(const LazyQueryModel::Gap& gap, qint64 offset)
{
    if (app_.gBaseDb.get() != db_) return {};
    const DocumentRange r = gap.key.value<DocumentRange>();
    if (r.end) return {LazyQueryModel::Part{gap.key, endRows()}};
    if (r.month) {
        // Rows of a month whose order is read: those around the one asked for.
        const qint64 at = r.first + offset;
        const qint64 first =
            std::clamp<qint64>(at - kWindow / 2, r.first, std::max(r.first, r.first + gap.count - kWindow));
        const qint64 end = std::min(first + kWindow, r.first + gap.count);
        std::vector<Piece> pieces;
        if (first > r.first) pieces.push_back(gapOf(slice(r, r.first, first - r.first), first - r.first));
        pieces.push_back(
            LazyQueryModel::Part{QVariant::fromValue(slice(r, first, end - first)), rowsOf(r, first, end - first)});
        if (end < r.first + gap.count) pieces.push_back(gapOf(slice(r, end, -1), r.first + gap.count - end));
        return pieces;
    }
    // Counted months: the issue date of the row asked for, looked up from the nearer side; a
    // gap that holds fewer rows than counted gives its nearest one.
    const bool fromTop = offset <= gap.count / 2;
    auto dateAt = [&](qint64 skip) {
        std::vector<db::Value> values = params_;
        const QString condition = rangeCondition(r, values);
        values.push_back(skip);
        return scalar(*db_,
                      QStringLiteral("SELECT Datawyst FROM fadok WHERE 1 = 1%1%2 ORDER BY Datawyst %3 LIMIT 1 OFFSET ?")
                          .arg(where_, condition, fromTop ? QStringLiteral("DESC") : QStringLiteral("ASC")),
                      values);
    };
    db::Value date = dateAt(std::max<qint64>(0, fromTop ? offset : gap.count - 1 - offset));
    if (date.isNull()) date = dateAt(0);
    if (date.isNull()) return {LazyQueryModel::Part{gap.key, {}}};
    DocumentRange month;
    if (const auto m = listedMonth(date))
        month = {std::max(*m, r.from), lowerTo(after(*m), r.to), false, true};
    else
        month = {date.toText(), lowerTo(date.toText() + QChar(1), r.to)};
    const DocumentRange above{month.to, r.to}, below{r.from, month.from};
    // The range's rows: its dated ones in order, and the texts that are no date in it.
    const qint64 inRange = count(month);
    const qint64 dated = month.month ? qint64(order(month, true).size()) : 0;
    if (!month.month) part(month, readRange(month), true);
    qint64 nAbove, nBelow;
    if (fromTop) {
        nAbove = count(above, std::max<qint64>(gap.count, 1));
        nBelow = std::max<qint64>(0, gap.count - nAbove - inRange);
    } else {
        nBelow = count(below, std::max<qint64>(gap.count, 1));
        nAbove = std::max<qint64>(0, gap.count - nBelow - inRange);
    }
    std::vector<Piece> pieces;
    if (nAbove > 0) pieces.push_back(gapOf(above, nAbove));
    if (month.month) {
        for (Piece& p : monthPieces(month, std::clamp<qint64>(offset - nAbove, 0, std::max<qint64>(dated - 1, 0))))
            pieces.push_back(std::move(p));
    } else {
        pieces.push_back(LazyQueryModel::Part{QVariant::fromValue(month), {}});
    }
    if (nBelow > 0) pieces.push_back(gapOf(below, nBelow));
    return pieces;
}

std::vector<NewestFirstCursor::Piece> NewestFirstCursor::openAt(const LazyQueryModel::Gap& gap, const QString& datawyst,
                                                                qint64 rowid)
{
    const DocumentRange r = gap.key.value<DocumentRange>();
    const auto m = listedMonth(db::Value(datawyst));
    if (!m || !r.holds(datawyst)) return {gap};
    const DocumentRange month{std::max(*m, r.from), lowerTo(after(*m), r.to), false, true};
    const DocumentRange above{month.to, r.to}, below{r.from, month.from};
    std::vector<Piece> pieces;
    if (const qint64 n = countSmart(above); n > 0) pieces.push_back(gapOf(above, n));
    for (Piece& p : this->month(month, datawyst, rowid)) pieces.push_back(std::move(p));
    if (const qint64 n = countSmart(below); n > 0) pieces.push_back(gapOf(below, n));
    return pieces;
}

std::vector<NewestFirstCursor::Piece> NewestFirstCursor::month(const DocumentRange& month, const QString& datawyst,
                                                               qint64 rowid)
{
    const auto m = listedMonth(db::Value(datawyst));
    if (m && *m > month.from) {
        const DocumentRange newer{*m, month.to, false, true}, older{month.from, *m, false, true};
        std::vector<Piece> pieces = this->month(newer, datawyst, rowid);
        order(older, true, true);
        for (Piece& p : monthPieces(older, 0)) pieces.push_back(std::move(p));
        return pieces;
    }
    order(month, true, true);
    return monthPieces(month, indexIn(month, rowid));
}

bool NewestFirstCursor::walked(const QString& datawyst) const
{
    return done_ || (below_ && datawyst >= *below_);
}

std::vector<NewestFirstCursor::Piece> NewestFirstCursor::place(const QString& datawyst, qint64 rowid)
{
    const auto m = listedMonth(db::Value(datawyst));
    if (!m || walked(datawyst)) return {};
    const QString hi = below_.value_or(QString());
    const DocumentRange month{*m, lowerTo(after(*m), hi), false, true};
    const DocumentRange between{month.to, hi};
    std::vector<Piece> pieces;
    if (const qint64 n = empty(between) ? 0 : countSmart(between); n > 0) pieces.push_back(gapOf(between, n));
    for (Piece& p : this->month(month, datawyst, rowid)) pieces.push_back(std::move(p));
    below_ = month.from;
    return pieces;
}

std::vector<NewestFirstCursor::Piece> NewestFirstCursor::rest()
{
    if (done_ || app_.gBaseDb.get() != db_) return {};
    std::vector<Piece> pieces;
    countAll();  // the rest is counted exactly, never from an earlier list's total
    const DocumentRange below{QString(), below_.value_or(QString())};
    if (const qint64 n = countSmart(below); n > 0) pieces.push_back(gapOf(below, n));
    qint64 ends = qint64(undated_.size());
    for (const char* c : {" AND Datawyst IS NULL", " AND Datawyst < ''", " AND Datawyst >= x''"})
        ends += scalar(*db_, QStringLiteral("SELECT count(*) FROM fadok WHERE 1 = 1%1%2").arg(where_, QLatin1String(c)),
                       params_)
                    .toInt();
    pieces.push_back(gapOf(DocumentRange{{}, {}, true}, ends));
    done_ = true;
    moved_ = 0;
    return pieces;
}

int NewestFirstCursor::takeMovedToEnd()
{
    return std::exchange(moved_, 0);
}
