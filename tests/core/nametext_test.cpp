#include "config/nametext.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

#include "locale_scope.h"

namespace {

TEST(DisplayNameTest, NamesAreReadInTheLocaleThenAsWindows1251ThenEscaped) {
    const struct {
        const char* Locale;
        std::string Name;
        std::string Shown;
    } cases[] = {
        {"C.UTF-8", "Тест.txt", "Тест.txt"},
        {"C", "Тест.txt", "Тест.txt"},
        {"C.UTF-8", "\xD2\xE5\xF1\xF2.txt", "Тест.txt"},
        {"C.UTF-8", "\x98Тест\xD2.txt", "\\x98Тест\\xD2.txt"},
        {"C.UTF-8", "a\nb\tc\x7F.txt", "a\\nb\\tc\\x7F.txt"},
        {"C.UTF-8", "\u202Eexe.txt", "\\u202Eexe.txt"},
        {"C.UTF-8", "a\u2066b\u2069\u200E\u200F\u061C.txt",
         "a\\u2066b\\u2069\\u200E\\u200F\\u061C.txt"},
        {"C.UTF-8", "\x98\u202Aa\u202B.txt", "\\x98\\u202Aa\\u202B.txt"},
        {"C.UTF-8", "\u2065\u2070\u202F\u200D.txt", "\u2065\u2070\u202F\u200D.txt"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Shown);
        const TLocaleScope locale(c.Locale);
        EXPECT_EQ(DisplayName(c.Name), c.Shown);
    }
}

}  // namespace
