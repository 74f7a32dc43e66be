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

DateWriter::DateWriter() : format_(shortDateFormat())
{
    // Runs of one letter are parts; quoted or other text is copied; anything else (names of
    // months or days) leaves the writing to the locale.
    for (qsizetype i = 0; i < format_.size();) {
        const QChar c = format_[i];
        qsizetype n = 1;
        while (i + n < format_.size() && format_[i + n] == c) ++n;
        if (c == 'd' && n <= 2)
            pieces_.push_back({n == 1 ? Part::Day : Part::Day2, {}});
        else if (c == 'M' && n <= 2)
            pieces_.push_back({n == 1 ? Part::Month : Part::Month2, {}});
        else if (c == 'y' && (n == 2 || n == 4))
            pieces_.push_back({n == 2 ? Part::Year : Part::Year4, {}});
        else if (c.isLetter() || c == '\'')
            plain_ = false;
        else
            pieces_.push_back({Part::Text, format_.mid(i, n).toUtf8()});
        i += n;
    }
}

void DateWriter::appendUtf8(const QDate& d, QByteArray& out) const
{
    if (!d.isValid()) return;
    if (!plain_ || d.year() <= 0) {
        out += d.toString(format_).toUtf8();
        return;
    }
    auto number = [&](int v, int width) {
        char digits[12];
        int n = 0;
        do {
            digits[n++] = char('0' + v % 10);
            v /= 10;
        } while (v > 0);
        while (n < width) digits[n++] = '0';
        while (n > 0) out += digits[--n];
    };
    for (const Piece& p : pieces_) {
        switch (p.part) {
        case Part::Day: number(d.day(), 1); break;
        case Part::Day2: number(d.day(), 2); break;
        case Part::Month: number(d.month(), 1); break;
        case Part::Month2: number(d.month(), 2); break;
        case Part::Year: number(d.year() % 100, 2); break;
        case Part::Year4: number(d.year(), 4); break;
        case Part::Text: out += p.text; break;
        }
    }
}
