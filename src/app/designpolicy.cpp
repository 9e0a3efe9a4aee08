#include "app/designpolicy.h"

#include <cmath>
#include <stdexcept>

#include "app/figures.h"
#include "app/wireanalysis.h"
#include "config/configfile.h"
#include "config/messages.h"
#include "config/numtext.h"
#include "model/angles.h"
#include "model/embeddedpattern.h"
#include "model/wiredesign.h"

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

bool IsFrontRatio(TDesignGoal goal) {
    return goal == TDesignGoal::FrontToBack || goal == TDesignGoal::FrontToRear;
}

// The wires' design: the port currents are the excitation. A voltage feed writes the voltages
// that drive the designed currents, V = Z I, in their place.
std::optional<TRefusal> DesignWires(TArray& array, const TWireResult& wires, TDesignGoal goal,
                                    const TDesignTarget& target, bool freeAmplitudes,
                                    TDesignReport& report) {
    const TWireSystem& system = wires.Solved->System;
    const TEmbeddedPatterns patterns(system);
    Eigen::VectorXcd currents;
    if (IsFrontRatio(goal)) {
        currents = DesignWireFrontToBack(patterns, wires.Solved->Currents.PortCurrent, target,
                                         goal == TDesignGoal::FrontToRear, freeAmplitudes, report);
    } else if (const auto why = DesignWireMaxGain(patterns, target, currents, report)) {
        return why;
    }
    WriteCurrents(array, currents);
    if (wires.Settings.Feed != TFeed::Voltage) return std::nullopt;
    Eigen::VectorXcd written(currents.size());
    Eigen::Index p = 0;
    for (const TEmitter& e : array.Emitters) {
        if (e.Enabled) written(p++) = Phasor(e.Amplitude, e.Phase);
    }
    const Eigen::VectorXcd voltages = system.PortImpedance() * written;
    p = 0;
    for (TEmitter& e : array.Emitters) {
        if (!e.Enabled) continue;
        const auto [amplitude, phase] = AmplitudeAndPhase(voltages(p++));
        e.Amplitude = amplitude;
        e.Phase = phase;
    }
    return std::nullopt;
}

// The input's ratio at the bearing in the model the design uses.
long double InputRatioDb(const TPatternResult& start, const TDesignTarget& target, bool rear) {
    if (const auto& solved = start.Wires.Solved) {
        return WireFrontRatioDb(TEmbeddedPatterns(solved->System), solved->Currents.PortCurrent,
                                target, rear);
    }
    return FrontRatioDb(start.Session.Model, start.Field, target.BearingDegrees, rear);
}

bool WithinOneDegree(int a, int b) {
    const int d = ((a - b) % 360 + 360) % 360;
    return d <= 1 || d >= 359;
}

}  // namespace

std::optional<TRefusal> DesignExcitation(TArray& array, const TPatternResult& analysis,
                                         TDesignGoal goal, const TDesignTarget& target,
                                         bool freeAmplitudes, TDesignReport& report) {
    if (analysis.Wires.Solved) {
        return DesignWires(array, analysis.Wires, goal, target, freeAmplitudes, report);
    }
    if (IsFrontRatio(goal)) {
        DesignFrontToBack(array, analysis.Field, target, goal == TDesignGoal::FrontToRear,
                          freeAmplitudes, report);
        return std::nullopt;
    }
    const TGround ground =
        analysis.Field.Model == TFieldModel::OverGround ? analysis.Field.Ground : TGround{};
    return DesignMaxDirectivity(array, ground, target, report);
}

long double DesignedRatioDb(const TPatternResult& designed, TDesignGoal goal) {
    const auto& metrics = designed.Metrics;
    if (!metrics) return -HUGE_VALL;
    return goal == TDesignGoal::FrontToRear ? metrics->FrontToRearDb : metrics->FrontToBackDb;
}

std::string RatioSummary(const TPatternResult& designed, TDesignGoal goal, int evaluations) {
    return std::string(NameOf<TDesignGoal>(kDesignGoalNames, goal)) + ": " +
           FormatMessage(
               TrPlural("%s dB after %s evaluation", "%s dB after %s evaluations",
                        static_cast<unsigned long>(evaluations)),
               {FigureText(DesignedRatioDb(designed, goal), 2), std::to_string(evaluations)});
}

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
    const bool frontToBack = IsFrontRatio(design.Goal);
    const bool rear = design.Goal == TDesignGoal::FrontToRear;

    TDesignOutcome outcome;
    TDesignReport report;
    const long double before = frontToBack ? InputRatioDb(start, target, rear) : 0;
    if (const auto why =
            DesignExcitation(array, start, design.Goal, target, design.FreeAmplitudes, report)) {
        throw EUsageError("--goal " + goal + ": " + RefusalText(*why));
    }
    if (!frontToBack) {
        outcome.Summary = TrFormat("sensitivity: %s dB against a uniform excitation",
                                   {FormatFixed(report.SensitivityDb, 18, 2)}) +
                          '\n';
        if (report.SensitivityDb > kSuperDirectiveDb) {
            outcome.Warning = TrFormat(
                "the design is super-directive: its currents are %s dB larger than a uniform "
                "excitation's for its field",
                {FormatFixed(report.SensitivityDb, 18, 1)});
        }
    }

    const TWireKeys wires = WireKeysToSave(request, array, ground);
    outcome.File = ConfigurationUpdate(outFile, array, array.EmitterType, &ground);
    WriteWireKeys(*outcome.File, wires.Settings, wires.RadiusGiven, wires.FeedGiven);
    outcome.Result = AnalyseText(request, start, outFile, outcome.File->Text());
    if (!frontToBack) return outcome;

    // The figure is the written file's own, as `pattern` reports it.
    const long double after = DesignedRatioDb(*outcome.Result, design.Goal);
    const int beam = DisplayedBearing(outcome.Result->Session.Pattern.MaxGainAngle);
    const int asked = static_cast<int>(target.BearingDegrees);
    if (!(after >= before) || !WithinOneDegree(beam, asked)) {
        throw std::runtime_error(TrFormat(
            "the design does not improve on the input: %s %s dB with its beam at bearing %s, "
            "against the input's %s dB at bearing %s; %s is left as it was",
            {goal, FigureText(after, 2), std::to_string(beam), FigureText(before, 2),
             std::to_string(asked), outFile}));
    }
    outcome.Summary = RatioSummary(*outcome.Result, design.Goal, report.Evaluations) + '\n';
    return outcome;
}
