#include "cli/session.h"

#include <sys/stat.h>

#include <cerrno>

#include "config/configfile.h"
#include "config/headlesswindow.h"
#include "config/numtext.h"
#include "config/safefile.h"
#include "model/focus.h"
#include "model/pattern.h"

namespace {

// The window's load takes any name and loads defaults for a missing file; a script is
// better told that its file is not there.
void RequireReadableFile(const std::string& fileName) {
    struct stat info {};
    int error = 0;
    if (::stat(fileName.c_str(), &info) != 0) {
        error = errno;
    } else if (S_ISDIR(info.st_mode)) {
        error = EISDIR;
    }
    if (error != 0) {
        throw EUsageError("cannot read --config " + fileName + ": " + SystemErrorText(error));
    }
}

}  // namespace

TArraySession BuildSession(const TCliOptions& options) {
    TArraySession session;
    session.Model = MakeInitialModel();
    TArrayModel& model = session.Model;
    THeadlessWindow window(model);
    // Every redraw of the window computes the pattern, and MaxGainAngle carries over from the
    // last computation when a pattern never rises above 0.
    window.SetOnRedraw([&] { ComputePattern(model, options.ElevationDegrees); });
    window.Redraw();

    if (options.ConfigFile) {
        RequireReadableFile(*options.ConfigFile);
        LoadConfiguration(*options.ConfigFile, model, window);
    }
    if (options.EmitterType) window.SetEmitterTypeIndex(*options.EmitterType);
    if (options.FocusBearing) {
        const auto rewritten = FocusBeam(model, *options.FocusBearing);
        for (int k = 1; k <= kEmitterCount; ++k) {
            if (rewritten[static_cast<unsigned>(k - 1)]) {
                window.SetGridCell(3, k, FormatGeneral(model.Emitter(k).Phase));
            }
        }
        window.Redraw();
    }

    for (int k = 1; k <= kEmitterCount; ++k) {
        for (int col = 1; col <= 3; ++col) {
            session.Grid[static_cast<unsigned>(k - 1)][static_cast<unsigned>(col - 1)] =
                window.GridCell(col, k);
        }
    }
    session.Messages = window.Messages();
    return session;
}
