#pragma once
#include "platform/database.h"
#include <QByteArrayView>
#include <QDate>
#include <QString>
#include <QStringView>
#include <optional>

// Stored documents are listed newest period first: by the year, then the month of the issue
// date, then by the running number (the number's leading digits, as Val reads them), highest
// first. A document without a date or a number comes after those with one.
struct DocumentOrderKey {
    std::optional<int> year, month;
    std::optional<double> running;

    static DocumentOrderKey of(const QDate& datawyst, const db::Value& numer);
};

// True when `a` is listed before `b`.
bool listedBefore(const DocumentOrderKey& a, const DocumentOrderKey& b);

// The number a document number starts with, as Val reads it; 0 when it starts with none. The
// text as Qt holds it and as the engine holds it (UTF-8) are read by one rule.
double runningNumber(QStringView numer);
double runningNumber(QByteArrayView numer);

// A stored date: the usual ISO text read directly, anything else as every other read does.
QDate storedDate(const db::Value& v);

// The month ("2024-05") that a document of this stored issue date is listed under: a date stored
// as a text that starts with it; nothing for those listed at the end.
std::optional<QString> listedMonth(const db::Value& datawyst);
// True when a document of this stored issue date is listed under its month; the second form takes
// the text as the engine holds it (UTF-8), read by the same rule.
bool listedByMonth(const db::Value& datawyst);
bool listedByMonth(QByteArrayView datawyst);

// True when row `a` is listed before row `b`, both read by a NewestFirstCursor: by their keys,
// equal keys in stored order.
bool rowListedBefore(const db::Row& a, const db::Row& b);
