#include "register/report_format.h"
#include <QRegularExpression>
#include <QStringList>
#include <algorithm>

QString reportAmountText(Decimal v)
{
    return v.toDisplay(2);
}

QString quantityText(Decimal v)
{
    return v.roundedHalfEven(3).toString().replace(QLatin1Char('.'), QLatin1Char(','));
}

QString priceText(Decimal v)
{
    const QString four = v.toDisplay(4);
    QString s = four;
    while (s.endsWith(QLatin1Char('0')) && s.size() - s.indexOf(QLatin1Char(',')) > 3) s.chop(1);
    return s;
}

QString vatRateText(const QString& indvat)
{
    const QString t = indvat.trimmed();
    bool number = !t.isEmpty();
    for (QChar c : t) number = number && (c.isDigit() || c == QLatin1Char(',') || c == QLatin1Char('.'));
    return number ? QString(t).replace(QLatin1Char('.'), QLatin1Char(',')) + QLatin1Char('%') : t;
}

QString identityDocumentText(const QString& nazwa, const QString& numer, const QString& data, const QString& wydal)
{
    QStringList parts;
    if (!nazwa.isEmpty()) parts << nazwa;
    if (!numer.isEmpty()) parts << QStringLiteral("seria i numer ") + numer;
    QString wydany = data.isEmpty() ? QString() : QStringLiteral(" ") + data;
    if (!wydal.isEmpty()) wydany += QStringLiteral(" przez ") + wydal;
    if (!wydany.isEmpty()) parts << QStringLiteral("wydany") + wydany;
    return parts.join(QStringLiteral(", "));
}

QString fillFields(const QString& text, const QHash<QString, QString>& values)
{
    if (values.isEmpty()) return text;
    QStringList names = values.keys();
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) { return a.size() > b.size(); });
    for (QString& n : names) n = QRegularExpression::escape(n);
    const QRegularExpression any(names.join(QLatin1Char('|')));
    QString out;
    qsizetype from = 0;
    for (auto it = any.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        out += QStringView(text).mid(from, m.capturedStart() - from);
        out += values.value(m.captured());
        from = m.capturedEnd();
    }
    out += QStringView(text).mid(from);
    return out;
}
