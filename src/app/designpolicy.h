#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/analysis.h"
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

// The target of a design of the analysed array: towards the bearing asked for (the maximum's
// when none) at the analysis' elevation, with the request's nulls.
TDesignTarget DesignTargetOf(const TPatternResult& analysis, const TDesignRequest& design,
                             std::optional<int> bearing);

// A designed excitation, not yet judged: the array with it, in the analysed array's model.
struct TDesignedExcitation {
    TArray Array;
    TDesignReport Report;
    // The input's ratio at the bearing (front-to-back and front-to-rear goals).
    long double InputRatioDb = 0;
    std::optional<TRefusal> Refusal;  // why the array cannot meet the goal; Array then stands
    // The super-directive warning of a greatest-directivity or nulls design, none below the limit.
    std::optional<std::string> Warning;
};

// Designs the excitation for the goal towards the target: on the wires as solved where the
// analysis has them (the designed currents written as the file keeps them; with a voltage feed
// the drive voltages that carry them, V = Z I), otherwise on the ideal elements in the
// analysis' field. Free amplitudes apply to the front-to-back and front-to-rear goals.
TDesignedExcitation DesignExcitation(const TPatternResult& analysis, const TDesignRequest& design,
                                     const TDesignTarget& target);

bool IsFrontRatio(TDesignGoal goal);

// The ratio the goal seeks (front-to-back or front-to-rear, dB) of an analysed design, as
// `pattern` reports it of the file; minus infinity where there are no metrics.
long double DesignedRatioDb(const TPatternResult& designed, TDesignGoal goal);

// A front-to-back or front-to-rear design that does not improve on its input, or whose beam
// left the bearing by more than a degree: not to be kept.
struct TNoImprovement {
    long double BeforeDb = 0;
    long double AfterDb = 0;
    int BeamBearing = 0;
    int AskedBearing = 0;
};
// Nullopt where the design is to be kept; always for the other goals.
std::optional<TNoImprovement> CheckImprovement(const TDesignedExcitation& design,
                                               const TDesignTarget& target,
                                               const TPatternResult& designed, TDesignGoal goal);

// The lines a design reports of itself: "front-to-back: 41.20 dB after 312 evaluations" of the
// ratio as analysed, or the sensitivity of the currents against a uniform excitation.
std::string RatioSummary(const TPatternResult& designed, TDesignGoal goal, int evaluations);
std::string SensitivitySummary(const TDesignReport& report);
