#include "documents/position_math.h"
#include "platform/app_error.h"

namespace {

__int128 pow10i(int n)
{
    __int128 p = 1;
    while (n-- > 0) p *= 10;
    return p;
}

// num / den rounded half away from zero, or half to even.
__int128 divRound(__int128 num, __int128 den, bool halfEven = false)
{
    bool neg = (num < 0) != (den < 0);
    if (num < 0) num = -num;
    if (den < 0) den = -den;
    __int128 q = num / den, r = num % den;
    if (r * 2 > den || (r * 2 == den && (!halfEven || q % 2 != 0))) ++q;
    return neg ? -q : q;
}

Decimal fromWide(__int128 units)
{
    if (units > INT64_MAX || units < INT64_MIN)
        throw AppError(err::kOverflow, QStringLiteral("Decimal"), QStringLiteral("Przepełnienie"));
    return Decimal::fromUnits(std::int64_t(units));
}

}  // namespace

Decimal Val(const QString& text)
{
    return LeadingNumber(text);
}

Decimal MulDivRound(Decimal a, Decimal b, int divisor, int digits)
{
    // a.units × b.units is the exact product scaled by 10^8; one rounding to `digits` places.
    __int128 exact = __int128(a.units()) * b.units();
    __int128 den = pow10i(2 * Decimal::kPlaces - digits) * divisor;
    return fromWide(divRound(exact, den) * pow10i(Decimal::kPlaces - digits));
}

Decimal StawkaVat(const QString& indvat)
{
    QString t = indvat;
    return Val(t.replace(',', '.'));
}

OptDecimal WartoscNetto(OptDecimal ilosc, OptDecimal cenanet)
{
    if (!ilosc || !cenanet) return std::nullopt;
    return MulDivRound(*ilosc, *cenanet, 1, 2);
}

RowValues WartosciVat(OptDecimal wartNetto, const QString& indvat)
{
    if (!wartNetto) return {};
    Decimal vat = MulDivRound(*wartNetto, StawkaVat(indvat), 100, 2);
    return {wartNetto, vat, *wartNetto + vat};
}

OptDecimal Potracenie(Decimal razNetto, bool zFunduszem)
{
    if (!zFunduszem) return std::nullopt;
    // units / 10^4 is the amount, × 0.001 makes units / 10^7; rounded once, halves to even.
    return fromWide(divRound(razNetto.units(), pow10i(7), true) * Decimal::kScale);
}

Decimal DoZaplaty(Decimal razBrutto, OptDecimal potracenie)
{
    return razBrutto - potracenie.value_or(Decimal());
}

Totals PozycjeSumuj(const Sums& poz, const Sums* kor, bool zFunduszem)
{
    Totals t{poz.netto, poz.vat, poz.brutto, std::nullopt, Decimal()};
    if (kor) {
        t.RazNetto -= kor->netto;
        t.RazVAT -= kor->vat;
        t.RazBrutto -= kor->brutto;
    }
    t.Potracenie = Potracenie(t.RazNetto, zFunduszem);
    t.DoZaplaty = DoZaplaty(t.RazBrutto, t.Potracenie);
    return t;
}
