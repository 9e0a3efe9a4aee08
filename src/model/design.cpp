#include "model/design.h"

#include <Eigen/Dense>
#include <algorithm>
#include <cmath>
#include <complex>
#include <limits>

#include "model/angles.h"
#include "model/fieldengine.h"
#include "model/pairintegral.h"
#include "model/pattern.h"

namespace {

using TComplexD = std::complex<double>;
using TMatrix = Eigen::MatrixXcd;

constexpr double kTwoPi = 2 * TReal<double>::kPi;

std::vector<TEmitter*> Enabled(TArray& array) {
    std::vector<TEmitter*> on;
    for (TEmitter& e : array.Emitters) {
        if (e.Enabled) on.push_back(&e);
    }
    return on;
}

long double LargestAmplitude(const std::vector<TEmitter*>& on) {
    long double largest = 0;
    for (const TEmitter* p : on) largest = std::max(largest, p->Amplitude);
    return largest;
}

// m's LU factors with partial pivoting; nullopt where a pivot is at most 1e-13 of m's largest
// entry: the emitters' geometry makes the system singular up to rounding.
std::optional<Eigen::PartialPivLU<TMatrix>> Factors(const TMatrix& m) {
    Eigen::PartialPivLU<TMatrix> lu(m);
    const double scale = m.size() > 0 ? m.cwiseAbs().maxCoeff() : 0;
    for (Eigen::Index i = 0; i < m.rows(); ++i) {
        if (!(std::abs(lu.matrixLU()(i, i)) > 1e-13 * scale)) return std::nullopt;
    }
    return lu;
}

// The conjugate steering vector exp(+j 2 pi r.u) of compass bearing and elevation (degrees):
// the field is |sum c s|, s = exp(-j 2 pi r.u), for currents c = a exp(j 2 pi Phase).
Eigen::VectorXcd Steering(const std::vector<TEmitter*>& on, long double bearing,
                          long double elevation) {
    const double b = static_cast<double>(bearing * kDegree);
    const double e = static_cast<double>(elevation * kDegree);
    Eigen::VectorXcd v(static_cast<Eigen::Index>(on.size()));
    for (Eigen::Index k = 0; k < v.size(); ++k) {
        const TEmitter* p = on[static_cast<std::size_t>(k)];
        const double ru = static_cast<double>(p->X) * std::cos(e) * std::sin(b) +
                          static_cast<double>(p->Y) * std::cos(e) * std::cos(b);
        v(k) = std::polar(1.0, kTwoPi * ru);
    }
    return v;
}

void Write(const std::vector<TEmitter*>& on, const Eigen::VectorXcd& c) {
    const double top = c.cwiseAbs().maxCoeff();
    for (std::size_t k = 0; k < on.size(); ++k) {
        const TComplexD v = c(static_cast<Eigen::Index>(k));
        on[k]->Amplitude = std::abs(v) / top;
        on[k]->Phase = std::arg(v) / kTwoPi;
    }
}

// A field at most this fraction of the front (or of full scale, for the front itself) is
// rounding noise, as the pattern's metrics count it.
constexpr long double kRoundingNoise = 1e-12L;

// Window azimuth in degrees of a compass bearing; a whole bearing gives its sample's azimuth
// exactly.
template <typename R>
R WindowAzimuth(R bearing) {
    const R az = std::fmod(bearing + kCircleDegrees / 2, R(kCircleDegrees));
    return az < 0 ? az + kCircleDegrees : az;
}

// The field towards a fixed list of compass bearings, the values FastFieldValue gives, with
// what depends on the direction alone (each bearing's look) computed once: a search asks for
// the same bearings thousands of times.
class TBearingFields {
  public:
    TBearingFields(const TArray& array, const TFieldSpec& field,
                   const std::vector<double>& bearings) {
        const TElevation<double> el = Elevation<double>(
            field.Model, static_cast<double>(field.ElevationDegrees), field.Ground);
        for (const double b : bearings) {
            Looks.push_back(Look(field.Model, array.EmitterType,
                                 WindowAzimuth(b) * static_cast<double>(kDegree), el));
        }
    }
    double Value(const TSources<double>& sources, std::size_t i) const {
        return Looks[i].Element * ArrayFactor(sources, Looks[i]);
    }
    const TLook<double>& LookAt(std::size_t i) const { return Looks[i]; }

  private:
    std::vector<TLook<double>> Looks;
};

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
    const auto size = static_cast<Eigen::Index>(n);
    TMatrix a(size, size);
    for (Eigen::Index m = 0; m < size; ++m) {
        for (Eigen::Index k = 0; k < size; ++k) {
            const TEmitter& em = *on[static_cast<std::size_t>(m)];
            const TEmitter& ek = *on[static_cast<std::size_t>(k)];
            const double dx = static_cast<double>(em.X - ek.X);
            const double dy = static_cast<double>(em.Y - ek.Y);
            double v = PairIntegral(array.EmitterType, dx, dy, 0);
            if (images) v += image * PairIntegral(array.EmitterType, dx, dy, rise);
            a(m, k) = v;
        }
    }
    // Constraints V^H c = f: the target's field 1, each null's 0.
    const std::size_t q = 1 + target.NullBearings.size();
    if (q > n) return TRefusal{Msgid("more nulls than the emitters switched on can place")};
    TMatrix v(size, static_cast<Eigen::Index>(q));
    v.col(0) = Steering(on, target.BearingDegrees, target.ElevationDegrees);
    for (std::size_t j = 1; j < q; ++j) {
        v.col(static_cast<Eigen::Index>(j)) =
            Steering(on, target.NullBearings[j - 1], target.ElevationDegrees);
    }
    const auto pairs = Factors(a);
    if (!pairs) {
        return TRefusal{
            Msgid("the emitters' pair integrals are singular (emitters share a place)")};
    }
    // (V^H A^-1 V) g = f, then c = A^-1 V g.
    const TMatrix ainvV = pairs->solve(v);
    const auto gram = Factors(v.adjoint() * ainvV);
    if (!gram) return TRefusal{Msgid("the nulls cannot be placed apart from the beam")};
    Eigen::VectorXcd f = Eigen::VectorXcd::Zero(static_cast<Eigen::Index>(q));
    f(0) = 1;
    const Eigen::VectorXcd c = ainvV * gram->solve(f);
    const double power = c.squaredNorm();
    const TComplexD field = v.col(0).dot(c);
    report.SensitivityDb = 10 * std::log10(static_cast<double>(n) * power / std::norm(field));
    Write(on, c);
    return std::nullopt;
}

void DesignFrontToBack(TArray& array, const TFieldSpec& field, const TDesignTarget& target,
                       bool rear, bool freeAmplitudes, TDesignReport& report) {
    const std::vector<TEmitter*> on = Enabled(array);
    const std::size_t n = on.size();
    const double bearing = static_cast<double>(target.BearingDegrees);
    const auto set = [&](const std::vector<double>& x) {
        for (std::size_t k = 0; k < n; ++k) {
            on[k]->Phase = x[k];
            if (freeAmplitudes) on[k]->Amplitude = std::clamp(x[n + k], 0.0, 1.0);
        }
    };
    std::vector<double> bearings(kCircleDegrees);
    for (int d = 0; d < kCircleDegrees; ++d) bearings[static_cast<std::size_t>(d)] = d;
    bearings.push_back(bearing);
    bearings.push_back(bearing + 180);
    const TBearingFields fields(array, field, bearings);
    const TRingField ring = [&](const std::vector<double>& x, std::vector<double>& values) {
        set(x);
        const TSources<double> sources = Sources<double>(array);
        for (std::size_t i = 0; i < values.size(); ++i) values[i] = fields.Value(sources, i);
    };

    // The input with its amplitudes scaled to a largest of 1 (the same pattern).
    TFrontSearch search{
        bearing, rear, freeAmplitudes, std::vector<double>(freeAmplitudes ? 2 * n : n), {}};
    const TLook<double>& look = fields.LookAt(kCircleDegrees);
    const long double inputLargest = LargestAmplitude(on);
    for (std::size_t k = 0; k < n; ++k) {
        search.Input[k] = static_cast<double>(on[k]->Phase);
        search.InPhase.push_back(-look.Horizontal * Projection(look, static_cast<double>(on[k]->X),
                                                               static_cast<double>(on[k]->Y)));
        if (freeAmplitudes) {
            search.Input[n + k] =
                inputLargest > 0 ? static_cast<double>(on[k]->Amplitude / inputLargest) : 1;
        }
    }
    const TFrontFound found = SearchFrontRatio(search, ring);
    report.Evaluations = found.Evaluations;
    report.Figure = found.RatioDb;
    set(found.Best);
    // Phases relative to the first emitter's, within one period; amplitudes to a largest of 1.
    const long double first = on.empty() ? 0 : on.front()->Phase;
    const long double largest = LargestAmplitude(on);
    for (TEmitter* p : on) {
        p->Phase = std::remainder(p->Phase - first, 1.0L);
        if (freeAmplitudes && largest > 0) p->Amplitude /= largest;
    }
}

long double FrontRatioDb(const TArray& array, const TFieldSpec& field, long double bearingDegrees,
                         bool rear) {
    const auto at = [&](long double b) {
        return FieldValue(array, field, WindowAzimuth(b) * kDegree);
    };
    const long double front = at(bearingDegrees);
    if (!(front > kRoundingNoise * FullScale(array, field.Model))) {
        return -std::numeric_limits<long double>::infinity();
    }
    long double back = 0;
    if (rear) {
        for (int d = 0; d < kCircleDegrees; ++d) {
            if (Separation<long double>(d, bearingDegrees) > 90) back = std::max(back, at(d));
        }
    } else {
        back = at(bearingDegrees + 180);
    }
    if (back <= front * kRoundingNoise) return std::numeric_limits<long double>::infinity();
    return 20 * std::log10(front / back);
}
