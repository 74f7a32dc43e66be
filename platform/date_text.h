#pragma once
#include <QDate>
#include <QString>

// Dates on the form are shown and typed in the default locale's short date form (Polish, set at
// start), with a four-digit year.
QString shortDateFormat();
QString dateText(const QDate& d);
// Reads a typed date (the short form, or ISO); an invalid QDate when the text is not a date or
// its year lies outside 1900-2099 ("10.01.0024" is a mistyped year, not the year 24).
QDate textDate(const QString& text);
