#include <stdexcept>

#include "app/designpolicy.h"
#include "app/figures.h"
#include "cli/report.h"
#include "cli/request.h"
#include "cli/runner.h"
#include "config/configfile.h"
#include "config/messages.h"
#include "config/safefile.h"

namespace {

// The analysis of the text as `pattern` would analyse the written file at the elevation the
// design was made for (over ground the take-off angle moves with the excitation): the same
// formula and cut, the ground and everything else from the file itself.
TPatternResult AnalyseText(const TAnalysisRequest& request, const TPatternResult& start,
                           const std::string& fileName, const std::string& text) {
    TAnalysisRequest written;
    written.Steps.ConfigFile = fileName;
    written.Steps.ConfigText = text;
    written.Steps.Field = request.Steps.Field;
    written.Steps.Field.ElevationDegrees = start.Field.ElevationDegrees;
    written.CutBearing = request.CutBearing;
    written.ModelGiven = request.ModelGiven;
    written.ElevationGiven = true;
    written.Wires.Z0 = request.Wires.Z0;  // the only wire setting the file does not keep
    return Analyse(written);
}

}  // namespace

// The designed excitation, reported as `pattern` reports the file it writes, from the text
// held in memory; a front-to-back design that does not improve on the input writes nothing.
int RunDesign(const TCliOptions& options, std::string& output) {
    if (options.FeedGoal) return RunFeedDesign(options, output);
    return Guarded("", [&] {
        const TAnalysisRequest request = RequestFor(options, Configs(options).front());
        const TPatternResult start = Analyse(request);
        PrintMessages(start.Session, "");
        StrictCheck(options, start.Session);
        const std::string out = FullPath(options.OutputFile);
        const TDesignRequest& design = options.Design;
        const std::string goal(NameOf<TDesignGoal>(kDesignGoalNames, design.Goal));
        const TDesignTarget target = DesignTargetOf(start, design, options.CutBearing);
        const TDesignedExcitation designed = DesignExcitation(start, design, target);
        if (designed.Refusal) {
            throw EUsageError("--goal " + goal + ": " + RefusalText(*designed.Refusal));
        }
        const TArray& array = designed.Array;
        const TGround ground =
            start.Field.Model == TFieldModel::OverGround ? start.Field.Ground : TGround{};
        const TWireKeys wires = WireKeysToSave(request, start.Session, array, ground);
        TIniFile file = ConfigurationUpdate(out, array, array.EmitterType, &ground);
        WriteWireKeys(file, wires);
        const TPatternResult result = AnalyseText(request, start, out, file.Text());
        if (const auto no = CheckImprovement(designed, target, result, design.Goal)) {
            throw std::runtime_error(TrFormat(
                "the design does not improve on the input: %s %s dB with its beam at bearing "
                "%s, against the input's %s dB at bearing %s; %s is left as it was",
                {goal, FigureText(no->AfterDb, 2), std::to_string(no->BeamBearing),
                 FigureText(no->BeforeDb, 2), std::to_string(no->AskedBearing), out}));
        }
        const std::string summary =
            IsFrontRatio(design.Goal)
                ? RatioSummary(result, design.Goal, designed.Report.Evaluations)
                : SensitivitySummary(designed.Report);
        if (designed.Warning) PrintError(WarningText(*designed.Warning));
        CommitConfiguration(file, out);
        TCliOptions written = options;
        written.Format = TOutputFormat::Text;
        output += FormatReport(result, written, {false, true}) + summary + '\n';
    });
}
