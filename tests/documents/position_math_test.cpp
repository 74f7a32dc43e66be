#include "documents/position_math.h"
#include "platform/app_error.h"
#include <gtest/gtest.h>

namespace {
Decimal d(const char* t)
{
    return *Decimal::parse(QString::fromUtf8(t));
}
}  // namespace

TEST(PositionMath, RowNetIsExactProductRoundedOnceHalfAwayFromZero)
{
    EXPECT_EQ(netValue(d("2,5"), d("10,00")), d("25"));
    EXPECT_EQ(netValue(d("12345,67"), d("2,50")), d("30864,18"));  // 30864,175 exactly
    EXPECT_EQ(netValue(d("1,005"), d("1")), d("1,01"));
    EXPECT_EQ(netValue(d("0,0099"), d("0,5")), d("0"));  // 0,00495 is below a half cent
    EXPECT_EQ(netValue(d("-1,005"), d("1")), d("-1,01"));
    EXPECT_EQ(netValue(std::nullopt, d("3")), std::nullopt);
}

TEST(PositionMath, VatRateIsTheCodesLeadingNumber)
{
    EXPECT_EQ(vatRate("23"), d("23"));
    EXPECT_EQ(vatRate("7,5"), d("7,5"));
    EXPECT_EQ(vatRate(" 8%"), d("8"));
    EXPECT_EQ(vatRate("zw"), d("0"));
    EXPECT_EQ(vatRate(""), d("0"));

    auto v = vatValues(d("25"), "23");
    EXPECT_EQ(v.WartVAT, d("5,75"));
    EXPECT_EQ(v.WartBrutto, d("30,75"));
    v = vatValues(d("10,00"), "7,5");
    EXPECT_EQ(v.WartVAT, d("0,75"));
    v = vatValues(d("0,10"), "5");  // 0,005 rounds up
    EXPECT_EQ(v.WartVAT, d("0,01"));
    v = vatValues(d("99,99"), "zw");
    EXPECT_EQ(v.WartVAT, d("0"));
    EXPECT_EQ(v.WartBrutto, d("99,99"));
    EXPECT_FALSE(vatValues(std::nullopt, "23").WartBrutto.has_value());
}

TEST(PositionMath, DeductionIsATenthOfAPercentInWholeUnitsHalvesToEven)
{
    EXPECT_EQ(Potracenie(d("2500"), true), d("2"));
    EXPECT_EQ(Potracenie(d("3500"), true), d("4"));
    EXPECT_EQ(Potracenie(d("1499,99"), true), d("1"));
    EXPECT_EQ(Potracenie(d("1500"), true), d("2"));
    EXPECT_EQ(Potracenie(d("1499,9999"), true), d("1"));  // no double rounding
    EXPECT_EQ(Potracenie(d("-2500"), true), d("-2"));
    EXPECT_EQ(Potracenie(d("-3500"), true), d("-4"));
    EXPECT_EQ(Potracenie(d("2500"), false), std::nullopt);
}

TEST(PositionMath, CorrectionTotalsAreAfterMinusBefore)
{
    Sums poz{d("100"), d("23"), d("123")};
    Sums kor{d("3600"), d("828"), d("4428")};
    Totals inv = PozycjeSumuj(poz, nullptr, true);
    EXPECT_EQ(inv.RazBrutto, d("123"));
    EXPECT_EQ(inv.Potracenie, d("0"));
    EXPECT_EQ(inv.DoZaplaty, d("123"));

    Totals k = PozycjeSumuj(poz, &kor, true);
    EXPECT_EQ(k.RazNetto, d("-3500"));
    EXPECT_EQ(k.RazVAT, d("-805"));
    EXPECT_EQ(k.Potracenie, d("-4"));
    EXPECT_EQ(k.DoZaplaty, d("-4301"));
    Totals none = PozycjeSumuj(poz, &kor, false);
    EXPECT_FALSE(none.Potracenie);
    EXPECT_EQ(none.DoZaplaty, d("-4305"));
    Totals zero = PozycjeSumuj(poz, &poz, true);
    EXPECT_EQ(zero.RazBrutto, d("0"));
}

TEST(PositionMath, ValReadsTheLeadingNumber)
{
    EXPECT_EQ(Val("12/03/2024"), d("12"));
    EXPECT_EQ(Val(" 1 2.5x"), d("12,5"));
    EXPECT_EQ(Val("A/7"), d("0"));
    EXPECT_EQ(Val("-3"), d("-3"));
}

// Sums never wrap around: two amounts that each fit but together do not are an overflow.
TEST(PositionMath, SumsBeyondTheMoneyRangeAreAnOverflowNotAWrap)
{
    const Decimal half = d("500000000000000");
    EXPECT_THROW(half + half, AppError);
    EXPECT_THROW(-half - half, AppError);
    EXPECT_THROW(-Decimal::fromUnits(INT64_MIN), AppError);
    Decimal sum = half;
    EXPECT_THROW(sum += half, AppError);
    Sums rows{half + half / Decimal(4), Decimal(), half};
    Sums before{-half, Decimal(), -half};
    EXPECT_THROW(PozycjeSumuj(rows, &before, false), AppError);
    EXPECT_EQ(PozycjeSumuj(rows, nullptr, false).RazBrutto, half);
}
