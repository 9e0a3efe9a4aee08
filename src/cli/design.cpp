#include "app/designpolicy.h"
#include "cli/report.h"
#include "cli/runner.h"
#include "config/configfile.h"
#include "config/safefile.h"

// The designed excitation, reported as `pattern` reports the file it writes, from the text
// held in memory; a front-to-back design that does not improve on the input writes nothing.
int RunDesign(const TCliOptions& options, std::string& output) {
    return Guarded("", [&] {
        const TAnalysisRequest request = RequestFor(options, Configs(options).front());
        const TPatternResult start = Analyse(request);
        PrintMessages(start.Session, "");
        StrictCheck(options, start.Session);
        const std::string out = FullPath(options.OutputFile);
        TDesignOutcome outcome =
            DesignArray(request, start, options.Design, options.CutBearing, out);
        if (outcome.Warning) PrintError(WarningText(*outcome.Warning));
        CommitConfiguration(*outcome.File, out);
        TCliOptions written = options;
        written.Format = TOutputFormat::Text;
        output += FormatReport(*outcome.Result, written, {false, true}) + outcome.Summary;
    });
}
