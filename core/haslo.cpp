#include "core/haslo.h"
#include <algorithm>
#include <bit>
#include <cmath>

float RuntimeRandom::next()
{
    state_ = (state_ * 0x43FD43FDu + 0xC39EC3u) & 0xFFFFFFu;
    return float(state_) / 16777216.0f;
}

float RuntimeRandom::reset(float negative)
{
    const quint32 bits = std::bit_cast<quint32>(negative);
    state_ = (bits + (bits >> 24)) & 0xFFFFFFu;
    return next();
}

void RuntimeRandom::randomize(double seed)
{
    const quint32 h = quint32(std::bit_cast<quint64>(seed) >> 32);
    const quint32 middle = (((h & 0xFFFFu) << 8) ^ ((h >> 8) & 0xFFFF00u)) & 0xFFFF00u;
    state_ = (state_ & 0xFF0000FFu) | middle;
}

int scaledDraw(float draw, int n)
{
    const float product = draw * float(n);
    return int(std::floor(product));
}

namespace {

bool scrambled(QChar ch)
{
    return ch.unicode() >= 32 && ch.unicode() <= 126;
}

// The generator as both directions start it: reset with -1, then seeded with the key.
RuntimeRandom started(const QString& key)
{
    RuntimeRandom g;
    g.reset(-1.0f);
    g.randomize(double(HasloKlucz(key)));
    return g;
}

// The scrambled characters of a text, then `fillers` filler characters drawn after seeding the
// generator with the key again (that seeding keeps the state's lowest byte from the draws before).
QString scramble(const QString& key, const QString& text, int fillers)
{
    RuntimeRandom g = started(key);
    QString out;
    for (QChar ch : text) {
        if (!scrambled(ch)) continue;
        const int r = scaledDraw(g.next(), 96);
        out += QChar(char16_t((ch.unicode() - 32 + r) % 95 + 32));
    }
    g.randomize(double(HasloKlucz(key)));
    for (int i = 0; i < fillers; ++i) {
        const float t = g.next() * 95.0f + 32.0f;  // single precision, as the runtime did
        out += QChar(char16_t(std::floor(t)));
    }
    return out;
}

}  // namespace

qint32 HasloKlucz(const QString& key)
{
    quint32 h = 0;
    int a = 0, b = 0;
    for (QChar ch : key) {
        const quint32 c = ch.unicode();
        h ^= (quint32(1) << a) * c;
        h ^= (quint32(1) << b) * c;
        a = (a + 7) % 15;
        b = (b + 13) % 11;
    }
    return qint32(h);
}

QString HasloKoduj(const QString& key, const QString& text, qint16 padLength)
{
    // One filler for each position from the text's length up to padLength, both included.
    const int fillers = std::max(0, int(padLength) - int(text.size()) + 1);
    return scramble(key, text, fillers);
}

QString HasloDekoduj(const QString& key, const QString& stored)
{
    RuntimeRandom g = started(key);
    QString out;
    for (QChar ch : stored) {
        if (!scrambled(ch)) continue;
        const int r = scaledDraw(g.next(), 96);
        int d = (ch.unicode() - 32 - r) % 95;
        if (d < 0) d += 95;
        out += QChar(char16_t(d + 32));
    }
    return out;
}

bool passwordMatches(const QString& key, const QString& typed, const QString& stored)
{
    if (typed.isEmpty() || stored.isEmpty()) return false;
    qsizetype kept = 0;
    for (QChar ch : typed) kept += scrambled(ch) ? 1 : 0;
    // Whatever follows the typed password's characters must be exactly its fillers, so the
    // filler count comes from the stored text, whatever pad length its writer used.
    const qsizetype fillers = stored.size() - kept;
    if (fillers < 0) return false;
    return scramble(key, typed, int(fillers)) == stored;
}
