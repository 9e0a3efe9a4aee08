#include <string>
#include <vector>

#include "app/catalogue.h"
#include "cli/options.h"
#include "cli/runner.h"
#include "cli/usage.h"
#include "config/errors.h"
#include "config/messages.h"
#include "config/numtext.h"

namespace {

struct TCommandRun {
    TCliCommand Command;
    int (*Run)(const TCliOptions& options, std::string& output);
};

constexpr TCommandRun kRuns[] = {
    {TCliCommand::Pattern, RunPattern}, {TCliCommand::Export, RunExport},
    {TCliCommand::Save, RunSave},       {TCliCommand::Plot, RunPlot},
    {TCliCommand::Nec, RunNec},         {TCliCommand::Sweep, RunSweep},
    {TCliCommand::Design, RunDesign},   {TCliCommand::Touchstone, RunTouchstone},
};

int Run(const std::vector<std::string>& args) {
    ChooseLanguage(LanguageAsked(args));
    char mark = LocaleDecimalMark();
    if (!IsUsableDecimalMark(std::string(1, mark))) mark = '.';
    TCliOptions options;
    try {
        options = ParseCommandLine(args, mark);
    } catch (const EUsageError& e) {
        PrintError(UsageErrorText(e.what()));
        return kExitUsage;
    }
    for (const std::string& warning : options.Warnings) PrintError(WarningText(warning));
    if (options.Strict && !options.Warnings.empty()) {
        const unsigned long count = options.Warnings.size();
        PrintError(ErrorBoxText(
            FormatMessage(TrPlural("--strict: the command line has %s warning",
                                   "--strict: the command line has %s warnings", count),
                          {std::to_string(count)})));
        return kExitFailure;
    }
    std::string output;
    int status = 0;
    if (options.Help) {
        output = UsageText();
    } else if (options.Version) {
        output = VersionText();
    } else {
        SetDecimalMark(options.DecimalMark.value_or(mark));
        for (const TCommandRun& run : kRuns) {
            if (run.Command == options.Command) status = run.Run(options, output);
        }
    }
    // pattern writes its files as they come and leaves nothing here.
    const int written =
        output.empty() ? 0 : Guarded("", [&output] { WriteStandardOutput(output); });
    return written != 0 ? written : status;
}

}  // namespace

int main(int argc, char** argv) {
    return Run(std::vector<std::string>(argv + 1, argv + argc));
}
