#include "app/bounds.h"

#include "config/messages.h"
#include "config/numtext.h"
#include "model/coupling.h"
#include "model/ground.h"
#include "model/msgid.h"
#include "model/wires.h"

namespace {

constexpr TBound Closed(long double v) {
    return {v, false};
}
constexpr TBound Open(long double v) {
    return {v, true};
}

// The wires' limits as typed: a number read in extended precision is compared with these, and
// the model's double constants lie a little above 0.005 and 1e-10 and below 0.2, so that "0.005"
// itself would be refused and "0.2" taken. In the model's doubles they are its own limits.
constexpr long double kShortestWire = 0.005L;
constexpr long double kLongestWire = 2;
constexpr long double kThinnestWire = 1e-10L;
static_assert(static_cast<double>(kShortestWire) == kMinWireLength);
static_assert(static_cast<double>(kLongestWire) == kMaxWireLength);
static_assert(static_cast<double>(kThinnestWire) == kMinWireRadius);

const char* const kWavelengths = Msgid("wavelengths");
const char* const kDegrees = Msgid("degrees");

// The numbers are the command line's, which the studio's controls took over where they had
// drifted apart. The highest elevation is the window's slider's top. Past the position and
// amplitude limits a path length or a current's square leaves the range the fields are computed
// in exactly; no antenna needs them. A radius stays under a tenth of the longest wire, as a thin
// wire must.
const TQuantityRange kRanges[] = {
    {TQuantity::Elevation, "elevation", Closed(0), Closed(85), 0, kDegrees},
    {TQuantity::Height, "height", Closed(0), Closed(100), TGround{}.HeightWavelengths,
     kWavelengths},
    {TQuantity::Frequency, "frequency", Open(0), Closed(1e6L), std::nullopt, Msgid("MHz")},
    {TQuantity::Permittivity, "permittivity", Closed(1), Closed(1e6L), TGround{}.Permittivity, ""},
    {TQuantity::Conductivity, "conductivity", Closed(0), Closed(1e9L), TGround{}.Conductivity,
     Msgid("S/m")},
    {TQuantity::WireLength, "wire length", Closed(kShortestWire), Closed(kLongestWire),
     std::nullopt, kWavelengths},
    {TQuantity::WireRadius, "wire radius", Closed(kThinnestWire), Open(kLongestWire / 10),
     TWireSettings{}.Radius, kWavelengths},
    {TQuantity::Z0, "line impedance", Open(0), Closed(1e4L), TWireSettings{}.Z0, Msgid("ohms")},
    {TQuantity::Amplitude, "amplitude", Closed(0), Closed(1e100L), std::nullopt, ""},
    {TQuantity::Position, "position", Closed(-1e6L), Closed(1e6L), std::nullopt, kWavelengths},
    {TQuantity::Bearing, "bearing", Closed(0), Closed(359), std::nullopt, kDegrees},
    {TQuantity::SidelobeLevel, "side-lobe level", Closed(-200), Open(0), std::nullopt, Msgid("dB")},
};

}  // namespace

bool TQuantityRange::Contains(long double value) const {
    const bool aboveLow = Low.Open ? value > Low.Value : value >= Low.Value;
    const bool belowHigh = High.Open ? value < High.Value : value <= High.Value;
    return aboveLow && belowHigh;
}

std::span<const TQuantityRange> QuantityRanges() {
    return kRanges;
}

const TQuantityRange& RangeOf(TQuantity quantity) {
    for (const TQuantityRange& range : kRanges) {
        if (range.Quantity == quantity) return range;
    }
    return kRanges[0];
}

std::string RangeText(const TQuantityRange& range) {
    const char* format = range.Low.Open ? (range.High.Open ? Msgid("more than %s and under %s")
                                                           : Msgid("more than %s and up to %s"))
                                        : (range.High.Open ? Msgid("at least %s and under %s")
                                                           : Msgid("from %s to %s"));
    std::string text =
        TrFormat(format, {FormatGeneral(range.Low.Value), FormatGeneral(range.High.Value)});
    if (*range.Unit != '\0') text += std::string(" ") + Tr(range.Unit);
    return text;
}
