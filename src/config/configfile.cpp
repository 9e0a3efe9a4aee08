#include "config/configfile.h"

#include <array>
#include <cmath>

#include "config/cp1251.h"
#include "config/errors.h"
#include "config/inifile.h"
#include "config/numtext.h"

namespace {

std::string EmitterSection(int k) {
    std::string section(kEmitterSectionPrefix);
    return section += FormatInteger(k);
}

// Switched off and all at zero (a negative zero too): such an emitter is not saved.
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
    auto parsed = ParseFloat(text);
    if (!parsed) parsed = ParseFloat(text, DecimalMark() == ',' ? '.' : ',');
    if (!parsed) return 0;
    return static_cast<long double>(RoundToDouble(*parsed));
}

}  // namespace

TConfiguration ReadConfiguration(const std::string& fileName) {
    const TIniFile file(fileName);
    TConfiguration table;
    for (int k = 1; k <= kEmitterCount; ++k) {
        const std::string section = EmitterSection(k);
        TEmitter& e = table.Emitters[static_cast<unsigned>(k - 1)];
        e.Enabled = ParseInteger(file.ReadString(section, kEnabledKey), 0) != 0;
        e.X = RealValue(file.ReadString(section, kXKey));
        e.Y = RealValue(file.ReadString(section, kYKey));
        e.Phase = RealValue(file.ReadString(section, kPhaseKey));
    }
    table.TypeIndex = ParseInteger(file.ReadString(kAllEmittersSection, kTypeKey), 0);
    return table;
}

void SaveConfiguration(const std::string& fileName, const TArray& array, int typeIndex,
                       const TWriteFn& write, const TGround* ground) {
    TIniFile file(fileName);
    file.WriteString(kAllEmittersSection, kTypeKey, FormatInteger(typeIndex));
    if (ground != nullptr && ground->Kind != TGroundKind::None) {
        const bool real = ground->Kind == TGroundKind::Real;
        file.WriteString(kAllEmittersSection, kGroundKey, real ? "2" : "1");
        file.WriteString(kAllEmittersSection, kHeightKey, StoredText(ground->HeightWavelengths));
        if (real) {
            file.WriteString(kAllEmittersSection, kFrequencyKey, StoredText(ground->FrequencyMhz));
            file.WriteString(kAllEmittersSection, kPermittivityKey,
                             StoredText(ground->Permittivity));
            file.WriteString(kAllEmittersSection, kConductivityKey,
                             StoredText(ground->Conductivity));
        }
    }
    for (int k = 1; k <= kEmitterCount; ++k) {
        const TEmitter& e = array.Emitter(k);
        if (!Qualifies(e)) continue;
        const std::string section = EmitterSection(k);
        file.WriteString(section, kEnabledKey, e.Enabled ? "1" : "0");
        file.WriteString(section, kXKey, StoredText(e.X));
        file.WriteString(section, kYKey, StoredText(e.Y));
        file.WriteString(section, kPhaseKey, StoredText(e.Phase));
        // Only the command line sets amplitudes; the window's are all 1 and it writes none.
        if (e.Amplitude != 1) file.WriteString(section, kAmplitudeKey, StoredText(e.Amplitude));
    }
    if (!file.Commit(write).Ok()) throw EHandlerError("Unable to write to " + fileName);
}

std::optional<TGround> ReadGround(const std::string& fileName) {
    const TIniFile file(fileName);
    const auto value = [&](std::string_view key) {
        return RealValue(file.ReadString(kAllEmittersSection, key));
    };
    TGround ground;
    switch (ParseInteger(file.ReadString(kAllEmittersSection, kGroundKey), 0)) {
        case 1:
            ground.Kind = TGroundKind::Perfect;
            break;
        case 2:
            ground.Kind = TGroundKind::Real;
            ground.FrequencyMhz = value(kFrequencyKey);
            ground.Permittivity = value(kPermittivityKey);
            ground.Conductivity = value(kConductivityKey);
            break;
        default:
            return std::nullopt;
    }
    ground.HeightWavelengths = value(kHeightKey);
    return ground;
}

TAmplitudes ReadAmplitudes(const std::string& fileName) {
    const TIniFile file(fileName);
    TAmplitudes amplitudes;
    for (int k = 1; k <= kEmitterCount; ++k) {
        const std::string text = file.ReadString(EmitterSection(k), kAmplitudeKey);
        long double& value = amplitudes.Values[static_cast<unsigned>(k - 1)];
        value = 1;
        if (text.empty()) continue;
        auto parsed = ParseFloat(text);
        if (!parsed) parsed = ParseFloat(text, DecimalMark() == ',' ? '.' : ',');
        if (parsed && *parsed >= 0 && std::isfinite(*parsed)) {
            value = static_cast<long double>(RoundToDouble(*parsed));
            continue;
        }
        value = 0;
        amplitudes.Warnings.push_back(fileName + ": [Излучатель " + FormatInteger(k) +
                                      "] Амплитуда: not an amplitude of 0 or more, read as 0");
    }
    return amplitudes;
}
