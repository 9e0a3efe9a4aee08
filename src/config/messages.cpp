#include "config/messages.h"

#include <libintl.h>

#include <clocale>
#include <cstdlib>

namespace {

bool Translating = false;
TLanguage ChosenLanguage = TLanguage::English;

// A gettext-style locale or language list that names Russian first.
bool NamesRussian(const char* value) {
    return value != nullptr && std::string_view(value).starts_with("ru");
}

// The first of gettext's variables that is set decides; LANGUAGE counts only outside "C".
TLanguage LocaleLanguage() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value == nullptr || *value == '\0') continue;
        const std::string_view locale(value);
        if (locale == "C" || locale == "POSIX") return TLanguage::English;
        const char* languages = std::getenv("LANGUAGE");
        if (languages != nullptr && *languages != '\0') {
            return NamesRussian(languages) ? TLanguage::Russian : TLanguage::English;
        }
        return NamesRussian(value) ? TLanguage::Russian : TLanguage::English;
    }
    return TLanguage::English;
}

}  // namespace

TLanguage ChooseMessageLanguage(std::optional<TLanguage> asked) {
    ChosenLanguage = asked ? *asked : LocaleLanguage();
    return ChosenLanguage;
}

void OpenCatalogue(const std::string& localeDir) {
    // gettext picks the catalogue by LANGUAGE once LC_MESSAGES is anything but "C"; C.UTF-8 is
    // always there, so a Russian answer needs no Russian locale installed. The system's own
    // reasons (strerror) follow, in UTF-8 like every other output.
    std::setlocale(LC_MESSAGES, "C.UTF-8");
    ::setenv("LANGUAGE", ChosenLanguage == TLanguage::Russian ? "ru" : "en", 1);
    ::bindtextdomain(kMessageDomain, localeDir.c_str());
    ::bind_textdomain_codeset(kMessageDomain, "UTF-8");
    ::bind_textdomain_codeset("libc", "UTF-8");
    Translating = true;
}

TLanguage MessageLanguage() {
    return ChosenLanguage;
}

std::optional<TLanguage> LanguageNamed(std::string_view name) {
    if (name == "ru") return TLanguage::Russian;
    if (name == "en") return TLanguage::English;
    return std::nullopt;
}

const char* Tr(const char* msgid) {
    return Translating ? ::dgettext(kMessageDomain, msgid) : msgid;
}

std::string TrPlural(const char* singular, const char* plural, unsigned long count) {
    if (Translating) return ::dngettext(kMessageDomain, singular, plural, count);
    return count == 1 ? singular : plural;
}

std::string FormatMessage(std::string_view format, std::initializer_list<std::string_view> args) {
    std::string out;
    std::size_t next = 0;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%' || i + 1 == format.size()) {
            out += format[i];
            continue;
        }
        std::size_t j = i + 1;
        std::size_t index = next;
        if (format[j] >= '1' && format[j] <= '9') {
            std::size_t n = 0;
            std::size_t k = j;
            while (k < format.size() && format[k] >= '0' && format[k] <= '9') {
                n = n * 10 + static_cast<std::size_t>(format[k] - '0');
                ++k;
            }
            if (k < format.size() && format[k] == '$') {
                index = n - 1;
                j = k + 1;
            }
        }
        if (j < format.size() && format[j] == 's') {
            if (index < args.size()) out += args.begin()[index];
            if (index == next) ++next;
            i = j;
        } else if (j == i + 1 && format[j] == '%') {
            out += '%';
            i = j;
        } else {
            out += '%';
        }
    }
    return out;
}
