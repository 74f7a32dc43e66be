#pragma once
#include "platform/decimal.h"
#include <QByteArray>
#include <QDate>
#include <QString>
#include <optional>
#include <variant>

namespace db {

// The date a stored text begins with in the ISO form dates are kept in ("2024-05-06", maybe a
// time after it); an invalid date for any other text.
QDate isoDateOf(QStringView text);

// One value bound to a statement or read from a row. Texts bind as TEXT (an empty text binds
// as NULL, since the database keeps empty texts as NULL), decimals as their scaled integer,
// dates as ISO text "YYYY-MM-DD", Booleans as 1/0.
class Value final {
public:
    using Data = std::variant<std::monostate, qint64, double, QString, QByteArray>;

    Value() = default;
    Value(std::nullopt_t) {}
    Value(int v) : data_(qint64(v)) {}
    Value(long v) : data_(qint64(v)) {}
    Value(long long v) : data_(qint64(v)) {}
    Value(bool v) : data_(qint64(v ? 1 : 0)) {}
    Value(double v) : data_(v) {}
    Value(const char* v) : Value(QString::fromUtf8(v)) {}
    Value(const QString& v)
    {
        if (!v.isEmpty()) data_ = v;
    }
    Value(const QByteArray& v) : data_(v) {}
    Value(Decimal v) : data_(qint64(v.units())) {}
    Value(const QDate& v)
    {
        if (v.isValid()) data_ = v.toString(Qt::ISODate);
    }
    template <class T>
    Value(const std::optional<T>& v)
    {
        if (v) *this = Value(*v);
    }

    // Wraps what the engine returned, without any conversion.
    static Value raw(Data d)
    {
        Value v;
        v.data_ = std::move(d);
        return v;
    }

    bool isNull() const { return std::holds_alternative<std::monostate>(data_); }
    const Data& data() const { return data_; }

    // Readers: NULL gives the empty value of the type.
    QString toText() const;
    qint64 toInt() const;
    bool toBool() const { return toInt() != 0; }
    Decimal toDecimal() const;
    OptDecimal toOptDecimal() const { return isNull() ? std::nullopt : OptDecimal(toDecimal()); }
    QDate toDate() const;
    QByteArray toBytes() const;

    // Exact readers for a record's columns: an amount is the scaled integer the program stores,
    // a count an integer; NULL gives nullopt. Any other value (a text, a fraction of a unit) is
    // not guessed at: it throws AppError 13 naming `column`, so that an odd value is reported
    // instead of read as 0 or as a tiny amount.
    OptDecimal exactDecimal(const QString& column) const;
    std::optional<qint64> exactInteger(const QString& column) const;
    // A date column: the ISO text the program stores; anything else throws as above.
    std::optional<QDate> exactDate(const QString& column) const;

private:
    Data data_;
};

}  // namespace db
