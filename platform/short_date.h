#pragma once
#include <QDate>
#include <QString>

// Dates are shown in the system's short date form, with a four-digit year.
QString shortDateFormat();
// The date in that form; "" for no date.
QString dateText(const QDate& d);
