#include "model/spheresearch.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "model/angles.h"
#include "model/fieldengine.h"
#include "model/pairintegral.h"
#include "model/searchbounds.h"

namespace {

constexpr double kTwoPi = 2 * TReal<double>::kPi;
// Grid steps in direction cosines: a lobe of an aperture D is about 1 / D wide there, so four
// points a lobe, and no coarser than this for small arrays and the element's own shape.
constexpr double kLobeSamples = 4;
constexpr double kCoarsestStep = 0.1;
constexpr std::size_t kStarts = 4;
// Newton's method settles in a handful of steps. Where the power is level to rounding (a ring
// of equal maxima) the climb would wander along it; it stops well inside the search's budget.
constexpr int kNewtonSteps = 60;
static_assert(kNewtonSteps <= kRefinementSteps);
// A step this short (direction cosines or radians) leaves the level exact to far below 1e-12.
constexpr double kConverged = 1e-10;

// The power pattern of the free-space field in direction cosines along the window's azimuth,
// p = cos e sin az and q = cos e cos az: the element's power factor (a polynomial) times the
// array factor |sum a exp(j 2 pi (x p + y q + phase))|^2.
class TPowerPattern {
  public:
    // Amplitudes scaled by a power of two: the power of any array stays in range, and the
    // place of its maximum is the same.
    explicit TPowerPattern(const TArray& array)
        : Sources(ScaledSources(array).Sources), Type(array.EmitterType) {}

    // The value and its first and second derivatives at (p, q).
    struct TLocal {
        double V = 0, P = 0, Q = 0, PP = 0, PQ = 0, QQ = 0;
    };

    TLocal At(double p, double q) const {
        // The array factor A and its derivatives, as sums of a exp(j theta) times powers of
        // 2 pi x and 2 pi y.
        double ar = 0, ai = 0, pr = 0, pi = 0, qr = 0, qi = 0;
        double ppr = 0, ppi = 0, pqr = 0, pqi = 0, qqr = 0, qqi = 0;
        for (unsigned n = 0; n < static_cast<unsigned>(Sources.Count); ++n) {
            const double t = kTwoPi * (Sources.X[n] * p + Sources.Y[n] * q + Sources.Phase[n]);
            double sine = 0;
            double cosine = 0;
            FastSinCos(t, sine, cosine);
            const double c = Sources.Amplitude[n] * cosine;
            const double s = Sources.Amplitude[n] * sine;
            const double kx = kTwoPi * Sources.X[n];
            const double ky = kTwoPi * Sources.Y[n];
            ar += c;
            ai += s;
            // d/dp exp(j theta) = j kx exp(j theta)
            pr -= kx * s;
            pi += kx * c;
            qr -= ky * s;
            qi += ky * c;
            ppr -= kx * kx * c;
            ppi -= kx * kx * s;
            pqr -= kx * ky * c;
            pqi -= kx * ky * s;
            qqr -= ky * ky * c;
            qqi -= ky * ky * s;
        }
        TLocal g;  // |A|^2
        g.V = ar * ar + ai * ai;
        g.P = 2 * (ar * pr + ai * pi);
        g.Q = 2 * (ar * qr + ai * qi);
        g.PP = 2 * (pr * pr + pi * pi + ar * ppr + ai * ppi);
        g.QQ = 2 * (qr * qr + qi * qi + ar * qqr + ai * qqi);
        g.PQ = 2 * (pr * qr + pi * qi + ar * pqr + ai * pqi);
        const TLocal e = ElementPower(p, q);
        TLocal f;
        f.V = e.V * g.V;
        f.P = e.P * g.V + e.V * g.P;
        f.Q = e.Q * g.V + e.V * g.Q;
        f.PP = e.PP * g.V + 2 * e.P * g.P + e.V * g.PP;
        f.QQ = e.QQ * g.V + 2 * e.Q * g.Q + e.V * g.QQ;
        f.PQ = e.PQ * g.V + e.P * g.Q + e.Q * g.P + e.V * g.PQ;
        return f;
    }

    // 1 - (axis . u)^2 of the short dipole; type 2 lies along p, type 3 along q.
    TLocal ElementPower(double p, double q) const {
        switch (Type) {
            case etVerticalDipole:
                return {p * p + q * q, 2 * p, 2 * q, 2, 0, 2};
            case etHorizontalDipoleNS:
                return {1 - p * p, -2 * p, 0, -2, 0, 0};
            case etHorizontalDipoleWE:
                return {1 - q * q, 0, -2 * q, 0, 0, -2};
            default:
                return {1, 0, 0, 0, 0, 0};
        }
    }

    const TSources<double>& Radiating() const { return Sources; }

  private:
    TSources<double> Sources;
    int Type;
};

struct TCandidate {
    double P = 0, Q = 0, Power = -1;
};

// The power on a grid over the disk of directions, row by row from separable phasors: the
// exponentials of x p and y q are taken once a column and once a row, so the inner loop is
// multiply-adds the compiler vectorises. Keeps the strongest local maxima.
std::vector<TCandidate> GridCandidates(const TPowerPattern& pattern, int points) {
    const TSources<double>& s = pattern.Radiating();
    const auto n = static_cast<std::size_t>(points);
    const double step = 2.0 / (points - 1);
    const auto coordinate = [&](std::size_t i) { return -1 + step * static_cast<double>(i); };
    const auto count = static_cast<std::size_t>(s.Count);
    std::vector<double> colRe(count * n), colIm(count * n);
    std::vector<double> rowRe(count * n), rowIm(count * n);
    for (std::size_t k = 0; k < count; ++k) {
        for (std::size_t i = 0; i < n; ++i) {
            const double u = coordinate(i);
            const double tc = kTwoPi * (s.X[k] * u + s.Phase[k]);
            double sine = 0;
            double cosine = 0;
            FastSinCos(tc, sine, cosine);
            colRe[k * n + i] = s.Amplitude[k] * cosine;
            colIm[k * n + i] = s.Amplitude[k] * sine;
            FastSinCos(kTwoPi * s.Y[k] * u, rowIm[k * n + i], rowRe[k * n + i]);
        }
    }
    // Three rows of power at a time; outside the disk is -1, below any power.
    std::array<std::vector<double>, 3> rows;
    for (auto& r : rows) r.assign(n, -1);
    std::vector<double> re(n), im(n);
    std::vector<TCandidate> best;
    const auto consider = [&](std::size_t j) {
        // The middle row, j, is complete with its neighbours above and below.
        const std::vector<double>& above = rows[(j + 2) % 3];
        const std::vector<double>& middle = rows[j % 3];
        const std::vector<double>& below = rows[(j + 1) % 3];
        for (std::size_t i = 0; i < n; ++i) {
            const double v = middle[i];
            if (v < 0) continue;
            bool peak = true;
            for (std::size_t di = (i > 0 ? i - 1 : i); di <= std::min(i + 1, n - 1); ++di) {
                peak = peak && above[di] <= v && below[di] <= v && middle[di] <= v;
            }
            if (!peak) continue;
            best.push_back({coordinate(i), coordinate(j), v});
            std::sort(best.begin(), best.end(),
                      [](const TCandidate& a, const TCandidate& b) { return a.Power > b.Power; });
            if (best.size() > kStarts) best.pop_back();
        }
    };
    for (std::size_t j = 0; j <= n; ++j) {
        std::vector<double>& power = rows[j % 3];
        if (j < n) {
            const double q = coordinate(j);
            std::fill(re.begin(), re.end(), 0.0);
            std::fill(im.begin(), im.end(), 0.0);
            for (std::size_t k = 0; k < count; ++k) {
                const double yr = rowRe[k * n + j];
                const double yi = rowIm[k * n + j];
                const double* cr = &colRe[k * n];
                const double* ci = &colIm[k * n];
                for (std::size_t i = 0; i < n; ++i) {
                    re[i] += cr[i] * yr - ci[i] * yi;
                    im[i] += cr[i] * yi + ci[i] * yr;
                }
            }
            for (std::size_t i = 0; i < n; ++i) {
                const double p = coordinate(i);
                const double inside = p * p + q * q <= 1 ? 1.0 : 0.0;
                const double e = pattern.ElementPower(p, q).V;
                power[i] = inside * e * (re[i] * re[i] + im[i] * im[i]) - (1 - inside);
            }
        } else {
            std::fill(power.begin(), power.end(), -1.0);
        }
        if (j >= 1) consider(j - 1);
    }
    return best;
}

// Along the horizon circle p = sin a, q = cos a: Newton's method in a where the pattern is
// concave, steps of a few degrees uphill elsewhere.
TCandidate ClimbHorizon(const TPowerPattern& pattern, double a) {
    constexpr double kAscentStep = 0.05;  // radians
    constexpr double kLongestStep = 0.2;
    TPowerPattern::TLocal f = pattern.At(std::sin(a), std::cos(a));
    for (int step = 0; step < kNewtonSteps; ++step) {
        const double s = std::sin(a), c = std::cos(a);
        const double d1 = f.P * c - f.Q * s;
        const double d2 = f.PP * c * c - 2 * f.PQ * s * c + f.QQ * s * s - f.P * s - f.Q * c;
        const double move = std::clamp(d2 < 0 ? -d1 / d2 : std::copysign(kAscentStep, d1),
                                       -kLongestStep, kLongestStep);
        double t = 1;
        TPowerPattern::TLocal next;
        for (; t > 1e-9; t /= 2) {
            next = pattern.At(std::sin(a + t * move), std::cos(a + t * move));
            if (next.V >= f.V) break;
        }
        if (t <= 1e-9) break;
        a += t * move;
        f = next;
        if (std::fabs(t * move) < kConverged) break;
    }
    return {std::sin(a), std::cos(a), f.V};
}

// Newton's method where the pattern is concave, steepest ascent elsewhere, with backtracking
// inside the disk; a climb that reaches its rim goes on along the horizon.
TCandidate Climb(const TPowerPattern& pattern, TCandidate c) {
    constexpr double kAscentStep = 0.05;  // direction cosines
    for (int step = 0; step < kNewtonSteps; ++step) {
        const TPowerPattern::TLocal f = pattern.At(c.P, c.Q);
        c.Power = f.V;
        const double det = f.PP * f.QQ - f.PQ * f.PQ;
        double dp = 0, dq = 0;
        if (f.PP < 0 && det > 0) {
            dp = (-f.QQ * f.P + f.PQ * f.Q) / det;
            dq = (f.PQ * f.P - f.PP * f.Q) / det;
        } else {
            const double norm = std::hypot(f.P, f.Q);
            if (!(norm > 0)) break;
            dp = kAscentStep * f.P / norm;
            dq = kAscentStep * f.Q / norm;
        }
        TCandidate next;
        bool rim = false;
        double t = 1;
        for (; t > 1e-9; t /= 2) {
            next = {c.P + t * dp, c.Q + t * dq, -1};
            const double r = std::hypot(next.P, next.Q);
            rim = r > 1;
            if (rim) next = {next.P / r, next.Q / r, -1};
            next.Power = pattern.At(next.P, next.Q).V;
            if (next.Power >= c.Power) break;
        }
        if (t <= 1e-9) break;
        if (rim) {
            const TCandidate edge = ClimbHorizon(pattern, std::atan2(next.P, next.Q));
            return edge.Power > c.Power ? edge : c;
        }
        const double moved = std::hypot(next.P - c.P, next.Q - c.Q);
        c = next;
        if (moved < kConverged) break;
    }
    return c;
}

}  // namespace

std::optional<TSpherePeak> FindSpherePeak(const TArray& array) {
    if (!SearchableAperture(array)) return std::nullopt;
    const TPowerPattern pattern(array);
    const double step =
        std::min(kCoarsestStep, 1 / (kLobeSamples * static_cast<double>(Aperture(array))));
    const int points = 2 * static_cast<int>(std::ceil(1 / step)) + 1;
    TCandidate best;
    for (const TCandidate& start : GridCandidates(pattern, points)) {
        const TCandidate top = Climb(pattern, start);
        if (top.Power > best.Power) best = top;
    }
    if (best.Power < 0) return std::nullopt;
    const double r = std::min(1.0, std::hypot(best.P, best.Q));
    TSpherePeak peak;
    peak.AzimuthDegrees = std::atan2(best.P, best.Q) / static_cast<double>(kDegree);
    peak.ElevationDegrees = std::atan2(std::sqrt(1 - r * r), r) / static_cast<double>(kDegree);
    return peak;
}
