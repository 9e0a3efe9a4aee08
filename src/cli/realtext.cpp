#include "cli/realtext.h"

#include <locale.h>

#include <cstdio>

namespace {

// The C library formats by the thread's locale; a fixed "C" locale keeps the full stop.
locale_t CLocale() {
    static const locale_t kCLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    return kCLocale;
}

}  // namespace

std::string FormatRoundTrip(long double x) {
    char buffer[64];
    const locale_t previous = uselocale(CLocale());
    const int n = std::snprintf(buffer, sizeof buffer, "%.21Lg", x);
    uselocale(previous);
    return std::string(buffer, static_cast<std::size_t>(n));
}
