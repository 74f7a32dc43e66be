#include "core/haslo.h"
#include <gtest/gtest.h>

// Expected values below were worked out by hand from the generator's rules: the step
// s' = (s * 0x43FD43FD + 0xC39EC3) mod 2^24, reset with the bits of -1.0f (0xBF800000), seeding with
// the upper half of the double's bits.

TEST(RuntimeRandom, ResetSeedAndFirstDrawsMatchTheRuntime)
{
    EXPECT_EQ(HasloKlucz(kHasloKlucz), 1195836);  // 0x123F3C
    EXPECT_EQ(HasloKlucz("AB"), 8200);            // 0x2100 ^ 0x108: (66 << 7) ^ (66 << 2); "A" cancels out
    EXPECT_EQ(HasloKlucz("A"), 0);

    RuntimeRandom g;
    // 0xBF800000 + 0xBF, lowest 24 bits 0x8000BF, stepped once.
    EXPECT_EQ(g.reset(-1.0f), float(0x395886) / 16777216.0f);
    EXPECT_EQ(g.state(), 0x395886u);
    // 1195836.0 has the upper bits 0x41323F3C: middle 0x3F3C00 ^ 0x413200 = 0x7E0E00.
    g.randomize(1195836.0);
    EXPECT_EQ(g.state(), 0x7E0E86u);
    const struct {
        quint32 state;
        int r;
    } draws[] = {{0x930B31, 55}, {0x708130, 42}, {0x32DB33, 19}};
    for (const auto& d : draws) {
        SCOPED_TRACE(d.state);
        EXPECT_EQ(scaledDraw(g.next(), 96), d.r);
        EXPECT_EQ(g.state(), d.state);
    }

    // Seeding keeps the lowest and the highest byte.
    g.setState(0xAB123456u);
    g.randomize(0.0);
    EXPECT_EQ(g.state(), 0xAB000056u);
}

TEST(RuntimeRandom, TheScaledDrawIsRoundedToSinglePrecisionFirst)
{
    // 11359573 * 96 / 2^24 is 65 - 2^-19: single precision rounds it to 65, exact arithmetic gives 64.
    EXPECT_EQ(scaledDraw(float(11359573) / 16777216.0f, 96), 65);
    EXPECT_EQ(scaledDraw(float(0x930B31) / 16777216.0f, 96), 55);
}

TEST(Haslo, ScramblingIsTheFamilysAndRoundTrips)
{
    // "a" + 55, "b" + 42, "c" + 19 (mod 95), then 18 fillers after seeding again; the first filler
    // comes from the state 0x7E0E33 stepped to 0x76002A: floor(0.4609 * 95 + 32) = 75 "K".
    EXPECT_EQ(HasloKoduj(kHasloKlucz, "abc", 20), "9-vKxnw7Y \"210#zo`FIt");
    EXPECT_EQ(HasloKoduj(kHasloKlucz, "abc", 20), HasloKoduj(kHasloKlucz, "abc", 20));

    const struct {
        const char* haslo;
        int length;
    } cases[] = {
        {"", 21}, {"Tajne#1", 21}, {"12345678901234567890", 21}, {"1234567890123456789012345", 25}, {"~ !zZ", 21}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.haslo);
        const QString stored = HasloKoduj(kHasloKlucz, c.haslo, 20);
        EXPECT_EQ(stored.size(), c.length);
        for (QChar ch : stored) EXPECT_TRUE(ch.unicode() >= 32 && ch.unicode() <= 126);
        const QString haslo = QString::fromLatin1(c.haslo);
        EXPECT_EQ(HasloDekoduj(kHasloKlucz, stored).left(haslo.size()), haslo);
        if (!haslo.isEmpty()) {
            EXPECT_NE(stored.left(haslo.size()), haslo);  // not kept plain
        }
    }
    // Letters outside 32..126 vanish from the password, without a draw.
    const QString polish = HasloKoduj(kHasloKlucz, QStringLiteral("hasło"), 20);
    EXPECT_EQ(polish.size(), 20);
    EXPECT_TRUE(HasloDekoduj(kHasloKlucz, polish).startsWith("haso"));
}

TEST(Haslo, OnlyTheExactPasswordMatches)
{
    const QString stored = HasloKoduj(kHasloKlucz, "Tajne#1", 20);
    const struct {
        QString typed;
        bool ok;
    } cases[] = {{"Tajne#1", true},  {"Taj", false},      {"T", false},       {"", false},
                 {"tajne#1", false}, {"Tajne#12", false}, {"Tajne#1 ", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        EXPECT_EQ(passwordMatches(kHasloKlucz, c.typed, stored), c.ok);
    }
    // Written with another pad length, or holding dropped letters, it still matches only itself.
    EXPECT_TRUE(passwordMatches(kHasloKlucz, "abc", HasloKoduj(kHasloKlucz, "abc", 30)));
    EXPECT_FALSE(passwordMatches(kHasloKlucz, "ab", HasloKoduj(kHasloKlucz, "abc", 30)));
    EXPECT_TRUE(
        passwordMatches(kHasloKlucz, QStringLiteral("hasło"), HasloKoduj(kHasloKlucz, QStringLiteral("hasło"), 20)));
    const QString longOne = "1234567890123456789012345";
    EXPECT_TRUE(passwordMatches(kHasloKlucz, longOne, HasloKoduj(kHasloKlucz, longOne, 20)));
    EXPECT_FALSE(passwordMatches(kHasloKlucz, longOne.left(24), HasloKoduj(kHasloKlucz, longOne, 20)));
}
