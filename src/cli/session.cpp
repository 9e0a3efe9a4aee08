#include "cli/session.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "config/configfile.h"
#include "config/headlesswindow.h"
#include "config/inifile.h"
#include "config/numtext.h"
#include "config/safefile.h"
#include "model/focus.h"
#include "model/pattern.h"

namespace {

// The window's load reads a file it cannot read (missing, unreadable, a folder, beyond the
// size it loads) as empty and goes on with the defaults; a script is better told.
int ReadProblem(const std::string& fileName) {
    const int fd = ::open(fileName.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return errno;
    struct stat info {};
    int error = 0;
    if (::fstat(fd, &info) != 0) {
        error = errno;
    } else if (S_ISDIR(info.st_mode)) {
        error = EISDIR;
    } else if (S_ISREG(info.st_mode) &&
               static_cast<unsigned long long>(info.st_size) > TIniFile::kMaxFileSize) {
        error = EFBIG;
    }
    ::close(fd);
    return error;
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
        if (const int error = ReadProblem(*options.ConfigFile)) {
            throw EUsageError("cannot read --config " + *options.ConfigFile + ": " +
                              SystemErrorText(error));
        }
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
