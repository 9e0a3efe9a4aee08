#include "cli/realtext.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace {

constexpr int kRoundTripDigits = 21;

// A GNU extension, as -Wpedantic is told: 128 bits hold a significand times 5^27.
__extension__ typedef unsigned __int128 TWide;

constexpr TWide Power(unsigned base, int n) {
    TWide p = 1;
    for (int i = 0; i < n; ++i) p *= base;
    return p;
}

constexpr TWide kLowest = Power(10, kRoundTripDigits - 1);  // 10^20
constexpr TWide kBeyond = Power(10, kRoundTripDigits);      // 10^21
constexpr int kMostFivePower = 27;  // 5^27 times a 65-bit integer fits 128 bits

struct TPowers {
    std::array<TWide, kMostFivePower + 1> Five{};
    std::array<TWide, kRoundTripDigits + 1> Ten{};
    constexpr TPowers() {
        for (int k = 0; k <= kMostFivePower; ++k) Five[static_cast<std::size_t>(k)] = Power(5, k);
        for (int k = 0; k <= kRoundTripDigits; ++k) Ten[static_cast<std::size_t>(k)] = Power(10, k);
    }
};
constexpr TPowers kPowers;

// x = Significand * 2^(Binary - 64), read from the 80-bit format's explicit 64-bit significand
// and its exponent.
struct TBits {
    std::uint64_t Significand = 0;
    int Binary = 0;
};

TBits Decode(long double x) {
    static_assert(std::numeric_limits<long double>::digits == 64, "x87 extended precision");
    TBits bits;
    std::uint16_t biased = 0;
    std::memcpy(&bits.Significand, &x, sizeof bits.Significand);
    std::memcpy(&biased, reinterpret_cast<const char*>(&x) + 8, sizeof biased);
    bits.Binary = (biased & 0x7FFF) - 16383 + 1;
    return bits;
}

// The decimal exponent of x's first digit, or one less: log10 2 = 0.30103.
int EstimateDecimal(int binary) {
    return ((binary - 1) * 30103) / 100000 - ((binary - 1) < 0 ? 1 : 0);
}

// floor(n / 2^shift), shift of either sign, and whether nothing was cut off; false where the
// shift leaves the 128 bits.
bool ShiftDown(TWide n, int shift, TWide& result, bool& exact) {
    if (shift <= 0) {
        if (shift < -40) return false;
        result = n << -shift;
        exact = true;
        return true;
    }
    if (shift >= 127) return false;
    result = n >> shift;
    exact = (n & ((TWide{1} << shift) - 1)) == 0;
    return true;
}

// x > 0 scaled by the power of ten 10^K that puts its integer part in [10^20, 10^21): exactly
// Product / 2^Shift, where Product = significand * Five and Five = 5^K, and floor(2 x 10^K),
// which tells its rounding, with whether that was exact. False outside the range the 128-bit
// arithmetic covers (below 1e-7 or from 1e21), left to the library.
struct TScaled {
    TBits Bits;
    int Decimal = 0;  // the decimal exponent of x's first digit, 20 - K
    TWide Five = 0;
    TWide Product = 0;
    int Shift = 0;
    TWide Twice = 0;
    bool Exact = false;
};

bool Scale(long double x, TScaled& s) {
    s.Bits = Decode(x);
    if ((s.Bits.Significand >> 63) == 0) return false;  // not normal
    s.Decimal = EstimateDecimal(s.Bits.Binary);
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int k = kRoundTripDigits - 1 - s.Decimal;
        if (k < 0 || k > kMostFivePower) return false;
        s.Five = kPowers.Five[static_cast<std::size_t>(k)];
        s.Product = TWide{s.Bits.Significand} * s.Five;
        s.Shift = 64 - s.Bits.Binary - k;
        if (!ShiftDown(s.Product, s.Shift - 1, s.Twice, s.Exact)) return false;
        if (s.Twice >> 1 >= kBeyond) {
            ++s.Decimal;
        } else if (s.Twice >> 1 < kLowest) {
            --s.Decimal;
        } else {
            return true;
        }
    }
    return false;
}

// The 21 significant digits of x > 0 as an integer, correctly rounded (ties to even) from its
// exact binary value, and the decimal exponent of the first; the range of Scale.
bool Digits(long double x, TWide& digits, int& exponent) {
    TScaled s;
    if (!Scale(x, s)) return false;
    digits = s.Twice >> 1;
    if ((s.Twice & 1) != 0 && (!s.Exact || (digits & 1) != 0)) ++digits;
    exponent = s.Decimal;
    if (digits == kBeyond) {
        digits = kLowest;
        ++exponent;
    }
    return true;
}

// The fewest digits that read back as x > 0, the nearest to x of those, as Digits gives digits
// (here with trailing zeros), and how many they are; the range of Scale.
bool ShortestDigits(long double x, TWide& digits, int& exponent, int& count) {
    TScaled s;
    if (!Scale(x, s)) return false;
    // What reads back as x lies between the midpoints to its neighbours (x 10^K ± Five / 2 in
    // the scale of Product), the one below a power of two half as far; a midpoint reads as the
    // neighbour with the even significand. The integers that read back are those in (low, high].
    const bool power = s.Bits.Significand == (std::uint64_t{1} << 63);
    const bool even = (s.Bits.Significand & 1) == 0;
    TWide low = 0;
    TWide high = 0;
    bool lowExact = false;
    bool highExact = false;
    if (!(power ? ShiftDown(4 * s.Product - s.Five, s.Shift + 2, low, lowExact)
                : ShiftDown(2 * s.Product - s.Five, s.Shift + 1, low, lowExact)) ||
        !ShiftDown(2 * s.Product + s.Five, s.Shift + 1, high, highExact)) {
        return false;
    }
    if (lowExact && even) --low;
    if (highExact && !even) --high;
    // Remove digits while a multiple of the next power of ten still reads back, keeping the last
    // digit removed from x 10^K and whether anything below it was nonzero, to round. Two digits
    // off, the numbers fit 64 bits, whose division by ten is much cheaper.
    int removed = 0;
    int last = (s.Twice & 1) != 0 ? 5 : 0;
    bool below = !s.Exact;
    const auto remove = [&](auto& kept, auto& floor, auto& ceiling, int until) {
        while (removed < until && ceiling / 10 > floor / 10) {
            below = below || last != 0;
            last = static_cast<int>(kept % 10);
            kept /= 10;
            ceiling /= 10;
            floor /= 10;
            ++removed;
        }
        if (removed == until && until < kRoundTripDigits - 1) return false;
        if (last > 5 || (last == 5 && (below || (kept & 1) != 0))) ++kept;
        // The nearest may lie just beyond the nearer midpoint of a power of two; then its
        // neighbour inside is the nearest that reads back.
        digits = std::clamp(kept, floor + 1, ceiling);
        return true;
    };
    TWide kept = s.Twice >> 1;
    if (!remove(kept, low, high, 2)) {
        auto narrowKept = static_cast<std::uint64_t>(kept);
        auto narrowLow = static_cast<std::uint64_t>(low);
        auto narrowHigh = static_cast<std::uint64_t>(high);
        remove(narrowKept, narrowLow, narrowHigh, kRoundTripDigits - 1);
    }
    digits *= kPowers.Ten[static_cast<std::size_t>(removed)];
    count = kRoundTripDigits - removed;
    exponent = s.Decimal;
    if (digits >= kBeyond) {
        digits /= 10;
        ++exponent;
    }
    return true;
}

// As printf's %.{precision}Lg lays the 21 digits n out: plain from 1e-4 to below
// 10^precision, else with an exponent; trailing zeros dropped.
void Lay(std::string& out, TWide n, int exponent, int precision) {
    char text[kRoundTripDigits];
    // One wide division, then 64-bit arithmetic for the 19 low digits.
    constexpr std::uint64_t kLowDigits = 10000000000000000000ull;  // 10^19
    auto high = static_cast<unsigned>(n / kLowDigits);
    auto low = static_cast<std::uint64_t>(n % kLowDigits);
    for (int i = kRoundTripDigits - 1; i >= 2; --i) {
        text[i] = static_cast<char>('0' + low % 10);
        low /= 10;
    }
    text[1] = static_cast<char>('0' + high % 10);
    text[0] = static_cast<char>('0' + high / 10);
    int last = kRoundTripDigits - 1;
    while (last > 0 && text[last] == '0') --last;
    if (exponent >= -4 && exponent < precision) {
        if (exponent < 0) {
            out += "0.";
            out.append(static_cast<std::size_t>(-exponent - 1), '0');
            out.append(text, static_cast<std::size_t>(last + 1));
            return;
        }
        out.append(text, static_cast<std::size_t>(std::min(exponent, last) + 1));
        if (exponent > last) out.append(static_cast<std::size_t>(exponent - last), '0');
        if (last > exponent) {
            out += '.';
            out.append(text + exponent + 1, static_cast<std::size_t>(last - exponent));
        }
        return;
    }
    out += text[0];
    if (last > 0) {
        out += '.';
        out.append(text + 1, static_cast<std::size_t>(last));
    }
    out += exponent < 0 ? "e-" : "e+";
    const int e = std::abs(exponent);
    if (e < 10) out += '0';
    out += std::to_string(e);
}

// The library's shortest digits, which std::to_chars defines as those that read back and are
// nearest among the fewest, taken from its scientific text ("-1.25e+30") and laid out again.
void LayLibraryShortest(std::string& out, long double x) {
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::scientific);
    const char* p = buffer;
    if (*p == '-') out += *p++;
    TWide n = 0;
    int count = 0;
    for (; *p != 'e'; ++p) {
        if (*p == '.') continue;
        n = n * 10 + static_cast<unsigned>(*p - '0');
        ++count;
    }
    ++p;
    const bool negative = *p++ == '-';
    int exponent = 0;
    std::from_chars(p, result.ptr, exponent);
    Lay(out, n * kPowers.Ten[static_cast<std::size_t>(kRoundTripDigits - count)],
        negative ? -exponent : exponent, count);
}

}  // namespace

void AppendRoundTrip(std::string& out, long double x) {
    // The common range by exact integer arithmetic, several times faster than the library;
    // the rest through std::to_chars, locale-free by definition and what "%.21Lg" writes.
    TWide digits = 0;
    int exponent = 0;
    if (std::isfinite(x) && x != 0 && Digits(std::fabs(x), digits, exponent)) {
        if (x < 0) out += '-';
        Lay(out, digits, exponent, kRoundTripDigits);
        return;
    }
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::general,
                                      kRoundTripDigits);
    out.append(buffer, result.ptr);
}

std::string FormatRoundTrip(long double x) {
    std::string text;
    AppendRoundTrip(text, x);
    return text;
}

void AppendCsvReal(std::string& out, long double x) {
    if (std::isfinite(x)) AppendRoundTrip(out, x);
}

std::string FormatCsvReal(long double x) {
    std::string text;
    AppendCsvReal(text, x);
    return text;
}

void AppendShortest(std::string& out, long double x) {
    // Zeros, infinities and NaNs have one text at any precision. The common range exactly in
    // 128 bits, about as fast as the 21 digits; the rest through the library's shortest
    // std::to_chars, locale-free and ten times slower.
    if (!std::isfinite(x) || x == 0) {
        AppendRoundTrip(out, x);
        return;
    }
    TWide digits = 0;
    int exponent = 0;
    int count = 0;
    if (ShortestDigits(std::fabs(x), digits, exponent, count)) {
        if (x < 0) out += '-';
        // Whole numbers as a user types them: 10 and 100000, not 1e+01 and 1e+05.
        Lay(out, digits, exponent, std::max(count, std::min(exponent + 1, kRoundTripDigits)));
        return;
    }
    LayLibraryShortest(out, x);
}

std::string FormatShortest(long double x) {
    std::string text;
    AppendShortest(text, x);
    return text;
}

long double NearestShortDecimal(long double x, long double tolerance) {
    if (!std::isfinite(x)) return x;
    if (std::fabs(x) <= tolerance) return 0;
    for (int digits = 1; digits <= kRoundTripDigits; ++digits) {
        char buffer[64];
        const auto written = std::to_chars(buffer, buffer + sizeof buffer, x,
                                           std::chars_format::scientific, digits - 1);
        long double value = 0;
        std::from_chars(buffer, written.ptr, value);
        if (std::fabs(value - x) <= tolerance) return value;
    }
    return x;
}
