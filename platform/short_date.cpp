#include "platform/short_date.h"
#include <QLocale>

QString shortDateFormat()
{
    QString f = QLocale::system().dateFormat(QLocale::ShortFormat);
    if (f.contains(QLatin1String("MMM")) || !f.contains(QLatin1String("MM")))
        return QStringLiteral("dd.MM.yyyy");   // a numeric short date, as typed on invoices
    if (!f.contains(QLatin1String("yyyy"))) f.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    return f;
}

QString dateText(const QDate& d)
{
    return d.isValid() ? d.toString(shortDateFormat()) : QString();
}
