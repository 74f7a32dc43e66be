#include "platform/decimal.h"
#include "platform/app_error.h"
#include <algorithm>

namespace {

__int128 pow10(int n)
{
    __int128 p = 1;
    while (n-- > 0) p *= 10;
    return p;
}

// num / den rounded to a whole number.
__int128 divRound(__int128 num, __int128 den, Decimal::Rounding mode)
{
    bool neg = (num < 0) != (den < 0);
    if (num < 0) num = -num;
    if (den < 0) den = -den;
    __int128 q = num / den, r = num % den;
    if (r * 2 > den || (r * 2 == den && (mode == Decimal::Rounding::HalfAwayFromZero || q % 2 != 0))) ++q;
    return neg ? -q : q;
}

[[noreturn]] void overflow()
{
    throw AppError(err::kOverflow, "Decimal", QStringLiteral("Przepełnienie"));
}

std::int64_t checked(__int128 v)
{
    if (v > INT64_MAX || v < INT64_MIN) overflow();
    return std::int64_t(v);
}

int places(int digits)
{
    return std::clamp(digits, 0, Decimal::kPlaces);
}

}  // namespace

std::int64_t Decimal::checkedSum(std::int64_t a, std::int64_t b, bool subtract)
{
    std::int64_t r = 0;
    if (subtract ? __builtin_sub_overflow(a, b, &r) : __builtin_add_overflow(a, b, &r)) overflow();
    return r;
}

std::optional<Decimal> Decimal::parse(const QString& text)
{
    QString t = text.trimmed();
    t.remove(QChar(' ')).remove(QChar(0xA0)).remove(QChar(0x202F));
    if (t.isEmpty()) return std::nullopt;
    bool neg = false;
    int i = 0;
    if (t[0] == '-' || t[0] == '+') {
        neg = t[0] == '-';
        i = 1;
    }
    __int128 whole = 0, frac = 0;
    int fracDigits = 0, digits = 0, extra = 0;
    bool inFrac = false, roundUp = false;
    for (; i < t.size(); ++i) {
        QChar c = t[i];
        if (c == ',' || c == '.') {
            if (inFrac) return std::nullopt;
            inFrac = true;
            continue;
        }
        if (!c.isDigit() || c.unicode() > '9') return std::nullopt;
        int d = c.unicode() - '0';
        ++digits;
        if (!inFrac) {
            whole = whole * 10 + d;
            if (whole > INT64_MAX / kScale) return std::nullopt;
        } else if (fracDigits < kPlaces) {
            frac = frac * 10 + d;
            ++fracDigits;
        } else {
            if (extra == 0) roundUp = d >= 5;
            ++extra;
        }
    }
    if (digits == 0) return std::nullopt;
    frac *= pow10(kPlaces - fracDigits);
    __int128 units = whole * kScale + frac + (roundUp ? 1 : 0);
    return fromUnits(std::int64_t(neg ? -units : units));
}

Decimal Decimal::fromDouble(double v)
{
    auto p = parse(QString::number(v, 'f', 6));
    return p ? *p : Decimal();
}

Decimal Decimal::rounded(int digits, Rounding mode) const
{
    const __int128 step = pow10(kPlaces - places(digits));
    return fromUnits(checked(divRound(units_, step, mode) * step));
}

Decimal Decimal::mulDiv(Decimal a, Decimal b, std::int64_t divisor, int digits, Rounding mode)
{
    if (divisor == 0) throw AppError(err::kDivisionByZero, "Decimal", QStringLiteral("Dzielenie przez zero"));
    // a.units × b.units is the exact product scaled by kScale²: one division brings it to `digits` places.
    const int d = places(digits);
    const __int128 exact = __int128(a.units_) * b.units_;
    return fromUnits(checked(divRound(exact, pow10(2 * kPlaces - d) * divisor, mode) * pow10(kPlaces - d)));
}

Decimal Decimal::operator*(Decimal o) const
{
    return mulDiv(*this, o, 1, kPlaces);
}

Decimal Decimal::operator/(Decimal o) const
{
    if (o.units_ == 0) throw AppError(err::kDivisionByZero, "Decimal", QStringLiteral("Dzielenie przez zero"));
    return fromUnits(checked(divRound(__int128(units_) * kScale, o.units_, Rounding::HalfAwayFromZero)));
}

QString Decimal::toFixed(int decimals) const
{
    Decimal r = rounded(decimals);
    std::int64_t u = r.units_ < 0 ? -r.units_ : r.units_;
    QString s = QString::number(u / kScale);
    if (decimals > 0) {
        QString f = QString::number(u % kScale).rightJustified(kPlaces, '0');
        s += '.' + f.left(decimals);
    }
    return r.units_ < 0 ? '-' + s : s;
}

QString Decimal::toString() const
{
    QString s = toFixed(kPlaces);
    while (s.endsWith('0')) s.chop(1);
    if (s.endsWith('.')) s.chop(1);
    return s == "-0" ? QStringLiteral("0") : s;
}

QString Decimal::toDisplay(int decimals, bool grouping) const
{
    QString s = toFixed(decimals);
    bool neg = s.startsWith('-');
    if (neg) s.remove(0, 1);
    int dot = s.indexOf('.');
    QString whole = dot < 0 ? s : s.left(dot);
    QString frac = dot < 0 ? QString() : s.mid(dot + 1);
    if (grouping)
        for (int i = whole.size() - 3; i > 0; i -= 3) whole.insert(i, ' ');
    QString out = frac.isEmpty() ? whole : whole + ',' + frac;
    return neg ? '-' + out : out;
}

QString leadingDecimalText(const QString& text)
{
    QString num;
    bool dot = false, digits = false;
    for (QChar c : text) {
        if (skippedInNumber(c.unicode())) continue;
        if ((c == '-' || c == '+') && num.isEmpty())
            num += c;
        else if (c.isDigit() && c.unicode() <= '9') {
            num += c;
            digits = true;
        } else if (c == '.' && !dot) {
            dot = true;
            num += c;
        } else
            break;
    }
    return digits ? num : QString();
}

Decimal leadingDecimal(const QString& text)
{
    return Decimal::parse(leadingDecimalText(text)).value_or(Decimal());
}
