#include "app/session.h"

#include <algorithm>
#include <utility>

#include "app/bounds.h"
#include "app/headlesswindow.h"
#include "config/configfile.h"
#include "config/configlint.h"
#include "config/filecontent.h"
#include "config/inifile.h"
#include "config/messages.h"
#include "config/nametext.h"
#include "config/safefile.h"
#include "model/gridcolumns.h"

namespace {

// The window's load reads a file it cannot read (missing, unreadable, a folder, beyond the
// size it loads) as empty and goes on with the defaults; a script is better told. Pipes and
// devices are read to their end, as a script that names one expects.
std::string ConfigText(const std::string& fileName) {
    TFileContent content = ReadFileContent(fileName, TIniFile::kMaxFileSize, TFileKinds::Any);
    if (content.Errno != 0) {
        throw EUsageError(TrFormat("cannot read %s: %s",
                                   {DisplayName(fileName), SystemErrorText(content.Errno)}));
    }
    return std::move(content.Text);
}

void Apply(THeadlessWindow& window, TArrayModel& model, const TEmitterSetting& setting) {
    const int k = setting.Emitter;
    switch (setting.Field) {
        case TEmitterField::X:
            window.Rules().SetValue(k, kColumnX, setting.Value);
            break;
        case TEmitterField::Y:
            window.Rules().SetValue(k, kColumnY, setting.Value);
            break;
        case TEmitterField::Phase:
            window.Rules().SetValue(k, kColumnPhase, setting.Value);
            break;
        case TEmitterField::Amplitude:
            model.Emitter(k).Amplitude = setting.Value;
            break;
        case TEmitterField::On:
            // As a click on the box: the last emitter on stays on.
            window.SetEmitterChecked(k, setting.Value != 0);
            break;
    }
}

}  // namespace

TArraySession BuildSession(const TSessionSteps& steps) {
    TArraySession session;
    session.Model = MakeInitialModel();
    TArrayModel& model = session.Model;
    THeadlessWindow window(model);
    // The arrays the window draws, without drawing them: only the last is computed.
    std::vector<TArray> drawn;
    TWarnings warnings;
    window.SetOnRedraw([&] { drawn.push_back(model); });
    window.Rules().Create();
    window.Redraw();

    if (steps.ConfigFile) {
        // Read once: a pipe gives its text only once.
        std::string text = steps.ConfigText ? *steps.ConfigText : ConfigText(*steps.ConfigFile);
        const TIniFile file = TIniFile::FromText(text);
        window.Rules().LoadText(std::move(text));
        session.FileGround = ReadGround(file);
        session.FileWires = ReadWireKeys(file);
        // The window keeps every current at 1; a run takes the file's.
        TAmplitudes amplitudes = ReadAmplitudes(file, *steps.ConfigFile);
        for (int k = 1; k <= kEmitterCount; ++k) {
            const long double amplitude = amplitudes.Values[static_cast<unsigned>(k - 1)];
            // Its square would leave the range every power sum is computed in.
            if (amplitude > RangeOf(TQuantity::Amplitude).High.Value) {
                throw EUsageError(TrFormat("%s: the amplitude of emitter %s is above 1e100",
                                           {DisplayName(*steps.ConfigFile), std::to_string(k)}));
            }
            model.Emitter(k).Amplitude = amplitude;
        }
        warnings = ConfigurationWarnings(file, *steps.ConfigFile);
        for (const std::string& warning : amplitudes.Warnings)
            warnings.Add([&] { return warning; });
        // The window switches an emitter back on and says so, but a file that switches none
        // on is most likely not the file meant, or one whose lines were not read as lines.
        const auto emitters = ReadConfiguration(file).Emitters;
        if (std::none_of(emitters.begin(), emitters.end(),
                         [](const TEmitter& e) { return e.Enabled; })) {
            warnings.Add([&] {
                return TrFormat("%s: no emitter is switched on: the array loads empty",
                                {DisplayName(*steps.ConfigFile)});
            });
        }
    }
    for (const TEmitterSetting& setting : steps.Settings) Apply(window, model, setting);
    if (steps.Taper) {
        if (const auto why = ApplyTaper(model, *steps.Taper)) {
            throw ETaperError(RefusalText(*why));
        }
    }
    if (steps.EmitterType) window.Rules().SetEmitterType(*steps.EmitterType);
    if (steps.FocusBearing) window.Rules().Focus(*steps.FocusBearing);

    for (int k = 1; k <= kEmitterCount; ++k) {
        const auto row = static_cast<unsigned>(k - 1);
        session.Checked[row] = window.EmitterChecked(k);
        for (const int col : {kColumnX, kColumnY, kColumnPhase}) {
            session.Grid[row][static_cast<unsigned>(col - kColumnX)] = window.GridCell(col, k);
        }
    }
    session.Messages = window.Messages();
    session.Warnings = warnings.Lines();
    session.WarningCount = warnings.Count();
    // Amplitudes and settings are the run's own and change the array without a redraw of the
    // window's: their state is drawn too. Otherwise the window's last drawing stands, even
    // where the model moved on without one (the type set to no item).
    const bool ownCurrents = std::any_of(model.Emitters.begin(), model.Emitters.end(),
                                         [](const TEmitter& e) { return e.Amplitude != 1; });
    if (ownCurrents || !steps.Settings.empty() || steps.Taper) drawn.push_back(model);
    session.Field = steps.Field;
    session.Drawings = std::move(drawn);
    if (!steps.DrawPattern) return session;
    session.Pattern = WindowDrawing(session.Drawings, session.Field);
    session.Labels = DiagramLabels(session.Pattern, session.Field.ElevationDegrees);
    return session;
}

TPattern WindowDrawing(const std::vector<TArray>& drawings, const TFieldSpec& field) {
    TPattern last = ComputePattern(drawings.back(), field);
    if (last.MaxGain > 0) return last;
    for (auto state = drawings.rbegin() + 1; state != drawings.rend(); ++state) {
        const TPattern earlier = ComputePattern(*state, field);
        if (earlier.MaxGain > 0) {
            last.MaxGainAngle = earlier.MaxGainAngle;
            break;
        }
    }
    return last;
}

TLoadedArray LoadArrayText(const std::string& fileName, std::string text) {
    TSessionSteps steps;
    steps.ConfigFile = fileName;
    steps.ConfigText = std::move(text);
    steps.DrawPattern = false;
    TArraySession session = BuildSession(steps);
    TLoadedArray loaded;
    loaded.Array = static_cast<const TArray&>(session.Model);
    loaded.Ground = session.FileGround;
    loaded.Wires = std::move(session.FileWires);
    loaded.Warnings = std::move(session.Warnings);
    loaded.Messages = std::move(session.Messages);
    return loaded;
}
