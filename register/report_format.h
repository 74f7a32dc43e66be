#pragma once
#include "platform/decimal.h"
#include <QHash>
#include <QString>

// How the printed documents write their values.

// An amount as "#,##0.00": "1 234,50", "0,50", "-20,00".
QString reportAmountText(Decimal v);
// A quantity as a plain number rounded to 3 places, halves to even, with no trailing zeros:
// "12345,679", "2,5", "800".
QString quantityText(Decimal v);
// A unit price with two decimals, or more when it has them: "2,50", "0,955".
QString priceText(Decimal v);
// A VAT rate code with a per cent sign when it is a number: "23%", "7,5%", "zw".
QString vatRateText(const QString& indvat);
// The seller's identity document in one line: its name, series and number, date and issuer, each
// where it is known.
QString identityDocumentText(const QString& nazwa, const QString& numer, const QString& data, const QString& wydal);

// `text` with every occurrence of each name of `values` replaced by its value, in one pass from
// the left: where names overlap the longest wins, and an inserted value is never searched again,
// so a value that holds a name stays as it is.
QString fillFields(const QString& text, const QHash<QString, QString>& values);
