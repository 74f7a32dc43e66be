#pragma once
#include "platform/decimal.h"
#include <QString>

// Exact arithmetic of the position rows and of the document totals. Everything is Decimal:
// a product is rounded once, from its exact value, so 1,005 goes to 1,01 and
// 12345,67 × 2,50 to 30864,18.

// The number at the start of a text, as the old Val read it: blanks ignored, "." as the decimal
// mark, an optional sign; 0 when the text does not start with a number.
Decimal Val(const QString& text);

// The rate of a VAT code: its leading number with "," or "." as the decimal mark
// ("23" is 23 %, "7,5" is 7.5 %); a code that does not start with a number ("zw") is 0 %.
Decimal vatRate(const QString& indvat);

// The computed values of one position row.
struct RowValues {
    OptDecimal WartNetto;
    OptDecimal WartVAT;
    OptDecimal WartBrutto;
};

// Net of a row: quantity × price rounded to 2 places; empty when the quantity or price is.
OptDecimal netValue(OptDecimal ilosc, OptDecimal cenanet);
// VAT and gross from a net value and a VAT code: VAT = net × rate / 100 rounded to 2 places,
// gross = net + VAT; both empty when the net value is.
RowValues vatValues(OptDecimal wartNetto, const QString& indvat);

// The three column sums of a set of rows (empty values count as nothing).
struct Sums {
    Decimal netto;
    Decimal vat;
    Decimal brutto;
};

// The totals of a document as the form shows them.
struct Totals {
    Decimal RazNetto;
    Decimal RazVAT;
    Decimal RazBrutto;
    OptDecimal Potracenie;  // empty without a fund
    Decimal DoZaplaty;
};

// The fund deduction: 0.1 % of the net total in whole units, halves to even (2500 → 2,
// 3500 → 4, 1499,99 → 1); empty when no fund is chosen.
OptDecimal Potracenie(Decimal razNetto, bool zFunduszem);
// The amount to pay: gross total less the deduction.
Decimal DoZaplaty(Decimal razBrutto, OptDecimal potracenie);

// Totals of an invoice (`kor` null) or of a correction (positions after the correction less the
// corrected positions); a correction's totals may be negative.
Totals PozycjeSumuj(const Sums& poz, const Sums* kor, bool zFunduszem);
