#include "model/metrics.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace {

constexpr long double kNullDb = -40;
constexpr long double kNullTolerance = 1e-8L;     // degrees
constexpr long double kBracketTolerance = 1e-3L;  // degrees, of the fast search
// Sums of unit phasors that are equal, or zero, in exact arithmetic differ in their last
// bits: a level, or a rise, within this fraction of the maximum is rounding.
constexpr long double kRoundingNoise = 1e-12L;

class TLevels {
  public:
    TLevels(const TPattern& pattern, int peak) : Pattern(pattern), Peak(peak) {}

    // The sample `offset` degrees from the maximum, clockwise in index order; noise is 0.
    long double Value(int offset) const {
        const long double v = Pattern.Samples[static_cast<unsigned>(Index(offset))];
        return v <= Pattern.MaxGain * kRoundingNoise ? 0 : v;
    }
    long double Raw(int offset) const {
        return Pattern.Samples[static_cast<unsigned>(Index(offset))];
    }
    long double LevelDb(long double v) const {
        if (v <= 0) return -std::numeric_limits<long double>::infinity();
        return 20 * std::log10(v / Pattern.MaxGain);
    }
    // The maximum against a sample, in dB: infinite against 0.
    long double RatioDb(long double v) const {
        return v > 0 ? 20 * std::log10(Pattern.MaxGain / v)
                     : std::numeric_limits<long double>::infinity();
    }
    int Index(int offset) const {
        return ((Peak + offset) % kCircleDegrees + kCircleDegrees) % kCircleDegrees;
    }
    int PeakIndex() const { return Peak; }

  private:
    const TPattern& Pattern;
    int Peak;
};

// Number of samples after the maximum, in one direction, down to the first local minimum.
int LobeExtent(const TLevels& levels, int step, int limit) {
    const long double tolerance = levels.Raw(0) * kRoundingNoise;
    int k = 0;
    while (k < limit && levels.Raw((k + 1) * step) <= levels.Raw(k * step) + tolerance) ++k;
    return k;
}

// The azimuth (degrees) of the continuous pattern's least value between a and b, by golden
// section: a null found on whole-degree samples lies exactly where the pattern vanishes.
long double Minimum(const TPatternFunction& f, long double a, long double b,
                    long double tolerance) {
    const long double ratio = (std::sqrt(5.0L) - 1) / 2;
    long double c = b - ratio * (b - a);
    long double d = a + ratio * (b - a);
    long double fc = f(c), fd = f(d);
    while (b - a > tolerance) {
        if (fc < fd) {
            b = d;
            d = c;
            fd = fc;
            c = b - ratio * (b - a);
            fc = f(c);
        } else {
            a = c;
            c = d;
            fc = fd;
            d = a + ratio * (b - a);
            fd = f(d);
        }
    }
    return (a + b) / 2;
}

// A fast search brackets each null; the exact pattern places it, as a null with a flat bottom
// (the cardioid's) has its place in digits only the exact path holds.
void FindNulls(const TPattern& pattern, const TLevels& levels, const TPatternFunction& continuous,
               const TPatternFunction& bracket, TPatternMetrics& metrics) {
    const long double nullLevel = pattern.MaxGain * std::pow(10.0L, kNullDb / 20);
    std::vector<std::pair<long double, long double>> nulls;  // bearing, depth
    for (int k = 1; k < kCircleDegrees; ++k) {
        if (!(levels.Value(k) < nullLevel)) continue;
        const int first = k;
        while (k + 1 < kCircleDegrees && levels.Value(k + 1) < nullLevel) ++k;
        const long double from = levels.PeakIndex() + first - 1;
        const long double to = levels.PeakIndex() + k + 1;
        long double at = 0;
        if (bracket) {
            const long double near = Minimum(bracket, from, to, kBracketTolerance);
            at = Minimum(continuous, near - kBracketTolerance, near + kBracketTolerance,
                         kNullTolerance);
        } else {
            at = Minimum(continuous, from, to, kNullTolerance);
        }
        // Shown to a millionth of a degree: the search's own resolution is finer.
        const long double shown = std::round(AzimuthBearing(at) * 1e6L) / 1e6L;
        const long double value = continuous(at);
        const long double depth = value <= pattern.MaxGain * kRoundingNoise
                                      ? -std::numeric_limits<long double>::infinity()
                                      : 20 * std::log10(value / pattern.MaxGain);
        nulls.push_back({shown >= kCircleDegrees ? shown - kCircleDegrees : shown, depth});
    }
    std::sort(nulls.begin(), nulls.end());
    for (const auto& [bearing, depth] : nulls) {
        metrics.NullBearings.push_back(bearing);
        metrics.NullDepthsDb.push_back(depth);
    }
}

}  // namespace

std::optional<TPatternMetrics> ComputeMetrics(const TPattern& pattern,
                                              const TPatternFunction& continuous,
                                              const TPatternFunction& nullSearch) {
    if (!(pattern.MaxGain > 0)) return std::nullopt;
    const TLevels levels(pattern, pattern.MaxGainAngle % kCircleDegrees);
    TPatternMetrics metrics;

    metrics.HalfPower = HalfPowerPoints(pattern, continuous);
    if (metrics.HalfPower) {
        metrics.BeamwidthDegrees = metrics.HalfPower->Upper - metrics.HalfPower->Lower;
    }

    metrics.FrontToBackDb = levels.RatioDb(levels.Value(kCircleDegrees / 2));
    long double rear = 0;
    for (int k = kCircleDegrees / 4 + 1; k < kCircleDegrees * 3 / 4; ++k)
        rear = std::max(rear, levels.Value(k));
    metrics.FrontToRearDb = levels.RatioDb(rear);
    metrics.FrontToSideDb = levels.RatioDb(
        std::max(levels.Value(kCircleDegrees / 4), levels.Value(-kCircleDegrees / 4)));

    const int lobeRight = LobeExtent(levels, +1, kCircleDegrees - 1);
    const int lobeLeft = LobeExtent(levels, -1, kCircleDegrees - 1 - lobeRight);
    if (lobeRight + lobeLeft < kCircleDegrees - 1) {
        metrics.FirstNullBeamwidthDegrees = lobeRight + lobeLeft;
        long double highest = 0;
        for (int k = lobeRight + 1; k < kCircleDegrees - lobeLeft; ++k) {
            highest = std::max(highest, levels.Value(k));
        }
        metrics.SideLobeDb = levels.LevelDb(highest);
    }

    FindNulls(pattern, levels, continuous, nullSearch, metrics);
    return metrics;
}
