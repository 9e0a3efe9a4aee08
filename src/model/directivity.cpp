#include "model/directivity.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "model/freespace.h"
#include "model/pattern.h"

namespace {

// Levels closer than this are one level: the refinement's own resolution.
constexpr long double kSameLevelDb = 1e-9L;

// Spherical Bessel combinations, by their series where the closed forms cancel.
constexpr long double kSeriesLimit = 0.5L;

long double J0(long double x) {
    if (x < kSeriesLimit) {
        const long double x2 = x * x;
        return 1 - x2 / 6 * (1 - x2 / 20 * (1 - x2 / 42 * (1 - x2 / 72 * (1 - x2 / 110))));
    }
    return std::sin(x) / x;
}

// j1(x) / x, 1/3 at 0.
long double J1OverX(long double x) {
    if (x < kSeriesLimit) {
        const long double x2 = x * x;
        return (1 - x2 / 10 * (1 - x2 / 28 * (1 - x2 / 54 * (1 - x2 / 88 * (1 - x2 / 130))))) / 3;
    }
    return (std::sin(x) / x - std::cos(x)) / (x * x);
}

long double J2(long double x) {
    const long double x2 = x * x;
    if (x < kSeriesLimit) {
        return x2 / 15 * (1 - x2 / 14 * (1 - x2 / 36 * (1 - x2 / 66 * (1 - x2 / 104))));
    }
    return (3 / x2 - 1) * std::sin(x) / x - 3 * std::cos(x) / x2;
}

struct TAxis {
    long double East, North;
    bool Vertical;
};

// The sphere mean of E^2 exp(-j 2 pi d.u) for the element factor E of the type, with d the
// separation (wavelengths) of a pair.
long double PairIntegral(int type, long double dx, long double dy) {
    const long double distance = std::hypot(dx, dy);
    const long double x = 2 * kPi * distance;
    if (type != etVerticalDipole && type != etHorizontalDipoleNS && type != etHorizontalDipoleWE) {
        return J0(x);
    }
    // A horizontal separation has no component along a vertical axis.
    long double along = 0;
    if (distance > 0 && type == etHorizontalDipoleNS) along = dx / distance;
    if (distance > 0 && type == etHorizontalDipoleWE) along = dy / distance;
    return J0(x) - J1OverX(x) + along * along * J2(x);
}

long double PowerDbi(long double field, long double meanPower) {
    return 10 * std::log10(field * field / meanPower);
}

// The field squared in double precision, for the coarse search of the sphere only.
struct TCoarseField {
    explicit TCoarseField(const TArrayModel& model) : Type(model.EmitterType) {
        for (const TEmitter& e : model.Emitters) {
            if (e.Enabled) {
                Emitters.push_back({static_cast<double>(e.X), static_cast<double>(e.Y),
                                    static_cast<double>(e.Phase)});
            }
        }
    }
    double Power(double azDeg, double elDeg) const {
        constexpr double kRad = 3.14159265358979323846 / 180;
        const double s = std::sin(azDeg * kRad), c = std::cos(azDeg * kRad);
        const double ce = std::cos(elDeg * kRad), se = std::sin(elDeg * kRad);
        double re = 0, im = 0;
        for (const auto& e : Emitters) {
            const double t = 2 * 3.14159265358979323846 * (ce * (e[0] * s + e[1] * c) + e[2]);
            re += std::cos(t);
            im += std::sin(t);
        }
        double factor = 1;
        if (Type == etVerticalDipole) factor = ce * ce;
        if (Type == etHorizontalDipoleNS) factor = ce * ce * c * c + se * se;
        if (Type == etHorizontalDipoleWE) factor = ce * ce * s * s + se * se;
        return factor * (re * re + im * im);
    }
    int Type;
    std::vector<std::array<double, 3>> Emitters;
};

long double LargestSeparation(const TArrayModel& model) {
    long double largest = 0;
    for (const TEmitter& a : model.Emitters) {
        for (const TEmitter& b : model.Emitters) {
            if (a.Enabled && b.Enabled)
                largest = std::max(largest, std::hypot(a.X - b.X, a.Y - b.Y));
        }
    }
    return largest;
}

struct TPoint {
    double Az, El, Power;
};

// Climbs from a grid point by compass steps that halve until they are far below 0.01 degree.
// Double precision places the peak to far better than that; its level is then taken in the
// extended model.
TPoint Refine(const TCoarseField& field, TPoint p, double step) {
    while (step > 1e-6) {
        bool moved = false;
        const double moves[4][2] = {{step, 0}, {-step, 0}, {0, step}, {0, -step}};
        for (const auto& m : moves) {
            const double az = p.Az + m[0];
            const double el = std::clamp(p.El + m[1], 0.0, 90.0);
            const double power = field.Power(az, el);
            if (power > p.Power) {
                p = {az, el, power};
                moved = true;
            }
        }
        if (!moved) step /= 2;
    }
    return p;
}

TPoint PeakOnSphere(const TArrayModel& model) {
    const TCoarseField coarse(model);
    // Lobes of an aperture D wavelengths are about 57 / D degrees wide; sample each a few
    // times.
    const long double spread = LargestSeparation(model);
    const double step = std::clamp(static_cast<double>(30 / (1 + 2 * spread)), 0.05, 10.0);
    const int azSteps = static_cast<int>(std::ceil(360 / step));
    const int elSteps = static_cast<int>(std::ceil(90 / step));
    std::vector<TPoint> grid;
    for (int j = 0; j <= elSteps; ++j) {
        const double el = std::min(90.0, j * 90.0 / elSteps);
        for (int i = 0; i < azSteps; ++i) {
            const double az = i * 360.0 / azSteps;
            grid.push_back({az, el, coarse.Power(az, el)});
        }
    }
    constexpr std::size_t kStarts = 4;
    const std::size_t starts = std::min(kStarts, grid.size());
    std::partial_sort(grid.begin(), grid.begin() + static_cast<long>(starts), grid.end(),
                      [](const TPoint& a, const TPoint& b) { return a.Power > b.Power; });
    TPoint best{0, 0, -1};
    for (std::size_t k = 0; k < starts; ++k) {
        const TPoint p = Refine(coarse, grid[k], step);
        if (p.Power > best.Power) best = p;
    }
    return best;
}

}  // namespace

long double MeanRadiatedPower(const TArrayModel& model) {
    long double sum = 0;
    for (const TEmitter& m : model.Emitters) {
        if (!m.Enabled) continue;
        for (const TEmitter& n : model.Emitters) {
            if (!n.Enabled) continue;
            sum += std::cos(2 * kPi * (m.Phase - n.Phase)) *
                   PairIntegral(model.EmitterType, m.X - n.X, m.Y - n.Y);
        }
    }
    return sum;
}

std::optional<TDirectivity> ComputeDirectivity(const TArrayModel& model, const TPattern* horizon) {
    const long double mean = MeanRadiatedPower(model);
    const int enabled = CountEnabled(model);
    // Pair sums that cancel in exact arithmetic leave rounding noise of this order.
    if (!(mean > 1e-12L * enabled * enabled)) return std::nullopt;
    TArrayModel computed;
    if (horizon == nullptr) {
        computed = model;
        ComputeFieldPattern(computed, TFieldModel::FreeSpace, 0);
        horizon = &computed.Pattern;
    }
    TDirectivity d;
    d.HorizonDbi = PowerDbi(horizon->MaxGain, mean);
    const TPoint peak = PeakOnSphere(model);
    const long double az = static_cast<long double>(peak.Az);
    const long double el = static_cast<long double>(peak.El);
    d.PeakDbi = PowerDbi(FreeSpaceValue(model, az * kDegree, el), mean);
    // Where the peak is no higher than the horizon's maximum (a broadside line's whole plane
    // of maxima, say), the horizon's is the one reported.
    if (d.PeakDbi - d.HorizonDbi <= kSameLevelDb) {
        d.PeakDbi = std::max(d.PeakDbi, d.HorizonDbi);
        d.PeakBearingDegrees = DisplayedBearing(horizon->MaxGainAngle);
        return d;
    }
    d.PeakBearingDegrees = std::fmod(std::fmod(az + 180, 360.0L) + 360, 360.0L);
    d.PeakElevationDegrees = el;
    return d;
}
