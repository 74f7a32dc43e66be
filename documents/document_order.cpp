#include "documents/document_order.h"
#include "platform/decimal.h"

// The readers below take a text in either form: QStringView (QChar) or the engine's UTF-8 bytes.
namespace {

int digit(char16_t c)
{
    return c >= '0' && c <= '9' ? c - '0' : -1;
}
int digit(QChar c)
{
    return digit(c.unicode());
}
int digit(char c)
{
    return digit(char16_t(uchar(c)));
}
char16_t unit(QChar c)
{
    return c.unicode();
}
char16_t unit(char c)
{
    return uchar(c);  // a byte of a character beyond ASCII is none of the characters looked for
}
QString text(QStringView t)
{
    return t.toString();
}
QString text(QByteArrayView t)
{
    return QString::fromUtf8(t);
}

// The usual "7/05/2024" is read directly: digits up to a character at which Val stops. A blank
// that Val skips, a sign, a decimal point or more digits than a double holds exactly go to Val's
// own reader.
template <class Text>
double leadingNumber(Text t)
{
    qint64 n = 0;
    qsizetype i = 0;
    for (; i < t.size() && i < 15 && digit(t[i]) >= 0; ++i) n = n * 10 + digit(t[i]);
    if (i > 0 && (i == t.size() || (i < 15 && unit(t[i]) != '.' && !skippedInNumber(unit(t[i]))))) return double(n);
    bool ok = false;
    const double d = leadingDecimalText(text(t)).toDouble(&ok);
    return ok ? d : 0.0;
}

// The date of the usual ISO text ("2024-05-06", maybe with a time after it), read digit by digit;
// it may be no valid date ("2024-13-01"). Nothing for a text of another form or of year 0: those
// are read by the general rule.
template <class Text>
std::optional<QDate> isoDate(Text t)
{
    if (t.size() < 10 || unit(t[4]) != '-' || unit(t[7]) != '-') return std::nullopt;
    int n[3] = {0, 0, 0};
    const int from[3] = {0, 5, 8}, len[3] = {4, 2, 2};
    for (int p = 0; p < 3; ++p)
        for (int k = from[p]; k < from[p] + len[p]; ++k) {
            const int d = digit(t[k]);
            if (d < 0) return std::nullopt;
            n[p] = n[p] * 10 + d;
        }
    if (n[0] == 0) return std::nullopt;
    return QDate(n[0], n[1], n[2]);
}

}  // namespace

double runningNumber(QStringView numer)
{
    return leadingNumber(numer);
}

double runningNumber(QByteArrayView numer)
{
    return leadingNumber(numer);
}

namespace {

// Descending, an empty key after every value.
template <typename T>
int compareDesc(const std::optional<T>& a, const std::optional<T>& b)
{
    if (a.has_value() != b.has_value()) return a ? -1 : 1;
    if (!a || *a == *b) return 0;
    return *a > *b ? -1 : 1;
}

}  // namespace

QDate storedDate(const db::Value& v)
{
    if (const QString* s = std::get_if<QString>(&v.data()))
        if (const auto d = isoDate(QStringView(*s))) return *d;
    return v.toDate();
}

std::optional<QString> listedMonth(const db::Value& v)
{
    const QString* s = std::get_if<QString>(&v.data());
    if (!s) return std::nullopt;
    const QDate d = storedDate(v);
    if (!d.isValid() || d.year() <= 0) return std::nullopt;
    // The usual ISO text was read as it stands, and starts with its month; any other form of a
    // date is compared with its month written out.
    if (s->size() >= 10 && s->at(4) == '-' && s->at(7) == '-') return s->left(7);
    const QString month = QStringLiteral("%1-%2").arg(d.year(), 4, 10, QChar('0')).arg(d.month(), 2, 10, QChar('0'));
    if (!s->startsWith(month)) return std::nullopt;
    return month;
}

bool listedByMonth(const db::Value& datawyst)
{
    return listedMonth(datawyst).has_value();
}

bool listedByMonth(QByteArrayView t)
{
    if (const auto d = isoDate(t)) return d->isValid();
    return listedMonth(db::Value(QString::fromUtf8(t))).has_value();
}

DocumentOrderKey DocumentOrderKey::of(const QDate& datawyst, const db::Value& numer)
{
    DocumentOrderKey k;
    if (datawyst.isValid()) {
        k.year = datawyst.year();
        k.month = datawyst.month();
    }
    if (!numer.isNull()) k.running = runningNumber(numer.toText());
    return k;
}

bool listedBefore(const DocumentOrderKey& a, const DocumentOrderKey& b)
{
    if (int c = compareDesc(a.year, b.year)) return c < 0;
    if (int c = compareDesc(a.month, b.month)) return c < 0;
    return compareDesc(a.running, b.running) < 0;
}

bool rowListedBefore(const db::Row& a, const db::Row& b)
{
    auto key = [](const db::Row& r) {
        return DocumentOrderKey::of(storedDate(r[QStringLiteral("Datawyst")]), r[QStringLiteral("Numer")]);
    };
    const DocumentOrderKey ka = key(a), kb = key(b);
    if (listedBefore(ka, kb)) return true;
    if (listedBefore(kb, ka)) return false;
    return a.at(a.size() - 1).toInt() < b.at(b.size() - 1).toInt();
}
