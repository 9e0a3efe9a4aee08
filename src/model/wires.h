#pragma once

#include <Eigen/Dense>
#include <complex>
#include <optional>
#include <vector>

#include "model/ground.h"

// Every wire of an array lies along one axis.
enum class TWireAxis {
    Up,
    WestEast,
    SouthNorth,
};

// A thin straight wire centred on (X, Y) at the array's height, fed at its centre. Over
// perfect ground at height 0 an upright wire is a monopole: it runs from the ground up to its
// length and is fed at its base.
struct TWire {
    double X = 0;         // wavelengths east
    double Y = 0;         // wavelengths north
    double Length = 0.5;  // wavelengths
    double Radius = 0;    // wavelengths; 0 takes the array's
};

struct TWireArray {
    TWireAxis Axis = TWireAxis::Up;
    double Radius = 0.0005;  // wavelengths
    TGround Ground;          // its height is that of the wires' centres
    std::vector<TWire> Wires;
    // Sinusoidal segments per wavelength of wire, rounded up to an even count on each wire so
    // that a node lies at the feed. The reduced thin-wire kernel settles slowly: at 20 twice
    // as many move a half-wave dipole's drive impedance by under 2 %, as NEC's move between 21
    // and 41 segments, and eight dipoles still solve within a drag's frame. Tubing settles
    // more slowly still: see SegmentsOn.
    int SegmentsPerWavelength = 40;
    // However short a wire, it carries this many segments, so that its current's shape and
    // its feed gap are resolved.
    int MinSegments = 20;
};

inline constexpr int kDefaultSegmentsPerWavelength = 40;
inline constexpr int kDefaultMinSegments = 20;

// A wire's own radius (wavelengths).
double RadiusOf(const TWireArray& array, const TWire& wire);
// The segments a wire of this length (wavelengths) gets, an even count.
int SegmentsOn(const TWireArray& array, const TWire& wire, double length);

// Thinner (wavelengths), the kernel's logarithm of the radius loses a double's precision.
inline constexpr double kMinWireRadius = 1e-10;
// The far field's power integral is sized by the distance of the currents from the array's
// middle, over ground their images' too (wavelengths): beyond this the work grows past a
// second and the case is refused rather than run for minutes.
inline constexpr double kMaxWireReach = 110;

// Why a geometry has no solution; First and Second index Wires.
struct TWireFault {
    enum TKind { ReachesGround, Touch, ThickWire, ThinWire, Spread } Kind = ReachesGround;
    int First = 0;
    int Second = 0;
};
std::optional<TWireFault> CheckWires(const TWireArray& array);

bool IsMonopoleArray(const TWireArray& array);

enum class TFeed { Current, Voltage };

// A feed is a gap across which the source's field is uniform, and its current is the mean over
// the gap. The gap is a fortieth of the element (of the dipole a monopole forms with its
// image), as NEC's source segment is when the element is cut into 40: the susceptance of a gap
// that shrank with the segments would grow without limit, and the drive impedance would never
// settle. An element's impedance moves with its gap, a short one's most: a twentieth of a
// 0.035-wavelength monopole put 5 % on its reactance and 4 ohms on the drive resistances of a
// four-square of them. Beyond 0.95 wavelength the gap stays at 1/42 wavelength.
inline constexpr double kFeedGap = 1.0 / 42;  // wavelengths
inline constexpr double kMaxGapShare = 1.0 / 40;

// Peak phasors at the feeds (amperes, volts) and on every sinusoidal mode.
struct TWireCurrents {
    Eigen::VectorXcd PortCurrent;
    Eigen::VectorXcd PortVoltage;
    Eigen::VectorXcd Modes;
};

// The current of an open end falls to nothing over a length the uniform segments cannot
// resolve, and a half-wave dipole's drive impedance missed NEC's settled figure by 3 % for it.
// So the last of the uniform segments at each open end is cut into a run halving toward the
// end, as many as kEndGrades deep, the shortest at least kMinEndSegmentRadii radii long (the
// reduced kernel's own limit is two) and kMinRegularSegments left uniform; the wire's count of
// segments stays the same.
inline constexpr int kEndGrades = 4;
inline constexpr double kMinEndSegmentRadii = 4;
inline constexpr int kMinRegularSegments = 4;

// One sinusoidal mode: a current of 1 A at its centre falling to 0 at the next node either
// side, Left segment below it and Right above.
struct TWireMode {
    int Wire = 0;
    double Axial = 0;  // wavelengths along the axis, of the centre
    double Left = 0;   // segment lengths, wavelengths
    double Right = 0;
};

// The method of moments on the array's wires, Galerkin with piecewise-sinusoidal modes: the
// mode impedance matrix is filled and factored once; every excitation after that costs a
// product with the currents each feed drives alone.
class TWireSystem {
  public:
    explicit TWireSystem(const TWireArray& array);

    int Ports() const { return static_cast<int>(Impedance.rows()); }
    // Each port driven alone with the others shorted (ohms).
    const Eigen::MatrixXcd& PortImpedance() const { return Impedance; }
    const Eigen::MatrixXcd& PortAdmittance() const { return Admittance; }
    // Current feed: drive holds each port's current, 0 leaves the port open. Voltage feed: each
    // source's voltage, 0 shorts the port.
    TWireCurrents Solve(TFeed feed, const Eigen::VectorXcd& drive) const;

    const TWireArray& Array() const { return Geometry; }
    const std::vector<TWireMode>& Modes() const { return ModeList; }
    // Monopoles are solved as the dipoles they form with their images, in free space.
    bool Monopoles() const { return SolvedAsDipoles; }

  private:
    TWireArray Geometry;
    bool SolvedAsDipoles = false;
    std::vector<TWireMode> ModeList;
    Eigen::MatrixXd GapShares;             // modes x ports: each mode's share of each feed gap
    Eigen::MatrixXcd ModeCurrentsPerVolt;  // modes x ports
    Eigen::MatrixXcd Admittance;
    Eigen::MatrixXcd Impedance;
};

// The mode impedance matrix (ohms) of the array as solved, images included.
Eigen::MatrixXcd ModeImpedance(const TWireArray& array, const std::vector<TWireMode>& modes,
                               bool monopoles);
std::vector<TWireMode> LayModes(const TWireArray& array, bool monopoles);

// Per feed: drive impedance V / I (ohms), the standing-wave ratio against z0, none where the
// drive resistance is not positive, and the power delivered, half Re(V I*) (watts).
struct TDrive {
    std::optional<std::complex<double>> Impedance;
    std::optional<double> Swr;
    double Power = 0;
};
TDrive DriveFigures(std::complex<double> voltage, std::complex<double> current, double z0);
double InputPower(const TWireCurrents& currents);
