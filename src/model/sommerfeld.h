#pragma once

#include <complex>
#include <memory>

// The lossy earth's field under parallel wires beyond the quasi-static image the solver adds
// in closed form (see sommerfeldkernel.h for the formulation): tabulated once per soil,
// frequency and layout of the wires, then integrated against pairs of sinusoidal modes.

// What the tables depend on. Lengths in wavelengths.
struct TSommerfeldLayout {
    std::complex<double> Permittivity;  // relative, complex, of the ground
    bool Upright = false;
    // Horizontal wires: twice their height. Upright wires: the least and greatest sum of the
    // heights of two points on them.
    double LowestSum = 0;
    double HighestSum = 0;
    double Reach = 0;  // the greatest horizontal distance between two points of the wires
    bool operator==(const TSommerfeldLayout&) const = default;
};

// The tables hold for wires at least this high (wavelengths) and this many radii up; lower
// wires are refused as reaching the ground.
inline constexpr double kMinSommerfeldHeight = 0.001;
inline constexpr double kMinSommerfeldRadii = 4;

// One sinusoidal mode: the centre along the wires' axis (upright: its height) and the segment
// lengths below and above it, wavelengths.
struct TModeSpan {
    double Centre = 0;
    double Left = 0;
    double Right = 0;
};

class TSommerfeldGround {
  public:
    explicit TSommerfeldGround(const TSommerfeldLayout& layout);
    ~TSommerfeldGround();

    // The tables of the layout, built once and kept while wires of that layout are solved.
    static std::shared_ptr<const TSommerfeldGround> For(const TSommerfeldLayout& layout);

    // The weight of the image the solver adds: (eps - 1) / (eps + 1).
    std::complex<double> ImageWeight() const;
    // The reaction (ohms) of the rest of the ground's field between a test mode and a source
    // mode on wires `across` apart (their axes' horizontal distance, the radius folded in).
    std::complex<double> Reaction(const TModeSpan& test, const TModeSpan& source,
                                  double across) const;

  private:
    struct TTables;
    std::unique_ptr<TTables> Tables;
};
