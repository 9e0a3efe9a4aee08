#include "cli/realtext.h"

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
constexpr int kMostFivePower = 27;  // 5^27 times a 64-bit significand fits 128 bits

// The 21 significant digits of x > 0 as an integer, correctly rounded (ties to even) from its
// exact binary value, and the decimal exponent of the first; false where x lies outside the
// range the 128-bit arithmetic covers (below 1e-7 or from 1e21), left to the library.
struct TFivePowers {
    std::array<TWide, kMostFivePower + 1> Values{};
    constexpr TFivePowers() {
        for (int k = 0; k <= kMostFivePower; ++k) Values[static_cast<std::size_t>(k)] = Power(5, k);
    }
};
constexpr TFivePowers kFivePowers;

bool Digits(long double x, TWide& digits, int& exponent) {
    // The 80-bit format's explicit 64-bit significand and its exponent, read directly.
    static_assert(std::numeric_limits<long double>::digits == 64, "x87 extended precision");
    std::uint64_t significand = 0;
    std::uint16_t biased = 0;
    std::memcpy(&significand, &x, sizeof significand);
    std::memcpy(&biased, reinterpret_cast<const char*>(&x) + 8, sizeof biased);
    const int binary = (biased & 0x7FFF) - 16383 + 1;  // x = significand * 2^(binary - 64)
    if ((significand >> 63) == 0) return false;        // not normal
    // log10 2 = 0.30103: the estimate is off by one at most, and the loop mends it.
    int decimal = ((binary - 1) * 30103) / 100000 - ((binary - 1) < 0 ? 1 : 0);
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int k = kRoundTripDigits - 1 - decimal;
        if (k < 0 || k > kMostFivePower) return false;
        const TWide product = TWide{significand} * kFivePowers.Values[static_cast<std::size_t>(k)];
        const int shift = 64 - binary - k;  // x * 10^k = product / 2^shift
        TWide n;
        if (shift <= 0) {
            if (shift < -40) return false;
            n = product << -shift;
        } else if (shift >= 127) {
            return false;
        } else {
            n = product >> shift;
            const TWide rest = product & ((TWide{1} << shift) - 1);
            const TWide half = TWide{1} << (shift - 1);
            if (rest > half || (rest == half && (n & 1) != 0)) ++n;
        }
        if (n >= kBeyond) {
            ++decimal;
        } else if (n < kLowest) {
            --decimal;
        } else {
            digits = n;
            exponent = decimal;
            return true;
        }
    }
    return false;
}

// As printf's %.21Lg lays the digits out: plain from 1e-4 to below 1e21, else with an
// exponent; trailing zeros dropped.
void Lay(std::string& out, TWide n, int exponent) {
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
    if (exponent >= -4 && exponent < kRoundTripDigits) {
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

}  // namespace

void AppendRoundTrip(std::string& out, long double x) {
    // The common range by exact integer arithmetic, several times faster than the library;
    // the rest through std::to_chars, locale-free by definition and what "%.21Lg" writes.
    TWide digits = 0;
    int exponent = 0;
    if (std::isfinite(x) && x != 0 && Digits(std::fabs(x), digits, exponent)) {
        if (x < 0) out += '-';
        Lay(out, digits, exponent);
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
