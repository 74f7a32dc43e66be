#include "editor/dictionaries.h"
#include "platform/database.h"
#include "platform/date_text.h"
#include "platform/sql_functions.h"
#include <QElapsedTimer>
#include <QLocale>
#include <algorithm>
#include <optional>

namespace {

// How a column's stored value becomes its text in the list.
enum class Kind { Text, Date, Number, Money };

// One stored dictionary. Its statement gives the columns in the list's order, each exact
// spelling once with the number of its uses last; spellings that differ only in case are
// folded here, by the Polish collation (the columns' own NOCASE knows only the letters A to Z),
// and the row shows the one used most. The grouping compares exactly whatever collation a
// file's columns were made with.
struct Definition {
    QString name;
    QString mark;
    QString caption;
    std::vector<DictionaryColumn> columns;
    std::vector<Kind> kinds;
    QString select;  // the columns, the number of uses last
    QString table;
    QString where;  // may be empty
    QString groupBy;
    std::vector<db::Value> params;
    int maxColumn = -1;  // the column that keeps the greatest value of the rows folded into one
    // What the rows are read in steps along: the first column of the index the grouping reads,
    // or the table's own order where no index serves it.
    QString stepKey = QStringLiteral("rowid");
};

const QString kHint = QStringLiteral(" (przeciągnij do odpowiedniego pola)");

const std::vector<Definition>& definitions()
{
    using namespace slownik;
    static const std::vector<Definition> all = {
        {Kontrahenci,
         Kontrahenci,
         Kontrahenci + kHint,
         {{"Nazwa kontrahenta", 2000},
          {"Adres kontrahenta", 2000},
          {"NIP", 1000},
          {"Dok.tożsamości", 1500},
          {"Nr dok.tożsamości", 1500},
          {"Data wydania", 1200},
          {"Organ, który wydał dokument", 1500},
          {"Rachunek bankowy", 1800}},
         {Kind::Text, Kind::Text, Kind::Text, Kind::Text, Kind::Text, Kind::Date, Kind::Text, Kind::Text},
         "Nazkon, Adrkon, Nipkon, Nazdok, Numdok, Datadok, Wyddok, PlatRach, count(*)",
         "fadok",
         "",
         "Nazkon COLLATE BINARY, Adrkon COLLATE BINARY, Nipkon COLLATE BINARY, Nazdok COLLATE BINARY, "
         "Numdok COLLATE BINARY, Datadok COLLATE BINARY, Wyddok COLLATE BINARY, PlatRach COLLATE BINARY",
         {},
         -1,
         "Nazkon COLLATE BINARY"},
        {FormyPlatnosci,
         FormyPlatnosci,
         FormyPlatnosci + kHint,
         {{"Forma płatności", 3000}},
         {Kind::Text},
         "PlatFor, count(*)",
         "fadok",
         "PlatFor IS NOT NULL",
         "PlatFor COLLATE BINARY",
         {},
         -1,
         "PlatFor COLLATE BINARY"},
        {Odroczenia,
         Odroczenia,
         Odroczenia + kHint,
         {{"Liczba dni", 2000}},
         {Kind::Number},
         "PlatDni, count(*)",
         "fadok",
         "PlatDni IS NOT NULL",
         "PlatDni",
         {}},
        // Terms that start with a digit are payment dates, not terms.
        {Terminy,
         Terminy,
         Terminy + kHint,
         {{"Termin płatności", 4000}},
         {Kind::Text},
         "PlatTer, count(*)",
         "fadok",
         "PlatTer IS NOT NULL AND substr(PlatTer, 1, 1) NOT BETWEEN ? AND ?",
         "PlatTer COLLATE BINARY",
         {"0", "9"},
         -1,
         "PlatTer COLLATE BINARY"},
        // One row for each name, unit and rate, with the highest price ever stored for them.
        {Produkty,
         Produkty,
         Produkty + kHint,
         {{"Nazwa produktu", 3000}, {"Jm.", 600}, {"Cena netto", 1200, true}, {"St.VAT", 800}},
         {Kind::Text, Kind::Text, Kind::Money, Kind::Text},
         "Nazwa, Indjed, max(Cenanet), Indvat, count(*)",
         "fapoz",
         "",
         "Nazwa COLLATE BINARY, Indjed COLLATE BINARY, Indvat COLLATE BINARY",
         {},
         2,
         "Nazwa COLLATE BINARY"},
        {Jednostki,
         Jednostki,
         Jednostki,
         {{"Symbol jednostki", 2000}},
         {Kind::Text},
         "Indjed, count(*)",
         "fapoz",
         "",
         "Indjed COLLATE BINARY",
         {},
         -1,
         "Indjed COLLATE BINARY"},
        {StawkiVAT,
         StawkiVAT,
         StawkiVAT + kHint,
         {{"Stawki podatku", 2000}},
         {Kind::Text},
         "Indvat, count(*)",
         "fapoz",
         "",
         "Indvat COLLATE BINARY",
         {},
         -1,
         "Indvat COLLATE BINARY"},
        {Uwagi,
         Uwagi,
         Uwagi + kHint,
         {{"Uwagi do dokumentu", 3000}},
         {Kind::Text},
         "Uwagi, count(*)",
         "fadok",
         "Uwagi IS NOT NULL",
         "Uwagi COLLATE BINARY",
         {},
         -1,
         "Uwagi COLLATE BINARY"},
        {Wystawil,
         Wystawiajacy,
         Wystawiajacy + kHint,
         {{"Wystawiający dokumenty", 3000}},
         {Kind::Text},
         "Wystawil, count(*)",
         "fadok",
         "Wystawil IS NOT NULL",
         "Wystawil COLLATE BINARY",
         {},
         -1,
         "Wystawil COLLATE BINARY"},
    };
    return all;
}

const Definition* definition(const QString& name)
{
    for (const Definition& d : definitions())
        if (d.name == name) return &d;
    return nullptr;
}

// A stored date as the list shows it: the usual ISO text read directly, anything else as every
// other read does.
QDate storedDay(QByteArrayView t)
{
    auto num = [&](int from, int len) {
        int n = 0;
        for (int k = from; k < from + len; ++k) {
            if (t[k] < '0' || t[k] > '9') return -1;
            n = n * 10 + (t[k] - '0');
        }
        return n;
    };
    if (t.size() >= 10 && t[4] == '-' && t[7] == '-') {
        const int y = num(0, 4), m = num(5, 2), d = num(8, 2);
        if (y > 0 && m >= 0 && d >= 0) return QDate(y, m, d);
    }
    return db::Value(QString::fromUtf8(t)).toDate();
}

// Appends column `c` of the statement's row as the list shows it, in UTF-8.
// A NULL is no text at all (the engine gives no text for it, which is asked for once).
void appendText(const db::Statement& st, int c, Kind kind, const DateWriter& dates, QByteArray& out)
{
    switch (kind) {
    case Kind::Text: out += st.utf8(c); return;
    case Kind::Date:
        if (const QByteArrayView t = st.utf8(c); !t.isNull()) dates.appendUtf8(storedDay(t), out);
        return;
    case Kind::Number:
        if (!st.isNull(c)) out += QByteArray::number(st.value(c).toInt());
        return;
    case Kind::Money:
        if (!st.isNull(c)) out += st.value(c).toDecimal().toDisplay(2).toUtf8();
        return;
    }
}

// The rows as read, before spellings are folded: what folding and ordering need of each. Kept
// between reads of a thread, emptied: a dictionary of thousands of rows then needs no fresh
// memory each time.
constexpr qsizetype kKeptScratch = 2 << 20;  // bytes of texts and keys kept between reads

struct Read {
    DictionaryRows rows;
    QByteArray keys;  // of the first column's texts, one after another
    std::vector<int> keyEnds;
    std::vector<qint64> uses;                        // of the spelling
    std::vector<OptDecimal> max;                     // the value of the max column
    std::vector<std::optional<qint64>> firstNumber;  // order of a numeric first column

    void clear(int columns)
    {
        rows.clear(columns);
        keys.resize(0);
        keyEnds.clear();
        uses.clear();
        max.clear();
        firstNumber.clear();
    }
    QByteArrayView key(int r) const
    {
        const int from = r > 0 ? keyEnds[size_t(r - 1)] : 0;
        return QByteArrayView(keys).sliced(from, keyEnds[size_t(r)] - from);
    }
};

// The dictionary's statement, over the rows that also meet `range` when it is given.
QString statement(const Definition& d, const QString& range)
{
    QStringList conditions;
    if (!range.isEmpty()) conditions << range;
    if (!d.where.isEmpty()) conditions << d.where;
    return QStringLiteral("SELECT %1 FROM %2%3 GROUP BY %4")
        .arg(d.select, d.table, conditions.isEmpty() ? QString() : QStringLiteral(" WHERE ") + conditions.join(" AND "),
             d.groupBy);
}

// A dictionary is read in steps, each a statement of its own, so that the file's read lock is let
// go between them: a save on another workstation waits for one step at most, never for the whole
// read. Along an index a step ends at the first new key once its time is up; along the table's
// order a step is a range of rows sized for that time at the pace of the last.
constexpr qint64 kFirstRows = 20000;
constexpr qint64 kLeastRows = 1000;

qint64 nextRows(qint64 rows, qint64 tookMs, qint64 stepMs)
{
    const qint64 paced = tookMs > 0 ? rows * stepMs / tookMs : rows * 4;
    return std::max(kLeastRows, std::clamp(paced, rows / 4, rows * 4));
}

}  // namespace

QString dictionaryMark(const QString& name)
{
    const Definition* d = definition(name);
    return d ? d->mark : QString();
}

std::optional<DictionaryQuery> dictionaryQuery(const QString& name)
{
    const Definition* d = definition(name);
    if (!d) return std::nullopt;
    return DictionaryQuery{statement(*d, QString()), d->params};
}

std::optional<Dictionary> readDictionary(db::Database& db, const QString& name, qint64 stepMs)
{
    const Definition* def = definition(name);
    if (!def) return std::nullopt;
    const int n = int(def->kinds.size());
    const DateWriter dates;
    thread_local Read read;  // the contractors are also read on a background thread
    read.clear(n);
    // Each value is written once into the rows read, and the first column's key too.
    auto take = [&](const db::Statement& st) {
        QByteArray& text = read.rows.utf8();
        OptDecimal max;
        std::optional<qint64> first;
        for (int c = 0; c < n; ++c) {
            const qsizetype from = text.size();
            appendText(st, c, def->kinds[size_t(c)], dates, text);
            read.rows.endColumn();
            if (c == def->maxColumn)
                max = st.value(c).toOptDecimal();
            else if (c == 0)
                db::appendPolishSortKey(QByteArrayView(text).sliced(from), read.keys);
        }
        if (def->kinds[0] == Kind::Number && !st.isNull(0)) first = st.value(0).toInt();
        read.keyEnds.push_back(int(read.keys.size()));
        read.uses.push_back(st.value(n).toInt());
        read.max.push_back(max);
        read.firstNumber.push_back(first);
    };
    auto run = [&](db::Statement& st, std::vector<db::Value> bounds) {
        bounds.insert(bounds.end(), def->params.begin(), def->params.end());
        st.bindAll(bounds);
    };
    const QString& key = def->stepKey;
    if (key == QLatin1String("rowid")) {
        const qint64 first = db.scalar(QStringLiteral("SELECT min(rowid) FROM ") + def->table).toInt();
        const qint64 last = db.scalar(QStringLiteral("SELECT max(rowid) FROM ") + def->table).toInt();
        qint64 rows = stepMs > 0 ? kFirstRows : 1;
        for (qint64 from = first - 1; from < last;) {
            const qint64 to = std::min(last, from + rows);
            QElapsedTimer took;
            took.start();
            db::Statement st(db, statement(*def, QStringLiteral("rowid > ? AND rowid <= ?")));
            run(st, {from, to});
            while (st.step()) take(st);
            from = to;
            if (stepMs > 0) rows = nextRows(rows, took.elapsed(), stepMs);
        }
    } else {
        {
            db::Statement st(db, statement(*def, key + QStringLiteral(" IS NULL")));
            run(st, {});
            while (st.step()) take(st);
        }
        // The groups come in the index's order, the key first: a step ends before a new key.
        std::optional<QString> after;
        for (bool more = true; more;) {
            more = false;
            db::Statement st(
                db, statement(*def, after ? key + QStringLiteral(" > ?") : key + QStringLiteral(" IS NOT NULL")));
            run(st, after ? std::vector<db::Value>{*after} : std::vector<db::Value>{});
            QElapsedTimer took;
            took.start();
            QByteArray current;
            bool any = false;
            while (st.step()) {
                const QByteArrayView k = st.utf8(0);
                if (!any || k != current) {
                    if (any && took.elapsed() >= stepMs) {
                        after = QString::fromUtf8(current);
                        more = true;
                        break;
                    }
                    current = k.toByteArray();
                    any = true;
                }
                take(st);
            }
        }
    }
    // Ordered by the first column, then by the others (all but the max column, which tells no
    // rows apart); spellings alike but for case come together, in the order read.
    std::vector<int> order(size_t(read.rows.size()));
    for (size_t i = 0; i < order.size(); ++i) order[i] = int(i);
    auto compare = [&](int a, int b) {
        if (read.firstNumber[size_t(a)] != read.firstNumber[size_t(b)])
            return read.firstNumber[size_t(a)] < read.firstNumber[size_t(b)] ? -1 : 1;
        if (const int k = read.key(a).compare(read.key(b))) return k;
        for (int c = 1; c < n; ++c)
            if (c != def->maxColumn)
                if (const int k = db::comparePolishUtf8(read.rows.utf8(a, c), read.rows.utf8(b, c))) return k;
        return 0;
    };
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return compare(a, b) < 0; });
    Dictionary d{def->mark, def->caption, def->columns, DictionaryRows(n)};
    for (size_t g = 0; g < order.size();) {
        // One row for the spellings of a group: the one used most, and the greatest value of the
        // max column whichever spelling holds it; the first read wins a tie.
        size_t end = g + 1;
        while (end < order.size() && compare(order[g], order[end]) == 0) ++end;
        int shown = order[g], highest = order[g];
        for (size_t k = g + 1; k < end; ++k) {
            const int r = order[k];
            if (read.uses[size_t(r)] > read.uses[size_t(shown)]) shown = r;
            const OptDecimal& m = read.max[size_t(r)];
            if (m && (!read.max[size_t(highest)] || *m > *read.max[size_t(highest)])) highest = r;
        }
        if (highest == shown)
            d.rows.addRow(read.rows, shown);
        else
            for (int c = 0; c < n; ++c) {
                d.rows.utf8() += read.rows.utf8(c == def->maxColumn ? highest : shown, c);
                d.rows.endColumn();
            }
        g = end;
    }
    // A large scratch goes: against a long statement fresh memory costs next to nothing.
    if (read.rows.utf8().capacity() + read.keys.capacity() > kKeptScratch) read = Read{};
    return d;
}

QByteArrayView DictionaryRows::utf8(int row, int column) const
{
    const size_t at = size_t(row) * size_t(columns_) + size_t(column);
    const int from = at > 0 ? ends_[at - 1] : 0;
    return QByteArrayView(chars_).sliced(from, ends_[at] - from);
}

QStringList DictionaryRows::texts(int row) const
{
    QStringList l;
    for (int c = 0; c < columns_; ++c) l << text(row, c);
    return l;
}

void DictionaryRows::addRow(const DictionaryRows& from, int row)
{
    const size_t first = size_t(row) * size_t(columns_);
    const int start = first > 0 ? from.ends_[first - 1] : 0;
    const int shift = int(chars_.size()) - start;
    chars_ += QByteArrayView(from.chars_).sliced(start, from.ends_[first + size_t(columns_) - 1] - start);
    for (size_t c = first; c < first + size_t(columns_); ++c) ends_.push_back(from.ends_[c] + shift);
}

void DictionaryRows::clear(int columns)
{
    columns_ = columns;
    chars_.resize(0);
    ends_.clear();
    looks_.clear();
}

void DictionaryRows::mark(bool bold, const QColor& colour)
{
    looks_.resize(size_t(size()));
    looks_.back() = {bold, colour};
}

Dictionary datesList(const QString& field, const QDate& anchor, int before, int after)
{
    Dictionary d{field, slownik::Daty, {{"Dzień tyg.", 350}, {"Data", 1200}, {"Przesunięcie", 800}}, DictionaryRows(3)};
    if (!anchor.isValid()) return d;
    // A century each way is more than any list can show; a larger setting would only hang.
    constexpr qint64 kLimit = 36525;
    const qint64 from = -std::clamp<qint64>(before, -kLimit, kLimit);
    const qint64 to = std::clamp<qint64>(after, -kLimit, kLimit);
    const QLocale locale;
    QString days[8];
    for (int w = 1; w <= 7; ++w) days[w] = locale.dayName(w, QLocale::ShortFormat);
    for (qint64 k = from; k <= to; ++k) {
        const QDate day = anchor.addDays(k);
        for (const QString& t : {days[day.dayOfWeek()], dateText(day), k == 0 ? slownik::Kotwica : QString::number(k)})
            d.rows.add(t);
        QColor colour;
        if (day.dayOfWeek() == Qt::Saturday)
            colour = QColor(0, 170, 0);
        else if (day.dayOfWeek() == Qt::Sunday)
            colour = QColor(255, 0, 0);
        d.rows.mark(k == 0, colour);
    }
    return d;
}
