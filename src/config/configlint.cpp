#include "config/configlint.h"

#include <array>
#include <cmath>

#include "config/cp1251.h"
#include "config/messages.h"
#include "config/nametext.h"
#include "config/numtext.h"

namespace {

std::string Fold(std::string_view text) {
    std::string folded;
    for (const char c : text) {
        folded += static_cast<char>(FoldCase1251(static_cast<unsigned char>(c)));
    }
    return folded;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    return text;
}

bool Real(std::string_view value) {
    if (value.empty()) return true;  // an empty value is the default, meant as such
    auto parsed = ParseFloat(value);
    if (!parsed) parsed = ParseFloat(value, DecimalMark() == ',' ? '.' : ',');
    return parsed.has_value();
}

// A whole number parses to the same whatever the default for a text that does not.
bool Whole(std::string_view value) {
    return value.empty() || ParseInteger(value, 0) == ParseInteger(value, 1);
}

enum class TSection { None, All, Emitter, Unknown };

}  // namespace

std::vector<std::string> ConfigurationWarnings(std::string_view text, const std::string& name) {
    std::vector<std::string> warnings;
    const std::string all = Fold(kAllEmittersSection);
    const std::string emitterPrefix = Fold(kEmitterSectionPrefix);
    const std::array<std::string, 5> emitterKeys = {Fold(kEnabledKey), Fold(kXKey), Fold(kYKey),
                                                    Fold(kPhaseKey), Fold(kAmplitudeKey)};
    const std::array<std::string, 6> allKeys = {Fold(kTypeKey),         Fold(kGroundKey),
                                                Fold(kHeightKey),       Fold(kFrequencyKey),
                                                Fold(kPermittivityKey), Fold(kConductivityKey)};
    const auto warn = [&](int line, const std::string& what) {
        warnings.push_back(DisplayName(name) + ":" + std::to_string(line) + ": " + what);
    };
    TSection section = TSection::None;
    int number = 0;
    std::size_t start = 0;
    for (int line = 1; start < text.size(); ++line) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view raw = Trim(text.substr(start, end - start));
        start = end + 1;
        if (raw.empty() || raw.front() == ';') continue;
        if (raw.front() == '[') {
            const auto close = raw.find(']');
            const std::string title = Fold(Trim(raw.substr(
                1, close == std::string_view::npos ? std::string_view::npos : close - 1)));
            if (title == all) {
                section = TSection::All;
            } else if (title.starts_with(emitterPrefix)) {
                section = TSection::Emitter;
                number = ParseInteger(title.substr(emitterPrefix.size()), 0);
                if (number < 1 || number > 8) {
                    warn(line,
                         TrFormat("section %s names no emitter 1..8: skipped", {DisplayName(raw)}));
                    section = TSection::Unknown;
                }
            } else {
                section = TSection::Unknown;
                warn(line, TrFormat("unknown section %s: skipped", {DisplayName(raw)}));
            }
            continue;
        }
        if (section == TSection::Unknown || section == TSection::None) continue;
        const auto equals = raw.find('=');
        const std::string key = Fold(Trim(raw.substr(0, equals)));
        const std::string_view value =
            equals == std::string_view::npos ? std::string_view() : Trim(raw.substr(equals + 1));
        const auto& known = section == TSection::All
                                ? std::vector<std::string>(allKeys.begin(), allKeys.end())
                                : std::vector<std::string>(emitterKeys.begin(), emitterKeys.end());
        bool found = false;
        for (const std::string& k : known) found = found || k == key;
        if (!found) {
            warn(line,
                 TrFormat("unknown key %s: skipped", {DisplayName(Trim(raw.substr(0, equals)))}));
            continue;
        }
        const bool whole =
            key == Fold(kEnabledKey) || key == Fold(kTypeKey) || key == Fold(kGroundKey);
        if (whole ? !Whole(value) : !Real(value)) {
            warn(line,
                 TrFormat("value %s is no number: read as its default", {DisplayName(value)}));
            continue;
        }
        if (key == Fold(kTypeKey) && !value.empty()) {
            const int type = ParseInteger(value, 0);
            if (type < -1 || type > 3) {
                warn(line, TrFormat("type %s is outside -1..3: limited as the window's list "
                                    "does",
                                    {std::to_string(type)}));
            }
        }
    }
    return warnings;
}
