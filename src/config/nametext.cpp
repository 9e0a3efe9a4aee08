#include "config/nametext.h"

#include <iconv.h>
#include <langinfo.h>
#include <locale.h>

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <optional>

namespace {

std::string ByteEscape(unsigned char byte) {
    char text[8];
    std::snprintf(text, sizeof text, "\\x%02X", byte);
    return text;
}

bool IsControl(unsigned char byte) {
    return byte < 0x20 || byte == 0x7F;
}

void AppendControl(std::string& out, unsigned char byte) {
    switch (byte) {
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            out += ByteEscape(byte);
    }
}

// The bidirectional formatting character at the text's start as its code point, else 0.
// Shown as it is, one turns the text after it around: a name could read reversed.
char32_t BidiControlAt(std::string_view text) {
    const auto byte = [&](std::size_t i) {
        return i < text.size() ? static_cast<unsigned char>(text[i]) : 0U;
    };
    if (byte(0) == 0xD8 && byte(1) == 0x9C) return U'\u061C';
    if (byte(0) != 0xE2 || (byte(1) != 0x80 && byte(1) != 0x81) || (byte(2) & 0xC0) != 0x80)
        return 0;
    const char32_t c = 0x2000 | ((byte(1) & 0x3FU) << 6) | (byte(2) & 0x3FU);
    const bool bidi = c == U'\u200E' || c == U'\u200F' || (c >= U'\u202A' && c <= U'\u202E') ||
                      (c >= U'\u2066' && c <= U'\u2069');
    return bidi ? c : 0;
}

// Appends the control at the text's start escaped and returns its length in bytes, or 0 when
// none starts there.
std::size_t AppendEscapedControl(std::string& out, std::string_view text) {
    const auto byte = static_cast<unsigned char>(text[0]);
    if (IsControl(byte)) {
        AppendControl(out, byte);
        return 1;
    }
    const char32_t bidi = BidiControlAt(text);
    if (bidi == 0) return 0;
    char escaped[8];
    std::snprintf(escaped, sizeof escaped, "\\u%04X", static_cast<unsigned>(bidi));
    out += escaped;
    return bidi == U'\u061C' ? 2 : 3;
}

// The charset of the user's locale as iconv names it; the C locale's ASCII is read as UTF-8.
// Opening a locale reads its files, and a run may name thousands of things: it is opened again
// only when the variables that choose it have changed.
std::string LocaleCharset() {
    static std::mutex guard;
    static std::string chosenBy;  // LC_ALL, LC_CTYPE and LANG when last opened
    static std::string charset;
    std::string variables;
    for (const char* name : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        const char* value = std::getenv(name);
        (variables += value ? value : "") += '\0';
    }
    const std::lock_guard lock(guard);
    if (!charset.empty() && variables == chosenBy) return charset;
    chosenBy = std::move(variables);
    charset = "UTF-8";
    const locale_t loc = newlocale(LC_CTYPE_MASK, "", static_cast<locale_t>(nullptr));
    if (loc == static_cast<locale_t>(nullptr)) return charset;
    const std::string named = nl_langinfo_l(CODESET, loc);
    freelocale(loc);
    if (!named.empty() && named != "ANSI_X3.4-1968") charset = named;
    return charset;
}

// The whole text converted to UTF-8, or nothing when a byte has no reading in the charset.
std::optional<std::string> ToUtf8(std::string_view text, const std::string& charset) {
    const iconv_t converter = iconv_open("UTF-8", charset.c_str());
    if (converter == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    std::string out(4 * text.size() + 4, '\0');
    char* in = const_cast<char*>(text.data());
    std::size_t inLeft = text.size();
    char* to = out.data();
    std::size_t outLeft = out.size();
    const bool done = iconv(converter, &in, &inLeft, &to, &outLeft) != static_cast<std::size_t>(-1);
    iconv_close(converter);
    if (!done || inLeft != 0) return std::nullopt;
    out.resize(out.size() - outLeft);
    return out;
}

}  // namespace

std::size_t Utf8SequenceLength(std::string_view text) {
    if (text.empty()) return 0;
    const auto lead = static_cast<unsigned char>(text[0]);
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    unsigned char low = 0x80;   // the second byte's range, narrowed against overlong forms
    unsigned char high = 0xBF;  // and surrogates and code points beyond U+10FFFF
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (text.size() < length) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < (i == 1 ? low : 0x80) || byte > (i == 1 ? high : 0xBF)) return 0;
    }
    return length;
}

std::string EscapeControls(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t escaped = AppendEscapedControl(out, text.substr(i));
        if (escaped == 0) out += text[i];
        i += escaped == 0 ? 1 : escaped;
    }
    return out;
}

std::string DisplayName(std::string_view name) {
    std::optional<std::string> text = ToUtf8(name, LocaleCharset());
    if (!text) text = ToUtf8(name, "CP1251");
    std::string out;
    if (text) return EscapeControls(*text);
    for (std::size_t i = 0; i < name.size();) {
        if (const std::size_t escaped = AppendEscapedControl(out, name.substr(i))) {
            i += escaped;
            continue;
        }
        const std::size_t length = Utf8SequenceLength(name.substr(i));
        if (length == 0) {
            out += ByteEscape(static_cast<unsigned char>(name[i]));
            ++i;
        } else {
            out += name.substr(i, length);
            i += length;
        }
    }
    return out;
}
