#include "platform/db_value.h"

namespace db {

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

QDate Value::toDate() const
{
    if (auto s = std::get_if<QString>(&data_)) return QDate::fromString(s->left(10), Qt::ISODate);
    return QDate();
}

QByteArray Value::toBytes() const
{
    if (auto b = std::get_if<QByteArray>(&data_)) return *b;
    if (auto s = std::get_if<QString>(&data_)) return s->toUtf8();
    return QByteArray();
}

}  // namespace db
