#include "register/slownie.h"
#include "support/document_fixture.h"
#include <gtest/gtest.h>

// Neighbouring words stand two blanks apart (each brings its own), the last word one blank from
// the grosze.
TEST(Slownie, AmountsInWords)
{
    struct Case {
        const char* kwota;
        const char* slowa;
    } cases[] = {
        {"1234,56", "jeden  tysiąc  dwieście  trzydzieści  cztery 56/100"},
        {"21", "dwadzieścia  jeden 0/100"},
        {"12", "dwanaście 0/100"},
        {"10", "dziesięć 0/100"},
        {"100,07", "sto 7/100"},
        {"-15", "minus  piętnaście 0/100"},
        {"0", "zero 0/100"},
        {"0,99", "zero 99/100"},
        {"-0,50", "minus  zero 50/100"},
        {"1001", "jeden  tysiąc  jeden 0/100"},
        {"5000", "pięć  tysięcy 0/100"},
        {"11000", "jedenaście  tysięcy 0/100"},
        {"22000", "dwadzieścia  dwa  tysiące 0/100"},
        {"102000", "sto  dwa  tysiące 0/100"},
        {"101000", "sto  jeden  tysięcy 0/100"},
        {"201000", "dwieście  jeden  tysięcy 0/100"},
        {"21000", "dwadzieścia  jeden  tysięcy 0/100"},
        {"12345678,90",
         "dwanaście  milionów  trzysta  czterdzieści  pięć  tysięcy  sześćset  siedemdziesiąt  osiem 90/100"},
        {"999999999,99",
         "dziewięćset  dziewięćdziesiąt  dziewięć  milionów  dziewięćset  dziewięćdziesiąt  dziewięć  tysięcy  "
         "dziewięćset  dziewięćdziesiąt  dziewięć 99/100"},
        {"1000000", "jeden  milion 0/100"},
        {"2000500", "dwa  miliony  pięćset 0/100"},
        {"1000000000", "jeden  miliard 0/100"},
        {"5000000001", "pięć  miliardów  jeden 0/100"},
        {"3002000000000,01", "trzy  biliony  dwa  miliardy 1/100"},
        // Rounded to grosze first, halves to even: the grosze never read 100/100.
        {"0,125", "zero 12/100"},
        {"0,135", "zero 14/100"},
        {"0,995", "jeden 0/100"},
        {"-1,999", "minus  dwa 0/100"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kwota);
        EXPECT_EQ(Slownie(dec(c.kwota)), QString::fromUtf8(c.slowa));
    }
}

TEST(Slownie, SuffixFollowsTheFractionAndGroupsReadTheirDigits)
{
    EXPECT_EQ(Slownie(dec("100"), "PLN"), "sto 0/100 PLN");
    EXPECT_EQ(SlownieTrojka("3", "1", "7", "x"), QString::fromUtf8(" siedemset  trzynaście x"));
    EXPECT_EQ(SlownieTrojka("0", "0", "0", ""), "");
    EXPECT_EQ(SlownieTrojka("5", "", "", ""), QString::fromUtf8(" pięć "));
    EXPECT_EQ(SlownieJednosci("0", "t"), "t");
    EXPECT_EQ(SlownieDziesiatki("1", "t"), "t");
}
