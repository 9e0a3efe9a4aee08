#include "cli/session.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "cli/headlesswindow.h"
#include "config/inifile.h"
#include "config/safefile.h"
#include "model/freespace.h"

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

TArraySession BuildSession(const TCliOptions& options,
                           const std::optional<std::string>& configFile) {
    TArraySession session;
    session.Model = MakeInitialModel();
    TArrayModel& model = session.Model;
    THeadlessWindow window(model);
    // Every redraw of the window computes the pattern and its read-outs, and MaxGainAngle
    // carries over from the last computation when a pattern never rises above 0.
    window.SetOnRedraw([&] {
        ComputeFieldPattern(model, options.Field, options.ElevationDegrees);
        session.Labels = DiagramLabels(model, options.ElevationDegrees);
    });
    window.Rules().Create();
    window.Redraw();

    if (configFile) {
        if (const int error = ReadProblem(*configFile)) {
            throw EUsageError("cannot read --config " + *configFile + ": " +
                              SystemErrorText(error));
        }
        window.Rules().Load(*configFile);
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
    return session;
}
