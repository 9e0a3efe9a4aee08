#include "app/designpolicy.h"

#include <cmath>
#include <stdexcept>

#include "app/figures.h"
#include "app/wireanalysis.h"
#include "config/configfile.h"
#include "config/messages.h"
#include "config/numtext.h"
#include "model/angles.h"

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

// Wires: the designed currents are the feed network's target. The coupled solve gives the
// voltages that drive them, which a voltage feed writes in their place.
void WriteAsVoltages(TArray& array, const TWireSettings& wires, const TGround& ground) {
    TWireSettings currents = wires;
    currents.Feed = TFeed::Current;
    const auto solved = SolveCoupling(array, currents, ground);
    if (!solved || wires.Feed != TFeed::Voltage) return;
    for (const TEmitterFeed& e : solved->Coupling.Emitters) {
        const auto [amplitude, phase] = AmplitudeAndPhase(e.Voltage);
        array.Emitter(e.Number).Amplitude = amplitude;
        array.Emitter(e.Number).Phase = phase;
    }
}

bool WithinOneDegree(int a, int b) {
    const int d = ((a - b) % 360 + 360) % 360;
    return d <= 1 || d >= 359;
}

}  // namespace

TDesignOutcome DesignArray(const TAnalysisRequest& request, const TPatternResult& start,
                           const TDesignRequest& design, std::optional<int> bearing,
                           const std::string& outFile) {
    TArray array = start.Session.Model;
    TDesignTarget target;
    target.BearingDegrees =
        bearing ? *bearing : DisplayedBearing(start.Session.Pattern.MaxGainAngle);
    target.ElevationDegrees = start.Field.ElevationDegrees;
    target.NullBearings = design.Nulls;
    const TGround ground =
        start.Field.Model == TFieldModel::OverGround ? start.Field.Ground : TGround{};
    const std::string goal(NameOf<TDesignGoal>(kDesignGoalNames, design.Goal));
    const bool frontToBack =
        design.Goal == TDesignGoal::FrontToBack || design.Goal == TDesignGoal::FrontToRear;
    const bool rear = design.Goal == TDesignGoal::FrontToRear;

    TDesignOutcome outcome;
    TDesignReport report;
    long double before = 0;
    if (!frontToBack) {
        if (const auto why = DesignMaxDirectivity(array, ground, target, report)) {
            throw EUsageError("--goal " + goal + ": " + RefusalText(*why));
        }
        outcome.Summary = TrFormat("sensitivity: %s dB against a uniform excitation",
                                   {FormatFixed(report.SensitivityDb, 18, 2)}) +
                          '\n';
        if (report.SensitivityDb > kSuperDirectiveDb) {
            outcome.Warning = TrFormat(
                "the design is super-directive: its currents are %s dB larger than a uniform "
                "excitation's for its field",
                {FormatFixed(report.SensitivityDb, 18, 1)});
        }
    } else {
        before = FrontRatioDb(array, start.Field, target.BearingDegrees, rear);
        DesignFrontToBack(array, start.Field, target, rear, design.FreeAmplitudes, report);
    }

    const TWireKeys wires = WireKeysToSave(request, array, ground);
    WriteAsVoltages(array, wires.Settings, ground);
    outcome.File = ConfigurationUpdate(outFile, array, array.EmitterType, &ground);
    WriteWireKeys(*outcome.File, wires.Settings, wires.RadiusGiven, wires.FeedGiven);
    outcome.Result = AnalyseText(request, start, outFile, outcome.File->Text());
    if (!frontToBack) return outcome;

    // The figure is the written file's own, as `pattern` reports it.
    const auto& metrics = outcome.Result->Metrics;
    const long double after = !metrics ? -HUGE_VALL
                              : rear   ? metrics->FrontToRearDb
                                       : metrics->FrontToBackDb;
    const int beam = DisplayedBearing(outcome.Result->Session.Pattern.MaxGainAngle);
    const int asked = static_cast<int>(target.BearingDegrees);
    if (!(after >= before) || !WithinOneDegree(beam, asked)) {
        throw std::runtime_error(TrFormat(
            "the design does not improve on the input: %s %s dB with its beam at bearing %s, "
            "against the input's %s dB at bearing %s; %s is left as it was",
            {goal, FigureText(after, 2), std::to_string(beam), FigureText(before, 2),
             std::to_string(asked), outFile}));
    }
    outcome.Summary =
        goal + ": " +
        FormatMessage(TrPlural("%s dB after %s evaluation", "%s dB after %s evaluations",
                               static_cast<unsigned long>(report.Evaluations)),
                      {FigureText(after, 2), std::to_string(report.Evaluations)}) +
        '\n';
    return outcome;
}
