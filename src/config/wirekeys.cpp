#include "config/wirekeys.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "config/cp1251.h"
#include "config/numtext.h"

namespace {

std::string EmitterSection(int k) {
    return std::string(kEmitterSectionPrefix) + std::to_string(k);
}

// A file saved under the other decimal separator still reads.
std::optional<double> Value(std::string_view text) {
    const auto parsed = ParseStoredFloat(text);
    if (!parsed || !std::isfinite(*parsed)) return std::nullopt;
    return static_cast<double>(*parsed);
}

}  // namespace

TWireKeys ReadWireKeys(const TIniFile& file) {
    std::vector<std::string> sections = {std::string(kAllEmittersSection)};
    for (int k = 1; k <= kEmitterCount; ++k) sections.push_back(EmitterSection(k));
    // A real ground's frequency is read and checked with the ground.
    const bool realGround = ParseInteger(file.ReadString(kAllEmittersSection, kGroundKey), 0) == 2;
    std::vector<TIniWanted> wanted = {{sections[0],
                                       {kRadiusKey, kFeedKey, kGroundModelKey, kZ0Key,
                                        kFrequencyKey, kElevationKey, kFormulaKey}}};
    for (int k = 1; k <= kEmitterCount; ++k)
        wanted.push_back({sections[static_cast<std::size_t>(k)], {kLengthKey, kRadiusKey}});
    TWireKeys keys;
    const std::string_view text = file.Text();
    const auto fail = [&](const TIniLine& line, TWireKeyFault::TKind kind, int emitter) {
        const int number = 1 + static_cast<int>(IniLineBreaks(text, 0, line.Begin));
        keys.Fault = TWireKeyFault{kind, number, emitter, std::string(line.Value)};
    };
    file.VisitLines(wanted, [&](const TIniLine& line, const TIniStep& step) {
        if (step.Role != TIniStep::TRole::Gives) return true;
        for (const TIniSlot& slot : step.Given) {
            const std::optional<double> v = Value(line.Value);
            if (slot.Section > 0 && slot.Key == 1) {
                const int k = static_cast<int>(slot.Section);
                if (!v || !(*v >= kMinWireRadius)) {
                    fail(line, TWireKeyFault::Radius, k);
                    return false;
                }
                keys.Settings.Radii[static_cast<std::size_t>(k - 1)] = *v;
            } else if (slot.Section > 0) {
                const int k = static_cast<int>(slot.Section);
                if (!v || !(*v >= kMinWireLength && *v <= kMaxWireLength)) {
                    fail(line, TWireKeyFault::Length, k);
                    return false;
                }
                keys.Settings.Lengths[static_cast<std::size_t>(k - 1)] = *v;
            } else if (slot.Key == 0) {
                if (!v || !(*v >= kMinWireRadius)) {
                    fail(line, TWireKeyFault::Radius, 0);
                    return false;
                }
                keys.Settings.Radius = *v;
                keys.RadiusGiven = true;
            } else if (slot.Key == 3) {
                if (!v || !(*v > 0 && *v <= kMaxFileZ0)) {
                    fail(line, TWireKeyFault::Z0, 0);
                    return false;
                }
                keys.Settings.Z0 = *v;
                keys.Z0Given = true;
            } else if (slot.Key == 4) {
                if (realGround) continue;
                if (!v || !(*v > 0 && *v <= kMaxFileFrequencyMhz)) {
                    fail(line, TWireKeyFault::Frequency, 0);
                    return false;
                }
                keys.FrequencyMhz = *v;
            } else if (slot.Key == 5) {
                if (!v || !(*v >= 0 && *v <= kMaxFileElevation)) {
                    fail(line, TWireKeyFault::Elevation, 0);
                    return false;
                }
                keys.ElevationDegrees = *v;
            } else if (slot.Key == 6) {
                const auto formula = ValueNamed<TFieldModel>(kChosenModelNames, line.Value);
                if (!formula) {
                    fail(line, TWireKeyFault::Formula, 0);
                    return false;
                }
                keys.Formula = *formula;
            } else if (slot.Key == 2) {
                const auto model = ValueNamed<TGroundModel>(kGroundModelNames, line.Value);
                if (!model) {
                    fail(line, TWireKeyFault::GroundModel, 0);
                    return false;
                }
                keys.GroundModel = *model;
            } else {
                if (!v || (*v != 0 && *v != 1)) {
                    fail(line, TWireKeyFault::Feed, 0);
                    return false;
                }
                keys.Settings.Feed = *v == 1 ? TFeed::Voltage : TFeed::Current;
                keys.FeedGiven = true;
            }
        }
        return true;
    });
    return keys;
}

void WriteWireKeys(TIniFile& file, const TWireKeys& keys) {
    const TWireSettings& wires = keys.Settings;
    const bool radiusGiven = keys.RadiusGiven, feedGiven = keys.FeedGiven;
    const std::optional<TGroundModel>& groundModel = keys.GroundModel;
    const bool realGround = ParseInteger(file.ReadString(kAllEmittersSection, kGroundKey), 0) == 2;
    // What is not written must not stay from an earlier file, or it would load as other wires.
    std::vector<TIniWanted> stale = {{kAllEmittersSection, {}}};
    if (!radiusGiven) stale[0].Keys.push_back(kRadiusKey);
    if (!feedGiven) stale[0].Keys.push_back(kFeedKey);
    if (!groundModel) stale[0].Keys.push_back(kGroundModelKey);
    if (!keys.Z0Given) stale[0].Keys.push_back(kZ0Key);
    if (!keys.FrequencyMhz && !realGround) stale[0].Keys.push_back(kFrequencyKey);
    if (!keys.ElevationDegrees) stale[0].Keys.push_back(kElevationKey);
    if (!keys.Formula) stale[0].Keys.push_back(kFormulaKey);
    const std::vector<std::string> sections = [] {
        std::vector<std::string> names;
        for (int k = 1; k <= kEmitterCount; ++k) names.push_back(EmitterSection(k));
        return names;
    }();
    for (int k = 1; k <= kEmitterCount; ++k) {
        if (!wires.Lengths[static_cast<std::size_t>(k - 1)])
            stale.push_back({sections[static_cast<std::size_t>(k - 1)], {kLengthKey}});
        if (!wires.Radii[static_cast<std::size_t>(k - 1)])
            stale.push_back({sections[static_cast<std::size_t>(k - 1)], {kRadiusKey}});
    }
    file.RemoveKeys(stale);
    for (int k = 1; k <= kEmitterCount; ++k)
        if (const auto& length = wires.Lengths[static_cast<std::size_t>(k - 1)])
            file.WriteString(EmitterSection(k), kLengthKey, FormatGeneral(*length));
    for (int k = 1; k <= kEmitterCount; ++k)
        if (const auto& radius = wires.Radii[static_cast<std::size_t>(k - 1)])
            file.WriteString(EmitterSection(k), kRadiusKey, FormatGeneral(*radius));
    if (radiusGiven) file.WriteString(kAllEmittersSection, kRadiusKey, FormatGeneral(wires.Radius));
    if (feedGiven)
        file.WriteString(kAllEmittersSection, kFeedKey, wires.Feed == TFeed::Voltage ? "1" : "0");
    if (groundModel)
        file.WriteString(kAllEmittersSection, kGroundModelKey,
                         std::string(NameOf<TGroundModel>(kGroundModelNames, *groundModel)));
    if (keys.Z0Given) file.WriteString(kAllEmittersSection, kZ0Key, FormatGeneral(wires.Z0));
    if (keys.FrequencyMhz && !realGround)
        file.WriteString(kAllEmittersSection, kFrequencyKey, FormatGeneral(*keys.FrequencyMhz));
    if (keys.ElevationDegrees)
        file.WriteString(kAllEmittersSection, kElevationKey, FormatGeneral(*keys.ElevationDegrees));
    if (keys.Formula)
        file.WriteString(kAllEmittersSection, kFormulaKey,
                         std::string(NameOf<TFieldModel>(kChosenModelNames, *keys.Formula)));
}
