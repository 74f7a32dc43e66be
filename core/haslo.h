#pragma once
#include <QString>
#include <QtGlobal>

// User passwords in dboso.Haslo are kept scrambled, not plain. The programs of the family share
// those rows, so the scrambling must stay exactly what it always was: it draws from the classic
// BASIC runtime's pseudo-random generator, rebuilt here bit for bit.

// The runtime's generator: a 24-bit state stepped as a linear congruential generator; a draw is
// the new state over 2^24, a single-precision number in [0, 1).
class RuntimeRandom final {
public:
    // A draw (the runtime's random function with a positive argument).
    float next();
    // The random function with a negative argument: the state is made from the bits of that
    // single-precision number, then a draw is made and returned.
    float reset(float negative);
    // The runtime's seeding: the middle 16 bits of the state are made from the upper half of
    // the seed's double-precision bits; the lowest and the highest byte stay.
    void randomize(double seed);

    quint32 state() const { return state_; }
    void setState(quint32 state) { state_ = state; }

private:
    quint32 state_ = 0x50000;  // the runtime's state at program start
};

// floor(draw * n) as the runtime computed it: the product rounded to single precision first.
int scaledDraw(float draw, int n);

// The key built into the family's programs.
inline const QString kHasloKlucz = QStringLiteral("qwm4rtk27vbnhx");

// The key text as the number the generator is seeded with.
qint32 HasloKlucz(const QString& key);
// Scrambles a password: one character per character of code 32..126 (others are dropped), then
// filler characters for each position from the password's length up to padLength inclusive.
QString HasloKoduj(const QString& key, const QString& text, qint16 padLength);
// Unscrambles a stored text: the password followed by as many meaningless characters as the
// filler had (the password's length is not stored).
QString HasloDekoduj(const QString& key, const QString& stored);
// Whether `typed` is exactly the password that `stored` holds: its scrambled characters and the
// fillers that follow them must both be what scrambling `typed` gives. A leading part of the
// password does not pass, and an empty text never does.
bool passwordMatches(const QString& key, const QString& typed, const QString& stored);
