#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "cli/analysis.h"
#include "cli/options.h"
#include "cli/report.h"
#include "cli/session.h"
#include "cli/usage.h"
#include "config/configfile.h"
#include "config/errors.h"
#include "config/nametext.h"
#include "config/numtext.h"
#include "config/safefile.h"
#include "plot/chartfile.h"
#include "plot/diagramfile.h"
#include "plot/exportpicture.h"
#include "plot/picturefile.h"

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

// One line whatever the names and values it holds.
void PrintError(const std::string& text) {
    std::fprintf(stderr, "%s\n", EscapeControls(text).c_str());
}

void PrintUsageError(const EUsageError& error) {
    PrintError(std::string("arraypattern-cli: ") + error.what());
}

// The window's text with the system's reason after it, as a script needs to tell a full disk
// from a missing folder.
std::string WithCause(const std::string& text, int errnum) {
    return errnum == 0 ? text : text + ": " + SystemErrorText(errnum);
}

// Runs one step of the call; a failure is reported (after prefix) and becomes the exit status.
template <typename TStep>
int Guarded(const std::string& prefix, TStep&& step) {
    try {
        step();
        return 0;
    } catch (const EUsageError& e) {
        PrintUsageError(e);
        return kExitUsage;
    } catch (const EFileError& e) {
        PrintError(prefix + ErrorBoxText(WithCause(e.what(), e.Errno)));
        return kExitFailure;
    } catch (const std::exception& e) {
        // The window's error texts, and out of memory or an encoder that failed: reported,
        // never a crash.
        PrintError(prefix + ErrorBoxText(e.what()));
        return kExitFailure;
    }
}

// The configurations of the call in order; the initial array alone when none is given.
std::vector<std::optional<std::string>> Configs(const TCliOptions& options) {
    std::vector<std::optional<std::string>> configs(options.ConfigFiles.begin(),
                                                    options.ConfigFiles.end());
    if (configs.empty()) configs.emplace_back();
    return configs;
}

void PrintMessages(const TArraySession& session, const std::string& prefix) {
    for (const auto& message : session.Messages) PrintError(prefix + message);
}

// Each file's result in turn; a file that fails is reported with its path and the others
// still run. The status is the worst.
int RunPattern(const TCliOptions& options, std::string& output) {
    const bool batch = options.ConfigFiles.size() > 1;
    int status = 0;
    bool first = true;
    for (const auto& config : Configs(options)) {
        const std::string prefix = batch ? *config + ": " : "";
        status = std::max(status, Guarded(prefix, [&] {
                              const TPatternResult result = Analyse(options, config);
                              PrintMessages(result.Session, prefix);
                              output += FormatReport(result, options, {batch, first});
                              first = false;
                          }));
    }
    return status;
}

// Every file is analysed before the picture is drawn; a failure leaves no picture.
int RunChart(const TCliOptions& options, TChartKind kind) {
    const bool batch = options.ConfigFiles.size() > 1;
    std::vector<TChartArray> arrays;
    int status = 0;
    for (const auto& config : Configs(options)) {
        const std::string prefix = batch ? *config + ": " : "";
        status = std::max(status, Guarded(prefix, [&] {
                              const TPatternResult result = Analyse(options, config);
                              PrintMessages(result.Session, prefix);
                              arrays.push_back(ChartArrayOf(result));
                          }));
    }
    if (status != 0) return status;
    return Guarded("", [&] {
        WritePictureFile(options.OutputFile, ChartFileBytes(kind, arrays, options.PictureFormat));
    });
}

// save, export and plot --kind diagram: one array, one file.
int RunOneFile(const TCliOptions& options) {
    return Guarded("", [&] {
        TArraySession session = BuildSession(options, Configs(options).front());
        PrintMessages(session, "");
        switch (options.Command) {
            case TCliCommand::Save:
                SaveConfiguration(FullPath(options.OutputFile), session.Model,
                                  session.Model.EmitterType);
                break;
            case TCliCommand::Export: {
                TExportPicture picture;
                picture.Draw(session.Model, options.ElevationDegrees);
                picture.Save(options.OutputFile);
                break;
            }
            default:
                SaveDiagramFile(session.Model, options.ElevationDegrees, options.OutputFile,
                                options.PictureFormat);
                break;
        }
    });
}

int Run(const std::vector<std::string>& args) {
    char mark = LocaleDecimalMark();
    if (!IsUsableDecimalMark(std::string(1, mark))) mark = '.';
    TCliOptions options;
    try {
        options = ParseCommandLine(args, mark);
    } catch (const EUsageError& e) {
        PrintUsageError(e);
        return kExitUsage;
    }
    std::string output;
    int status = 0;
    if (options.Help) {
        output = kUsageText;
    } else if (options.Version) {
        output = VersionText();
    } else {
        SetDecimalMark(options.DecimalMark.value_or(mark));
        const auto chart = ChartKindOf(options.Kind);
        if (options.Command == TCliCommand::Pattern) {
            status = RunPattern(options, output);
        } else if (options.Command == TCliCommand::Plot && chart) {
            status = RunChart(options, *chart);
        } else {
            status = RunOneFile(options);
        }
    }
    errno = 0;
    const bool written = std::fwrite(output.data(), 1, output.size(), stdout) == output.size();
    if (std::fflush(stdout) != 0 || !written) {
        PrintError(ErrorBoxText(WithCause(kStreamWriteErrorText, errno)));
        return kExitFailure;
    }
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    return Run(std::vector<std::string>(argv + 1, argv + argc));
}
