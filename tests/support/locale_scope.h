#pragma once

#include <cstdlib>
#include <optional>
#include <string>

// LC_ALL set for a test's scope and restored after it: the locale file names are shown in.
class TLocaleScope {
  public:
    explicit TLocaleScope(const char* locale) {
        if (const char* saved = std::getenv("LC_ALL")) Saved = saved;
        ::setenv("LC_ALL", locale, 1);
    }
    ~TLocaleScope() {
        if (Saved) {
            ::setenv("LC_ALL", Saved->c_str(), 1);
        } else {
            ::unsetenv("LC_ALL");
        }
    }
    TLocaleScope(const TLocaleScope&) = delete;
    TLocaleScope& operator=(const TLocaleScope&) = delete;

  private:
    std::optional<std::string> Saved;
};
