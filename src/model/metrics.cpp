#include "model/metrics.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <utility>

namespace {

constexpr long double kNullDb = -40;
// A lobe whose peak is this close below the maximum's is a main lobe too: the mirror beam of a
// broadside line equals the main beam but for rounding.
constexpr long double kMainLobeDb = -0.01;
constexpr long double kBearingTolerance = 1e-8L;  // degrees
constexpr long double kBracketTolerance = 1e-3L;  // degrees, of the fast search
// Sums of unit phasors that are equal, or zero, in exact arithmetic differ in their last
// bits: a level, or a rise, within this fraction of the maximum is rounding.
constexpr long double kRoundingNoise = 1e-12L;

// The continuous pattern with every value it gave kept: the nulls' searches repeat the first
// nulls' on the same brackets, and a lobe's peak is read again once placed. A value kept is the
// function's own for that argument; a NaN, which no map can order, is never kept.
class TRememberedPattern {
  public:
    explicit TRememberedPattern(const TPatternFunction& f) : Function(f) {}

    long double operator()(long double az) {
        if (std::isnan(az)) return Function(az);
        const auto [at, added] = Values.try_emplace(az, 0);
        if (added) at->second = Function(az);
        return at->second;
    }

  private:
    const TPatternFunction& Function;
    std::map<long double, long double> Values;
};

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

// Number of samples from offset `from`, in the direction `step`, down to the first local
// minimum.
int LobeExtent(const TLevels& levels, int from, int step, int limit) {
    const long double tolerance = levels.Raw(0) * kRoundingNoise;
    int k = 0;
    while (k < limit &&
           levels.Raw(from + (k + 1) * step) <= levels.Raw(from + k * step) + tolerance) {
        ++k;
    }
    return k;
}

// A lobe of the samples, as offsets from the maximum: it rises from a local minimum to its
// peak and falls to the next minimum, which it shares with the lobe after it.
struct TLobe {
    int First = 0;
    int Peak = 0;
    int Last = 0;
};

// The main lobe, then the others clockwise round to its far side; a rise or fall within
// rounding of the maximum neither ends nor starts a lobe.
std::vector<TLobe> Lobes(const TLevels& levels) {
    const int right = LobeExtent(levels, 0, +1, kCircleDegrees - 1);
    const int left = LobeExtent(levels, 0, -1, kCircleDegrees - 1 - right);
    std::vector<TLobe> lobes = {{-left, 0, right}};
    const int end = kCircleDegrees - left;
    const long double tolerance = levels.Raw(0) * kRoundingNoise;
    for (int first = right; first + 1 < end; first = lobes.back().Last) {
        int peak = first + 1;
        while (peak + 1 < end && levels.Raw(peak + 1) >= levels.Raw(peak) - tolerance) ++peak;
        lobes.push_back({first, peak, peak + LobeExtent(levels, peak, +1, end - peak)});
    }
    return lobes;
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

// The least value of `exact` between a and b. A fast search, when given, brackets it and the
// exact pattern places it, as a null with a flat bottom (the cardioid's) has its place in
// digits only the exact path holds.
long double Least(const TPatternFunction& exact, const TPatternFunction& fast, long double a,
                  long double b) {
    if (!fast) return Minimum(exact, a, b, kBearingTolerance);
    const long double near = Minimum(fast, a, b, kBracketTolerance);
    return Minimum(exact, near - kBracketTolerance, near + kBracketTolerance, kBearingTolerance);
}

// The compass bearing of a solved azimuth to a millionth of a degree: the search's own
// resolution is finer.
long double ShownBearing(long double azimuth) {
    const long double shown = std::round(AzimuthBearing(azimuth) * 1e6L) / 1e6L;
    return shown >= kCircleDegrees ? shown - kCircleDegrees : shown;
}

// The azimuth of a lobe's peak on the continuous pattern, within a degree of its peak sample;
// a flat top has no point of its own, and there the sample stands for it.
long double LobePeak(const TPatternFunction& exact, const TPatternFunction& fast,
                     long double sample) {
    const TPatternFunction negated = [&exact](long double az) { return -exact(az); };
    TPatternFunction fastNegated;
    if (fast) fastNegated = [&fast](long double az) { return -fast(az); };
    const long double at = Least(negated, fastNegated, sample - 1, sample + 1);
    return exact(at) > exact(sample) ? at : sample;
}

// Marks the main lobes: the lobe at the maximum, and each lobe whose peak on the continuous
// pattern is no further below that lobe's than kMainLobeDb. A lobe with no sample at half
// power is no candidate: it is narrower than the samples resolve.
std::vector<bool> FindMainLobes(const TPattern& pattern, const TLevels& levels,
                                const std::vector<TLobe>& lobes, const TPatternFunction& continuous,
                                const TPatternFunction& bracket, TPatternMetrics& metrics) {
    std::vector<bool> isMain(lobes.size(), false);
    long double level = 0;
    for (std::size_t n = 0; n < lobes.size(); ++n) {
        if (n > 0 && levels.Value(lobes[n].Peak) < pattern.MaxGain * kHalfPowerRatio) continue;
        const long double at = LobePeak(continuous, bracket, levels.PeakIndex() + lobes[n].Peak);
        const long double value = continuous(at);
        if (n == 0) level = value * std::pow(10.0L, kMainLobeDb / 20);
        if (value < level) continue;
        isMain[n] = true;
        metrics.MainLobeBearings.push_back(ShownBearing(at));
    }
    std::sort(metrics.MainLobeBearings.begin(), metrics.MainLobeBearings.end());
    return isMain;
}

// The middle of the stretch about `at` where the pattern is rounding noise (at most `noise`).
// Where a null is double, as at the end-fire of a broadside line, the field vanishes to
// rounding over a stretch in which the search settles anywhere; the pattern's own rise out
// of the noise, either side, is found to a hundredth of the bearing tolerance.
long double NoiseCentre(const TPatternFunction& f, long double at, long double noise) {
    const auto edge = [&](long double step) {
        long double inside = at;
        long double outside = at + step;
        while (f(outside) <= noise) {
            // Beyond the search's bracket the stretch is the pattern's, not rounding's.
            if (std::fabs(step) > 2) return outside;
            inside = outside;
            step *= 2;
            outside = at + step;
        }
        while (std::fabs(outside - inside) > kBearingTolerance / 100) {
            const long double middle = (inside + outside) / 2;
            (f(middle) <= noise ? inside : outside) = middle;
        }
        return inside;
    };
    return (edge(-kBearingTolerance / 100) + edge(kBearingTolerance / 100)) / 2;
}

// The offsets from the maximum of the samples' local minima: where each lobe meets the next,
// the main lobe's first edge included once.
std::vector<int> LobeEdges(const std::vector<TLobe>& lobes) {
    std::vector<int> edges = {lobes.front().First};
    for (const TLobe& lobe : lobes) {
        const int edge = lobe.Last;
        if ((edge - edges.front()) % kCircleDegrees != 0) edges.push_back(edge);
    }
    return edges;
}

// Every null: each run of samples below kNullDb (each part of it between samples that rise
// above their neighbours), and each local minimum of the samples whose
// continuous minimum falls below it between two samples above it (the first nulls of a
// broadside line lie between whole degrees, where no sample reaches them).
void FindNulls(const TPattern& pattern, const TLevels& levels, const std::vector<TLobe>& lobes,
               const TPatternFunction& continuous, const TPatternFunction& bracket,
               TPatternMetrics& metrics) {
    const long double nullLevel = pattern.MaxGain * std::pow(10.0L, kNullDb / 20);
    std::vector<std::pair<long double, long double>> nulls;  // bearing, depth
    const long double noise = pattern.MaxGain * kRoundingNoise;
    const auto add = [&](long double at, long double value) {
        if (value > noise) {
            nulls.push_back({ShownBearing(at), 20 * std::log10(value / pattern.MaxGain)});
        } else {
            nulls.push_back({ShownBearing(NoiseCentre(continuous, at, noise)),
                             -std::numeric_limits<long double>::infinity()});
        }
    };
    for (int k = 1; k < kCircleDegrees; ++k) {
        if (!(levels.Value(k) < nullLevel)) continue;
        const int first = k;
        while (k + 1 < kCircleDegrees && levels.Value(k + 1) < nullLevel) ++k;
        // A sample above both its neighbours parts two nulls that share the run (a null placed
        // beside one of the pattern's own); rounding noise, read as 0, parts none.
        int from = first - 1;
        for (int p = first + 1; p < k; ++p) {
            if (!(levels.Value(p) > levels.Value(p - 1) && levels.Value(p) > levels.Value(p + 1)))
                continue;
            const long double at =
                Least(continuous, bracket, levels.PeakIndex() + from, levels.PeakIndex() + p);
            add(at, continuous(at));
            from = p;
        }
        const long double at =
            Least(continuous, bracket, levels.PeakIndex() + from, levels.PeakIndex() + k + 1);
        add(at, continuous(at));
    }
    for (const int edge : LobeEdges(lobes)) {
        // A minimum in or beside a run of low samples is that run's null.
        if (levels.Value(edge - 1) < nullLevel || levels.Value(edge) < nullLevel ||
            levels.Value(edge + 1) < nullLevel) {
            continue;
        }
        const long double sample = levels.PeakIndex() + edge;
        const long double at = Least(continuous, bracket, sample - 1, sample + 1);
        const long double value = continuous(at);
        if (value < nullLevel) add(at, value);
    }
    std::sort(nulls.begin(), nulls.end());
    for (const auto& [bearing, depth] : nulls) {
        metrics.NullBearings.push_back(bearing);
        metrics.NullDepthsDb.push_back(depth);
    }
}

// The main lobe's width between its first minima on the continuous pattern (degrees): each
// lies within a degree of the sample where the lobe ends.
long double FirstNullBeamwidth(const TLevels& levels, const TLobe& mainLobe,
                               const TPatternFunction& continuous,
                               const TPatternFunction& bracket) {
    const auto minimum = [&](int edge) {
        const long double sample = levels.PeakIndex() + edge;
        const long double at = Least(continuous, bracket, sample - 1, sample + 1);
        return continuous(at) < continuous(sample) ? at : sample;
    };
    return minimum(mainLobe.Last) - minimum(mainLobe.First);
}

}  // namespace

std::optional<TPatternMetrics> ComputeMetrics(const TPattern& pattern,
                                              const TPatternFunction& exact,
                                              const TPatternFunction& fastPath) {
    if (!(pattern.MaxGain > 0)) return std::nullopt;
    TRememberedPattern remembered(exact);
    const TPatternFunction continuous = [&remembered](long double az) { return remembered(az); };
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

    const std::vector<TLobe> lobes = Lobes(levels);
    const TLobe& mainLobe = lobes.front();
    if (lobes.size() > 1) {
        metrics.FirstNullBeamwidthDegrees =
            FirstNullBeamwidth(levels, mainLobe, continuous, fastPath);
    }
    const std::vector<bool> isMain =
        FindMainLobes(pattern, levels, lobes, continuous, fastPath, metrics);
    std::vector<bool> inMainLobe(kCircleDegrees, false);
    for (std::size_t n = 1; n < lobes.size(); ++n) {
        if (!isMain[n]) continue;
        for (int k = lobes[n].First; k <= lobes[n].Last; ++k)
            inMainLobe[static_cast<unsigned>(levels.Index(k))] = true;
    }
    std::optional<long double> highest;
    int highestAt = 0;
    for (int k = mainLobe.Last + 1; k < kCircleDegrees + mainLobe.First; ++k) {
        if (inMainLobe[static_cast<unsigned>(levels.Index(k))]) continue;
        if (!highest || levels.Value(k) > *highest) highestAt = k;
        highest = std::max(highest.value_or(0), levels.Value(k));
    }
    // The side lobe's own peak, where its highest sample is a peak of the samples: it lies
    // between whole degrees as a main lobe's does.
    if (highest && *highest > 0 && levels.Raw(highestAt) >= levels.Raw(highestAt - 1) &&
        levels.Raw(highestAt) >= levels.Raw(highestAt + 1)) {
        const long double sample = levels.PeakIndex() + highestAt;
        highest = std::max(*highest, continuous(LobePeak(continuous, fastPath, sample)));
    }
    if (highest) metrics.SideLobeDb = levels.LevelDb(*highest);

    FindNulls(pattern, levels, lobes, continuous, fastPath, metrics);
    return metrics;
}
