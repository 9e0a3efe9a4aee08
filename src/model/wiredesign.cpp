#include "model/wiredesign.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <utility>
#include <vector>

#include "model/coupling.h"
#include "model/msgid.h"

namespace {

// Singular values of the null constraints below this fraction of the target's field are
// rounding (an upright wire's horizontal polarisation at the horizon): no constraint.
constexpr double kConstraintRank = 1e-9;
// A gain below this fraction of the unconstrained one is the nulls swallowing the beam.
constexpr double kLostBeam = 1e-12;
// A field at most this fraction of the front is rounding noise, as the pattern's metrics
// count it.
constexpr double kRoundingNoise = 1e-12;

double Norm2(const TFarField& f) {
    return std::norm(f.Theta) + std::norm(f.Phi);
}

// The largest |E|^2 / I^H R I over currents I = basis x, and the currents that reach it: the
// top eigenvector of the rank-two problem, through the 2 x 2 matrix C^H R^-1 C with C the
// conjugated fields of the two polarisations.
std::pair<double, Eigen::VectorXcd> BestGain(const TPortFields& at, const Eigen::MatrixXcd& power,
                                             const Eigen::MatrixXcd& basis) {
    Eigen::MatrixXcd c(at.Theta.size(), 2);
    c.col(0) = at.Theta.conjugate();
    c.col(1) = at.Phi.conjugate();
    const Eigen::MatrixXcd reducedC = basis.adjoint() * c;
    const Eigen::LLT<Eigen::MatrixXcd> reducedPower(basis.adjoint() * power * basis);
    if (reducedPower.info() != Eigen::Success) return {0, {}};
    const Eigen::MatrixXcd x = reducedPower.solve(reducedC);
    const Eigen::Matrix2cd m = reducedC.adjoint() * x;
    const Eigen::SelfAdjointEigenSolver<Eigen::Matrix2cd> eigen(m);
    return {eigen.eigenvalues()(1), basis * (x * eigen.eigenvectors().col(1))};
}

// Every port's field towards each whole-degree bearing, the target's and its opposite
// (rows, in that order) at the target's elevation.
struct TRingPorts {
    Eigen::MatrixXcd Theta;
    Eigen::MatrixXcd Phi;
    TRingPorts(const TEmbeddedPatterns& patterns, const TDesignTarget& target)
        : Theta(kRingValues, patterns.Ports()), Phi(kRingValues, patterns.Ports()) {
        const double bearing = static_cast<double>(target.BearingDegrees);
        const double elevation = static_cast<double>(target.ElevationDegrees);
        for (int i = 0; i < kRingValues; ++i) {
            const double b = i < kCircleDegrees ? i : i == kCircleDegrees ? bearing : bearing + 180;
            const TPortFields f = patterns.Towards(b, elevation);
            Theta.row(i) = f.Theta.transpose();
            Phi.row(i) = f.Phi.transpose();
        }
    }
    void Values(const Eigen::VectorXcd& currents, std::vector<double>& values) const {
        const Eigen::VectorXcd theta = Theta * currents, phi = Phi * currents;
        for (int i = 0; i < kRingValues; ++i)
            values[static_cast<std::size_t>(i)] =
                std::sqrt(std::norm(theta(i)) + std::norm(phi(i)));
    }
};

}  // namespace

std::optional<TRefusal> DesignWireMaxGain(const TEmbeddedPatterns& patterns,
                                          const TDesignTarget& target, Eigen::VectorXcd& currents,
                                          TDesignReport& report) {
    const int n = patterns.Ports();
    const double elevation = static_cast<double>(target.ElevationDegrees);
    const TPortFields at = patterns.Towards(static_cast<double>(target.BearingDegrees), elevation);
    const Eigen::MatrixXcd& power = patterns.InputPowerMatrix();
    const Eigen::MatrixXcd all = Eigen::MatrixXcd::Identity(n, n);
    const double free = BestGain(at, power, all).first;
    if (!(free > 0)) return TRefusal{Msgid("nothing radiates")};
    Eigen::MatrixXcd basis = all;
    if (!target.NullBearings.empty()) {
        // Both polarisations vanish at every null: the currents lie in the constraints' kernel.
        const auto rows = static_cast<Eigen::Index>(2 * target.NullBearings.size());
        Eigen::MatrixXcd constraints(rows, n);
        for (std::size_t k = 0; k < target.NullBearings.size(); ++k) {
            const TPortFields null =
                patterns.Towards(static_cast<double>(target.NullBearings[k]), elevation);
            constraints.row(static_cast<Eigen::Index>(2 * k)) = null.Theta.transpose();
            constraints.row(static_cast<Eigen::Index>(2 * k + 1)) = null.Phi.transpose();
        }
        Eigen::JacobiSVD<Eigen::MatrixXcd> svd(constraints, Eigen::ComputeFullV);
        const double scale = std::sqrt(at.Theta.squaredNorm() + at.Phi.squaredNorm());
        const double floor =
            kConstraintRank *
            std::max(scale, svd.singularValues().size() > 0 ? svd.singularValues()(0) : 0.0);
        int rank = 0;
        for (Eigen::Index i = 0; i < svd.singularValues().size(); ++i)
            if (svd.singularValues()(i) > floor) ++rank;
        if (rank >= n) return TRefusal{Msgid("more nulls than the emitters switched on can place")};
        basis = svd.matrixV().rightCols(n - rank);
    }
    const auto [gain, best] = BestGain(at, power, basis);
    if (!(gain > kLostBeam * free))
        return TRefusal{Msgid("the nulls cannot be placed apart from the beam")};
    currents = best;
    // Against a uniform excitation in phase at the target, as for ideal elements: the
    // elements' own field strengths take the place of the unit steering vector.
    double uniform = 0;
    for (int p = 0; p < n; ++p) uniform += std::sqrt(std::norm(at.Theta(p)) + std::norm(at.Phi(p)));
    report.SensitivityDb = 10 * std::log10(currents.squaredNorm() * uniform * uniform /
                                           (n * Norm2(FieldOf(at, currents))));
    report.Evaluations = 0;
    return std::nullopt;
}

Eigen::VectorXcd DesignWireFrontToBack(const TEmbeddedPatterns& patterns,
                                       const Eigen::VectorXcd& input, const TDesignTarget& target,
                                       bool rear, bool freeAmplitudes, TDesignReport& report) {
    const auto n = static_cast<std::size_t>(patterns.Ports());
    const TRingPorts ring(patterns, target);
    const double largest = input.cwiseAbs().maxCoeff();
    std::vector<double> amplitudes(n, 1);
    TFrontSearch search{static_cast<double>(target.BearingDegrees),
                        rear,
                        freeAmplitudes,
                        std::vector<double>(freeAmplitudes ? 2 * n : n),
                        {}};
    // The input's phases and amplitudes (a largest of 1), and the phases that bring each
    // port's field at the bearing to the same angle in the stronger polarisation.
    const bool vertical =
        ring.Theta.row(kCircleDegrees).squaredNorm() >= ring.Phi.row(kCircleDegrees).squaredNorm();
    for (std::size_t p = 0; p < n; ++p) {
        const auto i = static_cast<Eigen::Index>(p);
        const auto [amplitude, phase] = AmplitudeAndPhase(input(i));
        amplitudes[p] = largest > 0 ? amplitude / largest : 1;
        search.Input[p] = phase;
        if (freeAmplitudes) search.Input[n + p] = amplitudes[p];
        const std::complex<double> g = (vertical ? ring.Theta : ring.Phi)(kCircleDegrees, i);
        search.InPhase.push_back(std::arg(g) / (2 * std::numbers::pi));
    }
    const auto currentsOf = [&](const std::vector<double>& x) {
        Eigen::VectorXcd c(static_cast<Eigen::Index>(n));
        for (std::size_t p = 0; p < n; ++p) {
            const double a = freeAmplitudes ? std::clamp(x[n + p], 0.0, 1.0) : amplitudes[p];
            c(static_cast<Eigen::Index>(p)) = Phasor(a, x[p]);
        }
        return c;
    };
    const TFrontFound found =
        SearchFrontRatio(search, [&](const std::vector<double>& x, std::vector<double>& values) {
            ring.Values(currentsOf(x), values);
        });
    report.Evaluations = found.Evaluations;
    report.Figure = found.RatioDb;
    return currentsOf(found.Best);
}

long double WireFrontRatioDb(const TEmbeddedPatterns& patterns, const Eigen::VectorXcd& currents,
                             const TDesignTarget& target, bool rear) {
    const TRingPorts ring(patterns, target);
    std::vector<double> values(kRingValues);
    ring.Values(currents, values);
    const double front = values[kCircleDegrees];
    const double top = *std::max_element(values.begin(), values.end());
    if (!(front > kRoundingNoise * top)) return -std::numeric_limits<long double>::infinity();
    double back = rear ? 0 : values[kCircleDegrees + 1];
    for (int d = 0; rear && d < kCircleDegrees; ++d) {
        if (Separation<double>(d, static_cast<double>(target.BearingDegrees)) > 90)
            back = std::max(back, values[static_cast<std::size_t>(d)]);
    }
    if (back <= front * kRoundingNoise) return std::numeric_limits<long double>::infinity();
    return 20 * std::log10(static_cast<long double>(front) / back);
}

void WriteCurrents(TArray& array, const Eigen::VectorXcd& currents) {
    const double largest = currents.size() > 0 ? currents.cwiseAbs().maxCoeff() : 0;
    if (!(largest > 0)) return;
    const std::complex<double> first = currents(0);
    const std::complex<double> turn =
        std::abs(first) > 0 ? std::conj(first) / std::abs(first) : 1.0;
    Eigen::Index p = 0;
    for (TEmitter& e : array.Emitters) {
        if (!e.Enabled || p == currents.size()) continue;
        const auto [amplitude, phase] = AmplitudeAndPhase(currents(p++) * turn / largest);
        e.Amplitude = amplitude;
        e.Phase = phase;
    }
}
