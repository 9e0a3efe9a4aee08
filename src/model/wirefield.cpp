#include "model/wirefield.h"

#include <cmath>
#include <numbers>
#include <vector>

#include "model/gausslegendre.h"

namespace {

constexpr double kWave = 2 * std::numbers::pi;                // per wavelength
constexpr double kImpedanceOfSpace = 120 * std::numbers::pi;  // ohms
constexpr double kDegree = std::numbers::pi / 180;

struct TVector {
    double X = 0, Y = 0, Z = 0;
    double Dot(const TVector& o) const { return X * o.X + Y * o.Y + Z * o.Z; }
};

TVector AxisOf(TWireAxis axis) {
    switch (axis) {
        case TWireAxis::Up:
            return {0, 0, 1};
        case TWireAxis::WestEast:
            return {1, 0, 0};
        case TWireAxis::SouthNorth:
            return {0, 1, 0};
    }
    return {};
}

TVector ModeCentre(const TWireArray& a, const TWireMode& m, bool image) {
    const TWire& w = a.Wires[static_cast<std::size_t>(m.Wire)];
    const double h = static_cast<double>(a.Ground.HeightWavelengths) * (image ? -1 : 1);
    switch (a.Axis) {
        case TWireAxis::Up:
            return {w.X, w.Y, image ? -m.Axial : m.Axial};
        case TWireAxis::WestEast:
            return {m.Axial, w.Y, h};
        case TWireAxis::SouthNorth:
            return {w.X, m.Axial, h};
    }
    return {};
}

double Sinc(double x) {
    return std::fabs(x) < 1e-8 ? 1 : std::sin(x) / x;
}

// k times the integral of a mode's current times exp(jk s c) along it, c the cosine between
// the axis and the direction: written with sincs so that it holds along the axis too.
double ModePattern(double half, double c) {
    const double kd = kWave * half;
    return kd * kd * Sinc(kd * (1 + c) / 2) * Sinc(kd * (1 - c) / 2) / std::sin(kd);
}

}  // namespace

TFarField WireFarField(const TWireSystem& system, const TWireCurrents& currents,
                       double bearingDegrees, double elevationDegrees) {
    const TWireArray& a = system.Array();
    const bool ground = a.Ground.Kind != TGroundKind::None;
    if (ground && elevationDegrees < 0) return {};
    const bool images = ground && !system.Monopoles();
    const double se = std::sin(elevationDegrees * kDegree),
                 ce = std::cos(elevationDegrees * kDegree);
    const double sb = std::sin(bearingDegrees * kDegree), cb = std::cos(bearingDegrees * kDegree);
    const TVector r{ce * sb, ce * cb, se};
    const TVector axis = AxisOf(a.Axis);
    const double c = axis.Dot(r);
    std::complex<double> direct = 0, image = 0;
    const std::vector<TWireMode>& modes = system.Modes();
    // A wire's modes are equal and equally spaced: one pattern for all, and each phase the
    // previous one's times the step along the wire (the other way along an upright image).
    const bool upright = a.Axis == TWireAxis::Up;
    std::complex<double> phase, imagePhase, step;
    double pattern = 0;
    for (std::size_t m = 0; m < modes.size(); ++m) {
        if (m == 0 || modes[m].Wire != modes[m - 1].Wire) {
            pattern = ModePattern(modes[m].Half, c);
            phase = std::polar(1.0, kWave * r.Dot(ModeCentre(a, modes[m], false)));
            if (images) imagePhase = std::polar(1.0, kWave * r.Dot(ModeCentre(a, modes[m], true)));
            step = std::polar(1.0, kWave * c * modes[m].Half);
        } else {
            phase *= step;
            imagePhase *= upright ? std::conj(step) : step;
        }
        const std::complex<double> current = currents.Modes[static_cast<Eigen::Index>(m)] * pattern;
        direct += current * phase;
        if (images) image += current * imagePhase;
    }
    const std::complex<double> scale(0, kImpedanceOfSpace / (4 * std::numbers::pi));
    const double alongTheta = axis.Dot({-se * sb, -se * cb, ce});
    const double alongPhi = axis.Dot({cb, -sb, 0});
    TFarField f{scale * direct * alongTheta, scale * direct * alongPhi};
    if (images) {
        // The image of a horizontal current flows the other way.
        const double sense = a.Axis == TWireAxis::Up ? 1 : -1;
        const TReflection<double> rc = Reflection<double>(a.Ground, se);
        f.Theta += rc.Vertical * scale * image * (sense * alongTheta);
        f.Phi += -rc.Horizontal * scale * image * (sense * alongPhi);
    }
    return f;
}

double RadiationIntensity(const TFarField& f) {
    return (std::norm(f.Theta) + std::norm(f.Phi)) / (2 * kImpedanceOfSpace);
}

double RadiatedPower(const TWireSystem& system, const TWireCurrents& currents) {
    const TWireArray& a = system.Array();
    double extent = 0;
    for (const TWireMode& m : system.Modes()) {
        const TVector p = ModeCentre(a, m, false);
        extent = std::max(extent, std::sqrt(p.Dot(p)) + m.Half);
    }
    const bool ground = a.Ground.Kind != TGroundKind::None;
    const int rows = 16 + static_cast<int>(std::ceil(8 * extent));
    const int columns = 2 * rows;
    std::vector<double> nodes, weights;
    GaussLegendre(rows, nodes, weights);
    const double low = ground ? 0 : -1;
    double power = 0;
    for (int i = 0; i < rows; ++i) {
        const double u = low + (1 - low) * (nodes[static_cast<std::size_t>(i)] + 1) / 2;
        const double elevation = std::asin(u) / kDegree;
        double ring = 0;
        for (int j = 0; j < columns; ++j)
            ring +=
                RadiationIntensity(WireFarField(system, currents, 360.0 * j / columns, elevation));
        power += weights[static_cast<std::size_t>(i)] * (1 - low) / 2 * ring * 2 *
                 std::numbers::pi / columns;
    }
    return power;
}

double WireGainDbi(const TWireSystem& system, const TWireCurrents& currents, double bearingDegrees,
                   double elevationDegrees) {
    const double u =
        RadiationIntensity(WireFarField(system, currents, bearingDegrees, elevationDegrees));
    return 10 * std::log10(4 * std::numbers::pi * u / InputPower(currents));
}
