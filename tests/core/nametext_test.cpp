#include "config/nametext.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

namespace {

// The locale the names are read in, for the test's life.
class TCharsetScope {
  public:
    explicit TCharsetScope(const char* locale) {
        if (const char* saved = std::getenv("LC_ALL")) Saved = saved;
        ::setenv("LC_ALL", locale, 1);
    }
    ~TCharsetScope() {
        if (Saved) {
            ::setenv("LC_ALL", Saved->c_str(), 1);
        } else {
            ::unsetenv("LC_ALL");
        }
    }

  private:
    std::optional<std::string> Saved;
};

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
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Shown);
        const TCharsetScope locale(c.Locale);
        EXPECT_EQ(DisplayName(c.Name), c.Shown);
    }
}

}  // namespace
