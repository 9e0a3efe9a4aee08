#include "cli/realtext.h"

#include <charconv>

namespace {

constexpr int kRoundTripDigits = 21;

}  // namespace

void AppendRoundTrip(std::string& out, long double x) {
    // std::to_chars is locale-free by definition and writes what "%.21Lg" writes.
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
