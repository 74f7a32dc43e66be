#pragma once
#include <QString>
#include <compare>
#include <cstdint>
#include <optional>

// Exact decimal with four places, the range and precision of the CURRENCY type. Amounts,
// prices and quantities use it; it is stored in the database as its 64-bit scaled integer.
class Decimal final {
public:
    static constexpr int kPlaces = 4;
    static constexpr std::int64_t kScale = 10000;
    // How a half of the last kept place goes: away from zero (1,005 → 1,01; the rows' values) or
    // to the even neighbour (2,5 → 2; the fund deduction, the amount in words).
    enum class Rounding { HalfAwayFromZero, HalfEven };

    constexpr Decimal() = default;
    constexpr Decimal(int whole) : units_(std::int64_t(whole) * kScale) {}
    static constexpr Decimal fromUnits(std::int64_t units)
    {
        Decimal d;
        d.units_ = units;
        return d;
    }
    // Parses "1234,56", "1 234.56", "-0,5"; accepts either decimal mark and spaces as grouping.
    // More than four decimals are rounded half away from zero. Empty or malformed text gives nullopt.
    static std::optional<Decimal> parse(const QString& text);
    // From a binary number, rounded half away from zero to four places (only for values that
    // arrive as doubles, such as a spinner; never for arithmetic).
    static Decimal fromDouble(double v);

    constexpr std::int64_t units() const { return units_; }
    // The whole units, the fraction cut off (12,99 → 12; -3,5 → -3).
    constexpr std::int64_t wholeUnits() const { return units_ / kScale; }
    double toDouble() const { return double(units_) / kScale; }

    // Rounds to `digits` places (0..4).
    Decimal rounded(int digits, Rounding mode = Rounding::HalfAwayFromZero) const;
    Decimal roundedHalfEven(int digits) const { return rounded(digits, Rounding::HalfEven); }
    // a × b / divisor rounded once, from the exact value, to `digits` places (0..4): no rounding
    // of the product first. Beyond the range: AppError 6; a zero divisor: AppError 11.
    static Decimal mulDiv(Decimal a, Decimal b, std::int64_t divisor, int digits,
                          Rounding mode = Rounding::HalfAwayFromZero);

    // Plain text with a dot and trailing zeros cut ("12.5", "-3", "0.0001").
    QString toString() const;
    // Fixed number of decimals with a dot, no grouping ("1234.50").
    QString toFixed(int decimals) const;
    // Locale style "#,##0.00" with Polish marks: "1 234,50" (non-breaking space not used).
    QString toDisplay(int decimals = 2, bool grouping = true) const;

    // Sums and differences beyond the range throw AppError 6 (overflow) instead of wrapping.
    Decimal operator-() const { return Decimal() - *this; }
    Decimal operator+(Decimal o) const { return fromUnits(checkedSum(units_, o.units_, false)); }
    Decimal operator-(Decimal o) const { return fromUnits(checkedSum(units_, o.units_, true)); }
    Decimal& operator+=(Decimal o) { return *this = *this + o; }
    Decimal& operator-=(Decimal o) { return *this = *this - o; }
    // Exact product rounded half away from zero to four places.
    Decimal operator*(Decimal o) const;
    // Quotient rounded half away from zero to four places; division by zero throws AppError 11.
    Decimal operator/(Decimal o) const;
    constexpr auto operator<=>(const Decimal&) const = default;
    constexpr bool isZero() const { return units_ == 0; }

private:
    static std::int64_t checkedSum(std::int64_t a, std::int64_t b, bool subtract);
    std::int64_t units_ = 0;
};

using OptDecimal = std::optional<Decimal>;

// The blanks that the old Val function skips anywhere in a number: space, tab, CR and LF. Any
// other character (a no-break space too) ends a number but a digit or its decimal point.
constexpr bool skippedInNumber(char16_t c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// The number a text begins with, as the old Val function reads it: blanks anywhere are skipped,
// an optional sign, digits and one "." as the decimal mark; reading stops at anything else.
// Gives the text of that number ("-12.5" for " -1 2.5 kg"), or "" when there is none.
QString leadingDecimalText(const QString& text);
// The same number as a decimal; 0 when there is none.
Decimal leadingDecimal(const QString& text);
