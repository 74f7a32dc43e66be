#include "register/report_format.h"
#include <QStringList>

QString KwotaTekst(Decimal v)
{
    return v.toDisplay(2);
}

QString IloscTekst(Decimal v)
{
    Decimal a = v.roundedHalfEven(3);
    if (a < Decimal()) a = -a;
    return a.toString().replace(QLatin1Char('.'), QLatin1Char(','));
}

QString CenaTekst(Decimal v)
{
    const QString four = v.toDisplay(4);
    QString s = four;
    while (s.endsWith(QLatin1Char('0')) && s.size() - s.indexOf(QLatin1Char(',')) > 3) s.chop(1);
    return s;
}

QString StawkaTekst(const QString& indvat)
{
    const QString t = indvat.trimmed();
    bool number = !t.isEmpty();
    for (QChar c : t) number = number && (c.isDigit() || c == QLatin1Char(',') || c == QLatin1Char('.'));
    return number ? QString(t).replace(QLatin1Char('.'), QLatin1Char(',')) + QLatin1Char('%') : t;
}

QString DokumentTozsamosciTekst(const QString& nazwa, const QString& numer, const QString& data, const QString& wydal)
{
    QStringList parts;
    if (!nazwa.isEmpty()) parts << nazwa;
    if (!numer.isEmpty()) parts << QStringLiteral("seria i numer ") + numer;
    QString wydany = data.isEmpty() ? QString() : QStringLiteral(" ") + data;
    if (!wydal.isEmpty()) wydany += QStringLiteral(" przez ") + wydal;
    if (!wydany.isEmpty()) parts << QStringLiteral("wydany") + wydany;
    return parts.join(QStringLiteral(", "));
}
