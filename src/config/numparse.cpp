#include <array>
#include <cfloat>
#include <cmath>

#include "config/numtext.h"

namespace {

bool IsSpace(char c) {
    return c == ' ';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

int HexDigitValue(char c) {
    if (IsDigit(c)) {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

// 10^n for n >= 0; exact up to 10^27, the largest power whose digits fit the 64-bit
// significand.
long double PowerOfTen(long long n) {
    static const auto kExact = [] {
        std::array<long double, 28> table{};
        long double p = 1.0L;
        for (long double& entry : table) {
            entry = p;
            p *= 10.0L;
        }
        return table;
    }();
    if (n < static_cast<long long>(kExact.size())) {
        return kExact[static_cast<std::size_t>(n)];
    }
    return n > LDBL_MAX_10_EXP ? HUGE_VALL : std::pow(10.0L, static_cast<long double>(n));
}

// digits x 10^exponent. A negative power divides by the exact power so that short fractions
// such as 0.25 come out exactly; beyond the extended range the division is split so that
// tiny values become subnormal or zero instead of failing.
std::optional<long double> ScaleByPowerOfTen(long double digits, long long exponent) {
    long double value;
    if (exponent >= 0) {
        const long double scale = PowerOfTen(exponent);
        if (std::isinf(scale)) {
            return std::nullopt;
        }
        value = digits * scale;
    } else if (exponent >= -LDBL_MAX_10_EXP) {
        value = digits / PowerOfTen(-exponent);
    } else {
        value = digits / PowerOfTen(LDBL_MAX_10_EXP) / PowerOfTen(-exponent - LDBL_MAX_10_EXP);
    }
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

// Leading blanks (spaces only) and an optional sign, as both parsers read them; returns the
// position of what follows.
std::size_t SkipBlanksAndSign(std::string_view text, bool& negative) {
    std::size_t i = 0;
    while (i < text.size() && IsSpace(text[i])) {
        ++i;
    }
    negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    return i;
}

}  // namespace

std::optional<long double> ParseFloat(std::string_view text) {
    return ParseFloat(text, DecimalMark());
}

std::optional<long double> ParseStoredFloat(std::string_view text) {
    const auto parsed = ParseFloat(text);
    return parsed ? parsed : ParseFloat(text, DecimalMark() == ',' ? '.' : ',');
}

std::optional<long double> ParseFloat(std::string_view text, char decimalMark) {
    const std::size_t n = text.size();
    bool negative = false;
    std::size_t i = SkipBlanksAndSign(text, negative);

    long double digits = 0.0L;
    bool seenNumber = false;
    for (; i < n && IsDigit(text[i]); ++i) {
        digits = digits * 10.0L + static_cast<long double>(text[i] - '0');
        seenNumber = true;
    }
    long long fractionDigits = 0;
    if (i < n && text[i] == decimalMark) {
        ++i;
        seenNumber = true;
        for (; i < n && IsDigit(text[i]); ++i) {
            digits = digits * 10.0L + static_cast<long double>(text[i] - '0');
            ++fractionDigits;
        }
    }
    if (!seenNumber) {
        return std::nullopt;
    }

    long long exponent = 0;
    if (i < n && (text[i] == 'E' || text[i] == 'e')) {
        ++i;
        bool negativeExponent = false;
        if (i < n && (text[i] == '+' || text[i] == '-')) {
            negativeExponent = text[i] == '-';
            ++i;
        }
        // The exponent is read only until it reaches 500: a digit after that is left unread,
        // and the text then fails.
        constexpr long long kExponentStop = 500;
        for (; i < n && IsDigit(text[i]) && exponent < kExponentStop; ++i) {
            exponent = exponent * 10 + (text[i] - '0');
        }
        if (negativeExponent) {
            exponent = -exponent;
        }
    }
    while (i < n && IsSpace(text[i])) {
        ++i;
    }
    if (i != n || std::isinf(digits)) {
        return std::nullopt;
    }

    const std::optional<long double> value = ScaleByPowerOfTen(digits, exponent - fractionDigits);
    if (!value) {
        return std::nullopt;
    }
    return negative ? -*value : *value;
}

std::int32_t ParseInteger(std::string_view text, std::int32_t def) {
    bool negative = false;
    const std::string_view number = text.substr(SkipBlanksAndSign(text, negative));
    if (number.empty()) {
        return def;
    }

    std::size_t hexStart = 0;
    if (number[0] == '$' || number[0] == 'x' || number[0] == 'X') {
        hexStart = 1;
    } else if (number.size() >= 2 && number[0] == '0' && (number[1] == 'x' || number[1] == 'X')) {
        hexStart = 2;
    }
    if (hexStart > 0) {
        if (number.size() == hexStart) {
            return def;
        }
        std::uint32_t bits = 0;
        for (const char c : number.substr(hexStart)) {
            const int d = HexDigitValue(c);
            if (d < 0 || bits > 0x0FFFFFFFu) {
                return def;
            }
            bits = bits * 16u + static_cast<std::uint32_t>(d);
        }
        // The 32 bits are a signed value ($FFFFFFFF is -1); negation wraps like the register.
        return static_cast<std::int32_t>(negative ? 0u - bits : bits);
    }

    constexpr std::int64_t kMagnitudeLimit = 2147483648LL;
    std::int64_t magnitude = 0;
    for (const char c : number) {
        if (!IsDigit(c)) {
            return def;
        }
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > kMagnitudeLimit) {
            return def;
        }
    }
    if (!negative && magnitude == kMagnitudeLimit) {
        return def;
    }
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}
