#include "documents/numbering.h"
#include "core/app.h"
#include "core/base_par.h"
#include "core/error_report.h"
#include "documents/position_math.h"
#include "platform/app_error.h"
#include "platform/database.h"
#include <QRegularExpression>

namespace {

const QString kMiesiac = QStringLiteral("/Miesiąc");
const QString kRok4 = QStringLiteral("/Rok[4]");
const QString kRok2 = QStringLiteral("/Rok[2]");

bool isDatePart(const QString& p)
{
    return p == kMiesiac || p == kRok4 || p == kRok2;
}

// Table and column names go into the SQL text, so only plain identifiers pass.
void checkIdentifier(const QString& name)
{
    static const QRegularExpression re(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    if (!re.match(name).hasMatch())
        throw AppError(err::kNoSuchTable, QStringLiteral("NumerOstatni"), QStringLiteral("Błędna nazwa: ") + name);
}

bool isOne(const QString& text)
{
    return Val(text) == Decimal(1);
}

}  // namespace

void NumParRead(App& app)
{
    auto& db = *app.gBaseDb;
    auto& p = app.gBazaPar;
    p.NumSzablon = BaseParRead(app, db, QStringLiteral("NumSzablon"), QStringLiteral("Numer/Miesiąc/Rok[4]"));
    p.NumMiesieczna = isOne(BaseParRead(app, db, QStringLiteral("NumMiesieczna"), QStringLiteral("1")));
    p.NumAuto = isOne(BaseParRead(app, db, QStringLiteral("NumAuto"), QStringLiteral("1")));
    p.NumEdycja = isOne(BaseParRead(app, db, QStringLiteral("NumEdycja"), QStringLiteral("1")));
}

NumberingPeriod numberingPeriodOf(const App& app, const QDate& date)
{
    const QDate from = app.gBazaPar.NumMiesieczna ? QDate(date.year(), date.month(), 1) : QDate(date.year(), 1, 1);
    return {from, app.gBazaPar.NumMiesieczna ? from.addMonths(1) : from.addYears(1)};
}

namespace {

LastNumber lastNumberOf(App& app, const QString& table, const QString& dateColumn, const QDate& date)
{
    checkIdentifier(table);
    checkIdentifier(dateColumn);
    if (!date.isValid())
        throw AppError(err::kTypeMismatch, QStringLiteral("NumerOstatni"), QStringLiteral("Błędna data"));
    if (!app.gBaseDb)
        throw AppError(err::kObjectNotSet, QStringLiteral("NumerOstatni"), QStringLiteral("Brak otwartej bazy danych"));
    // The period as a date range, so that the date column's index serves the search. The
    // highest number is kept as the rows pass (the engine's bare columns come from the row of
    // the max): nothing sorts the numbers of the period.
    const auto [from, to] = numberingPeriodOf(app, date);
    auto row = app.gBaseDb->queryOne(
        QStringLiteral("SELECT Numer AS ost_numer, %2 AS ost_data, max(Val(Numer)), count(*) FROM %1 "
                       "WHERE %2 >= ? AND %2 < ?")
            .arg(table, dateColumn),
        {from, to});
    LastNumber last;
    if (!row || row->at(3).toInt() == 0) return last;
    last.number = Val(row->text("ost_numer")).roundedHalfEven(0).wholeUnits();
    last.date = row->date("ost_data");
    last.text = NumberUtworz(last.number, last.date.isValid() ? last.date : date, app.gBazaPar.NumSzablon);
    return last;
}

// The number after the last of the period that no stored document holds: a template without the
// period (or a number typed by hand) can make the next number one that is stored already. Each
// number tried and found stored is another stored document, so the search ends; a template
// without a running number gives only one number, and when that one is stored there is none.
QString nextNumber(App& app, const QString& table, const QString& dateColumn, const QDate& date)
{
    const QString& szablon = app.gBazaPar.NumSzablon;
    qint64 n = lastNumberOf(app, table, dateColumn, date).number;
    for (;;) {
        const QString numer = NumberUtworz(++n, date, szablon);
        if (!app.gBaseDb->queryOne(QStringLiteral("SELECT 1 FROM %1 WHERE Numer = ?").arg(table), {numer}))
            return numer;
        if (NumberUtworz(n + 1, date, szablon) == numer) throw NoFreeNumber(numer);
    }
}

}  // namespace

std::optional<LastNumber> NumerOstatni(App& app, const QString& table, const QString& dateColumn, const QDate& date)
{
    try {
        return lastNumberOf(app, table, dateColumn, date);
    } catch (...) {
        ErrorReport(app, QStringLiteral("NumerOstatni:%1:%2").arg(table, dateColumn));
        return std::nullopt;
    }
}

std::optional<QString> NumerNastepny(App& app, const QString& table, const QString& dateColumn, const QDate& date,
                                     QString* brak)
{
    if (!app.gBazaPar.NumAuto) return QString();
    if (!date.isValid()) return std::nullopt;
    try {
        return nextNumber(app, table, dateColumn, date);
    } catch (const NoFreeNumber& e) {
        if (brak) *brak = e.description();
        return std::nullopt;
    } catch (...) {
        ErrorReport(app, QStringLiteral("NumerOstatni:%1:%2").arg(table, dateColumn));
        return std::nullopt;
    }
}

QString numberForSave(App& app, const QDate& date)
{
    if (!app.gBazaPar.NumAuto) return QString();
    return nextNumber(app, QStringLiteral("fadok"), QStringLiteral("datawyst"), date);
}

QString noFreeNumberMessage(const QString& numer)
{
    return QStringLiteral("Nie można nadać numeru dokumentu: numer %1 jest już zapisany w bazie danych, a szablon "
                          "numeracji nie zawiera numeru kolejnego. Zmień szablon numeracji w parametrach dokumentu "
                          "lub datę wystawienia.")
        .arg(numer);
}

NoFreeNumber::NoFreeNumber(const QString& numer)
    : AppError(err::kDuplicateKey, QStringLiteral("NumerNastepny"), noFreeNumberMessage(numer))
{
}

QString NumberUtworz(qint64 number, const QDate& date, const QString& szablon)
{
    QString s = szablon;
    s.replace(QStringLiteral("Numer"), QString::number(number));
    if (s.contains(kMiesiac))
        s.replace(QStringLiteral("Miesiąc"), QStringLiteral("%1").arg(date.month(), 2, 10, QChar('0')));
    if (s.contains(kRok4)) s.replace(QStringLiteral("Rok[4]"), QString::number(date.year()));
    if (s.contains(kRok2))
        s.replace(QStringLiteral("Rok[2]"), QStringLiteral("%1").arg(date.year() % 100, 2, 10, QChar('0')));
    return s;
}

TemplateParts NumSzablonRozbierz(const QString& szablon)
{
    TemplateParts parts;
    if (szablon.isEmpty()) return parts;
    QString s = QString(szablon).remove(QStringLiteral("Numer")) + '/';
    auto noSlash = [](QString t) { return t.remove('/'); };
    for (std::optional<QString>* target : {&parts.part2, &parts.part3}) {
        int cut = s.indexOf('/', 1);
        if (cut < 0) {
            parts.suffix = noSlash(s);
            return parts;
        }
        QString piece = s.left(cut);
        if (!isDatePart(piece)) {
            parts.suffix = noSlash(piece);
            return parts;
        }
        *target = piece;
        s = s.mid(cut);
    }
    QString rest = noSlash(s);
    if (!rest.isEmpty()) parts.suffix = rest;
    return parts;
}

QString NumSzablonZloz(const QString& part1, const QString& part2, const QString& part3, const QString& suffix)
{
    QString s = part1 + part2 + part3 + '/' + suffix;
    s.replace(QStringLiteral("//"), QStringLiteral("/"));
    s.replace(QStringLiteral("//"), QStringLiteral("/"));
    if (s.endsWith('/')) s.chop(1);
    return s;
}
