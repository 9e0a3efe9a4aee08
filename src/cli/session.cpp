#include "cli/session.h"

#include <utility>
#include <vector>

#include "cli/headlesswindow.h"
#include "config/filecontent.h"
#include "config/inifile.h"
#include "config/safefile.h"
#include "model/freespace.h"

namespace {

// The window's load reads a file it cannot read (missing, unreadable, a folder, beyond the
// size it loads) as empty and goes on with the defaults; a script is better told. Pipes and
// devices are read to their end, as a script that names one expects.
std::string ConfigText(const std::string& fileName) {
    TFileContent content = ReadFileContent(fileName, TIniFile::kMaxFileSize, TFileKinds::Any);
    if (content.Errno != 0) {
        throw EUsageError("cannot read --config " + fileName + ": " +
                          SystemErrorText(content.Errno));
    }
    return std::move(content.Text);
}

// The pattern the window shows after its redraws of these states. Each redraw computes it
// afresh, except that MaxGainAngle carries over from the last computation that rose above 0;
// so only the last state is computed, and earlier ones only while the later are zero.
TPattern LastDrawnPattern(std::vector<TArrayModel>& drawn, const TCliOptions& options) {
    TPattern last;
    for (auto state = drawn.rbegin(); state != drawn.rend(); ++state) {
        ComputeFieldPattern(*state, options.Field, options.ElevationDegrees);
        if (state == drawn.rbegin()) last = state->Pattern;
        if (state->Pattern.MaxGain > 0) {
            last.MaxGainAngle = state->Pattern.MaxGainAngle;
            break;
        }
    }
    return last;
}

}  // namespace

TArraySession BuildSession(const TCliOptions& options,
                           const std::optional<std::string>& configFile) {
    TArraySession session;
    session.Model = MakeInitialModel();
    TArrayModel& model = session.Model;
    THeadlessWindow window(model);
    std::vector<TArrayModel> drawn;
    window.SetOnRedraw([&] { drawn.push_back(model); });
    window.Rules().Create();
    window.Redraw();

    if (configFile) {
        window.Rules().LoadText(ConfigText(*configFile));
    }
    if (options.EmitterType) window.Rules().SetEmitterType(*options.EmitterType);
    if (options.FocusBearing) window.Rules().Focus(*options.FocusBearing);

    for (int k = 1; k <= kEmitterCount; ++k) {
        session.Checked[static_cast<unsigned>(k - 1)] = window.EmitterChecked(k);
        for (int col = 1; col <= 3; ++col) {
            session.Grid[static_cast<unsigned>(k - 1)][static_cast<unsigned>(col - 1)] =
                window.GridCell(col, k);
        }
    }
    session.Messages = window.Messages();
    model.Pattern = LastDrawnPattern(drawn, options);
    session.Labels = DiagramLabels(model, options.ElevationDegrees);
    return session;
}
