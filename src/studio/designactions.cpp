#include "studio/designactions.h"

#include "app/arraywarnings.h"
#include "app/figures.h"
#include "config/messages.h"
#include "config/numtext.h"
#include "model/focus.h"
#include "studio/reasons.h"

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
    TDesignRequest request;
    request.Goal = goal;
    if (goal == TDesignGoal::Nulls) request.Nulls = nulls;
    const TDesignTarget target = DesignTargetOf(analysis, request, bearing);
    const TDesignedExcitation designed = DesignExcitation(analysis, request, target);
    if (designed.Refusal) return {{}, RefusalText(*designed.Refusal), {}};
    TStudioDocument designedDocument = document;
    designedDocument.Array = designed.Array;
    TActionOutcome outcome = Outcome(designedDocument, static_cast<double>(target.ElevationDegrees));
    if (!IsFrontRatio(goal)) {
        outcome.SensitivityDb = static_cast<double>(designed.Report.SensitivityDb);
        outcome.Message = SensitivitySummary(designed.Report);
        if (designed.Warning) outcome.Message += "; " + *designed.Warning;
        return outcome;
    }
    // The figure the studio will show of the design, not the search's own.
    const TAnalysisOutcome after = Analyse(CaseOf(designedDocument, std::nullopt));
    if (!after.Result) return {{}, StudioReasonText(*after.Fault), {}};
    if (const auto no = CheckImprovement(designed, target, *after.Result, goal)) {
        return {{},
                TrFormat("The design does not improve on the array: %s %s dB with its beam at "
                         "bearing %s, against %s dB now at bearing %s. The array is left as it "
                         "was.",
                         {std::string(NameOf<TDesignGoal>(kDesignGoalNames, goal)),
                          FigureText(no->AfterDb, 2), std::to_string(no->BeamBearing),
                          FigureText(no->BeforeDb, 2), std::to_string(no->AskedBearing)}),
                {}};
    }
    outcome.Message = RatioSummary(*after.Result, goal, designed.Report.Evaluations);
    return outcome;
}
