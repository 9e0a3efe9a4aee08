#include "model/groundfigures.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "model/angles.h"
#include "model/beamwidth.h"
#include "model/fieldengine.h"
#include "model/gausslegendre.h"
#include "model/pairintegral.h"
#include "model/pattern.h"
#include "model/searchbounds.h"

namespace {

constexpr double kRadian = static_cast<double>(kDegree);
// Half-power elevations are bracketed on this grid, then solved on the exact pattern.
constexpr long double kRangeStepDegrees = 0.25L;
constexpr long double kRangeTolerance = 1e-7L;  // degrees
// Quadrature levels agree to this fraction of the power, far below 1e-6 dB.
constexpr double kQuadratureAgreement = 2e-8;
constexpr int kMostElevationNodes = 1024;

TFieldSpec Spec(const TGround& ground, long double elevation) {
    return {TFieldModel::OverGround, elevation, ground};
}

// The field in the fast path at window azimuth az and elevation e, both in degrees, of the
// amplitudes scaled by a power of two: in range for any array, its maxima where the array's are.
class TFastGroundField {
  public:
    TFastGroundField(const TArray& array, const TGround& ground)
        : Scaled(ScaledSources(array)), Type(array.EmitterType), Ground(ground) {}

    TElevation<double> At(double e) const {
        return Elevation<double>(TFieldModel::OverGround, e, Ground);
    }
    double Value(double az, const TElevation<double>& el) const {
        return FieldValueOf(Scaled.Sources, TFieldModel::OverGround, Type, az * kRadian, el);
    }
    double Value(double az, double e) const { return Value(az, At(e)); }
    // The array's power is the scaled one times 2^(2 Exponent).
    int Exponent() const { return Scaled.Exponent; }

  private:
    TScaledSources Scaled;
    int Type;
    TGround Ground;
};

struct TPoint {
    double Az, El, Value;
};

// One compass step on each axis from p, each taken where it climbs.
TPoint Explore(const TFastGroundField& field, TPoint p, double azStep, double elStep) {
    const double moves[4][2] = {{azStep, 0}, {-azStep, 0}, {0, elStep}, {0, -elStep}};
    for (const auto& m : moves) {
        const double el = std::clamp(p.El + m[1], 0.0, 90.0);
        const double v = field.Value(p.Az + m[0], el);
        if (v > p.Value) p = {p.Az + m[0], el, v};
    }
    return p;
}

// Compass steps that halve from the grid's spacing until far below 0.01 degree (Hooke and
// Jeeves). On a ridge across both axes single steps zig-zag; the pattern move repeats the net
// move of the climbs so far, which grows while they succeed, and carries the point along it.
TPoint Refine(const TFastGroundField& field, TPoint base, double azStep, double elStep) {
    int step = 0;
    while (step < kRefinementSteps && (azStep > 1e-7 || elStep > 1e-7)) {
        ++step;
        TPoint x = Explore(field, base, azStep, elStep);
        if (!(x.Value > base.Value)) {
            azStep /= 2;
            elStep /= 2;
            continue;
        }
        while (step < kRefinementSteps) {
            ++step;
            const double az = 2 * x.Az - base.Az;
            const double el = std::clamp(2 * x.El - base.El, 0.0, 90.0);
            const TPoint y = Explore(field, {az, el, field.Value(az, el)}, azStep, elStep);
            base = x;
            if (!(y.Value > x.Value)) break;
            x = y;
        }
        base = x;
    }
    return base;
}

TPoint FindTakeoff(const TArray& array, const TGround& ground) {
    const TFastGroundField field(array, ground);
    const auto aperture = static_cast<double>(Aperture(array));
    // Lobes of an aperture D are about 57 / D degrees wide in azimuth; the height sets how
    // fast the ground factor turns in elevation.
    const double azStep = std::clamp(10 / (1 + 2 * aperture), 0.25, 5.0);
    const double elStep =
        std::clamp(10 / (1 + 4 * static_cast<double>(ground.HeightWavelengths)), 0.1, 2.0);
    const int azCount = static_cast<int>(std::ceil(360 / azStep));
    const int elCount = static_cast<int>(std::ceil(90 / elStep));
    std::vector<TPoint> grid;
    for (int j = 0; j <= elCount; ++j) {
        const double e = std::min(90.0, j * 90.0 / elCount);
        const TElevation<double> el = field.At(e);
        for (int i = 0; i < azCount; ++i) {
            const double az = i * 360.0 / azCount;
            grid.push_back({az, e, field.Value(az, el)});
        }
    }
    constexpr std::size_t kStarts = 4;
    const std::size_t starts = std::min(kStarts, grid.size());
    std::partial_sort(grid.begin(), grid.begin() + static_cast<long>(starts), grid.end(),
                      [](const TPoint& a, const TPoint& b) { return a.Value > b.Value; });
    TPoint best{0, 0, -1};
    for (std::size_t k = 0; k < starts; ++k) {
        const TPoint p = Refine(field, grid[k], 360.0 / azCount, 90.0 / elCount);
        if (p.Value > best.Value) best = p;
    }
    return best;
}

// The half-power elevation from the maximum towards `limit` at the bearing's azimuth.
long double HalfPowerElevation(const TArray& array, const TGround& ground, long double az,
                               long double peak, long double level, long double limit) {
    const auto f = [&](long double e) {
        return FieldValue(array, Spec(ground, e), az * kDegree) - level;
    };
    const long double step = limit > peak ? kRangeStepDegrees : -kRangeStepDegrees;
    long double a = peak;
    long double fa = f(a);
    while ((limit - a) * step > 0) {
        const long double b = (limit - a) * step > step * step ? a + step : limit;
        const long double fb = f(b);
        if (fb < 0) return SolveBracketed(f, a, b, fa, fb, kRangeTolerance);
        a = b;
        fa = fb;
    }
    return limit;
}

// The integral of F^2 over the upper half-space over 4 pi with n elevation nodes and m
// azimuths.
double Quadrature(const TFastGroundField& field, int n, int m) {
    std::vector<double> nodes, weights;
    GaussLegendre(n, nodes, weights);
    double total = 0;
    for (std::size_t k = 0; k < nodes.size(); ++k) {
        const double e = 45 * (nodes[k] + 1);  // degrees, 0..90
        const TElevation<double> el = field.At(e);
        double ring = 0;
        for (int i = 0; i < m; ++i) {
            const double f = field.Value(360.0 * i / m, el);
            ring += f * f;
        }
        // d(Omega) = cos e de daz; de = (pi / 4) dx; daz sums to 2 pi over the ring.
        total += weights[k] * el.Cos * ring / m;
    }
    return total * (static_cast<double>(kPi) / 4) * 2 * static_cast<double>(kPi) /
           (4 * static_cast<double>(kPi));
}

long double Dbi(long double ratio) {
    return 10 * std::log10(ratio);
}

}  // namespace

long double MeanPowerWithImages(const TArray& array, long double heightWavelengths) {
    const TScaledSources scaled = ScaledSources(array);
    const TSources<double>& s = scaled.Sources;
    const double twoPi = 2 * TReal<double>::kPi;
    // A horizontal dipole's image carries the opposite current, a vertical one's the same.
    const double image =
        array.EmitterType == etHorizontalDipoleNS || array.EmitterType == etHorizontalDipoleWE ? -1
                                                                                               : 1;
    const double rise = 2 * static_cast<double>(heightWavelengths);
    double sum = 0;
    for (unsigned m = 0; m < static_cast<unsigned>(s.Count); ++m) {
        // An emitter that adds nothing is left out: its phase may be no number at all.
        if (s.Amplitude[m] == 0) continue;
        for (unsigned n = 0; n < static_cast<unsigned>(s.Count); ++n) {
            if (s.Amplitude[n] == 0) continue;
            const double dx = s.X[m] - s.X[n];
            const double dy = s.Y[m] - s.Y[n];
            const double pair =
                s.Amplitude[m] * s.Amplitude[n] * std::cos(twoPi * (s.Phase[m] - s.Phase[n]));
            // Each source with each, and each with the other's image: twice both sums.
            sum += 2 * pair *
                   (PairIntegral(array.EmitterType, dx, dy, 0) +
                    image * PairIntegral(array.EmitterType, dx, dy, rise));
        }
    }
    return std::scalbn(static_cast<long double>(sum), 2 * scaled.Exponent);
}

std::optional<long double> UpperHalfSpacePower(const TArray& array, const TGround& ground) {
    if (!SearchableAperture(array)) return std::nullopt;
    const TFastGroundField field(array, ground);
    int n = 16;
    int m = 32;
    double previous = Quadrature(field, n, m);
    while (n < kMostElevationNodes) {
        n *= 2;
        m *= 2;
        const double next = Quadrature(field, n, m);
        if (std::fabs(next - previous) <= kQuadratureAgreement * std::fabs(next)) {
            return std::scalbn(static_cast<long double>(next), 2 * field.Exponent());
        }
        previous = next;
    }
    return std::nullopt;
}

std::optional<TGroundFigures> ComputeGroundFigures(const TArray& array, const TGround& ground) {
    if (!SearchableAperture(array)) return std::nullopt;
    const TPoint top = FindTakeoff(array, ground);
    const long double az = top.Az;
    const long double el = top.El;
    const long double peak = FieldValue(array, Spec(ground, el), az * kDegree);
    const long double scale = FullScale(array);
    if (!(peak > 1e-12L * scale)) return std::nullopt;
    TGroundFigures g;
    g.TakeoffElevationDegrees = el;
    g.PeakBearingDegrees = AzimuthBearing(az);
    const long double level = peak * kHalfPowerRatio;
    g.TakeoffLowDegrees = HalfPowerElevation(array, ground, az, el, level, 0);
    g.TakeoffHighDegrees = HalfPowerElevation(array, ground, az, el, level, 90);
    if (ground.Kind == TGroundKind::Perfect) {
        // Twice the mean of the doubled array over the sphere is the upper half-space's.
        const long double mean = MeanPowerWithImages(array, ground.HeightWavelengths);
        if (mean > 0) {
            g.UpperHalfSpacePower = mean / 2;
            g.SpaceWaveDirectivityDbi = Dbi(2 * peak * peak / mean);
        }
        g.GainDbi = g.SpaceWaveDirectivityDbi;
    } else if (const auto power = UpperHalfSpacePower(array, ground); power && *power > 0) {
        g.UpperHalfSpacePower = power;
        g.SpaceWaveDirectivityDbi = Dbi(peak * peak / *power);
    }
    return g;
}
