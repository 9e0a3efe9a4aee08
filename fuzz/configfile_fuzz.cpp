#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "form/arraymodel.h"
#include "app/headlesswindow.h"
#include "config/configfile.h"
#include "config/cp1251.h"
#include "config/errors.h"
#include "config/inifile.h"
#include "config/numtext.h"

namespace {

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

// One name for the whole run, on a memory file system where there is one; the file is
// removed after each input.
const std::string& ScratchFile() {
    static const std::string path =
        std::string(access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") + "/cfgfuzz." +
        std::to_string(getpid());
    return path;
}

void ParseNumbers(std::string_view text) {
    for (const char mark : {',', '.'}) {
        if (const auto value = ParseFloat(text, mark)) {
            try {
                RoundToDouble(*value);
            } catch (const EHandlerError&) {
            }
        }
    }
    ParseInteger(text, 0);
}

void ReadAndEdit(std::string text) {
    TIniFile file = TIniFile::FromText(std::move(text));
    for (int k = 1; k <= kEmitterCount; ++k) {
        const std::string section = std::string(kEmitterSectionPrefix) + FormatInteger(k);
        for (const std::string_view key : {kEnabledKey, kXKey, kYKey, kPhaseKey}) {
            const std::string value = file.ReadString(section, key);
            Check(value.size() <= TIniFile::kMaxValueLength);
            ParseNumbers(value);
        }
    }
    file.WriteString(kAllEmittersSection, kTypeKey, "-1");
    file.WriteString("new", "key", "0,5");
    Check(file.ReadString(kAllEmittersSection, kTypeKey) == "-1");
    Check(file.ReadString("NEW", "KEY") == "0,5");
}

void Load(const std::uint8_t* data, std::size_t size) {
    FILE* out = std::fopen(ScratchFile().c_str(), "wb");
    Check(out != nullptr);
    Check(std::fwrite(data, 1, size, out) == size);
    std::fclose(out);
    TArrayModel model = MakeInitialModel();
    THeadlessWindow window(model);
    window.Rules().Create();
    try {
        window.Rules().Load(ScratchFile());
    } catch (const EHandlerError&) {
    }
    unlink(ScratchFile().c_str());
    int enabled = 0;
    for (const TEmitter& e : model.Emitters) enabled += e.Enabled ? 1 : 0;
    Check(enabled >= 1 && enabled == model.EnabledCount());
    Check(window.EmitterTypeIndex() >= -1 && window.EmitterTypeIndex() <= 3);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    SetDecimalMark(size % 2 == 0 ? ',' : '.');
    ParseNumbers(text);
    ReadAndEdit(text);
    Load(data, size);
    return 0;
}
