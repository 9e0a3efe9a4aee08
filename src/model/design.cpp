#include "model/design.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <random>

#include "model/angles.h"
#include "model/fieldengine.h"
#include "model/pairintegral.h"
#include "model/pattern.h"

namespace {

using TComplexD = std::complex<double>;
using TMatrix = std::vector<std::vector<TComplexD>>;

constexpr double kTwoPi = 2 * TReal<double>::kPi;

std::vector<TEmitter*> Enabled(TArray& array) {
    std::vector<TEmitter*> on;
    for (TEmitter& e : array.Emitters) {
        if (e.Enabled) on.push_back(&e);
    }
    return on;
}

// Solves m x = b in place by Gaussian elimination with partial pivoting; false if singular.
bool Solve(TMatrix m, std::vector<TComplexD>& b) {
    const std::size_t n = b.size();
    double scale = 0;
    for (const auto& row : m) {
        for (const TComplexD& v : row) scale = std::max(scale, std::abs(v));
    }
    for (std::size_t c = 0; c < n; ++c) {
        std::size_t pivot = c;
        for (std::size_t r = c + 1; r < n; ++r) {
            if (std::abs(m[r][c]) > std::abs(m[pivot][c])) pivot = r;
        }
        if (!(std::abs(m[pivot][c]) > 1e-13 * scale)) return false;
        std::swap(m[c], m[pivot]);
        std::swap(b[c], b[pivot]);
        for (std::size_t r = c + 1; r < n; ++r) {
            const TComplexD f = m[r][c] / m[c][c];
            for (std::size_t k = c; k < n; ++k) m[r][k] -= f * m[c][k];
            b[r] -= f * b[c];
        }
    }
    for (std::size_t c = n; c-- > 0;) {
        for (std::size_t k = c + 1; k < n; ++k) b[c] -= m[c][k] * b[k];
        b[c] /= m[c][c];
    }
    return true;
}

// The conjugate steering vector exp(+j 2 pi r.u) of compass bearing and elevation (degrees):
// the field is |sum c s|, s = exp(-j 2 pi r.u), for currents c = a exp(j 2 pi Phase).
std::vector<TComplexD> Steering(const std::vector<TEmitter*>& on, long double bearing,
                                long double elevation) {
    const double b = static_cast<double>(bearing * kDegree);
    const double e = static_cast<double>(elevation * kDegree);
    std::vector<TComplexD> v;
    for (const TEmitter* p : on) {
        const double ru = static_cast<double>(p->X) * std::cos(e) * std::sin(b) +
                          static_cast<double>(p->Y) * std::cos(e) * std::cos(b);
        v.push_back(std::polar(1.0, kTwoPi * ru));
    }
    return v;
}

void Write(const std::vector<TEmitter*>& on, const std::vector<TComplexD>& c) {
    double top = 0;
    for (const TComplexD& v : c) top = std::max(top, std::abs(v));
    for (std::size_t k = 0; k < on.size(); ++k) {
        on[k]->Amplitude = std::abs(c[k]) / top;
        on[k]->Phase = std::arg(c[k]) / kTwoPi;
    }
}

}  // namespace

std::optional<TRefusal> DesignMaxDirectivity(TArray& array, const TGround& ground,
                                             const TDesignTarget& target, TDesignReport& report) {
    if (ground.Kind == TGroundKind::Real) {
        return TRefusal{
            Msgid("over real ground the power integral has no closed form; design in free space "
                  "or over perfect ground")};
    }
    const std::vector<TEmitter*> on = Enabled(array);
    const std::size_t n = on.size();
    const bool images = ground.Kind == TGroundKind::Perfect;
    const double image =
        array.EmitterType == etHorizontalDipoleNS || array.EmitterType == etHorizontalDipoleWE ? -1
                                                                                               : 1;
    const double rise = 2 * static_cast<double>(ground.HeightWavelengths);
    TMatrix a(n, std::vector<TComplexD>(n));
    for (std::size_t m = 0; m < n; ++m) {
        for (std::size_t k = 0; k < n; ++k) {
            const double dx = static_cast<double>(on[m]->X - on[k]->X);
            const double dy = static_cast<double>(on[m]->Y - on[k]->Y);
            double v = PairIntegral(array.EmitterType, dx, dy, 0);
            if (images) v += image * PairIntegral(array.EmitterType, dx, dy, rise);
            a[m][k] = v;
        }
    }
    // Constraints V^H c = f: the target's field 1, each null's 0.
    std::vector<std::vector<TComplexD>> v = {
        Steering(on, target.BearingDegrees, target.ElevationDegrees)};
    for (const long double b : target.NullBearings) {
        v.push_back(Steering(on, b, target.ElevationDegrees));
    }
    if (v.size() > n) return TRefusal{Msgid("more nulls than the emitters switched on can place")};
    // A^-1 V, column by column.
    std::vector<std::vector<TComplexD>> ainvV;
    for (const auto& column : v) {
        std::vector<TComplexD> x = column;
        if (!Solve(a, x))
            return TRefusal{
                Msgid("the emitters' pair integrals are singular (emitters share a place)")};
        ainvV.push_back(x);
    }
    // (V^H A^-1 V) g = f, then c = A^-1 V g.
    const std::size_t q = v.size();
    TMatrix gram(q, std::vector<TComplexD>(q));
    for (std::size_t i = 0; i < q; ++i) {
        for (std::size_t j = 0; j < q; ++j) {
            TComplexD sum = 0;
            for (std::size_t k = 0; k < n; ++k) sum += std::conj(v[i][k]) * ainvV[j][k];
            gram[i][j] = sum;
        }
    }
    std::vector<TComplexD> g(q, 0);
    g[0] = 1;
    if (!Solve(gram, g)) {
        return TRefusal{Msgid("the nulls cannot be placed apart from the beam")};
    }
    std::vector<TComplexD> c(n, 0);
    for (std::size_t j = 0; j < q; ++j) {
        for (std::size_t k = 0; k < n; ++k) c[k] += ainvV[j][k] * g[j];
    }
    double power = 0;
    TComplexD field = 0;
    for (std::size_t k = 0; k < n; ++k) {
        power += std::norm(c[k]);
        field += c[k] * std::conj(v[0][k]);
    }
    report.SensitivityDb = 10 * std::log10(static_cast<double>(n) * power / std::norm(field));
    Write(on, c);
    return std::nullopt;
}

void DesignFrontToBack(TArray& array, const TDesignTarget& target, bool rear, bool freeAmplitudes,
                       TDesignReport& report) {
    const std::vector<TEmitter*> on = Enabled(array);
    const std::size_t n = on.size();
    const std::size_t dims = freeAmplitudes ? 2 * n : n;
    const TFieldSpec free{TFieldModel::FreeSpace, target.ElevationDegrees};
    // Window azimuth (radians) of a compass bearing (degrees).
    const auto azimuth = [](double bearing) {
        return (bearing + 180) * static_cast<double>(kDegree);
    };
    const double front = static_cast<double>(target.BearingDegrees);
    int evaluations = 0;
    const auto set = [&](const std::vector<double>& x) {
        for (std::size_t k = 0; k < n; ++k) {
            on[k]->Phase = x[k];
            if (freeAmplitudes) on[k]->Amplitude = std::clamp(x[n + k], 0.0, 1.0);
        }
    };
    // The ratio in dB, capped where the rear vanishes: a perfect null is as good as it gets.
    const auto ratio = [&](const std::vector<double>& x) {
        ++evaluations;
        set(x);
        const double f = FastFieldValue(array, free, azimuth(front));
        double back = FastFieldValue(array, free, azimuth(front + 180));
        if (rear) {
            for (int d = 91; d <= 269; ++d) {
                back = std::max(back, FastFieldValue(array, free, azimuth(front + d)));
            }
        }
        if (!(f > 0)) return -400.0;
        return std::min(400.0, 20 * std::log10(f / std::max(back, f * 1e-20)));
    };
    std::mt19937_64 random(20);
    std::uniform_real_distribution<double> phase(-0.5, 0.5);
    std::uniform_real_distribution<double> level(0.2, 1);
    std::vector<double> best(dims);
    double bestValue = -HUGE_VAL;
    constexpr int kStarts = 12;
    constexpr int kIterations = 400;
    for (int start = 0; start < kStarts; ++start) {
        // A simplex around a random excitation.
        std::vector<std::vector<double>> simplex(dims + 1, std::vector<double>(dims));
        for (std::size_t d = 0; d < dims; ++d)
            simplex[0][d] = d < n ? phase(random) : level(random);
        for (std::size_t i = 1; i <= dims; ++i) {
            simplex[i] = simplex[0];
            simplex[i][i - 1] += i - 1 < n ? 0.1 : 0.2;
        }
        std::vector<double> values;
        for (const auto& p : simplex) values.push_back(ratio(p));
        for (int it = 0; it < kIterations; ++it) {
            std::vector<std::size_t> order(dims + 1);
            for (std::size_t i = 0; i <= dims; ++i) order[i] = i;
            std::sort(order.begin(), order.end(),
                      [&](std::size_t a, std::size_t b) { return values[a] > values[b]; });
            const std::size_t worst = order.back();
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
            const double r = ratio(reflected);
            if (r > values[order[0]]) {
                const auto expanded = along(-2);
                const double x = ratio(expanded);
                simplex[worst] = x > r ? expanded : reflected;
                values[worst] = std::max(x, r);
            } else if (r > values[order[dims - 1]]) {
                simplex[worst] = reflected;
                values[worst] = r;
            } else {
                const auto contracted = along(0.5);
                const double c = ratio(contracted);
                if (c > values[worst]) {
                    simplex[worst] = contracted;
                    values[worst] = c;
                } else {
                    for (std::size_t i = 1; i <= dims; ++i) {
                        for (std::size_t d = 0; d < dims; ++d) {
                            simplex[order[i]][d] =
                                simplex[order[0]][d] +
                                0.5 * (simplex[order[i]][d] - simplex[order[0]][d]);
                        }
                        values[order[i]] = ratio(simplex[order[i]]);
                    }
                }
            }
        }
        const auto top = std::max_element(values.begin(), values.end());
        if (*top > bestValue) {
            bestValue = *top;
            best = simplex[static_cast<std::size_t>(top - values.begin())];
        }
    }
    set(best);
    // Phases relative to the first emitter's, within one period.
    const long double first = on.empty() ? 0 : on.front()->Phase;
    for (TEmitter* p : on) {
        p->Phase = std::remainder(p->Phase - first, 1.0L);
    }
    report.Evaluations = evaluations;
    report.Figure = bestValue;
}
