#pragma once
#include "platform/database.h"
#include "platform/decimal.h"
#include <QString>
#include <functional>
#include <optional>

class App;

// Small procedures that every part of the program shares.

// Reads the company logo (dbbin row "Logo") into the file "~logo.tmp" beside the program (or in
// the user's data folder when the program folder cannot be written). True when a logo was
// written; `file` then holds the file's full path. Errors are reported and give false.
bool LogoRead(App& app, db::Database& db, QString& file);
// Stores the logo's bytes exactly (the row "Logo" is made when missing) / empties the stored logo
// (no row made). Both throw AppError.
void logoWrite(db::Database& db, const QByteArray& bytes);
void logoClear(db::Database& db);

// Money and quantity rounding: halves away from zero, on the exact decimal value
// (1.005 to 2 places is 1.01). An empty value stays empty.
Decimal NumRound(Decimal value, int decimals);
OptDecimal NumRound(const OptDecimal& value, int decimals);

// Splits a path at its last separator ("\" or "/"): no separator gives an empty folder and the
// whole text as the file.
void PathSplit(const QString& path, QString& folder, QString& file);

// A column of a row as text: NULL gives "", Booleans "1"/"0", amounts and dates in the
// user's regional format, texts unchanged.
QString RstToText(const db::Row& row, const QString& column);
QString RstToText(const db::Row& row, int column);

// An empty text becomes NULL; anything else is kept.
db::Value EmptyToNull(const QString& value);
db::Value EmptyToNull(const db::Value& value);

// Accepts a progress text of a long operation; nothing is shown for it.
void StatusInfo(const QString& text);
