#pragma once
#include "platform/database.h"
#include "platform/db_value.h"
#include <QDate>
#include <QString>
#include <QStringList>
#include <functional>
#include <initializer_list>
#include <optional>
#include <vector>

// What a record's column holds, for a reader that writes its values out (the printed invoice).
enum class StoredKind { Text, Date, Amount, Count, Flag };

// The columns of one kind of record, each declared once: an entry names a table column and the
// member of the record that it holds, which also says how the column is written (the value
// bound) and read (texts as text, dates as ISO dates, amounts and counts exactly as the program
// stores them). The column list, the values of an insert and the row reader all come from one
// such table, so a member can only reach the column its own entry names.
template <class R>
class RecordColumns final {
public:
    struct Column {
        QString name;
        StoredKind kind;
        std::function<db::Value(const R&)> write;
        std::function<void(R&, const db::Value&)> read;
    };

    // The entry of column `name` for `member`, one for each kind of column: a member of another
    // type does not compile.
    static Column text(const char* name, QString R::*member) { return column(name, member, StoredKind::Text); }
    static Column date(const char* name, QDate R::*member) { return column(name, member, StoredKind::Date); }
    static Column amount(const char* name, OptDecimal R::*member) { return column(name, member, StoredKind::Amount); }
    static Column count(const char* name, int R::*member) { return column(name, member, StoredKind::Count); }
    static Column count(const char* name, std::optional<int> R::*member)
    {
        return column(name, member, StoredKind::Count);
    }
    static Column count(const char* name, std::optional<qint64> R::*member)
    {
        return column(name, member, StoredKind::Count);
    }
    static Column flag(const char* name, std::optional<bool> R::*member)
    {
        return column(name, member, StoredKind::Flag);
    }

    RecordColumns(std::initializer_list<Column> columns) : columns_(columns)
    {
        for (const Column& c : columns_) {
            names_ << c.name;
            kinds_.push_back(c.kind);
        }
    }

    const QStringList& names() const { return names_; }
    // What each column of names() holds, in that order.
    const std::vector<StoredKind>& kinds() const { return kinds_; }
    // The record's values in the order of names().
    std::vector<db::Value> values(const R& r) const
    {
        std::vector<db::Value> out;
        out.reserve(columns_.size());
        for (const Column& c : columns_) out.push_back(c.write(r));
        return out;
    }
    // "INSERT INTO table (names) VALUES (?, ...)", binding values().
    QString insertStatement(const QString& table) const { return db::insertStatement(table, names_); }
    // Reads the columns that `row` holds into `r`; the others keep what `r` held. A value that is
    // not of its column's kind throws AppError 13.
    void read(const db::Row& row, R& r) const
    {
        for (const Column& c : columns_) {
            const int i = row.indexOf(c.name);
            if (i >= 0) c.read(r, row.at(i));
        }
    }

private:
    template <class T>
    static Column column(const char* name, T R::*member, StoredKind kind)
    {
        const QString n = QString::fromLatin1(name);
        return {n, kind, [member](const R& r) { return db::Value(r.*member); },
                [member, n](R& r, const db::Value& v) { readInto(r.*member, v, n); }};
    }

    static void readInto(QString& m, const db::Value& v, const QString&) { m = v.toText(); }
    static void readInto(QDate& m, const db::Value& v, const QString&) { m = v.toDate(); }
    static void readInto(OptDecimal& m, const db::Value& v, const QString& n) { m = v.exactDecimal(n); }
    static void readInto(std::optional<qint64>& m, const db::Value& v, const QString& n) { m = v.exactInteger(n); }
    static void readInto(std::optional<int>& m, const db::Value& v, const QString& n)
    {
        const auto i = v.exactInteger(n);
        m = i ? std::optional<int>(int(*i)) : std::nullopt;
    }
    static void readInto(int& m, const db::Value& v, const QString& n) { m = int(v.exactInteger(n).value_or(0)); }
    static void readInto(std::optional<bool>& m, const db::Value& v, const QString& n)
    {
        const auto i = v.exactInteger(n);
        m = i ? std::optional<bool>(*i != 0) : std::nullopt;
    }

    std::vector<Column> columns_;
    QStringList names_;
    std::vector<StoredKind> kinds_;
};
