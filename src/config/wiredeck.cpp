#include "config/wiredeck.h"

#include <charconv>
#include <cmath>

#include "config/necdeck.h"

namespace {

// NEC's own speed of light (m/us): at 299.8 MHz a wavelength is 1 m.
constexpr double kNecLightSpeed = 299.8;

std::string Number(double v) {
    char buffer[64];
    const auto end =
        std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::general, 12);
    return std::string(buffer, end.ptr);
}

std::string Line(std::initializer_list<std::string> fields) {
    std::string line;
    for (const std::string& f : fields) line += (line.empty() ? "" : " ") + f;
    return line + "\r\n";
}

int Segments(double length, bool monopole) {
    const long n = std::max(3L, std::lround(42 * length));
    return static_cast<int>(monopole || n % 2 ? n : n + 1);
}

}  // namespace

std::string WireNecDeck(const TArray& array, const TWireSettings& wires, const TGround& ground,
                        const std::vector<std::complex<double>>& voltages,
                        const TWireDeckCuts& cuts) {
    const bool grounded = ground.Kind != TGroundKind::None;
    const bool monopoles = grounded && ground.Kind == TGroundKind::Perfect &&
                           ground.HeightWavelengths == 0 && array.EmitterType == etVerticalDipole;
    const double frequency = ground.Kind == TGroundKind::Real
                                 ? static_cast<double>(ground.FrequencyMhz)
                                 : kNecLightSpeed;
    const double wavelength = kNecLightSpeed / frequency;  // metres
    const double height = grounded ? static_cast<double>(ground.HeightWavelengths) : 0;
    std::string deck = "CM Wires of arraypattern-cli: real lengths, radius " +
                       Number(wires.Radius) + " wavelengths, the solved feed voltages.\r\n";
    deck += "CM Frequency " + Number(frequency) + " MHz, wavelength " + Number(wavelength) +
            " m; X east, Y north, Z up in metres.\r\nCE\r\n";
    std::string sources;
    int tag = 0;
    for (int k = 1; k <= kEmitterCount; ++k) {
        const TEmitter& e = array.Emitter(k);
        if (!e.Enabled) continue;
        const double length = wires.Lengths[static_cast<std::size_t>(k - 1)].value_or(0);
        const int segments = Segments(length, monopoles);
        const double x = static_cast<double>(e.X), y = static_cast<double>(e.Y);
        double x1 = x, y1 = y, z1 = height, x2 = x, y2 = y, z2 = height;
        switch (array.EmitterType) {
            case etHorizontalDipoleNS:  // along west-east
                x1 -= length / 2;
                x2 += length / 2;
                break;
            case etHorizontalDipoleWE:  // along south-north
                y1 -= length / 2;
                y2 += length / 2;
                break;
            default:
                z1 = monopoles ? 0 : height - length / 2;
                z2 = monopoles ? length : height + length / 2;
                break;
        }
        const auto metres = [&](double v) { return Number(v * wavelength); };
        deck += Line({"GW", std::to_string(++tag), std::to_string(segments), metres(x1), metres(y1),
                      metres(z1), metres(x2), metres(y2), metres(z2),
                      metres(wires.Radii[static_cast<std::size_t>(k - 1)].value_or(wires.Radius))});
        const std::complex<double> v = voltages[static_cast<std::size_t>(tag - 1)];
        if (v != std::complex<double>(0))
            sources += Line({"EX", "0", std::to_string(tag),
                             std::to_string(monopoles ? 1 : (segments + 1) / 2), "0",
                             Number(v.real()), Number(v.imag())});
    }
    deck += Line({"GE", grounded ? "1" : "0"});
    if (ground.Kind == TGroundKind::Perfect) deck += Line({"GN", "1"});
    if (ground.Kind == TGroundKind::Real) {
        deck += Line({"GN", GroundCard(ground), "0", "0", "0",
                      Number(static_cast<double>(ground.Permittivity)),
                      Number(static_cast<double>(ground.Conductivity))});
    }
    deck += Line({"FR", "0", "1", "0", "0", Number(frequency), "0"});
    deck += sources;
    // NEC's theta is from the zenith and its phi from the x axis (east) towards north.
    const double step = cuts.StepDegrees;
    const auto count = [&](double span) { return std::to_string(std::lround(span / step) + 1); };
    deck += Line({"RP", "0", "1", count(360 - step), "1000", Number(90 - cuts.ElevationDegrees),
                  "0", "0", Number(step)});
    deck += Line({"RP", "0", count(grounded ? 90 : 180), "1", "1000", "0",
                  Number(90 - cuts.BearingDegrees), Number(step), "0"});
    deck += "EN\r\n";
    return deck;
}
