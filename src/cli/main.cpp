#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "cli/options.h"
#include "cli/report.h"
#include "cli/session.h"
#include "cli/usage.h"
#include "config/configfile.h"
#include "config/errors.h"
#include "config/numtext.h"
#include "config/safefile.h"
#include "plot/diagramfile.h"
#include "plot/exportpicture.h"

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

void PrintError(const std::string& text) {
    std::fprintf(stderr, "%s\n", text.c_str());
}

void PrintUsageError(const EUsageError& error) {
    PrintError(std::string("arraypattern-cli: ") + error.what());
}

std::string PatternOutput(const TArraySession& session, const TCliOptions& options) {
    return FormatReport({session.Model, session.Grid, session.Labels, options.ElevationDegrees},
                        options.Format);
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
    if (options.Help) {
        output = kUsageText;
    } else if (options.Version) {
        output = VersionText();
    } else {
        SetDecimalMark(options.DecimalMark.value_or(mark));
        try {
            TArraySession session = BuildSession(options);
            for (const auto& message : session.Messages) PrintError(message);
            switch (options.Command) {
                case TCliCommand::Pattern:
                    output = PatternOutput(session, options);
                    break;
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
                case TCliCommand::Plot:
                    SaveDiagramFile(session.Model, options.ElevationDegrees, options.OutputFile,
                                    options.PictureFormat);
                    break;
                case TCliCommand::None:
                    break;
            }
        } catch (const EUsageError& e) {
            PrintUsageError(e);
            return kExitUsage;
        } catch (const EHandlerError& e) {
            PrintError(ErrorBoxText(e.what()));
            return kExitFailure;
        } catch (const std::exception& e) {
            // Out of memory, or an encoder that failed: reported, never a crash.
            PrintError(ErrorBoxText(e.what()));
            return kExitFailure;
        }
    }
    const bool written = std::fwrite(output.data(), 1, output.size(), stdout) == output.size();
    if (std::fflush(stdout) != 0 || !written) {
        PrintError(ErrorBoxText(kStreamWriteErrorText));
        return kExitFailure;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    return Run(std::vector<std::string>(argv + 1, argv + argc));
}
