#include "platform/decimal.h"
#include "platform/app_error.h"
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

// A product over a divisor is rounded once, from its exact value; a rounded product first would
// give 0,01 for 0,0099 × 0,5 and lose the halves that only the exact value shows.
TEST(Decimal, MulDivRoundsTheExactValueOnceInEitherMode)
{
    using R = Decimal::Rounding;
    const Decimal one(1);
    struct Case {
        const char* what;
        const char *a, *b;
        std::int64_t divisor;
        int digits;
        R mode;
        const char* expected;
    } cases[] = {
        {"a half cent goes away from zero", "12345,67", "2,50", 1, 2, R::HalfAwayFromZero, "30864,18"},
        {"below a half cent", "0,0099", "0,5", 1, 2, R::HalfAwayFromZero, "0"},
        {"a negative half", "-1,005", "1", 1, 2, R::HalfAwayFromZero, "-1,01"},
        {"VAT of 0,10 at 5 %", "0,10", "5", 100, 2, R::HalfAwayFromZero, "0,01"},
        {"a half to the even neighbour below", "2500", "1", 1000, 0, R::HalfEven, "2"},
        {"a half to the even neighbour above", "3500", "1", 1000, 0, R::HalfEven, "4"},
        {"just below a half stays below", "1499,9999", "1", 1000, 0, R::HalfEven, "1"},
        {"a negative half to even", "-3500", "1", 1000, 0, R::HalfEven, "-4"},
        {"four places kept whole", "0,0001", "0,5", 1, 4, R::HalfAwayFromZero, "0,0001"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Decimal::mulDiv(*Decimal::parse(c.a), *Decimal::parse(c.b), c.divisor, c.digits, c.mode),
                  *Decimal::parse(c.expected));
    }
    EXPECT_THROW(Decimal::mulDiv(one, one, 0, 2), AppError);
    const Decimal big = *Decimal::parse("900000000000000");
    EXPECT_THROW(Decimal::mulDiv(big, Decimal(100), 1, 2), AppError);
    EXPECT_EQ(Decimal::mulDiv(big, Decimal(100), 100, 2), big);  // the product is exact before it is divided
    EXPECT_EQ(Decimal::parse("12,99")->wholeUnits(), 12);
    EXPECT_EQ(Decimal::parse("-3,5")->wholeUnits(), -3);
}
