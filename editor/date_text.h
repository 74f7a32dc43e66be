#pragma once
#include "platform/short_date.h"
#include <QDate>
#include <QString>

// Dates on the form are shown and typed in the system's short date form (platform/short_date.h).
// Reads a typed date (the short form, or ISO); an invalid QDate when the text is not a date.
QDate textDate(const QString& text);
