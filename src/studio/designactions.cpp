#include "studio/designactions.h"

#include "app/arraywarnings.h"
#include "app/figures.h"
#include "config/messages.h"
#include "config/numtext.h"
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
    if (goal == TDesignGoal::Nulls) target.NullBearings = nulls;
    const auto elevation = static_cast<double>(target.ElevationDegrees);
    TDesignReport report;
    if (const auto why = DesignExcitation(designed.Array, analysis, goal, target, false, report)) {
        return {{}, RefusalText(*why), {}};
    }
    TActionOutcome outcome = Outcome(designed, elevation);
    if (goal == TDesignGoal::FrontToBack || goal == TDesignGoal::FrontToRear) {
        // The figure the studio will show of the design, not the search's own.
        outcome.Message = RatioSummary(Analyse(AnalysisRequestOf(designed, std::nullopt)), goal,
                                       report.Evaluations);
        return outcome;
    }
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
