#include "studio/designactions.h"

#include "app/arraywarnings.h"
#include "app/figures.h"
#include "config/messages.h"
#include "config/numtext.h"
#include "model/design.h"
#include "model/focus.h"

namespace {

TActionOutcome Outcome(const TStudioDocument& document, double elevationDegrees) {
    TActionOutcome outcome;
    outcome.Document = document;
    outcome.SensitivityDb = ExcitationSensitivityDb(document.Array, elevationDegrees);
    return outcome;
}

}  // namespace

TActionOutcome SteerTo(const TStudioDocument& document, int bearing) {
    TStudioDocument steered = document;
    FocusBeam(steered.Array, bearing);
    return Outcome(steered, static_cast<double>(document.ElevationDegrees));
}

TActionOutcome TaperWith(const TStudioDocument& document, const TTaper& taper) {
    TStudioDocument tapered = document;
    if (const auto why = ApplyTaper(tapered.Array, taper)) return {{}, RefusalText(*why), {}};
    return Outcome(tapered, static_cast<double>(document.ElevationDegrees));
}

TActionOutcome DesignFor(const TStudioDocument& document, const TPatternResult& analysis,
                         TDesignGoal goal, int bearing, const std::vector<long double>& nulls) {
    TStudioDocument designed = document;
    TDesignTarget target;
    target.BearingDegrees = bearing;
    target.ElevationDegrees = analysis.Field.ElevationDegrees;
    const auto elevation = static_cast<double>(target.ElevationDegrees);
    TDesignReport report;
    if (goal == TDesignGoal::FrontToBack || goal == TDesignGoal::FrontToRear) {
        const bool rear = goal == TDesignGoal::FrontToRear;
        DesignFrontToBack(designed.Array, analysis.Field, target, rear, false, report);
        TActionOutcome outcome = Outcome(designed, elevation);
        const std::string name(NameOf<TDesignGoal>(kDesignGoalNames, goal));
        outcome.Message =
            name + ": " +
            FormatMessage(TrPlural("%s dB after %s evaluation", "%s dB after %s evaluations",
                                   static_cast<unsigned long>(report.Evaluations)),
                          {FigureText(report.Figure, 2), std::to_string(report.Evaluations)});
        return outcome;
    }
    if (goal == TDesignGoal::Nulls) target.NullBearings = nulls;
    const TGround ground =
        analysis.Field.Model == TFieldModel::OverGround ? analysis.Field.Ground : TGround{};
    if (const auto why = DesignMaxDirectivity(designed.Array, ground, target, report)) {
        return {{}, RefusalText(*why), {}};
    }
    TActionOutcome outcome = Outcome(designed, elevation);
    outcome.SensitivityDb = static_cast<double>(report.SensitivityDb);
    outcome.Message = TrFormat("sensitivity: %s dB against a uniform excitation",
                               {FormatFixed(report.SensitivityDb, 18, 2)});
    if (report.SensitivityDb > kSuperDirectiveDb) {
        outcome.Message +=
            "; " + TrFormat(
                       "the design is super-directive: its currents are %s dB larger than a "
                       "uniform excitation's for its field",
                       {FormatFixed(report.SensitivityDb, 18, 1)});
    }
    return outcome;
}
