#include "documents/document_list.h"
#include "core/app.h"
#include "platform/database.h"
#include <algorithm>
#include <optional>

namespace {

// The sort key of one row: year and month of the issue date and the running number, each empty
// (sorting last) when the date is not a date or the number is missing.
struct SortKey {
    std::optional<int> year, month;
    std::optional<double> running;
};

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

// A stored date: the usual ISO "yyyy-MM-dd" read directly, anything else as every other read does.
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
        if (t[4] == '-' && t[7] == '-' && y > 0 && m >= 0 && d >= 0)
            return QDate(y, m, d);
    }
    return v.toDate();
}

// Descending, an empty key after every value.
template <typename T>
int compareDesc(const std::optional<T>& a, const std::optional<T>& b)
{
    if (a.has_value() != b.has_value()) return a ? -1 : 1;
    if (!a || *a == *b) return 0;
    return *a > *b ? -1 : 1;
}

} // namespace

std::vector<DocumentListRow> ListaDokumentow(App& app)
{
    std::vector<DocumentListRow> rows;
    if (!app.gBazaOtwarta || !app.gBaseDb) return rows;
    // The order is worked out here on keys taken once per row: the engine would call its date
    // and number functions again for every comparison. Rows are read in stored order so that
    // rows with equal keys keep it, as the engine's sort does.
    const size_t count = size_t(app.gBaseDb->scalar(QStringLiteral("SELECT count(*) FROM fadok")).toInt());
    rows.reserve(count);
    std::vector<SortKey> keys;
    keys.reserve(count);
    db::Statement st(*app.gBaseDb,
                     QStringLiteral("SELECT Inddok, Numer, Datawyst, Datasprz, Nazkon, Adrkon, Nipkon, RazNetto, RazVAT, "
                                    "RazBrutto, Wystawil FROM fadok ORDER BY rowid"));
    while (st.step()) {
        DocumentListRow d;
        d.Inddok = st.value(0).toText();
        const db::Value numer = st.value(1);
        d.Numer = numer.toText();
        d.Datawyst = storedDate(st.value(2));
        d.Datasprz = storedDate(st.value(3));
        d.Nazkon = st.value(4).toText();
        d.Adrkon = st.value(5).toText();
        d.Nipkon = st.value(6).toText();
        d.RazNetto = st.value(7).toOptDecimal();
        d.RazVAT = st.value(8).toOptDecimal();
        d.RazBrutto = st.value(9).toOptDecimal();
        d.Wystawil = st.value(10).toText();
        SortKey k;
        if (d.Datawyst.isValid()) {
            k.year = d.Datawyst.year();
            k.month = d.Datawyst.month();
        }
        if (!numer.isNull()) k.running = runningNumber(d.Numer);
        keys.push_back(k);
        rows.push_back(std::move(d));
    }
    std::vector<int> order(rows.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = int(i);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const SortKey& x = keys[size_t(a)];
        const SortKey& y = keys[size_t(b)];
        if (int c = compareDesc(x.year, y.year)) return c < 0;
        if (int c = compareDesc(x.month, y.month)) return c < 0;
        return compareDesc(x.running, y.running) < 0;
    });
    // Rows moved into their places in the list itself: a second list of a hundred thousand rows
    // would cost more than the moves.
    for (size_t i = 0; i < order.size(); ++i) {
        if (order[i] < 0) continue;
        DocumentListRow first = std::move(rows[i]);
        size_t to = i;
        for (size_t from = size_t(order[i]); from != i; from = size_t(order[to])) {
            rows[to] = std::move(rows[from]);
            order[to] = -1;
            to = from;
        }
        rows[to] = std::move(first);
        order[to] = -1;
    }
    return rows;
}
