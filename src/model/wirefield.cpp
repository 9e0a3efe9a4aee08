#include "model/wirefield.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <numbers>

#include "model/gausslegendre.h"

namespace {

constexpr double kWave = 2 * std::numbers::pi;                // per wavelength
constexpr double kImpedanceOfSpace = 120 * std::numbers::pi;  // ohms
constexpr double kDegree = std::numbers::pi / 180;

double Sinc(double x) {
    return std::fabs(x) < 1e-8 ? 1 : std::sin(x) / x;
}

// k times the integral of a mode's current times exp(jk s c) along it, c the cosine between
// the axis and the direction: written with sincs so that it holds along the axis too.
double ModePattern(double half, double c) {
    const double kd = kWave * half;
    return kd * kd * Sinc(kd * (1 + c) / 2) * Sinc(kd * (1 - c) / 2) / std::sin(kd);
}

std::complex<double> Turn(double radians) {
    return {std::cos(radians), std::sin(radians)};
}

// The same of a mode with unequal segments, whose pattern has a phase about its centre, is the
// sum of its rising and its falling segment's. Over a segment of k-length x, with
// p = (1 + c) x / 2 and q = (1 - c) x / 2, that of the current rising to the centre is
// x / (2j sin x) (e^{jq} sinc p - e^{-jp} sinc q) and that of the current falling from it
// x / (2j sin x) (e^{jp} sinc q - e^{-jq} sinc p). Towards -c the two exchange places, which
// gives an upright image's.
struct TSegmentPattern {
    std::complex<double> Rising, Falling;
};

TSegmentPattern SegmentPattern(double length, double c) {
    const double x = kWave * length, p = (1 + c) * x / 2, q = (1 - c) * x / 2;
    const std::complex<double> turnP = Turn(p), turnQ = Turn(q);
    const double sincP = std::fabs(p) < 1e-8 ? 1 : turnP.imag() / p;
    const double sincQ = std::fabs(q) < 1e-8 ? 1 : turnQ.imag() / q;
    const std::complex<double> scale(0, -x / (2 * std::sin(x)));
    return {scale * (turnQ * sincP - std::conj(turnP) * sincQ),
            scale * (turnP * sincQ - std::conj(turnQ) * sincP)};
}

// The currents' polynomial in the step z, the first mode's current the constant term.
std::complex<double> Horner(const std::vector<std::complex<double>>& currents,
                            std::complex<double> z) {
    std::complex<double> sum = 0;
    for (auto i = currents.rbegin(); i != currents.rend(); ++i) sum = sum * z + *i;
    return sum;
}

}  // namespace

struct TWireRadiator::TDirection {
    double Se = 0, Ce = 0, Sb = 0, Cb = 0;
    double AlongAxis = 0;  // the cosine between the wires' axis and the direction
    TDirection(TWireAxis axis, double bearingDegrees, double elevationDegrees)
        : TDirection(axis, bearingDegrees, std::sin(elevationDegrees * kDegree),
                     std::cos(elevationDegrees * kDegree)) {}
    TDirection(TWireAxis axis, double bearingDegrees, double se, double ce)
        : Se(se),
          Ce(ce),
          Sb(std::sin(bearingDegrees * kDegree)),
          Cb(std::cos(bearingDegrees * kDegree)) {
        switch (axis) {
            case TWireAxis::Up:
                AlongAxis = Se;
                break;
            case TWireAxis::WestEast:
                AlongAxis = Ce * Sb;
                break;
            case TWireAxis::SouthNorth:
                AlongAxis = Ce * Cb;
                break;
        }
    }
    // k times the path difference of a point in the horizontal plane.
    double Across(double x, double y) const { return kWave * Ce * (Sb * x + Cb * y); }
};

struct TWireRadiator::TAxialSums {
    std::complex<double> Direct, Image;
};

// A shape's patterns towards one cosine with the axis.
struct TWireRadiator::TShapeFactors {
    std::size_t Shape = SIZE_MAX;
    double Cosine = 0;
    double Pattern = 0;
    std::complex<double> Step;
    std::vector<TSegmentPattern> Segments;  // as the shape's Lengths
    std::vector<std::complex<double>> Ends, EndImages;
};

namespace {

std::atomic<std::uint64_t> Radiators{0};

}  // namespace

TWireRadiator::TWireRadiator(const TWireSystem& system, const TWireCurrents& currents)
    : Id(++Radiators),
      Axis(system.Array().Axis),
      Ground(system.Array().Ground),
      OverGround(Ground.Kind != TGroundKind::None),
      Images(OverGround && !system.Monopoles()) {
    const TWireArray& a = system.Array();
    const double h = static_cast<double>(a.Ground.HeightWavelengths);
    const std::vector<TWireMode>& modes = system.Modes();
    for (std::size_t first = 0; first < modes.size();) {
        std::size_t last = first;
        while (last < modes.size() && modes[last].Wire == modes[first].Wire) ++last;
        const TWire& w = a.Wires[static_cast<std::size_t>(modes[first].Wire)];
        // The feed's mode is always a regular one.
        const TWireMode& middle = modes[(first + last) / 2];
        const double half = middle.Left;
        const auto regular = [&](const TWireMode& m) { return m.Left == half && m.Right == half; };
        std::size_t firstRegular = first;
        while (!regular(modes[firstRegular])) ++firstRegular;
        TShape shape{half, {}, {}};
        TWireModes wire{w.X, w.Y, h, 0, {}, {}};
        const double origin = modes[firstRegular].Axial;
        if (Axis == TWireAxis::Up) {
            wire.Z = origin;
        } else {
            (Axis == TWireAxis::WestEast ? wire.X : wire.Y) = origin;
        }
        for (std::size_t m = first; m < last; ++m) {
            const TWireMode& mode = modes[m];
            const std::complex<double> current = currents.Modes[static_cast<Eigen::Index>(m)];
            if (regular(mode)) {
                wire.Currents.push_back(current);
            } else {
                const auto index = [&](double length) {
                    std::vector<double>& lengths = shape.Lengths;
                    const auto known = std::find(lengths.begin(), lengths.end(), length);
                    const auto at = static_cast<std::size_t>(known - lengths.begin());
                    if (known == lengths.end()) lengths.push_back(length);
                    return at;
                };
                shape.Ends.push_back({mode.Axial - origin, index(mode.Left), index(mode.Right)});
                wire.EndCurrents.push_back(current);
            }
            double x = w.X, y = w.Y, z = h;
            (Axis == TWireAxis::Up ? z : Axis == TWireAxis::WestEast ? x : y) = mode.Axial;
            Reach =
                std::max(Reach, std::sqrt(x * x + y * y + z * z) + std::max(mode.Left, mode.Right));
        }
        const auto known = std::find(Shapes.begin(), Shapes.end(), shape);
        wire.Shape = static_cast<std::size_t>(known - Shapes.begin());
        if (known == Shapes.end()) Shapes.push_back(shape);
        Wires.push_back(std::move(wire));
        first = last;
    }
}

void TWireRadiator::Factors(std::size_t shape, double c, TShapeFactors& f) const {
    if (f.Shape == shape && f.Cosine == c) return;
    const TShape& s = Shapes[shape];
    f.Shape = shape;
    f.Cosine = c;
    f.Pattern = ModePattern(s.Half, c);
    f.Step = Turn(kWave * c * s.Half);
    f.Segments.clear();
    f.Ends.clear();
    f.EndImages.clear();
    for (const double length : s.Lengths) f.Segments.push_back(SegmentPattern(length, c));
    for (const TEndSpan& e : s.Ends) {
        const TSegmentPattern &left = f.Segments[e.Left], &right = f.Segments[e.Right];
        const std::complex<double> turn = Turn(kWave * c * e.Offset);
        f.Ends.push_back((left.Rising + right.Falling) * turn);
        if (Images && Axis == TWireAxis::Up)
            f.EndImages.push_back((left.Falling + right.Rising) * std::conj(turn));
    }
}

TWireRadiator::TAxialSums TWireRadiator::Sums(const TWireModes& w, const TShapeFactors& f) const {
    TAxialSums sums{Horner(w.Currents, f.Step) * f.Pattern, 0};
    for (std::size_t i = 0; i < w.EndCurrents.size(); ++i)
        sums.Direct += w.EndCurrents[i] * f.Ends[i];
    if (!Images) return sums;
    if (Axis != TWireAxis::Up) {
        sums.Image = sums.Direct;
        return sums;
    }
    sums.Image = Horner(w.Currents, std::conj(f.Step)) * f.Pattern;
    for (std::size_t i = 0; i < w.EndCurrents.size(); ++i)
        sums.Image += w.EndCurrents[i] * f.EndImages[i];
    return sums;
}

TFarField TWireRadiator::Combine(const TDirection& d, std::complex<double> direct,
                                 std::complex<double> image,
                                 const std::complex<double>* reflection) const {
    const std::complex<double> scale(0, kImpedanceOfSpace / (4 * std::numbers::pi));
    // The axis against the unit vectors of Theta and Phi.
    double alongTheta = d.Ce, alongPhi = 0;
    if (Axis == TWireAxis::WestEast) {
        alongTheta = -d.Se * d.Sb;
        alongPhi = d.Cb;
    } else if (Axis == TWireAxis::SouthNorth) {
        alongTheta = -d.Se * d.Cb;
        alongPhi = -d.Sb;
    }
    TFarField f{scale * direct * alongTheta, scale * direct * alongPhi};
    if (Images) {
        // The image of a horizontal current flows the other way.
        const double sense = Axis == TWireAxis::Up ? 1 : -1;
        f.Theta += reflection[0] * scale * image * (sense * alongTheta);
        f.Phi += -reflection[1] * scale * image * (sense * alongPhi);
    }
    return f;
}

TFarField TWireRadiator::FieldTowards(const TDirection& d,
                                      const std::complex<double>* reflection) const {
    std::complex<double> direct = 0, image = 0;
    // Wires of one shape share its patterns and step, and directions of one cosine with the
    // axis do too, as the bearings of one elevation do for upright wires: a search for the
    // pattern's figures asks for hundreds of them, and the graded modes' patterns cost tens
    // of sines each. The thread keeps each shape's last.
    thread_local std::uint64_t owner = 0;
    thread_local std::vector<TShapeFactors> kept;
    if (owner != Id) {
        owner = Id;
        kept.assign(Shapes.size(), {});
    }
    for (const TWireModes& w : Wires) {
        TShapeFactors& f = kept[w.Shape];
        Factors(w.Shape, d.AlongAxis, f);
        const double across = d.Across(w.X, w.Y), up = kWave * d.Se * w.Z;
        // The image lies as far below the ground.
        const TAxialSums sums = Sums(w, f);
        direct += sums.Direct * Turn(across + up);
        if (Images) image += sums.Image * Turn(across - up);
    }
    return Combine(d, direct, image, reflection);
}

TFarField TWireRadiator::Field(double bearingDegrees, double elevationDegrees) const {
    if (OverGround && elevationDegrees < 0) return {};
    const TDirection d(Axis, bearingDegrees, elevationDegrees);
    const TReflection<double> r = Reflection<double>(Ground, d.Se);
    const std::complex<double> reflection[2] = {r.Vertical, r.Horizontal};
    return FieldTowards(d, reflection);
}

void TWireRadiator::Ring(double elevationDegrees, const std::vector<double>& bearingsDegrees,
                         std::vector<double>& intensity) const {
    intensity.assign(bearingsDegrees.size(), 0);
    if (OverGround && elevationDegrees < 0) return;
    const TDirection level(Axis, 0, elevationDegrees);
    const TReflection<double> r = Reflection<double>(Ground, level.Se);
    const std::complex<double> reflection[2] = {r.Vertical, r.Horizontal};
    if (Axis != TWireAxis::Up) {
        for (std::size_t i = 0; i < bearingsDegrees.size(); ++i)
            intensity[i] = RadiationIntensity(
                FieldTowards(TDirection(Axis, bearingsDegrees[i], level.Se, level.Ce), reflection));
        return;
    }
    // Upright wires: the sums along the axis depend on the elevation alone.
    std::vector<std::complex<double>> direct, image;
    TShapeFactors f;
    for (const TWireModes& w : Wires) {
        Factors(w.Shape, level.Se, f);
        const TAxialSums sums = Sums(w, f);
        direct.push_back(sums.Direct * Turn(kWave * level.Se * w.Z));
        if (Images) image.push_back(sums.Image * Turn(-kWave * level.Se * w.Z));
    }
    for (std::size_t i = 0; i < bearingsDegrees.size(); ++i) {
        const TDirection d(Axis, bearingsDegrees[i], level.Se, level.Ce);
        std::complex<double> towards = 0, mirrored = 0;
        for (std::size_t k = 0; k < Wires.size(); ++k) {
            const std::complex<double> across = Turn(d.Across(Wires[k].X, Wires[k].Y));
            towards += direct[k] * across;
            if (Images) mirrored += image[k] * across;
        }
        intensity[i] = RadiationIntensity(Combine(d, towards, mirrored, reflection));
    }
}

TFarField WireFarField(const TWireSystem& system, const TWireCurrents& currents,
                       double bearingDegrees, double elevationDegrees) {
    return TWireRadiator(system, currents).Field(bearingDegrees, elevationDegrees);
}

double RadiationIntensity(const TFarField& f) {
    return (std::norm(f.Theta) + std::norm(f.Phi)) / (2 * kImpedanceOfSpace);
}

double RadiatedPower(const TWireRadiator& radiator) {
    const int rows = 16 + static_cast<int>(std::ceil(8 * radiator.Extent()));
    const int columns = 2 * rows;
    std::vector<double> nodes, weights;
    GaussLegendre(rows, nodes, weights);
    std::vector<double> bearings, intensity;
    for (int j = 0; j < columns; ++j) bearings.push_back(360.0 * j / columns);
    const double low = radiator.HalfSpace() ? 0 : -1;
    double power = 0;
    for (int i = 0; i < rows; ++i) {
        const double u = low + (1 - low) * (nodes[static_cast<std::size_t>(i)] + 1) / 2;
        radiator.Ring(std::asin(u) / kDegree, bearings, intensity);
        double ring = 0;
        for (const double value : intensity) ring += value;
        power += weights[static_cast<std::size_t>(i)] * (1 - low) / 2 * ring * 2 *
                 std::numbers::pi / columns;
    }
    return power;
}

double RadiatedPower(const TWireSystem& system, const TWireCurrents& currents) {
    return RadiatedPower(TWireRadiator(system, currents));
}

double WireGainDbi(const TWireSystem& system, const TWireCurrents& currents, double bearingDegrees,
                   double elevationDegrees) {
    const double u =
        RadiationIntensity(WireFarField(system, currents, bearingDegrees, elevationDegrees));
    return 10 * std::log10(4 * std::numbers::pi * u / InputPower(currents));
}
