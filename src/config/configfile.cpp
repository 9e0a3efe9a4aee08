#include "config/configfile.h"

#include <array>
#include <cmath>
#include <vector>

#include "config/cp1251.h"
#include "config/errors.h"
#include "config/messages.h"
#include "config/numtext.h"

namespace {

std::string EmitterSection(int k) {
    std::string section(kEmitterSectionPrefix);
    return section += FormatInteger(k);
}

// Switched off and all at zero (a negative zero too): such an emitter gets no section of its
// own in a new file.
bool Qualifies(const TEmitter& e) {
    return e.Enabled || e.X != 0 || e.Y != 0 || e.Phase != 0;
}

// The file holds values to double precision.
std::string StoredText(long double x) {
    return FormatGeneral(static_cast<long double>(RoundToDouble(x)));
}

// A file saved under the other decimal separator still loads; anything else that does not
// parse loads as 0. Throws "Floating point overflow" for a value beyond the double range.
long double RealValue(const std::string& text) {
    if (text.empty()) return 0;
    const auto parsed = ParseStoredFloat(text);
    if (!parsed) return 0;
    return static_cast<long double>(RoundToDouble(*parsed));
}

}  // namespace

TConfiguration ReadConfiguration(const std::string& fileName) {
    return ReadConfiguration(TIniFile(fileName));
}

// Every value is looked up in one pass over the file.
TConfiguration ReadConfiguration(const TIniFile& file) {
    std::array<std::string, kEmitterCount> sections;
    std::vector<TIniKey> keys;
    for (int k = 1; k <= kEmitterCount; ++k) {
        const std::string& section = sections[static_cast<unsigned>(k - 1)] = EmitterSection(k);
        for (const auto key : {kEnabledKey, kXKey, kYKey, kPhaseKey})
            keys.push_back({section, key});
    }
    keys.push_back({kAllEmittersSection, kTypeKey});
    const std::vector<std::string> values = file.ReadStrings(keys);

    TConfiguration table;
    auto value = values.begin();
    for (TEmitter& e : table.Emitters) {
        e.Enabled = ParseInteger(*value++, 0) != 0;
        e.X = RealValue(*value++);
        e.Y = RealValue(*value++);
        e.Phase = RealValue(*value++);
    }
    table.TypeIndex = ParseInteger(*value, 0);
    return table;
}

TIniFile ConfigurationUpdate(const std::string& fileName, const TArray& array, int typeIndex,
                             const TGround* ground) {
    TIniFile file(fileName);
    std::array<std::string, kEmitterCount> sections;
    std::vector<TIniValue> values = {{kAllEmittersSection, kTypeKey, FormatInteger(typeIndex)}};
    // The command line owns the ground and amplitude keys: an earlier file's must not outlive
    // what it writes, or the file would load back as another array.
    const bool ownKeys = ground != nullptr;
    if (ownKeys && ground->Kind == TGroundKind::None &&
        !file.ReadString(kAllEmittersSection, kGroundKey).empty()) {
        values.push_back({kAllEmittersSection, kGroundKey, "0"});
    }
    if (ground != nullptr && ground->Kind != TGroundKind::None) {
        const bool real = ground->Kind == TGroundKind::Real;
        values.push_back({kAllEmittersSection, kGroundKey, real ? "2" : "1"});
        values.push_back({kAllEmittersSection, kHeightKey, StoredText(ground->HeightWavelengths)});
        if (real) {
            values.push_back(
                {kAllEmittersSection, kFrequencyKey, StoredText(ground->FrequencyMhz)});
            values.push_back(
                {kAllEmittersSection, kPermittivityKey, StoredText(ground->Permittivity)});
            values.push_back(
                {kAllEmittersSection, kConductivityKey, StoredText(ground->Conductivity)});
        }
    }
    for (int k = 1; k <= kEmitterCount; ++k) {
        const TEmitter& e = array.Emitter(k);
        const std::string& section = sections[static_cast<unsigned>(k - 1)] = EmitterSection(k);
        // A section an earlier save left would otherwise bring the emitter back on with its
        // old values: it is overwritten with what the emitter now holds.
        const bool onlyOverEarlier = !Qualifies(e);
        values.push_back({section, kEnabledKey, e.Enabled ? "1" : "0", onlyOverEarlier});
        values.push_back({section, kXKey, StoredText(e.X), onlyOverEarlier});
        values.push_back({section, kYKey, StoredText(e.Y), onlyOverEarlier});
        values.push_back({section, kPhaseKey, StoredText(e.Phase), onlyOverEarlier});
        // Only the command line sets amplitudes; the window's are all 1 and it writes none.
        if (e.Amplitude != 1 || (ownKeys && !file.ReadString(section, kAmplitudeKey).empty())) {
            values.push_back({section, kAmplitudeKey, StoredText(e.Amplitude), onlyOverEarlier});
        }
    }
    file.WriteStrings(values);
    return file;
}

void CommitConfiguration(TIniFile& file, const std::string& fileName, const TWriteFn& write) {
    const TFileWriteResult result = file.Commit(write);
    if (!result.Ok()) throw EFileError(TrFormat("Unable to write to %s", {fileName}), result.Errno);
}

void SaveConfiguration(const std::string& fileName, const TArray& array, int typeIndex,
                       const TWriteFn& write, const TGround* ground) {
    TIniFile file = ConfigurationUpdate(fileName, array, typeIndex, ground);
    CommitConfiguration(file, fileName, write);
}

std::optional<TGround> ReadGround(const TIniFile& file) {
    const TIniKey keys[] = {{kAllEmittersSection, kGroundKey},
                            {kAllEmittersSection, kHeightKey},
                            {kAllEmittersSection, kFrequencyKey},
                            {kAllEmittersSection, kPermittivityKey},
                            {kAllEmittersSection, kConductivityKey}};
    const std::vector<std::string> values = file.ReadStrings(keys);
    TGround ground;
    switch (ParseInteger(values[0], 0)) {
        case 1:
            ground.Kind = TGroundKind::Perfect;
            break;
        case 2:
            ground.Kind = TGroundKind::Real;
            ground.FrequencyMhz = RealValue(values[2]);
            ground.Permittivity = RealValue(values[3]);
            ground.Conductivity = RealValue(values[4]);
            break;
        default:
            return std::nullopt;
    }
    ground.HeightWavelengths = RealValue(values[1]);
    return ground;
}

TAmplitudes ReadAmplitudes(const TIniFile& file, const std::string& fileName) {
    std::array<std::string, kEmitterCount> sections;
    std::vector<TIniKey> keys;
    for (int k = 1; k <= kEmitterCount; ++k) {
        keys.push_back({sections[static_cast<unsigned>(k - 1)] = EmitterSection(k), kAmplitudeKey});
    }
    const std::vector<std::string> texts = file.ReadStrings(keys);
    TAmplitudes amplitudes;
    for (int k = 1; k <= kEmitterCount; ++k) {
        const std::string& text = texts[static_cast<unsigned>(k - 1)];
        long double& value = amplitudes.Values[static_cast<unsigned>(k - 1)];
        value = 1;
        if (text.empty()) continue;
        const auto parsed = ParseStoredFloat(text);
        if (parsed && *parsed >= 0 && std::isfinite(*parsed)) {
            value = static_cast<long double>(RoundToDouble(*parsed));
            continue;
        }
        value = 0;
        amplitudes.Warnings.push_back(
            TrFormat("%s: [Излучатель %s] Амплитуда: not an amplitude of 0 or more, read as 0",
                     {fileName, FormatInteger(k)}));
    }
    return amplitudes;
}
