#include "editor/dictionaries.h"
#include "platform/database.h"
#include "platform/date_text.h"
#include "platform/sql_functions.h"
#include <QHash>
#include <QLocale>
#include <algorithm>

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
    QString sql;
    std::vector<db::Value> params;
    int maxColumn = -1;  // the column that keeps the greatest value of the rows folded into one
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
         "SELECT Nazkon, Adrkon, Nipkon, Nazdok, Numdok, Datadok, Wyddok, PlatRach, count(*) FROM fadok "
         "GROUP BY Nazkon COLLATE BINARY, Adrkon COLLATE BINARY, Nipkon COLLATE BINARY, Nazdok COLLATE BINARY, "
         "Numdok COLLATE BINARY, Datadok COLLATE BINARY, Wyddok COLLATE BINARY, PlatRach COLLATE BINARY",
         {}},
        {FormyPlatnosci,
         FormyPlatnosci,
         FormyPlatnosci + kHint,
         {{"Forma płatności", 3000}},
         {Kind::Text},
         "SELECT PlatFor, count(*) FROM fadok WHERE PlatFor IS NOT NULL GROUP BY PlatFor COLLATE BINARY",
         {}},
        {Odroczenia,
         Odroczenia,
         Odroczenia + kHint,
         {{"Liczba dni", 2000}},
         {Kind::Number},
         "SELECT PlatDni, count(*) FROM fadok WHERE PlatDni IS NOT NULL GROUP BY PlatDni",
         {}},
        // Terms that start with a digit are payment dates, not terms.
        {Terminy,
         Terminy,
         Terminy + kHint,
         {{"Termin płatności", 4000}},
         {Kind::Text},
         "SELECT PlatTer, count(*) FROM fadok WHERE PlatTer IS NOT NULL AND substr(PlatTer, 1, 1) NOT BETWEEN ? AND ? "
         "GROUP BY PlatTer COLLATE BINARY",
         {"0", "9"}},
        // One row for each name, unit and rate, with the highest price ever stored for them.
        {Produkty,
         Produkty,
         Produkty + kHint,
         {{"Nazwa produktu", 3000}, {"Jm.", 600}, {"Cena netto", 1200, true}, {"St.VAT", 800}},
         {Kind::Text, Kind::Text, Kind::Money, Kind::Text},
         "SELECT Nazwa, Indjed, max(Cenanet), Indvat, count(*) FROM fapoz "
         "GROUP BY Nazwa COLLATE BINARY, Indjed COLLATE BINARY, Indvat COLLATE BINARY",
         {},
         2},
        {Jednostki,
         Jednostki,
         Jednostki,
         {{"Symbol jednostki", 2000}},
         {Kind::Text},
         "SELECT Indjed, count(*) FROM fapoz GROUP BY Indjed COLLATE BINARY",
         {}},
        {StawkiVAT,
         StawkiVAT,
         StawkiVAT + kHint,
         {{"Stawki podatku", 2000}},
         {Kind::Text},
         "SELECT Indvat, count(*) FROM fapoz GROUP BY Indvat COLLATE BINARY",
         {}},
        {Uwagi,
         Uwagi,
         Uwagi + kHint,
         {{"Uwagi do dokumentu", 3000}},
         {Kind::Text},
         "SELECT Uwagi, count(*) FROM fadok WHERE Uwagi IS NOT NULL GROUP BY Uwagi COLLATE BINARY",
         {}},
        {Wystawil,
         Wystawiajacy,
         Wystawiajacy + kHint,
         {{"Wystawiający dokumenty", 3000}},
         {Kind::Text},
         "SELECT Wystawil, count(*) FROM fadok WHERE Wystawil IS NOT NULL GROUP BY Wystawil COLLATE BINARY",
         {}},
    };
    return all;
}

const Definition* definition(const QString& name)
{
    for (const Definition& d : definitions())
        if (d.name == name) return &d;
    return nullptr;
}

// `dateFormat` is the short date form, asked for once per dictionary: asking the system for it
// costs more than the rest of a row.
QString text(const db::Value& v, Kind kind, const QString& dateFormat)
{
    if (v.isNull()) return QString();
    switch (kind) {
    case Kind::Date: return v.toDate().toString(dateFormat);
    case Kind::Number: return QString::number(v.toInt());
    case Kind::Money: return v.toDecimal().toDisplay(2);
    case Kind::Text: break;
    }
    return v.toText();
}

// A row as read, with what folding and ordering need.
struct Entry {
    DictionaryRow row;
    qint64 uses = 0;                    // of the spelling shown
    OptDecimal max;                     // the value of the max column
    QByteArray key;                     // of the texts that tell rows apart
    std::optional<qint64> firstNumber;  // order of a numeric first column
};

}  // namespace

QString dictionaryMark(const QString& name)
{
    const Definition* d = definition(name);
    return d ? d->mark : QString();
}

std::optional<Dictionary> readDictionary(db::Database& db, const QString& name)
{
    const Definition* def = definition(name);
    if (!def) return std::nullopt;
    const int n = int(def->kinds.size());
    const QString dateFormat = shortDateFormat();
    std::vector<Entry> entries;
    QHash<QByteArray, size_t> folded;  // the key of each row's texts -> its entry
    db::Statement st(db, def->sql);
    st.bindAll(def->params);
    while (st.step()) {
        Entry e;
        // The texts that tell rows apart, each closed by a character that weighs less than any
        // letter: one key folds the spellings and orders by the first column, then the others.
        QString keyed;
        for (int c = 0; c < n; ++c) {
            const db::Value v = st.value(c);
            const QString t = text(v, def->kinds[size_t(c)], dateFormat);
            e.row.texts << t;
            if (c == def->maxColumn) {
                e.max = v.toOptDecimal();
                continue;
            }
            if (c == 0 && def->kinds[0] == Kind::Number && !v.isNull()) e.firstNumber = v.toInt();
            keyed += t;
            keyed += QChar(1);
        }
        e.uses = st.value(n).toInt();
        e.key = db::polishSortKey(keyed);
        const auto it = folded.constFind(e.key);
        if (it == folded.cend()) {
            folded.insert(e.key, entries.size());
            entries.push_back(std::move(e));
            continue;
        }
        Entry& kept = entries[it.value()];
        const bool higher = e.max && (!kept.max || *e.max > *kept.max);
        if (e.uses > kept.uses) {
            kept.uses = e.uses;
            for (int c = 0; c < n; ++c)
                if (c != def->maxColumn) kept.row.texts[c] = e.row.texts[c];
        }
        if (higher) {
            kept.max = e.max;
            kept.row.texts[def->maxColumn] = e.row.texts[def->maxColumn];
        }
    }
    // Ordered by the first column, then by the others.
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        if (a.firstNumber != b.firstNumber) return a.firstNumber < b.firstNumber;
        return a.key < b.key;
    });
    Dictionary d{def->mark, def->caption, def->columns, {}};
    d.rows.reserve(entries.size());
    for (Entry& e : entries) d.rows.push_back(std::move(e.row));
    return d;
}

Dictionary datesList(const QString& field, const QDate& anchor, int before, int after)
{
    Dictionary d{field, slownik::Daty, {{"Dzień tyg.", 350}, {"Data", 1200}, {"Przesunięcie", 800}}, {}};
    if (!anchor.isValid()) return d;
    // A century each way is more than any list can show; a larger setting would only hang.
    constexpr qint64 kLimit = 36525;
    const qint64 from = -std::clamp<qint64>(before, -kLimit, kLimit);
    const qint64 to = std::clamp<qint64>(after, -kLimit, kLimit);
    const QLocale locale;
    for (qint64 k = from; k <= to; ++k) {
        const QDate day = anchor.addDays(k);
        DictionaryRow r;
        r.texts << locale.dayName(day.dayOfWeek(), QLocale::ShortFormat) << dateText(day)
                << (k == 0 ? slownik::Kotwica : QString::number(k));
        r.bold = k == 0;
        if (day.dayOfWeek() == Qt::Saturday)
            r.colour = QColor(0, 170, 0);
        else if (day.dayOfWeek() == Qt::Sunday)
            r.colour = QColor(255, 0, 0);
        d.rows.push_back(std::move(r));
    }
    return d;
}
