#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/analysis.h"
#include "config/inifile.h"
#include "model/design.h"
#include "model/named.h"

enum class TDesignGoal { MaxDirectivity, Nulls, FrontToBack, FrontToRear };

inline constexpr TNamed<TDesignGoal> kDesignGoalNames[] = {
    {"max-directivity", TDesignGoal::MaxDirectivity},
    {"nulls", TDesignGoal::Nulls},
    {"front-to-back", TDesignGoal::FrontToBack},
    {"front-to-rear", TDesignGoal::FrontToRear}};

struct TDesignRequest {
    TDesignGoal Goal = TDesignGoal::MaxDirectivity;
    std::vector<long double> Nulls;  // compass degrees, for the nulls goal
    bool FreeAmplitudes = false;     // front-to-back and front-to-rear may change amplitudes
};

// Beyond this the currents are much larger than the field they make: the design is
// super-directive, lossy and narrow-band in a real antenna.
inline constexpr long double kSuperDirectiveDb = 10;

// Designs the excitation for the goal towards the target in place, in the analysed array's
// model: on the wires as solved where the analysis has them (the designed currents written as
// the file keeps them, the drive voltages that carry them with a voltage feed), otherwise on
// the ideal elements in the analysis' field. Free amplitudes apply to the front-to-back and
// front-to-rear goals. Nullopt, or why the array cannot meet the goal.
std::optional<TRefusal> DesignExcitation(TArray& array, const TPatternResult& analysis,
                                         TDesignGoal goal, const TDesignTarget& target,
                                         bool freeAmplitudes, TDesignReport& report);

// The ratio the goal seeks (front-to-back or front-to-rear, dB) of an analysed design, as
// `pattern` reports it of the file; minus infinity where there are no metrics.
long double DesignedRatioDb(const TPatternResult& designed, TDesignGoal goal);

// "front-to-back: 41.20 dB after 312 evaluations": the ratio of the design as analysed.
std::string RatioSummary(const TPatternResult& designed, TDesignGoal goal, int evaluations);

// A designed excitation, not yet written: the file as it will be, and its analysis.
struct TDesignOutcome {
    std::optional<TIniFile> File;
    std::optional<TPatternResult> Result;
    std::string Summary;                 // the lines printed after the result's report
    std::optional<std::string> Warning;  // a super-directive design
};

// Designs the excitation of the analysed array (start, from request) for the goal, towards
// `bearing` (the maximum's when none) at the analysis' elevation, as it will be written into
// outFile, and analyses that text as `pattern` would analyse the file. Throws EUsageError
// for a goal the array cannot meet, and std::runtime_error when a front-to-back or
// front-to-rear design does not improve on the input at the bearing (both figures named):
// such a design is not to be written.
TDesignOutcome DesignArray(const TAnalysisRequest& request, const TPatternResult& start,
                           const TDesignRequest& design, std::optional<int> bearing,
                           const std::string& outFile);
