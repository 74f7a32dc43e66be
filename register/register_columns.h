#pragma once
#include "platform/database.h"
#include <QByteArray>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

// The register's columns as its grid shows them, and how their values become texts: in the grid
// and its sums row with the column's number format, on the clipboard by the general conversion
// of their type.

enum class ColumnKind { Text, Integer, Date, Amount };
enum class NumberFormat { None, ShortDate, Money };  // Money is "#,##0.00"

struct RegisterColumn {
    QString name;     // the stored column of fadok
    QString caption;  // the grid's caption
    ColumnKind kind;
    NumberFormat format;
};

// The 21 columns in the grid's order.
const std::vector<RegisterColumn>& registerColumns();
// The position of a column by its stored name (any case); -1 when there is none.
int registerColumn(const QString& name);
QStringList registerCaptions();

// A value as the grid shows it: empty for NULL, then by the column's number format, or by the
// general conversion when it has none.
QString cellText(const RegisterColumn& column, const db::Value& value);
// A value as a spreadsheet takes it: NULL empty, a date in the system's short form, an amount
// with the system's decimal mark, no grouping and no trailing zeros.
QString generalText(ColumnKind kind, const db::Value& value, const QLocale& locale = QLocale());

// The clipboard text of `count` copied rows, in UTF-8: a line of captions, then one line per row
// with its value in every column; each field is followed by a tab, each line by CR LF. `row`
// gives each row in turn, once, and need not keep it afterwards.
QByteArray copyText(qint64 count, const std::function<const db::Row&(qint64)>& row);
