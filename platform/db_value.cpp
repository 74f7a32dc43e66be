#include "platform/db_value.h"
#include "platform/app_error.h"
#include <cmath>

namespace db {

namespace {

// A REAL that holds a whole number (an expression's result) is that integer; nullopt otherwise.
std::optional<qint64> wholeNumber(double d)
{
    if (!std::isfinite(d) || d != std::trunc(d) || std::abs(d) > 9.0e18) return std::nullopt;
    return qint64(d);
}

// A value not kept as the program keeps `what` ("liczby", "daty"): not guessed at.
[[noreturn]] void typeMismatch(const QString& column, const QString& value, const QString& what)
{
    throw AppError(err::kTypeMismatch, column,
                   QStringLiteral("Niezgodność typów danych w kolumnie %1: wartość „%2” nie jest zapisana tak, "
                                  "jak program zapisuje %3.")
                       .arg(column, value, what));
}

}  // namespace

QString Value::toText() const
{
    if (auto s = std::get_if<QString>(&data_)) return *s;
    if (auto i = std::get_if<qint64>(&data_)) return QString::number(*i);
    if (auto d = std::get_if<double>(&data_)) return QString::number(*d, 'g', 15);
    if (auto b = std::get_if<QByteArray>(&data_)) return QString::fromUtf8(*b);
    return QString();
}

qint64 Value::toInt() const
{
    if (auto i = std::get_if<qint64>(&data_)) return *i;
    if (auto d = std::get_if<double>(&data_)) return qint64(*d);
    if (auto s = std::get_if<QString>(&data_)) return s->trimmed().toLongLong();
    return 0;
}

Decimal Value::toDecimal() const
{
    // Money columns hold the scaled integer; a text or a real (from an expression) is read as a number.
    if (auto i = std::get_if<qint64>(&data_)) return Decimal::fromUnits(*i);
    if (auto d = std::get_if<double>(&data_)) return Decimal::fromDouble(*d / Decimal::kScale);
    if (auto s = std::get_if<QString>(&data_)) return Decimal::parse(*s).value_or(Decimal());
    return Decimal();
}

QDate isoDateOf(QStringView text)
{
    return QDate::fromString(text.left(10), Qt::ISODate);
}

QDate Value::toDate() const
{
    if (auto s = std::get_if<QString>(&data_)) return isoDateOf(*s);
    return QDate();
}

std::optional<qint64> Value::exactInteger(const QString& column) const
{
    if (isNull()) return std::nullopt;
    if (auto i = std::get_if<qint64>(&data_)) return *i;
    if (auto d = std::get_if<double>(&data_))
        if (auto whole = wholeNumber(*d)) return whole;
    typeMismatch(column, toText(), QStringLiteral("liczby"));
}

std::optional<QDate> Value::exactDate(const QString& column) const
{
    if (isNull()) return std::nullopt;
    if (const QDate d = toDate(); d.isValid()) return d;
    typeMismatch(column, toText(), QStringLiteral("daty"));
}

OptDecimal Value::exactDecimal(const QString& column) const
{
    if (auto units = exactInteger(column)) return Decimal::fromUnits(*units);
    return std::nullopt;
}

QByteArray Value::toBytes() const
{
    if (auto b = std::get_if<QByteArray>(&data_)) return *b;
    if (auto s = std::get_if<QString>(&data_)) return s->toUtf8();
    return QByteArray();
}

}  // namespace db
