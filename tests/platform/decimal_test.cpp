#include "platform/decimal.h"
#include <gtest/gtest.h>

TEST(Decimal, ParsesPolishAndDotTextAndRoundsExtraPlaces)
{
    EXPECT_EQ(Decimal::parse("1 234,56")->units(), 12345600);
    EXPECT_EQ(Decimal::parse("-0.5")->units(), -5000);
    EXPECT_EQ(Decimal::parse("0,00005")->units(), 1);
    EXPECT_FALSE(Decimal::parse(""));
    EXPECT_FALSE(Decimal::parse("1,2,3"));
    EXPECT_FALSE(Decimal::parse("12a"));
}

TEST(Decimal, RoundsHalvesAwayFromZeroOrToEven)
{
    EXPECT_EQ(Decimal::parse("1.005")->rounded(2), *Decimal::parse("1.01"));
    EXPECT_EQ(Decimal::parse("2.345")->rounded(2), *Decimal::parse("2.35"));
    EXPECT_EQ(Decimal::parse("-2.345")->rounded(2), *Decimal::parse("-2.35"));
    EXPECT_EQ(Decimal::parse("30.5")->roundedHalfEven(0), Decimal(30));
    EXPECT_EQ(Decimal::parse("31.5")->roundedHalfEven(0), Decimal(32));
    EXPECT_EQ(Decimal::parse("-31.5")->roundedHalfEven(0), Decimal(-32));
}

TEST(Decimal, MultipliesExactly)
{
    // A single-precision float gives 30864.17 here.
    Decimal q = *Decimal::parse("12345,67"), p = *Decimal::parse("2,50");
    EXPECT_EQ((q * p).rounded(2).toDisplay(), "30 864,18");
    EXPECT_EQ(Decimal::parse("-1234567.891")->toDisplay(2), "-1 234 567,89");
    EXPECT_EQ(Decimal::parse("12.5000")->toString(), "12.5");
}
