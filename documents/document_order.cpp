#include "documents/document_order.h"
#include "core/app.h"
#include <algorithm>
#include <map>
#include <utility>

namespace {

int digit(QChar c)
{
    return c.unicode() >= '0' && c.unicode() <= '9' ? c.unicode() - '0' : -1;
}

}  // namespace

// The usual "7/05/2024" is read directly; anything else (blanks, a sign, a decimal point) by the
// general rule.
double runningNumber(const QString& numer)
{
    qint64 n = 0;
    qsizetype i = 0;
    for (; i < numer.size() && i < 15 && digit(numer[i]) >= 0; ++i) n = n * 10 + digit(numer[i]);
    if (i > 0 && (i == numer.size() || (i < 15 && !numer[i].isSpace() && numer[i] != '.'))) return double(n);
    bool ok = false;
    const double d = LeadingNumberText(numer).toDouble(&ok);
    return ok ? d : 0.0;
}

namespace {

// Descending, an empty key after every value.
template <typename T>
int compareDesc(const std::optional<T>& a, const std::optional<T>& b)
{
    if (a.has_value() != b.has_value()) return a ? -1 : 1;
    if (!a || *a == *b) return 0;
    return *a > *b ? -1 : 1;
}

}  // namespace

QDate storedDate(const db::Value& v)
{
    if (const QString* s = std::get_if<QString>(&v.data()); s && s->size() >= 10) {
        const QString& t = *s;
        auto num = [&](int from, int len) {
            int n = 0;
            for (int k = from; k < from + len; ++k) {
                const int d = digit(t[k]);
                if (d < 0) return -1;
                n = n * 10 + d;
            }
            return n;
        };
        const int y = num(0, 4), m = num(5, 2), d = num(8, 2);
        if (t[4] == '-' && t[7] == '-' && y > 0 && m >= 0 && d >= 0) return QDate(y, m, d);
    }
    return v.toDate();
}

DocumentOrderKey DocumentOrderKey::of(const QDate& datawyst, const db::Value& numer)
{
    DocumentOrderKey k;
    if (datawyst.isValid()) {
        k.year = datawyst.year();
        k.month = datawyst.month();
    }
    if (!numer.isNull()) k.running = runningNumber(numer.toText());
    return k;
}

bool listedBefore(const DocumentOrderKey& a, const DocumentOrderKey& b)
{
    if (int c = compareDesc(a.year, b.year)) return c < 0;
    if (int c = compareDesc(a.month, b.month)) return c < 0;
    return compareDesc(a.running, b.running) < 0;
}

bool rowListedBefore(const db::Row& a, const db::Row& b)
{
    auto key = [](const db::Row& r) {
        return DocumentOrderKey::of(storedDate(r[QStringLiteral("Datawyst")]), r[QStringLiteral("Numer")]);
    };
    const DocumentOrderKey ka = key(a), kb = key(b);
    if (listedBefore(ka, kb)) return true;
    if (listedBefore(kb, ka)) return false;
    return a.at(a.size() - 1).toInt() < b.at(b.size() - 1).toInt();
}

// ---- the walk down the months ----

namespace {

// The month a stored issue date lists under ("2024-05"), when it is a date stored as a text that
// starts with it; nothing for anything listed at the end.
std::optional<QString> monthOf(const db::Value& v)
{
    const QString* s = std::get_if<QString>(&v.data());
    if (!s) return std::nullopt;
    const QDate d = storedDate(v);
    if (!d.isValid() || d.year() <= 0) return std::nullopt;
    // The usual ISO text was read as it stands, and starts with its month; any other form of a
    // date is compared with its month written out.
    if (s->size() >= 10 && s->at(4) == '-' && s->at(7) == '-') return s->left(7);
    const QString month = QStringLiteral("%1-%2").arg(d.year(), 4, 10, QChar('0')).arg(d.month(), 2, 10, QChar('0'));
    if (!s->startsWith(month)) return std::nullopt;
    return month;
}

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

qint64 NewestFirstCursor::countSmart(const DocumentRange& r)
{
    // A small range is counted as it is; a large one as all documents but those outside it,
    // which are then the fewer (the engine counts a whole table by its pages, not its rows).
    constexpr qint64 kDirect = 20000;
    const qint64 direct = count(r, kDirect);
    if (direct < kDirect) return direct;
    std::vector<db::Value> p = params_;
    const qint64 all = scalar(*db_, QStringLiteral("SELECT count(*) FROM fadok WHERE 1 = 1%1").arg(where_), p).toInt();
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
    return std::max(direct, all - out);
}

LazyQueryModel::Part NewestFirstCursor::part(DocumentRange r, std::vector<db::Row> rows, bool counted)
{
    // A stored text that is no date is listed with the documents without one, after every
    // dated document: it waits for the end. Found where it was counted, it moves there.
    std::erase_if(rows, [&](const db::Row& row) {
        if (monthOf(row.at(dateColumn(row)))) return false;
        if (undated_.insert(rowidOf(row)).second && counted) ++moved_;
        return true;
    });
    sort(rows);
    return {QVariant::fromValue(r), std::move(rows)};
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
        if (!found.empty() && !monthOf(found.front().at(dateColumn(found.front()))))
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
    bool given = false;
    while (!given && !done_) {
        // Down the date index from where the last part stopped.
        const QString hi = below_.value_or(QString());
        std::vector<db::Value> values;
        const QString below = rangeCondition({QString(), hi}, values);
        std::vector<db::Row> rows = read(below, values, atLeast);
        QString lo;
        const bool last = int(rows.size()) < atLeast;
        if (!last) {
            // The last month reached may go on below the limit: it is read whole, so that it is
            // sorted whole, and the next part starts below it. Texts that are no date below the
            // last month wait for the next part.
            auto dated = std::find_if(rows.rbegin(), rows.rend(),
                                      [](const db::Row& r) { return monthOf(r.at(dateColumn(r))).has_value(); });
            if (dated != rows.rend()) {
                lo = *monthOf(dated->at(dateColumn(*dated)));
                const QString end = lowerTo(after(lo), hi);
                std::erase_if(rows, [&](const db::Row& r) { return r.at(dateColumn(r)).toText() < end; });
                for (db::Row& r : readRange({lo, end})) rows.push_back(std::move(r));
            } else {
                lo = rows.back().at(dateColumn(rows.back())).toText();
                rows = readRange({lo, hi});
            }
        }
        // One part per month, from the newest; a text that is no date goes with the month above it.
        std::map<QString, std::vector<db::Row>, std::greater<>> months;
        std::vector<db::Row> others;
        for (db::Row& r : rows) {
            if (auto m = monthOf(r.at(dateColumn(r))))
                months[*m].push_back(std::move(r));
            else
                others.push_back(std::move(r));
        }
        LazyQueryModel::Part undated = part({lo, hi}, std::move(others), false);
        if (months.empty()) pieces.push_back(std::move(undated));  // no rows, yet the range is held
        QString to = hi;
        for (auto it = months.begin(); it != months.end(); ++it) {
            const QString from = std::next(it) == months.end() ? lo : it->first;
            pieces.push_back(part({from, to}, std::move(it->second), false));
            to = from;
            given = true;
        }
        below_ = lo;
        if (last) {
            pieces.push_back(LazyQueryModel::Part{QVariant::fromValue(DocumentRange{{}, {}, true}), endRows()});
            done_ = true;
        }
    }
    return pieces;
}

std::vector<db::Row> NewestFirstCursor::reread(const QVariant& key)
{
    if (app_.gBaseDb.get() != db_) return {};
    const DocumentRange r = key.value<DocumentRange>();
    if (r.end) return endRows();
    return part(r, readRange(r), true).rows;
}

std::vector<NewestFirstCursor::Piece> NewestFirstCursor::around(const LazyQueryModel::Gap& gap,
                                                                const DocumentRange& month, bool exact)
{
    const DocumentRange r = gap.key.value<DocumentRange>();
    const DocumentRange above{month.to, r.to}, below{r.from, month.from};
    std::vector<db::Row> rows = readRange(month);
    const qint64 inMonth = qint64(rows.size());
    LazyQueryModel::Part read = part(month, std::move(rows), true);
    qint64 nAbove, nBelow;
    if (exact) {
        nAbove = countSmart(above);
        nBelow = countSmart(below);
    } else {
        // The side nearer the row asked for is counted; the other is what remains of the gap.
        nAbove = count(above, std::max<qint64>(gap.count, 1));
        nBelow = std::max<qint64>(0, gap.count - nAbove - inMonth);
    }
    std::vector<Piece> pieces;
    if (nAbove > 0) pieces.push_back(LazyQueryModel::Gap{QVariant::fromValue(above), nAbove});
    pieces.push_back(std::move(read));
    if (nBelow > 0) pieces.push_back(LazyQueryModel::Gap{QVariant::fromValue(below), nBelow});
    return pieces;
}

std::vector<NewestFirstCursor::Piece> NewestFirstCursor::open(const LazyQueryModel::Gap& gap, qint64 offset)
{
    if (app_.gBaseDb.get() != db_) return {};
    const DocumentRange r = gap.key.value<DocumentRange>();
    // The issue date of the row asked for, looked up from the nearer side of the gap; a gap that
    // holds fewer rows than counted gives its nearest one.
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
    if (const auto m = monthOf(date))
        month = {std::max(*m, r.from), lowerTo(after(*m), r.to)};
    else
        month = {date.toText(), lowerTo(date.toText() + QChar(1), r.to)};
    if (fromTop) return around(gap, month, false);
    // Counted from below: the same pieces, the gap below counted and the one above derived.
    const DocumentRange below{r.from, month.from};
    std::vector<db::Row> rows = readRange(month);
    const qint64 inMonth = qint64(rows.size());
    LazyQueryModel::Part read = part(month, std::move(rows), true);
    const qint64 nBelow = count(below, std::max<qint64>(gap.count, 1));
    const qint64 nAbove = std::max<qint64>(0, gap.count - nBelow - inMonth);
    std::vector<Piece> pieces;
    if (nAbove > 0) pieces.push_back(LazyQueryModel::Gap{QVariant::fromValue(DocumentRange{month.to, r.to}), nAbove});
    pieces.push_back(std::move(read));
    if (nBelow > 0) pieces.push_back(LazyQueryModel::Gap{QVariant::fromValue(below), nBelow});
    return pieces;
}

std::vector<NewestFirstCursor::Piece> NewestFirstCursor::openAt(const LazyQueryModel::Gap& gap, const QString& datawyst)
{
    const DocumentRange r = gap.key.value<DocumentRange>();
    const auto m = monthOf(db::Value(datawyst));
    if (!m || !r.holds(datawyst)) return {gap};
    return around(gap, {std::max(*m, r.from), lowerTo(after(*m), r.to)}, true);
}

bool NewestFirstCursor::walked(const QString& datawyst) const
{
    return done_ || (below_ && datawyst >= *below_);
}

std::vector<NewestFirstCursor::Piece> NewestFirstCursor::place(const QString& datawyst)
{
    const auto m = monthOf(db::Value(datawyst));
    if (!m || walked(datawyst)) return {};
    const QString hi = below_.value_or(QString());
    const DocumentRange month{*m, lowerTo(after(*m), hi)};
    const DocumentRange between{month.to, hi};
    const qint64 counted = empty(between) ? 0 : countSmart(between);
    std::vector<Piece> pieces;
    if (counted > 0) pieces.push_back(LazyQueryModel::Gap{QVariant::fromValue(between), counted});
    pieces.push_back(part(month, readRange(month), false));
    below_ = month.from;
    return pieces;
}

int NewestFirstCursor::takeMovedToEnd()
{
    return std::exchange(moved_, 0);
}
