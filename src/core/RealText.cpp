#include "core/RealText.h"

#include <QtEndian>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

constexpr double powersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                  1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                  1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
// Every power up to 1e22 is exact in a double, so one multiplication or
// division by it is rounded once.
constexpr int ExactPowers = 22;

// a * 10^k for |k| <= ExactPowers, rounded once.
double scaled(double a, int k)
{
    return k >= 0 ? a * powersOfTen[k] : a / powersOfTen[-k];
}

// The six leading digits of a > 0, rounded half up, from its exact decimal
// expansion (every double has a finite one of at most 767 significant
// digits): n in [100000, 999999] and the decimal exponent of its first digit.
void exactDigits(double a, std::uint32_t &n, int &e10)
{
    char buf[800];
    const auto r = std::to_chars(buf, buf + sizeof buf, a, std::chars_format::scientific, 770);
    // "d.ddd...e+XX"; the expansion is complete, so the seventh digit alone
    // decides the rounding: 5 or more is at least half.
    n = std::uint32_t(buf[0] - '0');
    for (int i = 2; i < 7; ++i)
        n = n * 10 + std::uint32_t(buf[i] - '0');
    const char *e = static_cast<const char *>(std::memchr(buf, 'e', size_t(r.ptr - buf)));
    int exp = 0;
    std::from_chars(e[1] == '+' ? e + 2 : e + 1, r.ptr, exp);
    e10 = exp;
    if (buf[7] >= '5')
        ++n;
}

// The same for the common case: a double computes a * 10^k to within
// 2^-32 of the exact value, which decides the rounding unless the fraction
// lies within a hair of one half; then, and for exponents whose power of ten
// is not exact, the exact digits decide.
void leadingDigits(double a, std::uint32_t &n, int &e10)
{
    std::uint64_t bits = 0;
    std::memcpy(&bits, &a, sizeof bits);
    const int e2 = int((bits >> 52) & 0x7ff) - 1023;
    // 2^e2 <= a < 2^(e2 + 1), so 10^e10 <= a < 10^(e10 + 1) give or take one
    // (78913 / 2^18 is log10(2) to six digits; subnormals go the exact way).
    e10 = (e2 * 78913) >> 18;
    for (int tries = 0; tries < 3 && e2 > -1023; ++tries) {
        const int k = 5 - e10;
        if (k > ExactPowers || k < -ExactPowers)
            break;
        const double s = scaled(a, k);
        if (s < 100000.0) {
            --e10;
            continue;
        }
        if (s >= 1000000.0) {
            ++e10;
            continue;
        }
        const std::uint32_t whole = std::uint32_t(s);
        const double frac = s - double(whole);
        if (std::fabs(frac - 0.5) < 1e-8)
            break;
        n = whole + (frac > 0.5 ? 1 : 0);
        return;
    }
    exactDigits(a, n, e10);
}

constexpr char digitPairs[] = "00010203040506070809101112131415161718192021222324"
                              "25262728293031323334353637383940414243444546474849"
                              "50515253545556575859606162636465666768697071727374"
                              "75767778798081828384858687888990919293949596979899";

// The two digits of v < 100 as characters, the first in the lower byte.
std::uint64_t pairOf(std::uint32_t v)
{
    std::uint16_t pair = 0;
    std::memcpy(&pair, digitPairs + 2 * v, 2);
    return pair;
}

// Writes the 8 characters of v, the lowest byte first, at out; returns out.
char *store(char *out, std::uint64_t v)
{
    qToUnaligned(qToLittleEndian(v), out);
    return out;
}

char *putDigits(char *out, std::uint32_t v, int count)
{
    for (int i = count - 1; i >= 0; --i) {
        out[i] = char('0' + v % 10);
        v /= 10;
    }
    return out + count;
}

} // namespace

int writeRealText(char *out, double v)
{
    char *p = out;
    if (std::isnan(v)) {
        std::memcpy(p, "nan", 3);
        return 3;
    }
    if (std::signbit(v) && v != 0.0)
        *p++ = '-';
    const double a = std::fabs(v);
    if (std::isinf(a)) {
        std::memcpy(p, "inf", 3);
        return int(p - out) + 3;
    }
    if (a == 0.0) {
        *p = '0';
        return 1;
    }
    std::uint32_t n = 0;
    int e10 = 0;
    leadingDigits(a, n, e10);
    if (n >= 1000000) {
        n /= 10;
        ++e10;
    }
    // The six digits as characters in one register, the first in the lowest
    // byte, so that they are stored in single 8-byte writes (the room of out
    // allows it) and never read back from memory.
    const std::uint64_t digits = pairOf(n / 10000) | pairOf(n / 100 % 100) << 16
                                 | pairOf(n % 100) << 32 | std::uint64_t(0x3030) << 48;
    // Digits up to the last that is not '0'.
    const std::uint64_t nonZero = (digits ^ 0x303030303030ull) & 0xffffffffffffull;
    const int len = (63 - __builtin_clzll(nonZero)) / 8 + 1;
    // The position of the decimal point after the first digit's place.
    const int point = e10 + 1;
    if (point < -3 || point > 6) {
        *p++ = char(digits);
        if (len > 1) {
            *p++ = '.';
            p = store(p, digits >> 8) + len - 1;
        }
        *p++ = 'e';
        *p++ = e10 < 0 ? '-' : '+';
        const int x = e10 < 0 ? -e10 : e10;
        p = putDigits(p, std::uint32_t(x), x >= 100 ? 3 : 2);
    } else if (point <= 0) {
        store(p, 0x3030303030302e30ull); // "0.000000"
        p = store(p + 2 - point, digits) + len;
    } else if (point < len) {
        store(p, digits);
        p[point] = '.';
        p = store(p + point + 1, digits >> (8 * point)) + len - point;
    } else {
        // The digits past len are the zeros up to the point.
        p = store(p, digits) + point;
    }
    return int(p - out);
}

QByteArray realText(double v)
{
    char buf[RealTextMax];
    return QByteArray(buf, writeRealText(buf, v));
}
