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
    auto parsed = ParseFloat(text);
    if (!parsed) parsed = ParseFloat(text, DecimalMark() == ',' ? '.' : ',');
    if (!parsed) return 0;
    return static_cast<long double>(RoundToDouble(*parsed));
}

}  // namespace

TConfiguration ReadConfiguration(const std::string& fileName) {
    return ReadConfiguration(TIniFile(fileName));
}

TConfiguration ReadConfiguration(const TIniFile& file) {
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

void SaveConfiguration(const std::string& fileName, const TArrayModel& model, int typeIndex,
                       const TWriteFn& write) {
    TIniFile file(fileName);
    file.WriteString(kAllEmittersSection, kTypeKey, FormatInteger(typeIndex));
    for (int k = 1; k <= kEmitterCount; ++k) {
        const TEmitter& e = model.Emitter(k);
        const std::string section = EmitterSection(k);
        // A section an earlier save left would otherwise bring the emitter back on with its
        // old values: it is overwritten with what the emitter now holds.
        if (!Qualifies(e) && !file.HasSection(section)) continue;
        file.WriteString(section, kEnabledKey, e.Enabled ? "1" : "0");
        file.WriteString(section, kXKey, StoredText(e.X));
        file.WriteString(section, kYKey, StoredText(e.Y));
        file.WriteString(section, kPhaseKey, StoredText(e.Phase));
    }
    if (!file.Commit(write).Ok()) throw EHandlerError("Unable to write to " + fileName);
}
