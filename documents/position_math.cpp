#include "documents/position_math.h"

Decimal Val(const QString& text)
{
    return leadingDecimal(text);
}

Decimal vatRate(const QString& indvat)
{
    QString t = indvat;
    return Val(t.replace(',', '.'));
}

OptDecimal netValue(OptDecimal ilosc, OptDecimal cenanet)
{
    if (!ilosc || !cenanet) return std::nullopt;
    return Decimal::mulDiv(*ilosc, *cenanet, 1, 2);
}

RowValues vatValues(OptDecimal wartNetto, const QString& indvat)
{
    if (!wartNetto) return {};
    Decimal vat = Decimal::mulDiv(*wartNetto, vatRate(indvat), 100, 2);
    return {wartNetto, vat, *wartNetto + vat};
}

OptDecimal Potracenie(Decimal razNetto, bool zFunduszem)
{
    if (!zFunduszem) return std::nullopt;
    return Decimal::mulDiv(razNetto, Decimal(1), 1000, 0, Decimal::Rounding::HalfEven);
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
