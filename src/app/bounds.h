#pragma once

#include <optional>
#include <span>
#include <string>

// The range of each physical quantity an array case holds, declared once: the command line's
// options and the studio's controls both read it, so that a value one face takes the other
// takes too.

enum class TQuantity {
    Elevation,     // degrees above the horizon of the azimuth cut
    Height,        // wavelengths of the array's plane above the ground
    Frequency,     // MHz
    Permittivity,  // relative, of real ground
    Conductivity,  // S/m, of real ground
    WireLength,    // wavelengths
    WireRadius,    // wavelengths
    Z0,            // ohms, the line the SWR is taken against
    Amplitude,     // a relative current
    Position,      // wavelengths east or north of the origin
    Bearing,       // whole compass degrees of a cut, a focus or a design's beam
    SidelobeLevel  // dB of a taper's side lobes below the main lobe
};

// One end of a range; an open end is itself outside it.
struct TBound {
    long double Value;
    bool Open;
};

struct TQuantityRange {
    TQuantity Quantity;
    const char* Name;  // for listings and tests: "height"
    TBound Low, High;
    // The value the command line takes when the option and the file give none; none where
    // the quantity must be given, or comes from elsewhere (the maximum's bearing).
    std::optional<long double> Default;
    const char* Unit;  // a catalogue text, empty for a pure number

    bool Contains(long double value) const;
};

std::span<const TQuantityRange> QuantityRanges();
const TQuantityRange& RangeOf(TQuantity quantity);

// The range in words for a tooltip or a help line: "from 0 to 100 wavelengths", "more than 0
// and up to 10000 ohms".
std::string RangeText(const TQuantityRange& range);
