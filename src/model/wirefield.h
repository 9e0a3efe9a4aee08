#pragma once

#include <complex>
#include <cstdint>
#include <vector>

#include "model/wires.h"

// The far field r E (volts, peak) of the solved currents towards a compass bearing and an
// elevation (degrees), split along the vertical unit vector of the plane of incidence (Theta)
// and the horizontal one across it (Phi). Over ground the reflected wave is the image's,
// weighted by the Fresnel coefficients; below the horizon there it is 0.
struct TFarField {
    std::complex<double> Theta;
    std::complex<double> Phi;
};

// The solved currents arranged for the far field: a wire's regular modes are equal and equally
// spaced, so they radiate one mode's pattern times a polynomial of their currents in the phase
// step along it; the graded modes at its ends add their own patterns.
class TWireRadiator {
  public:
    TWireRadiator(const TWireSystem& system, const TWireCurrents& currents);

    TFarField Field(double bearingDegrees, double elevationDegrees) const;
    // Radiation intensity (watts per steradian) at one elevation towards each bearing: a
    // ring shares the ground's reflection, and upright wires their sums along the axis.
    void Ring(double elevationDegrees, const std::vector<double>& bearingsDegrees,
              std::vector<double>& intensity) const;
    // The distance from the origin that every current lies within (wavelengths).
    double Extent() const { return Reach; }
    // Over ground the field lies in the upper half-space only.
    bool HalfSpace() const { return OverGround; }

  private:
    // A graded mode: its centre's offset along the axis from the first regular mode's, and its
    // segments below and above it (wavelengths).
    struct TEndSpan {
        double Offset = 0;
        std::size_t Left = 0, Right = 0;  // index the shape's Lengths
        bool operator==(const TEndSpan&) const = default;
    };
    // What wires of one length share.
    struct TShape {
        double Half = 0;              // regular segment length
        std::vector<double> Lengths;  // of the graded modes' segments, each once
        std::vector<TEndSpan> Ends;
        bool operator==(const TShape&) const = default;
    };
    struct TWireModes {
        double X = 0, Y = 0, Z = 0;  // centre of the first regular mode; its image's is at -Z
        std::size_t Shape = 0;
        std::vector<std::complex<double>> Currents;     // of the regular modes
        std::vector<std::complex<double>> EndCurrents;  // of the graded ones, as Ends
    };
    struct TDirection;
    // The sums along one wire towards the cosine c with the axis, relative to the phase of its
    // first regular mode: its own and its image's (an upright image runs the other way).
    struct TAxialSums;
    struct TShapeFactors;
    void Factors(std::size_t shape, double c, TShapeFactors& f) const;
    TAxialSums Sums(const TWireModes& w, const TShapeFactors& f) const;
    TFarField Combine(const TDirection& d, std::complex<double> direct, std::complex<double> image,
                      const std::complex<double>* reflection) const;
    TFarField FieldTowards(const TDirection& d, const std::complex<double>* reflection) const;

    // Tells this radiator's copies from any other's, whose shapes differ.
    std::uint64_t Id = 0;
    TWireAxis Axis = TWireAxis::Up;
    TGround Ground;
    bool OverGround = false;
    bool Images = false;
    double Reach = 0;
    std::vector<TShape> Shapes;
    std::vector<TWireModes> Wires;
};

TFarField WireFarField(const TWireSystem& system, const TWireCurrents& currents,
                       double bearingDegrees, double elevationDegrees);

// Radiated power per unit solid angle (watts per steradian).
double RadiationIntensity(const TFarField& field);

// The power the far field carries through the sphere, or over ground through the upper
// half-space (watts): by Gauss-Legendre quadrature in the sine of the elevation and the
// trapezoid rule in bearing, both fine enough for the array's extent.
double RadiatedPower(const TWireRadiator& radiator);
double RadiatedPower(const TWireSystem& system, const TWireCurrents& currents);

// 4 pi U over the input power (dBi): over real ground the earth's loss lowers it.
double WireGainDbi(const TWireSystem& system, const TWireCurrents& currents, double bearingDegrees,
                   double elevationDegrees);
