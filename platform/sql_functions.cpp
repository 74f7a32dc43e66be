#include "platform/sql_functions.h"
#include "platform/db_value.h"
#include "platform/decimal.h"
#include <QDate>
#include <QString>
#include <array>
#include <sqlcipher/sqlite3.h>

namespace db {
namespace {

// Primary weight of a character: letters of the Polish alphabet in its order, case ignored;
// letters with other accents just after their base letter; anything else by its code.
int slowWeight(QChar c)
{
    static const QString alphabet = QStringLiteral("aąbcćdeęfghijklłmnńoópqrsśtuvwxyzźż");
    ushort u = c.unicode();
    if (u < 128 && !((u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z'))) return u;
    QChar l = c.toLower();
    int i = alphabet.indexOf(l);
    if (i >= 0) return 0x10000 + i * 4;
    QString d = QString(l).normalized(QString::NormalizationForm_D);
    if (d.size() > 1) {
        int b = alphabet.indexOf(d[0]);
        if (b >= 0) return 0x10000 + b * 4 + 1;
    }
    return l.unicode();
}

// The weights of the Latin letters (Polish ones among them) are looked up, since sorting long
// lists asks for them again and again.
int weight(QChar c)
{
    constexpr ushort kTable = 0x250;
    static const auto table = [] {
        std::array<int, kTable> t{};
        for (ushort u = 0; u < kTable; ++u) t[u] = slowWeight(QChar(u));
        return t;
    }();
    return c.unicode() < kTable ? table[c.unicode()] : slowWeight(c);
}

QString argText(sqlite3_value* v)
{
    const unsigned char* t = sqlite3_value_text(v);
    return t ? QString::fromUtf8(reinterpret_cast<const char*>(t), sqlite3_value_bytes(v)) : QString();
}

// A function of the old engine over a text: NULL gives NULL, any other value its text to `f`,
// which sets the result.
template <class F>
void overText(sqlite3_context* ctx, sqlite3_value** argv, F f)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
        sqlite3_result_null(ctx);
    else
        f(argText(argv[0]));
}

void textResult(sqlite3_context* ctx, const QString& text)
{
    const QByteArray u = text.toUtf8();
    sqlite3_result_text(ctx, u.constData(), int(u.size()), SQLITE_TRANSIENT);
}

// Val: the number at the start of a text, blanks ignored; 0 when there is none.
void valFn(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    overText(ctx, argv, [&](const QString& t) {
        bool ok = false;
        const double d = leadingDecimalText(t).toDouble(&ok);
        sqlite3_result_double(ctx, ok ? d : 0.0);
    });
}

template <int Part>
void datePartFn(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    QDate d = isoDateOf(argText(argv[0]));
    if (!d.isValid()) {
        sqlite3_result_null(ctx);
        return;
    }
    sqlite3_result_int(ctx, Part == 0 ? d.year() : Part == 1 ? d.month() : d.day());
}

// Left, Right and Mid of the old engine (Mid counts from 1); Len is the number of characters.
void leftFn(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    overText(ctx, argv, [&](const QString& t) { textResult(ctx, t.left(qMax(0, sqlite3_value_int(argv[1])))); });
}

void rightFn(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    overText(ctx, argv, [&](const QString& t) { textResult(ctx, t.right(qMax(0, sqlite3_value_int(argv[1])))); });
}

void midFn(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    overText(ctx, argv, [&](const QString& t) {
        const int start = qMax(1, sqlite3_value_int(argv[1]));
        const int len = argc == 3 ? qMax(0, sqlite3_value_int(argv[2])) : -1;
        textResult(ctx, t.mid(start - 1, len));
    });
}

void lenFn(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    overText(ctx, argv, [&](const QString& t) { sqlite3_result_int(ctx, int(t.size())); });
}

// Format of a date with the old engine's pattern letters (yyyy, yy, mm or MM for the month,
// dd); any other value is given back as text.
void formatFn(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    overText(ctx, argv, [&](const QString& v) {
        const QDate d = isoDateOf(v);
        if (!d.isValid()) return textResult(ctx, v);
        QString pattern = argText(argv[1]);
        pattern.replace('m', 'M').replace('D', 'd').replace('Y', 'y');
        textResult(ctx, d.toString(pattern));
    });
}

bool sameLetter(QChar a, QChar b)
{
    if (a == b) return true;
    // Latin letters without accents are folded directly: the general rule is slow, and a
    // name filter compares every character of every stored name.
    const char16_t x = a.unicode() | 0x20, y = b.unicode() | 0x20;
    if (a.unicode() < 128 && b.unicode() < 128) return x == y && x >= 'a' && x <= 'z';
    return a.toLower() == b.toLower();
}

// A class such as [0-9], [a-cx] or [!0-9] at p[pi] (just after the '['); moves pi past ']'.
bool classMatch(const QString& p, int& pi, QChar ch)
{
    bool negate = pi < p.size() && p[pi] == '!';
    if (negate) ++pi;
    bool hit = false;
    QChar low = ch.toLower();
    while (pi < p.size() && p[pi] != ']') {
        QChar a = p[pi].toLower();
        if (pi + 2 < p.size() && p[pi + 1] == '-' && p[pi + 2] != ']') {
            QChar b = p[pi + 2].toLower();
            if (low >= a && low <= b) hit = true;
            pi += 3;
        } else {
            if (low == a) hit = true;
            ++pi;
        }
    }
    ++pi;  // the closing ']'
    return hit != negate;
}

// Both the old engine's wildcards (* ? # [..]) and the standard ones (% _) are understood,
// so statements written either way keep their meaning; letters compare without case.
bool likeMatch(const QString& p, int pi, const QString& s, int si, QChar esc)
{
    while (pi < p.size()) {
        QChar c = p[pi];
        if (!esc.isNull() && c == esc && pi + 1 < p.size()) {
            if (si >= s.size() || !sameLetter(p[pi + 1], s[si])) return false;
            pi += 2;
            ++si;
            continue;
        }
        if (c == '%' || c == '*') {
            while (pi < p.size() && (p[pi] == '%' || p[pi] == '*')) ++pi;
            if (pi == p.size()) return true;
            for (int k = si; k <= s.size(); ++k)
                if (likeMatch(p, pi, s, k, esc)) return true;
            return false;
        }
        if (si >= s.size()) return false;
        if (c == '[' && p.indexOf(']', pi + 1) > pi) {
            ++pi;
            if (!classMatch(p, pi, s[si])) return false;
            ++si;
            continue;
        }
        if (c == '#') {
            if (!(s[si] >= '0' && s[si] <= '9')) return false;
        } else if (c != '_' && c != '?' && !sameLetter(c, s[si])) {
            return false;
        }
        ++pi;
        ++si;
    }
    return si == s.size();
}

void likeFn(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    QChar esc;
    if (argc == 3) {
        QString e = argText(argv[2]);
        if (e.size() == 1) esc = e[0];
    }
    sqlite3_result_int(ctx, likeMatch(argText(argv[0]), 0, argText(argv[1]), 0, esc) ? 1 : 0);
}

int plCollation(void*, int la, const void* a, int lb, const void* b)
{
    return comparePolish(QString::fromUtf8(static_cast<const char*>(a), la),
                         QString::fromUtf8(static_cast<const char*>(b), lb));
}

}  // namespace

int comparePolish(QStringView a, QStringView b)
{
    const qsizetype n = qMin(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        if (a[i] == b[i]) continue;
        int wa = weight(a[i]), wb = weight(b[i]);
        if (wa != wb) return wa < wb ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

namespace {

void appendKey(QStringView text, QByteArray& key)
{
    // Three bytes per weight, most significant first: byte order is weight order, and a key
    // that is the start of another sorts first, as the shorter text does.
    const qsizetype at = key.size();
    key.resize(at + text.size() * 3);
    char* out = key.data() + at;
    for (QChar c : text) {
        const int w = weight(c);
        *out++ = char(w >> 16);
        *out++ = char((w >> 8) & 0xff);
        *out++ = char(w & 0xff);
    }
}

}  // namespace

QByteArray polishSortKey(const QString& text)
{
    QByteArray key;
    appendKey(text, key);
    return key;
}

void appendPolishSortKey(QByteArrayView utf8, QByteArray& key)
{
    // The characters are weighed as they are read out of the UTF-8 bytes; a text that is no
    // proper UTF-8 is read as QString reads it.
    const qsizetype at = key.size();
    key.resize(at + utf8.size() * 3);  // never more characters than bytes
    char* out = key.data() + at;
    auto put = [&](char16_t unit) {
        const int w = weight(QChar(unit));
        *out++ = char(w >> 16);
        *out++ = char((w >> 8) & 0xff);
        *out++ = char(w & 0xff);
    };
    const auto* p = reinterpret_cast<const uchar*>(utf8.data());
    const auto* end = p + utf8.size();
    while (p < end) {
        const uchar b = *p;
        char32_t cp;
        int more;
        if (b < 0x80) {
            put(b);
            ++p;
            continue;
        }
        if ((b & 0xE0) == 0xC0 && b >= 0xC2)
            cp = b & 0x1F, more = 1;
        else if ((b & 0xF0) == 0xE0)
            cp = b & 0x0F, more = 2;
        else if ((b & 0xF8) == 0xF0 && b <= 0xF4)
            cp = b & 0x07, more = 3;
        else
            more = -1;
        if (more < 0 || end - p <= more) break;
        for (int k = 1; k <= more && more > 0; ++k) {
            if ((p[k] & 0xC0) != 0x80) {
                more = -1;
                break;
            }
            cp = (cp << 6) | (p[k] & 0x3F);
        }
        if (more < 0 || (more == 2 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) ||
            (more == 3 && (cp < 0x10000 || cp > 0x10FFFF)))
            break;
        if (cp >= 0x10000) {
            put(char16_t(0xD800 + ((cp - 0x10000) >> 10)));
            put(char16_t(0xDC00 + ((cp - 0x10000) & 0x3FF)));
        } else {
            put(char16_t(cp));
        }
        p += more + 1;
    }
    if (p < end) {
        key.truncate(at);
        appendKey(QString::fromUtf8(utf8), key);
        return;
    }
    key.truncate(out - key.constData());
}

int comparePolishUtf8(QByteArrayView a, QByteArrayView b)
{
    if (a == b) return 0;
    return comparePolish(QString::fromUtf8(a), QString::fromUtf8(b));
}

void registerSqlFunctions(sqlite3* db)
{
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    sqlite3_create_function(db, "Val", 1, flags, nullptr, valFn, nullptr, nullptr);
    sqlite3_create_function(db, "Year", 1, flags, nullptr, datePartFn<0>, nullptr, nullptr);
    sqlite3_create_function(db, "Month", 1, flags, nullptr, datePartFn<1>, nullptr, nullptr);
    sqlite3_create_function(db, "Day", 1, flags, nullptr, datePartFn<2>, nullptr, nullptr);
    sqlite3_create_function(db, "Left", 2, flags, nullptr, leftFn, nullptr, nullptr);
    sqlite3_create_function(db, "Right", 2, flags, nullptr, rightFn, nullptr, nullptr);
    sqlite3_create_function(db, "Mid", 2, flags, nullptr, midFn, nullptr, nullptr);
    sqlite3_create_function(db, "Mid", 3, flags, nullptr, midFn, nullptr, nullptr);
    sqlite3_create_function(db, "Len", 1, flags, nullptr, lenFn, nullptr, nullptr);
    sqlite3_create_function(db, "Format", 2, flags, nullptr, formatFn, nullptr, nullptr);
    sqlite3_create_function(db, "like", 2, flags, nullptr, likeFn, nullptr, nullptr);
    sqlite3_create_function(db, "like", 3, flags, nullptr, likeFn, nullptr, nullptr);
    sqlite3_create_collation(db, "PL", SQLITE_UTF8, nullptr, plCollation);
}

}  // namespace db
