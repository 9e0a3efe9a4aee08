#pragma once

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "model/msgid.h"

// The command line's messages, chart and report texts in the reader's language. The English
// texts are the message ids of the "arraypattern" catalogue; until the command line has
// chosen a language every text reads as written, so the window, which never chooses, keeps
// its own texts whatever catalogues are installed.

enum class TLanguage { English, Russian };

inline constexpr const char* kMessageDomain = "arraypattern";

// Chooses the language asked for (--lang) or, without one, the locale's: Russian under a
// Russian locale (LANGUAGE, LC_ALL, LC_MESSAGES, LANG, as gettext reads them), English
// otherwise.
TLanguage ChooseMessageLanguage(std::optional<TLanguage> asked);

// Translates from now on through the chosen language's catalogue in localeDir. English needs
// none: its texts are the message ids. Only LC_MESSAGES is set: numbers stay locale-free.
void OpenCatalogue(const std::string& localeDir);

// The language chosen; English before any choice.
TLanguage MessageLanguage();

// "ru" or "en" as --lang takes them.
std::optional<TLanguage> LanguageNamed(std::string_view name);

// The text in the chosen language.
const char* Tr(const char* msgid);

// The singular or a plural form for the count, by the language's own rule.
std::string TrPlural(const char* singular, const char* plural, unsigned long count);

// format with "%s" replaced by the arguments in turn, "%N$s" by the Nth and "%%" by "%": the
// subset of printf's that the catalogue's checks know, so a translation may reorder its
// arguments.
std::string FormatMessage(std::string_view format, std::initializer_list<std::string_view> args);

// The translated format, filled in.
inline std::string TrFormat(const char* format, std::initializer_list<std::string_view> args) {
    return FormatMessage(Tr(format), args);
}

// The refusal in the reader's language.
inline std::string RefusalText(const TRefusal& refusal) {
    return TrFormat(refusal.Format, {refusal.Argument});
}
