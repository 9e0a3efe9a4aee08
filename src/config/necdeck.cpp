#include "config/necdeck.h"

#include <charconv>
#include <cmath>

#include "model/angles.h"

namespace {

// NEC's own speed of light (m/us): at 299.8 MHz a wavelength is 1 m, and coordinates in
// metres read as wavelengths.
constexpr long double kNecLightSpeed = 299.8L;
constexpr int kSegments = 21;  // odd, so that one segment holds the feed at the centre
constexpr long double kRadiusWavelengths = 1e-5L;

std::string Number(long double v) {
    char buffer[64];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(v),
                                   std::chars_format::general, 12);
    return std::string(buffer, end.ptr);
}

std::string Line(std::initializer_list<std::string> fields) {
    std::string line;
    for (const std::string& f : fields) line += (line.empty() ? "" : " ") + f;
    return line + "\r\n";
}

}  // namespace

std::string GroundCard(const TGround& ground) {
    return ground.Model == TGroundModel::Reflection ? "0" : "2";
}

std::string NecDeck(const TArray& array, const TGround& ground, const TNecRequest& request) {
    const bool grounded = ground.Kind != TGroundKind::None;
    const long double frequency =
        ground.Kind == TGroundKind::Real ? ground.FrequencyMhz : kNecLightSpeed;
    const long double wavelength = kNecLightSpeed / frequency;  // metres
    const long double half = request.DipoleLengthWavelengths / 2 * wavelength;
    const long double height = grounded ? ground.HeightWavelengths * wavelength : 0;
    std::string deck;
    deck += "CM Short dipoles of arraypattern-cli, type " + std::to_string(array.EmitterType) +
            ", " + Number(request.DipoleLengthWavelengths) + " wavelengths long.\r\n";
    deck += "CM Its phases are lags: each current is amplitude * exp(-j 2 pi Phase), so the\r\n";
    deck += "CM sources' phase angles are -360 * Phase degrees (NEC's phases are leads).\r\n";
    deck += "CM Frequency " + Number(frequency) + " MHz, wavelength " + Number(wavelength) +
            " m; X east, Y north, Z up in metres.\r\n";
    deck += "CE\r\n";
    int tag = 0;
    std::string sources;
    for (const TEmitter& e : array.Emitters) {
        if (!e.Enabled) continue;
        ++tag;
        const long double x = e.X * wavelength;
        const long double y = e.Y * wavelength;
        long double dx = 0, dy = 0, dz = 0;
        switch (array.EmitterType) {
            case etHorizontalDipoleNS:  // along west-east
                dx = half;
                break;
            case etHorizontalDipoleWE:  // along north-south
                dy = half;
                break;
            default:
                dz = half;
                break;
        }
        deck += Line({"GW", std::to_string(tag), std::to_string(kSegments), Number(x - dx),
                      Number(y - dy), Number(height - dz), Number(x + dx), Number(y + dy),
                      Number(height + dz), Number(kRadiusWavelengths * wavelength)});
        // Equal short dipoles: the voltage that drives a current is proportional to it.
        const long double angle = -2 * kPi * e.Phase;
        sources +=
            Line({"EX", "0", std::to_string(tag), std::to_string(kSegments / 2 + 1), "0",
                  Number(e.Amplitude * std::cos(angle)), Number(e.Amplitude * std::sin(angle))});
    }
    deck += Line({"GE", grounded ? "1" : "0"});
    if (ground.Kind == TGroundKind::Perfect) deck += Line({"GN", "1"});
    if (ground.Kind == TGroundKind::Real) {
        deck += Line({"GN", GroundCard(ground), "0", "0", "0", Number(ground.Permittivity),
                      Number(ground.Conductivity)});
    }
    deck += Line({"FR", "0", "1", "0", "0", Number(frequency), "0"});
    deck += sources;
    // NEC's theta is from the zenith and its phi from the x axis (east) towards north.
    deck +=
        Line({"RP", "0", "1", "361", "1000", Number(90 - request.ElevationDegrees), "0", "0", "1"});
    deck += Line({"RP", "0", "91", "1", "1000", "0", Number(90 - request.CutBearing), "1", "0"});
    deck += "EN\r\n";
    return deck;
}
