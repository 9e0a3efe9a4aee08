#include "model/metrics.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr int kCircle = 360;  // distinct samples, one per degree
constexpr long double kEdgeDb = -3;
constexpr long double kNullDb = -40;
// Sums of unit phasors that are equal in exact arithmetic differ in their last bits; a rise
// smaller than this fraction of the maximum does not end the main lobe.
constexpr long double kRiseTolerance = 1e-12L;

class TLevels {
  public:
    TLevels(const TPattern& pattern, int peak) : Samples(pattern), Peak(peak) {}

    // The sample `offset` degrees from the maximum, clockwise in index order.
    long double Value(int offset) const {
        return Samples.Samples[static_cast<unsigned>(Index(offset))];
    }
    long double Db(int offset) const { return LevelDb(Value(offset)); }
    long double LevelDb(long double v) const {
        if (v <= 0) return -std::numeric_limits<long double>::infinity();
        return 20 * std::log10(v / Samples.MaxGain);
    }
    int Index(int offset) const { return ((Peak + offset) % kCircle + kCircle) % kCircle; }

  private:
    const TPattern& Samples;
    int Peak;
};

// Degrees from the maximum to the -3 dB point in one direction (step +1 or -1), by linear
// interpolation in decibels between the last sample at or above -3 dB and the first below.
std::optional<long double> EdgeOffset(const TLevels& levels, int step) {
    for (int k = 1; k < kCircle; ++k) {
        const long double below = levels.Db(k * step);
        if (below >= kEdgeDb) continue;
        const long double above = levels.Db((k - 1) * step);
        if (std::isinf(below)) return static_cast<long double>(k - 1);
        return (k - 1) + (above - kEdgeDb) / (above - below);
    }
    return std::nullopt;
}

// Number of samples after the maximum, in one direction, down to the first local minimum.
int LobeExtent(const TLevels& levels, int step, int limit) {
    const long double tolerance = levels.Value(0) * kRiseTolerance;
    int k = 0;
    while (k < limit && levels.Value((k + 1) * step) <= levels.Value(k * step) + tolerance) ++k;
    return k;
}

long double BearingOfIndex(long double index) {
    return std::fmod(index + 180, kCircle);
}

}  // namespace

std::optional<TPatternMetrics> ComputeMetrics(const TPattern& pattern) {
    if (!(pattern.MaxGain > 0)) return std::nullopt;
    const int peak = pattern.MaxGainAngle % kCircle;
    const TLevels levels(pattern, peak);
    TPatternMetrics metrics;

    const auto right = EdgeOffset(levels, +1);
    const auto left = EdgeOffset(levels, -1);
    if (right && left) metrics.BeamwidthDegrees = *right + *left;

    const long double back = levels.Value(kCircle / 2);
    metrics.FrontToBackDb = back > 0 ? 20 * std::log10(pattern.MaxGain / back)
                                     : std::numeric_limits<long double>::infinity();

    const int lobeRight = LobeExtent(levels, +1, kCircle - 1);
    const int lobeLeft = LobeExtent(levels, -1, kCircle - 1 - lobeRight);
    if (lobeRight + lobeLeft < kCircle - 1) {
        long double highest = 0;
        for (int k = lobeRight + 1; k < kCircle - lobeLeft; ++k) {
            highest = std::max(highest, levels.Value(k));
        }
        metrics.SideLobeDb = levels.LevelDb(highest);
    }

    const long double nullLevel = pattern.MaxGain * std::pow(10.0L, kNullDb / 20);
    for (int k = 1; k < kCircle; ++k) {
        if (!(levels.Value(k) < nullLevel)) continue;
        const int first = k;
        while (k + 1 < kCircle && levels.Value(k + 1) < nullLevel) ++k;
        const long double centre = peak + (first + k) / 2.0L;
        metrics.NullBearings.push_back(BearingOfIndex(centre));
    }
    std::sort(metrics.NullBearings.begin(), metrics.NullBearings.end());
    return metrics;
}
