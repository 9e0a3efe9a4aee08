#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/analysis.h"
#include "app/designpolicy.h"
#include "model/taper.h"
#include "studio/document.h"

// What a design tool makes of the document: the document after the step, or none when the
// array refuses it, and the line the studio shows about it in the reader's language.
struct TActionOutcome {
    std::optional<TStudioDocument> Document;
    std::string Message;  // the refusal, or what the design reached
    // The currents against the field they make (dB, 0 for a uniform beam), where anything radiates.
    std::optional<double> SensitivityDb;
};

// The phases of the enabled emitters steered to a whole bearing, as the classic window focuses.
TActionOutcome SteerTo(const TStudioDocument& document, int bearing);

// The amplitudes of a line of evenly spaced emitters set by the taper.
TActionOutcome TaperWith(const TStudioDocument& document, const TTaper& taper);

// The excitation designed for the goal towards the bearing (degrees) at the analysis'
// elevation, in its field: greatest directivity, with exact nulls at the bearings for the nulls
// goal, or the best front-to-back or front-to-rear ratio.
TActionOutcome DesignFor(const TStudioDocument& document, const TPatternResult& analysis,
                         TDesignGoal goal, int bearing, const std::vector<long double>& nulls);
