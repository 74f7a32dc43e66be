#include "register/slownie.h"
#include <array>

namespace {

using Words = std::array<const char*, 10>;

const Words kJednosci = {nullptr,  " jeden ", " dwa ",    " trzy ",  " cztery ",
                         " pięć ", " sześć ", " siedem ", " osiem ", " dziewięć "};
const Words kNastki = {" dziesięć ",   " jedenaście ", " dwanaście ",    " trzynaście ",  " czternaście ",
                       " piętnaście ", " szesnaście ", " siedemnaście ", " osiemnaście ", " dziewiętnaście "};
const Words kDziesiatki = {
    nullptr,          nullptr,           " dwadzieścia ",    " trzydzieści ",   " czterdzieści ",
    " pięćdziesiąt ", " sześćdziesiąt ", " siedemdziesiąt ", " osiemdziesiąt ", " dziewięćdziesiąt "};
const Words kSetki = {nullptr,     " sto ",      " dwieście ",  " trzysta ",  " czterysta ",
                      " pięćset ", " sześćset ", " siedemset ", " osiemset ", " dziewięćset "};

// Singular, plural of 2 to 4, other plural; from the units group upwards.
struct GroupWords {
    const char* one;
    const char* few;
    const char* many;
};
const GroupWords kGroups[] = {{" tysiąc ", " tysiące ", " tysięcy "},
                              {" milion ", " miliony ", " milionów "},
                              {" miliard ", " miliardy ", " miliardów "},
                              {" bilion ", " biliony ", " bilionów "}};

QString word(const Words& table, const QString& digit, const QString& tekst)
{
    if (digit.size() != 1 || !digit[0].isDigit()) return tekst;
    const char* w = table[size_t(digit[0].digitValue())];
    return w ? QString::fromUtf8(w) + tekst : tekst;
}

// The digit `n` places from the right of `digits` (from 0), or "" beyond its start.
QString digitAt(const QString& digits, int n)
{
    const qsizetype i = digits.size() - 1 - n;
    return i >= 0 ? digits.mid(i, 1) : QString();
}

// The group word for a group of thousands, millions...: only a group that is exactly one takes
// the singular ("jeden tysiąc", but "sto jeden tysięcy"); a group ending in 2 to 4 outside the
// teens the plural of few; everything else the other plural.
bool zeroOrNone(const QString& d)
{
    return d.isEmpty() || d == QLatin1String("0");
}

const char* groupWord(const GroupWords& g, const QString& u, const QString& t, const QString& h)
{
    if (t == QLatin1String("1")) return g.many;
    if (u == QLatin1String("1") && zeroOrNone(t) && zeroOrNone(h)) return g.one;
    if (u == QLatin1String("2") || u == QLatin1String("3") || u == QLatin1String("4")) return g.few;
    return g.many;
}

}  // namespace

QString SlownieJednosci(const QString& cyfra, const QString& tekst)
{
    return word(kJednosci, cyfra, tekst);
}
QString SlownieNastki(const QString& cyfra, const QString& tekst)
{
    return word(kNastki, cyfra, tekst);
}
QString SlownieDziesiatki(const QString& cyfra, const QString& tekst)
{
    return word(kDziesiatki, cyfra, tekst);
}
QString SlownieSetki(const QString& cyfra, const QString& tekst)
{
    return word(kSetki, cyfra, tekst);
}

QString SlownieTrojka(const QString& jednosci, const QString& dziesiatki, const QString& setki, const QString& tekst)
{
    QString s = tekst;
    if (dziesiatki == QLatin1String("0")) {
        s = SlownieJednosci(jednosci, s);
    } else if (dziesiatki == QLatin1String("1")) {
        s = SlownieNastki(jednosci, s);
    } else {
        s = SlownieDziesiatki(dziesiatki, SlownieJednosci(jednosci, s));
    }
    return SlownieSetki(setki, s);
}

QString Slownie(Decimal kwota, const QString& sufiks)
{
    try {
        // Rounded first, so that the grosze never read 100/100.
        Decimal amount = kwota.roundedHalfEven(2);
        QString sign;
        if (amount < Decimal()) {
            amount = -amount;
            sign = QStringLiteral("minus ");
        }
        const std::int64_t whole = amount.wholeUnits();
        const std::int64_t grosze = (amount.units() % Decimal::kScale) / (Decimal::kScale / 100);
        const QString digits = QString::number(whole);

        QString words;
        if (whole == 0) {
            words = QStringLiteral(" zero ");
        } else {
            words = SlownieTrojka(digitAt(digits, 0), digitAt(digits, 1), digitAt(digits, 2), QString());
            for (int g = 0; g < 4 && digits.size() > 3 * (g + 1); ++g) {
                const QString u = digitAt(digits, 3 * (g + 1)), t = digitAt(digits, 3 * (g + 1) + 1),
                              h = digitAt(digits, 3 * (g + 1) + 2);
                const QString group = h + t + u;
                if (group.toInt() == 0) continue;  // an empty group names nothing
                words = SlownieTrojka(u, t, h, QString::fromUtf8(groupWord(kGroups[g], u, t, h)) + words);
            }
        }
        return (sign + words + QString::number(grosze) + QStringLiteral("/100 ") + sufiks).trimmed();
    } catch (...) {
        return QStringLiteral("***");
    }
}
