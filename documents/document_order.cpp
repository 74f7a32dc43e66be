#include "documents/document_order.h"
#include "core/app.h"
#include <algorithm>

namespace {

int digit(QChar c)
{
    return c.unicode() >= '0' && c.unicode() <= '9' ? c.unicode() - '0' : -1;
}

// The number a document number starts with, 0 when it starts with none. The usual "7/05/2024"
// is read directly; anything else (blanks, a sign, a decimal point) by the general rule.
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

NewestFirstCursor::NewestFirstCursor(App& app, QString columns, QString where, std::vector<db::Value> params)
    : app_(app), db_(app.gBaseDb.get()), columns_(std::move(columns)), where_(std::move(where)),
      params_(std::move(params))
{
    done_ = !db_;
}

void NewestFirstCursor::sort(std::vector<db::Row>& rows)
{
    if (rows.empty()) return;
    const int date = rows.front().indexOf(QStringLiteral("Datawyst"));
    const int numer = rows.front().indexOf(QStringLiteral("Numer"));
    const int rowid = rows.front().size() - 1;
    // Keys taken once per row; documents with equal keys keep their stored order.
    struct Keyed {
        DocumentOrderKey key;
        qint64 rowid;
        size_t at;
    };
    std::vector<Keyed> keys;
    keys.reserve(rows.size());
    for (size_t i = 0; i < rows.size(); ++i)
        keys.push_back(
            {DocumentOrderKey::of(storedDate(rows[i].at(date)), rows[i].at(numer)), rows[i].at(rowid).toInt(), i});
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

std::vector<db::Row> NewestFirstCursor::walk(int atLeast)
{
    // Down the date index from where the last part stopped.
    std::vector<db::Row> rows = below_ ? read(QStringLiteral(" AND Datawyst < ?"), {*below_}, atLeast)
                                       : read(QStringLiteral(" AND Datawyst IS NOT NULL"), {}, atLeast);
    if (int(rows.size()) < atLeast) {
        // The end: the documents without an issue date come after every dated one.
        done_ = true;
        for (db::Row& r : read(QStringLiteral(" AND Datawyst IS NULL"), {}, 0)) rows.push_back(std::move(r));
        return rows;
    }
    // The last month reached may go on below the limit: it is read whole, so that it is sorted
    // whole, and the next part starts below it.
    const int date = rows.front().indexOf(QStringLiteral("Datawyst"));
    const QString month = rows.back().at(date).toText().left(7);
    std::erase_if(rows, [&](const db::Row& r) { return r.at(date).toText().startsWith(month); });
    for (db::Row& r : read(QStringLiteral(" AND Datawyst >= ? AND Datawyst < ?"), {month, month + QLatin1Char('~')}, 0))
        rows.push_back(std::move(r));
    below_ = month;
    return rows;
}

bool NewestFirstCursor::hasRead(const db::Value& datawyst) const
{
    if (done_) return true;
    return below_ && storedDate(datawyst).isValid() && datawyst.toText() >= *below_;
}

std::vector<db::Row> NewestFirstCursor::next(int atLeast)
{
    if (done_) return {};
    if (app_.gBaseDb.get() != db_) {
        done_ = true;
        return {};
    }
    atLeast = std::max(atLeast, 1);
    std::vector<db::Row> rows;
    while (rows.empty() && !done_) {
        std::vector<db::Row> part = walk(atLeast);
        if (part.empty()) continue;
        // A stored text that is no date sorts with the documents without one, after every
        // dated document: it waits for the end.
        const int date = part.front().indexOf(QStringLiteral("Datawyst"));
        for (db::Row& r : part) (storedDate(r.at(date)).isValid() ? rows : undated_).push_back(std::move(r));
    }
    if (done_)
        for (db::Row& r : undated_) rows.push_back(std::move(r));
    sort(rows);
    return rows;
}
