#pragma once

#include <gtest/gtest.h>
#include <locale.h>

#include <clocale>

// The set-up script installs what these check; a machine without it gets a failure that names
// the package instead of an unrelated assertion further on.
inline testing::AssertionResult RussianLocaleInstalled() {
    const locale_t loc = newlocale(LC_ALL_MASK, "ru_RU.UTF-8", static_cast<locale_t>(nullptr));
    if (loc == static_cast<locale_t>(nullptr)) {
        return testing::AssertionFailure()
               << "the ru_RU.UTF-8 locale is missing: install the package 'locales' and generate "
                  "ru_RU.UTF-8 (scripts/install-deps.sh does both)";
    }
    freelocale(loc);
    return testing::AssertionSuccess();
}

// Same value, including the sign of zero: on every processor and long double format, unlike a
// comparison of the bytes, which also sees the unused padding.
inline testing::AssertionResult SameValue(long double actual, long double expected) {
    if (actual == expected && std::signbit(actual) == std::signbit(expected)) {
        return testing::AssertionSuccess();
    }
    return testing::AssertionFailure() << std::hexfloat << actual << " is not " << expected;
}
