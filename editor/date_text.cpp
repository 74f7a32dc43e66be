#include "editor/date_text.h"
#include <QLocale>

QDate textDate(const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty()) return {};
    QDate d = QDate::fromString(t, shortDateFormat());
    if (!d.isValid()) d = QDate::fromString(t, Qt::ISODate);
    if (!d.isValid()) d = QDate::fromString(t, QStringLiteral("d.M.yyyy"));
    return d;
}
