#include "platform/date_text.h"
#include <QLocale>

QString shortDateFormat()
{
    QString f = QLocale().dateFormat(QLocale::ShortFormat);
    if (f.contains(QLatin1String("MMM")) || !f.contains(QLatin1String("MM")))
        return QStringLiteral("dd.MM.yyyy");  // a numeric short date, as typed on invoices
    if (!f.contains(QLatin1String("yyyy"))) f.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    return f;
}

QString dateText(const QDate& d)
{
    return d.isValid() ? d.toString(shortDateFormat()) : QString();
}

QDate textDate(const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty()) return {};
    QDate d = QDate::fromString(t, shortDateFormat());
    if (!d.isValid()) d = QDate::fromString(t, Qt::ISODate);
    if (!d.isValid()) d = QDate::fromString(t, QStringLiteral("d.M.yyyy"));
    if (d.isValid() && (d.year() < 1900 || d.year() > 2099)) return {};
    return d;
}
