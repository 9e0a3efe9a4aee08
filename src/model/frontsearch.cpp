#include "model/frontsearch.h"

#include <algorithm>
#include <random>

namespace {

// How far below the front every sample 1 degree or more from the bearing must stay: well
// above the fast path's rounding (about 1e-15), so that the exact pattern's maximum stays at
// the bearing, yet below the fall of a broad beam one degree off its top (a cardioid's, 7e-9).
constexpr double kBeamMargin = 1e-10;
// Scores below every ratio a beam at the bearing can have (0 dB and up): a design whose far
// samples only tie the front (a line's mirror lobe), then one whose beam is elsewhere.
constexpr double kTieScore = -1000;
constexpr double kOffBeamScore = -2000;

struct TSimplexResult {
    std::vector<double> Best;
    double Value = -HUGE_VAL;
};

using TObjective = std::function<double(const std::vector<double>&)>;

// Nelder-Mead maximisation of objective from the simplex of start and one step along each
// axis. Stops once it reaches goal, when the simplex has shrunk to a point, or after
// maxEvaluations. Not GSL's nmsimplex2: it contracts and shrinks by other rules and stops on
// the simplex's mean size, so from the same starts it reaches other excitations (115 of 192
// front-to-back and front-to-rear designs of the example arrays changed, some from refused to
// designed), and its error handler aborts on the unbounded score of an excitation without a
// front.
TSimplexResult Maximise(const TObjective& objective, const std::vector<double>& start,
                        const std::vector<double>& steps, double goal, int maxEvaluations) {
    int evaluations = 0;
    const auto f = [&](const std::vector<double>& x) {
        ++evaluations;
        return objective(x);
    };
    const std::size_t dims = start.size();
    std::vector<std::vector<double>> simplex(dims + 1, start);
    for (std::size_t i = 1; i <= dims; ++i) simplex[i][i - 1] += steps[i - 1];
    std::vector<double> values;
    for (const auto& p : simplex) values.push_back(f(p));
    std::vector<std::size_t> order(dims + 1);
    for (;;) {
        for (std::size_t i = 0; i <= dims; ++i) order[i] = i;
        std::stable_sort(order.begin(), order.end(),
                         [&](std::size_t a, std::size_t b) { return values[a] > values[b]; });
        const std::size_t top = order.front();
        const std::size_t worst = order.back();
        double size = 0;
        for (const auto& p : simplex) {
            for (std::size_t d = 0; d < dims; ++d) {
                size = std::max(size, std::fabs(p[d] - simplex[top][d]));
            }
        }
        if (values[top] >= goal || evaluations >= maxEvaluations || size < 1e-6) {
            return {simplex[top], values[top]};
        }
        std::vector<double> centre(dims, 0);
        for (std::size_t i = 0; i < dims; ++i) {
            for (std::size_t d = 0; d < dims; ++d) centre[d] += simplex[order[i]][d] / dims;
        }
        const auto along = [&](double t) {
            std::vector<double> p(dims);
            for (std::size_t d = 0; d < dims; ++d) {
                p[d] = centre[d] + t * (simplex[worst][d] - centre[d]);
            }
            return p;
        };
        const auto reflected = along(-1);
        const double r = f(reflected);
        if (r > values[top]) {
            const auto expanded = along(-2);
            const double x = f(expanded);
            simplex[worst] = x > r ? expanded : reflected;
            values[worst] = std::max(x, r);
        } else if (r > values[order[dims - 1]]) {
            simplex[worst] = reflected;
            values[worst] = r;
        } else {
            const auto contracted = along(0.5);
            const double c = f(contracted);
            if (c > values[worst]) {
                simplex[worst] = contracted;
                values[worst] = c;
            } else {
                for (std::size_t i = 1; i <= dims; ++i) {
                    auto& p = simplex[order[i]];
                    for (std::size_t d = 0; d < dims; ++d) {
                        p[d] = simplex[top][d] + 0.5 * (p[d] - simplex[top][d]);
                    }
                    values[order[i]] = f(p);
                }
            }
        }
    }
}

}  // namespace

TFrontFound SearchFrontRatio(const TFrontSearch& search, const TRingField& field) {
    const std::size_t dims = search.Input.size();
    const std::size_t n = search.InPhase.size();
    const double bearing = search.BearingDegrees;
    const double cap = static_cast<double>(kDesignDepthDb);
    const bool rear = search.Rear;
    struct TJudgement {
        double Ratio = 0;  // dB, capped
        double Score = -HUGE_VAL;
    };
    std::vector<double> values(kRingValues);
    // The ratio, and the score the search ranks by: the ratio where no sample rises to the
    // front, then ties of far samples with it, then the beam off the bearing by how far the
    // largest sample exceeds the front.
    const auto judge = [&](const std::vector<double>& x) {
        field(x, values);
        TJudgement j;
        const double front = values[kCircleDegrees];
        if (!(front > 0)) return j;
        double back = rear ? 0 : values[kCircleDegrees + 1];
        double near = 0, far = 0;
        for (int d = 0; d < kCircleDegrees; ++d) {
            const double v = values[static_cast<std::size_t>(d)];
            const double apart = Separation<double>(d, bearing);
            double& largest = apart < 1 ? near : far;
            largest = std::max(largest, v);
            if (rear && apart > 90) back = std::max(back, v);
        }
        j.Ratio = std::min(cap, 20 * std::log10(front / std::max(back, front * 1e-20)));
        if (near > front || far > front) {
            j.Score = kOffBeamScore - (std::max(near, far) / front - 1);
        } else {
            j.Score = far > front * (1 - kBeamMargin) ? kTieScore + j.Ratio : j.Ratio;
        }
        return j;
    };
    int evaluations = 0;
    const TObjective score = [&](const std::vector<double>& x) {
        ++evaluations;
        return judge(x).Score;
    };

    // The input, the excitation in phase at the bearing, then random ones.
    std::vector<std::vector<double>> starts = {search.Input, std::vector<double>(dims, 1)};
    std::copy(search.InPhase.begin(), search.InPhase.end(), starts[1].begin());
    std::mt19937_64 random(20);
    std::uniform_real_distribution<double> phase(-0.5, 0.5);
    std::uniform_real_distribution<double> level(0.2, 1);
    constexpr int kRandomStarts = 4;
    for (int s = 0; s < kRandomStarts; ++s) {
        std::vector<double> x(dims);
        for (std::size_t d = 0; d < dims; ++d) x[d] = d < n ? phase(random) : level(random);
        starts.push_back(x);
    }
    // A simplex of phase steps `size` periods and amplitude steps twice that, inwards from
    // the amplitudes' bounds.
    const auto steps = [&](const std::vector<double>& x, double size) {
        std::vector<double> s(dims);
        for (std::size_t d = 0; d < dims; ++d)
            s[d] = d < n ? size : x[d] > 0.5 ? -2 * size : 2 * size;
        return s;
    };
    const int budget = 100 * static_cast<int>(dims + 1);
    TSimplexResult best{starts[0], score(starts[0])};
    for (const auto& start : starts) {
        if (best.Value >= cap) break;
        const TSimplexResult found = Maximise(score, start, steps(start, 0.1), cap, budget);
        if (found.Value > best.Value) best = found;
    }
    // The front-to-rear ratio is the least of many lobes' and Nelder-Mead stalls on its
    // edges: fresh simplices from the best point go on while they gain.
    constexpr int kRestarts = 5;
    constexpr double kGainDb = 1e-3;
    for (int r = 0; r < kRestarts && best.Value < cap; ++r) {
        const TSimplexResult found =
            Maximise(score, best.Best, steps(best.Best, 0.05), cap, budget);
        const bool gained = found.Value > best.Value + kGainDb;
        if (found.Value > best.Value) best = found;
        if (!gained) break;
    }
    return {best.Best, judge(best.Best).Ratio, evaluations};
}
