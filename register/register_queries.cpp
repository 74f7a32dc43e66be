#include "register/register_queries.h"
#include "core/app.h"
#include "platform/app_error.h"
#include "platform/sql_functions.h"
#include "register/register_columns.h"
#include <QDate>
#include <algorithm>

namespace {

// A LIKE pattern that takes `text` literally: every wildcard of the engine (the old * ? # [ as
// well as % _) is escaped with a backslash. The engine's LIKE ignores case for Polish letters.
QString likeLiteral(const QString& text)
{
    QString out;
    out.reserve(text.size() * 2);
    for (QChar c : text) {
        if (QStringView(u"\\%_*?#[").contains(c)) out += QLatin1Char('\\');
        out += c;
    }
    return out;
}

QString selectList()
{
    QStringList names;
    for (const RegisterColumn& c : registerColumns()) names << c.name;
    return names.join(QStringLiteral(", "));
}

// Each distinct beginning of `length` characters of the stored issue dates, newest first. Each
// step is one seek down the date index, so a list of months costs one step per month, not a
// read of every document.
QStringList datePrefixes(db::Database& db, int length)
{
    QStringList prefixes;
    db::Statement first(db, QStringLiteral("SELECT max(Datawyst) FROM fadok"));
    db::Statement below(db, QStringLiteral("SELECT max(Datawyst) FROM fadok WHERE Datawyst < ?"));
    db::Value v = first.step() ? first.value(0) : db::Value();
    while (!v.isNull()) {
        // A dash keeps a bare year from being read as a number by the column's affinity.
        const QString prefix = v.toText().left(length);
        prefixes << prefix;
        below.reset();
        below.bind(1, length == 4 ? prefix + QLatin1Char('-') : prefix);
        v = below.step() ? below.value(0) : db::Value();
    }
    return prefixes;
}

void checkChanged(int changed)
{
    if (changed == 0)
        throw AppError(err::kNoCurrentRecord, QStringLiteral("DAO.Recordset"),
                       QStringLiteral("Brak bieżącego rekordu."));
}

}  // namespace

SqlCondition registerCondition(const RegisterFilter& f)
{
    SqlCondition c;
    if (!f.dokument.isEmpty()) {
        c.sql += QStringLiteral(" AND Inddok = ?");
        c.params.push_back(f.dokument);
    }
    if (!f.nazwa.isEmpty()) {
        c.sql += QStringLiteral(" AND Nazkon LIKE ? ESCAPE '\\'");
        c.params.push_back(QLatin1Char('%') + likeLiteral(f.nazwa) + QLatin1Char('%'));
    }
    if (f.niezaplacone) {
        // Paid in full means the amount to pay, which is what marking paid writes.
        c.sql += QStringLiteral(" AND (Zaplacono IS NULL OR DoZaplaty - Zaplacono > ?)");
        c.params.push_back(*Decimal::parse(QStringLiteral("0.01")));
    }
    if (!f.platfor.isEmpty()) {
        c.sql += QStringLiteral(" AND PlatFor LIKE ? ESCAPE '\\'");
        c.params.push_back(likeLiteral(f.platfor));
    }
    const QDate month = QDate::fromString(f.miesiac + QStringLiteral("01"), QStringLiteral("yyyyMMdd"));
    if (month.isValid()) {
        // The month as a range of the issue date, so that the date index finds it.
        c.sql += QStringLiteral(" AND Datawyst >= ? AND Datawyst < ?");
        c.params.push_back(month);
        c.params.push_back(month.addMonths(1));
    }
    return c;
}

NewestFirstCursor registerCursor(App& app, const RegisterFilter& f)
{
    SqlCondition c = registerCondition(f);
    return NewestFirstCursor(app, selectList(), c.sql, std::move(c.params));
}

std::optional<db::Row> registerRow(db::Database& db, qint64 rowid)
{
    return db.queryOne(QStringLiteral("SELECT %1, rowid FROM fadok WHERE rowid = ?").arg(selectList()), {rowid});
}

std::vector<db::Value> registerSums(db::Database& db, const RegisterFilter& f)
{
    static const QStringList summed = {"RazNetto", "RazVAT", "RazBrutto", "Potracenie", "DoZaplaty", "Zaplacono"};
    QStringList sums;
    for (const QString& s : summed) sums << QStringLiteral("sum(%1)").arg(s);
    const SqlCondition c = registerCondition(f);
    // An aggregate always gives one row; the sums of nothing are NULL.
    auto rows = db.query(QStringLiteral("SELECT %1 FROM fadok WHERE 1 = 1%2").arg(sums.join(", "), c.sql), c.params);
    std::vector<db::Value> values(registerColumns().size());
    values[size_t(registerColumn("Numer"))] = QStringLiteral("Razem");
    for (int i = 0; i < summed.size(); ++i)
        values[size_t(registerColumn(summed[i]))] = rows.empty() ? db::Value() : rows.front().at(i);
    return values;
}

void markPaid(db::Database& db, qint64 rowid, bool paid)
{
    checkChanged(db.execute(paid ? QStringLiteral("UPDATE fadok SET Zaplacono = DoZaplaty WHERE rowid = ?")
                                 : QStringLiteral("UPDATE fadok SET Zaplacono = NULL WHERE rowid = ?"),
                            {rowid}));
}

void storePaidAmount(db::Database& db, qint64 rowid, const OptDecimal& amount)
{
    checkChanged(db.execute(QStringLiteral("UPDATE fadok SET Zaplacono = ? WHERE rowid = ?"), {amount, rowid}));
}

ListItems paymentForms(db::Database& db)
{
    // Each distinct spelling is one seek along the index of payment forms, which tells spellings
    // apart exactly; they are folded below. (The engine seeks for the first row in the index's
    // order; a min() of a collated expression would read the whole rest of the index.)
    QStringList forms;
    db::Statement above(db, QStringLiteral("SELECT PlatFor FROM fadok WHERE PlatFor COLLATE BINARY > ? "
                                           "ORDER BY PlatFor COLLATE BINARY LIMIT 1"));
    db::Value last = db::Value::raw(QString(QLatin1String("")));  // an empty text, not NULL
    for (;;) {
        above.reset();
        above.bind(1, last);
        const db::Value v = above.step() ? above.value(0) : db::Value();
        if (v.isNull()) break;
        last = v;
        forms << v.toText();
    }
    std::stable_sort(forms.begin(), forms.end(),
                     [](const QString& a, const QString& b) { return db::comparePolish(a, b) < 0; });
    ListItems items;
    for (const QString& f : forms)
        if (items.empty() || db::comparePolish(items.back().second, f) != 0) items.emplace_back(f, f);
    return items;
}

ListItems issueMonths(db::Database& db)
{
    ListItems items;
    for (const QString& p : datePrefixes(db, 7)) {
        const QDate d = QDate::fromString(p + QStringLiteral("-01"), Qt::ISODate);
        if (d.isValid())
            items.emplace_back(d.toString(QStringLiteral("yyyyMM")), d.toString(QStringLiteral("MM.yyyy")));
    }
    return items;
}

ListItems issueYears(db::Database& db)
{
    ListItems items;
    for (const QString& p : datePrefixes(db, 4)) {
        bool ok = false;
        const int year = p.toInt(&ok);
        if (ok && year > 0) items.emplace_back(p, p);
    }
    return items;
}

std::array<MonthSums, 12> monthSums(db::Database& db, int year)
{
    std::array<MonthSums, 12> months{};
    // One grouped statement over the year's range of the date index.
    db.forEach(
        QStringLiteral("SELECT substr(Datawyst, 6, 2), sum(RazNetto), sum(RazVAT), sum(RazBrutto), "
                       "sum(Zaplacono), sum(DoZaplaty) FROM fadok WHERE Datawyst >= ? AND Datawyst < ? GROUP BY 1"),
        {QDate(year, 1, 1), QDate(year + 1, 1, 1)}, [&](const db::Row& r) {
            const int m = r.at(0).toText().toInt();
            if (m < 1 || m > 12) return;
            MonthSums& s = months[size_t(m - 1)];
            s.netto = r.at(1).toDecimal();
            s.vat = r.at(2).toDecimal();
            s.brutto = r.at(3).toDecimal();
            s.zaplacono = r.at(4).toDecimal();
            s.doZaplaty = r.at(5).toDecimal();
        });
    return months;
}
