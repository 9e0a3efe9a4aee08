#include "app/designpolicy.h"

#include <cmath>

#include "app/figures.h"
#include "app/wireanalysis.h"
#include "config/messages.h"
#include "config/numtext.h"
#include "model/angles.h"
#include "model/embeddedpattern.h"
#include "model/wiredesign.h"

namespace {

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

bool IsFrontRatio(TDesignGoal goal) {
    return goal == TDesignGoal::FrontToBack || goal == TDesignGoal::FrontToRear;
}

TDesignTarget DesignTargetOf(const TPatternResult& analysis, const TDesignRequest& design,
                             std::optional<int> bearing) {
    TDesignTarget target;
    target.BearingDegrees =
        bearing ? *bearing : DisplayedBearing(analysis.Session.Pattern.MaxGainAngle);
    target.ElevationDegrees = analysis.Field.ElevationDegrees;
    target.NullBearings = design.Nulls;
    return target;
}

TDesignedExcitation DesignExcitation(const TPatternResult& analysis, const TDesignRequest& design,
                                     const TDesignTarget& target) {
    TDesignedExcitation out;
    out.Array = analysis.Session.Model;
    const bool front = IsFrontRatio(design.Goal);
    const bool rear = design.Goal == TDesignGoal::FrontToRear;
    if (front) out.InputRatioDb = InputRatioDb(analysis, target, rear);
    TDesignReport& report = out.Report;
    if (analysis.Wires.Solved) {
        out.Refusal = DesignWires(out.Array, analysis.Wires, design.Goal, target,
                                  design.FreeAmplitudes, report);
    } else if (front) {
        DesignFrontToBack(out.Array, analysis.Field, target, rear, design.FreeAmplitudes, report);
    } else {
        const TGround ground =
            analysis.Field.Model == TFieldModel::OverGround ? analysis.Field.Ground : TGround{};
        out.Refusal = DesignMaxDirectivity(out.Array, ground, target, report);
    }
    if (out.Refusal) {
        out.Array = analysis.Session.Model;
        return out;
    }
    if (!front && report.SensitivityDb > kSuperDirectiveDb) {
        out.Warning = TrFormat(
            "the design is super-directive: its currents are %s dB larger than a uniform "
            "excitation's for its field",
            {FormatFixed(report.SensitivityDb, 18, 1)});
    }
    return out;
}

long double DesignedRatioDb(const TPatternResult& designed, TDesignGoal goal) {
    const auto& metrics = designed.Metrics;
    if (!metrics) return -HUGE_VALL;
    return goal == TDesignGoal::FrontToRear ? metrics->FrontToRearDb : metrics->FrontToBackDb;
}

std::optional<TNoImprovement> CheckImprovement(const TDesignedExcitation& design,
                                               const TDesignTarget& target,
                                               const TPatternResult& designed, TDesignGoal goal) {
    if (!IsFrontRatio(goal)) return std::nullopt;
    // The figure is the design's own as analysed, as `pattern` reports it.
    TNoImprovement no;
    no.BeforeDb = design.InputRatioDb;
    no.AfterDb = DesignedRatioDb(designed, goal);
    no.BeamBearing = DisplayedBearing(designed.Session.Pattern.MaxGainAngle);
    no.AskedBearing = static_cast<int>(target.BearingDegrees);
    if (no.AfterDb >= no.BeforeDb && WithinOneDegree(no.BeamBearing, no.AskedBearing))
        return std::nullopt;
    return no;
}

std::string RatioSummary(const TPatternResult& designed, TDesignGoal goal, int evaluations) {
    return std::string(NameOf<TDesignGoal>(kDesignGoalNames, goal)) + ": " +
           FormatMessage(
               TrPlural("%s dB after %s evaluation", "%s dB after %s evaluations",
                        static_cast<unsigned long>(evaluations)),
               {FigureText(DesignedRatioDb(designed, goal), 2), std::to_string(evaluations)});
}

std::string SensitivitySummary(const TDesignReport& report) {
    return TrFormat("sensitivity: %s dB against a uniform excitation",
                    {FormatFixed(report.SensitivityDb, 18, 2)});
}
