#include "config/configlint.h"

#include <algorithm>
#include <array>

#include "config/cp1251.h"
#include "config/messages.h"
#include "config/nametext.h"
#include "config/numtext.h"
#include "config/wirekeys.h"
#include "model/emitters.h"

namespace {

// Name: a word the wire keys' own reading checks, and refuses with its line.
enum class TValueKind { Whole, Real, Type, Amplitude, Name };

struct TKnownKey {
    std::string_view Name;
    TValueKind Kind;
};

// The keys a load reads, with what their values must be.
constexpr std::array kAllEmittersKeys = {
    TKnownKey{kTypeKey, TValueKind::Type},         TKnownKey{kGroundKey, TValueKind::Whole},
    TKnownKey{kHeightKey, TValueKind::Real},       TKnownKey{kFrequencyKey, TValueKind::Real},
    TKnownKey{kPermittivityKey, TValueKind::Real}, TKnownKey{kConductivityKey, TValueKind::Real},
    TKnownKey{kRadiusKey, TValueKind::Real},       TKnownKey{kFeedKey, TValueKind::Whole},
    TKnownKey{kGroundModelKey, TValueKind::Name},  TKnownKey{kZ0Key, TValueKind::Real},
    TKnownKey{kElevationKey, TValueKind::Real},    TKnownKey{kFormulaKey, TValueKind::Name},
};
constexpr std::array kEmitterKeys = {
    TKnownKey{kEnabledKey, TValueKind::Whole},
    TKnownKey{kXKey, TValueKind::Real},
    TKnownKey{kYKey, TValueKind::Real},
    TKnownKey{kPhaseKey, TValueKind::Real},
    TKnownKey{kAmplitudeKey, TValueKind::Amplitude},
    TKnownKey{kLengthKey, TValueKind::Real},
    TKnownKey{kRadiusKey, TValueKind::Real},
};
bool Real(std::string_view value) {
    if (value.empty()) return true;  // an empty value is the default, meant as such
    return ParseStoredFloat(value).has_value();
}

// A whole number parses to the same whatever the default for a text that does not.
bool Whole(std::string_view value) {
    return value.empty() || ParseInteger(value, 0) == ParseInteger(value, 1);
}

enum class TValueFault { None, NoNumber, TypeOutside };

// A bad amplitude is told of where it is read, as it reads as 0 rather than as the default.
TValueFault FaultOf(TValueKind kind, std::string_view value) {
    switch (kind) {
        case TValueKind::Real:
            return Real(value) ? TValueFault::None : TValueFault::NoNumber;
        case TValueKind::Whole:
            return Whole(value) ? TValueFault::None : TValueFault::NoNumber;
        case TValueKind::Type: {
            if (!Whole(value)) return TValueFault::NoNumber;
            const int type = ParseInteger(value, 0);
            return type < -1 || type > 3 ? TValueFault::TypeOutside : TValueFault::None;
        }
        case TValueKind::Amplitude:
        case TValueKind::Name:
            break;
    }
    return TValueFault::None;
}

std::string Bracketed(std::string_view name) {
    return "[" + DisplayName(name) + "]";
}

}  // namespace

std::vector<std::string> TWarnings::Lines() const {
    std::vector<std::string> lines = Kept;
    if (Total > Kept.size()) {
        const unsigned long more = Total - Kept.size();
        lines.push_back(
            FormatMessage(TrPlural("… and %s more warning", "… and %s more warnings", more),
                          {std::to_string(more)}));
    }
    return lines;
}

TWarnings ConfigurationWarnings(const TIniFile& file, const std::string& name) {
    using TRole = TIniStep::TRole;
    std::array<std::string, kEmitterCount> emitterSections;
    std::vector<TIniWanted> wanted(1 + kEmitterCount);
    wanted[0].Section = kAllEmittersSection;
    for (const TKnownKey& key : kAllEmittersKeys) wanted[0].Keys.push_back(key.Name);
    for (int k = 1; k <= kEmitterCount; ++k) {
        std::string& section = emitterSections[static_cast<std::size_t>(k - 1)];
        section = std::string(kEmitterSectionPrefix) + std::to_string(k);
        wanted[static_cast<std::size_t>(k)].Section = section;
        for (const TKnownKey& key : kEmitterKeys)
            wanted[static_cast<std::size_t>(k)].Keys.push_back(key.Name);
    }

    TWarnings warnings;
    const std::string_view text = file.Text();
    std::string shownName;
    std::size_t counted = 0;  // where the line number was last counted to
    std::size_t number = 1;
    // The warnings kept come in the order of their lines, so the count only moves forward.
    const auto warn = [&](const TIniLine& line, auto what) {
        warnings.Add([&] {
            if (shownName.empty()) shownName = DisplayName(name);
            number += IniLineBreaks(text, counted, line.Begin);
            counted = line.Begin;
            return shownName + ":" + std::to_string(number) + ": " + what();
        });
    };
    file.VisitLines(wanted, [&](const TIniLine& line, const TIniStep& step) {
        // A comment after the bracket is meant as one; anything else is a name cut short.
        if (line.Kind == TIniLine::TKind::Section && !line.AfterSection.empty() &&
            line.AfterSection.front() != ';') {
            warn(line, [&] {
                return TrFormat("text %s after section %s: passed over",
                                {DisplayName(line.AfterSection), Bracketed(line.Name)});
            });
        }
        switch (step.Role) {
            case TRole::OtherSection:
                warn(line, [&] {
                    return IniNameStartsWith(line.Name, kEmitterSectionPrefix)
                               ? TrFormat("section %s names no emitter 1..8: skipped",
                                          {Bracketed(line.Name)})
                               : TrFormat("unknown section %s: skipped", {Bracketed(line.Name)});
                });
                break;
            case TRole::RepeatsSection:
                warn(line, [&] {
                    return TrFormat("section %s repeats an earlier one: skipped",
                                    {Bracketed(line.Name)});
                });
                break;
            case TRole::OtherKey:
                warn(line,
                     [&] { return TrFormat("unknown key %s: skipped", {DisplayName(line.Name)}); });
                break;
            case TRole::RepeatsKey:
                warn(line, [&] {
                    return TrFormat("key %s repeats an earlier one: skipped",
                                    {DisplayName(line.Name)});
                });
                break;
            case TRole::Preamble:
            case TRole::Stray:
                warn(line, [&] {
                    return line.Kind == TIniLine::TKind::Key
                               ? TrFormat("key %s lies before every section: skipped",
                                          {DisplayName(line.Name)})
                               : TrFormat("line %s is neither a section nor a key: skipped",
                                          {DisplayName(line.Name)});
                });
                break;
            case TRole::Gives:
                for (const TIniSlot& slot : step.Given) {
                    const TKnownKey& key =
                        slot.Section == 0 ? kAllEmittersKeys[slot.Key] : kEmitterKeys[slot.Key];
                    const TValueFault fault = FaultOf(key.Kind, line.Value);
                    if (fault == TValueFault::NoNumber) {
                        warn(line, [&] {
                            return TrFormat("value %s is no number: read as its default",
                                            {DisplayName(line.Value)});
                        });
                    } else if (fault == TValueFault::TypeOutside) {
                        warn(line, [&] {
                            return TrFormat(
                                "type %s is outside -1..3: limited as the window's list does",
                                {std::to_string(ParseInteger(line.Value, 0))});
                        });
                    }
                }
                break;
            case TRole::Opens:
            case TRole::Comment:
            case TRole::Unread:
                break;
        }
        return true;
    });
    return warnings;
}
