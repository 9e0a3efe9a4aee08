#pragma once

#include <optional>
#include <string>

#include "config/inifile.h"
#include "model/coupling.h"
#include "model/field.h"

// The wire keys of a configuration, as the Windows-1251 bytes stored on disk: a length and
// perhaps a radius of its own in each emitter's section, the radius and the feed in
// "Все излучатели"; beside them the keys of the faces' other settings that the window has
// none of (Z0, the design frequency, the studio's elevation and formula). The window neither
// reads nor writes them.
inline constexpr std::string_view kLengthKey = "\xC4\xEB\xE8\xED\xE0";        // "Длина"
inline constexpr std::string_view kRadiusKey = "\xD0\xE0\xE4\xE8\xF3\xF1";    // "Радиус"
inline constexpr std::string_view kFeedKey = "\xCF\xE8\xF2\xE0\xED\xE8\xE5";  // "Питание"
// How the wires' currents see real ground: a name of kGroundModelNames.
inline constexpr std::string_view kGroundModelKey =
    "\xCC\xEE\xE4\xE5\xEB\xFC\x20\xE7\xE5\xEC\xEB\xE8";  // "Модель земли"
// The impedance the drive SWR is taken against (ohms), in "Все излучатели".
inline constexpr std::string_view kZ0Key = "Z0";
// How the studio looks at the array, beside the options that set it for a run: the elevation
// of the azimuth pattern (degrees; none over ground: the take-off angle) and the formula in
// free space, a name of kChosenModelNames.
inline constexpr std::string_view kElevationKey =
    "\xD3\xE3\xEE\xEB\x20\xEC\xE5\xF1\xF2\xE0";  // "Угол места"
inline constexpr std::string_view kFormulaKey = "\xD4\xEE\xF0\xEC\xF3\xEB\xE0";  // "Формула"
inline constexpr double kMaxFileElevation = 85;                                  // degrees
// The design frequency (MHz) keeps the ground's key, "Частота", written beside a ground other
// than real as well: a feed network's parts and a frequency sweep are sized by it.
inline constexpr double kMaxFileFrequencyMhz = 1e6;
inline constexpr double kMaxFileZ0 = 1e4;  // ohms

// A value of those keys that no wire can have, where it stands in the file.
struct TWireKeyFault {
    enum TKind {
        Length,       // not a number from kMinWireLength to kMaxWireLength wavelengths
        Radius,       // not a number of at least kMinWireRadius
        Feed,         // neither 0 (current) nor 1 (voltage)
        GroundModel,  // not a name of kGroundModelNames
        Z0,           // not a number above 0 and up to kMaxFileZ0
        Frequency,    // not a number above 0 and up to kMaxFileFrequencyMhz
        Elevation,    // not a number from 0 to kMaxFileElevation
        Formula,      // not a name of kChosenModelNames
    } Kind = Length;
    int Line = 0;     // from 1
    int Emitter = 0;  // Length, and Radius in an emitter's section
    std::string Value;
};

struct TWireKeys {
    TWireSettings Settings;  // the defaults where the file has no key
    bool RadiusGiven = false;
    bool FeedGiven = false;
    std::optional<TGroundModel> GroundModel;  // where the file or a face sets it
    bool Z0Given = false;
    // Where the ground is not real, whose own reading holds its frequency.
    std::optional<double> FrequencyMhz;
    std::optional<double> ElevationDegrees;
    std::optional<TFieldModel> Formula;       // Window or FreeSpace
    std::optional<TWireKeyFault> Fault;       // the first bad value; the settings then hold no use
};
TWireKeys ReadWireKeys(const TIniFile& file);

// Writes a length for every emitter that has one, and the radius, the feed, the ground model,
// Z0 and the frequency where given; removes those keys elsewhere. A real ground's frequency is
// the ground's, written with it.
void WriteWireKeys(TIniFile& file, const TWireKeys& keys);
