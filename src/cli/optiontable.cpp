#include "cli/optiontable.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "app/bounds.h"
#include "cli/feed.h"
#include "config/numtext.h"
#include "model/ground.h"
#include "model/phaseangle.h"

namespace {

constexpr TCommandSet kPattern = CommandBit(TCliCommand::Pattern);
constexpr TCommandSet kExport = CommandBit(TCliCommand::Export);
constexpr TCommandSet kSave = CommandBit(TCliCommand::Save);
constexpr TCommandSet kPlot = CommandBit(TCliCommand::Plot);
constexpr TCommandSet kNec = CommandBit(TCliCommand::Nec);
constexpr TCommandSet kSweep = CommandBit(TCliCommand::Sweep);
constexpr TCommandSet kDesign = CommandBit(TCliCommand::Design);
constexpr TCommandSet kTouchstone = CommandBit(TCliCommand::Touchstone);
// Whatever computes a pattern of the array.
constexpr TCommandSet kAnalysing =
    kPattern | kExport | kPlot | kNec | kSweep | kDesign | kTouchstone;
// Whatever may place the array over a ground.
constexpr TCommandSet kGrounded = kPattern | kSave | kPlot | kNec | kSweep | kDesign | kTouchstone;

[[noreturn]] void BadValue(std::string_view option, const std::string& value,
                           const std::string& expected) {
    throw EUsageError(
        TrFormat("invalid value '%s' for %s: %s", {ShownValue(value), option, expected}));
}

// A plain decimal integer with an optional sign; nullopt for anything else or beyond int.
std::optional<long> WholeNumber(std::string_view text) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
    if (i == text.size() || text.size() - i > 9) return std::nullopt;
    for (std::size_t k = i; k < text.size(); ++k) {
        if (text[k] < '0' || text[k] > '9') return std::nullopt;
    }
    return std::strtol(std::string(text).c_str(), nullptr, 10);
}

// Every number of the command line reads with the call's decimal mark, else a full stop.
std::optional<long double> Number(const TOptionContext& c, const std::string& text) {
    auto v = ParseFloat(text, c.Options.DecimalMark.value_or(c.DefaultMark));
    if (!v) v = ParseFloat(text, '.');
    if (v && !std::isfinite(*v)) return std::nullopt;
    return v;
}

long double Real(const TOptionContext& c, std::string_view option, const std::string& value,
                 long double low, long double high, const std::string& expected) {
    const auto v = Number(c, value);
    if (!v || !(*v >= low && *v <= high)) BadValue(option, value, expected);
    return *v;
}

// A value of a physical quantity, in the range the studio's controls share.
long double Quantity(const TOptionContext& c, std::string_view option, const std::string& value,
                     TQuantity quantity, const std::string& expected) {
    const auto v = Number(c, value);
    if (!v || !RangeOf(quantity).Contains(*v)) BadValue(option, value, expected);
    return *v;
}

bool InRange(TQuantity quantity, long double value) {
    return RangeOf(quantity).Contains(value);
}

int WholeBearing(std::string_view option, const std::string& value) {
    const auto n = WholeNumber(value);
    if (!n || !InRange(TQuantity::Bearing, static_cast<long double>(*n)) || value[0] < '0' ||
        value[0] > '9') {
        BadValue(option, value, Tr("a whole bearing from 0 to 359"));
    }
    return static_cast<int>(*n);
}

template <typename T>
T Choice(std::string_view option, const std::string& value, std::span<const TNamed<T>> names) {
    if (const auto v = ValueNamed(names, value)) return *v;
    BadValue(option, value, TrFormat("one of %s", {NameList(names)}));
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    for (std::size_t from = 0;;) {
        const auto at = text.find(separator, from);
        parts.push_back(text.substr(from, at - from));
        if (at == std::string::npos) return parts;
        from = at + 1;
    }
}

// The emitter fields --set and --vary name.
constexpr TNamed<TEmitterField> kEmitterFieldNames[] = {{"x", TEmitterField::X},
                                                        {"y", TEmitterField::Y},
                                                        {"phase", TEmitterField::Phase},
                                                        {"amplitude", TEmitterField::Amplitude},
                                                        {"on", TEmitterField::On}};

// N:FIELD=VALUE of --set. A phase may be given in degrees ("-90deg"), as the current's angle
// that the studio shows: a lag reads negative, so -90deg is the file's phase 0.25. A
// length or a radius is no field of the emitter but of its wire: it goes to the wires, and none
// returns.
std::optional<TEmitterSetting> Setting(TOptionContext& c, std::string_view option,
                                       const std::string& value) {
    const std::string expected =
        Tr("N:FIELD=VALUE with N 1..8 and FIELD x, y (wavelengths, -1000000 to 1000000), phase "
           "(periods of lag, or the current's angle in degrees as -90deg, a lag negative), "
           "amplitude (0 to 1e100), on (0 or 1), length "
           "(wavelengths of wire, 0.005 to 2) or radius (wavelengths, at least 1e-10)");
    const auto colon = value.find(':');
    const auto equals = value.find('=');
    if (colon != 1 || equals == std::string::npos || value[0] < '1' || value[0] > '8') {
        BadValue(option, value, expected);
    }
    const std::string fieldName = value.substr(colon + 1, equals - colon - 1);
    if (fieldName == "length") {
        const auto length = Number(c, value.substr(equals + 1));
        if (!length || !InRange(TQuantity::WireLength, *length)) BadValue(option, value, expected);
        c.Options.Wires.Lengths[static_cast<std::size_t>(value[0] - '1')] =
            static_cast<double>(*length);
        return std::nullopt;
    }
    if (fieldName == "radius") {
        const auto radius = Number(c, value.substr(equals + 1));
        if (!radius || !InRange(TQuantity::WireRadius, *radius)) BadValue(option, value, expected);
        c.Options.Wires.Radii[static_cast<std::size_t>(value[0] - '1')] =
            static_cast<double>(*radius);
        return std::nullopt;
    }
    const auto field = ValueNamed<TEmitterField>(kEmitterFieldNames, fieldName);
    std::string number = value.substr(equals + 1);
    const bool degrees = field == TEmitterField::Phase && number.ends_with("deg");
    if (degrees) number.resize(number.size() - 3);
    const auto v = Number(c, number);
    if (!field || !v) BadValue(option, value, expected);
    if ((*field == TEmitterField::Amplitude && !InRange(TQuantity::Amplitude, *v)) ||
        ((*field == TEmitterField::X || *field == TEmitterField::Y) &&
         !InRange(TQuantity::Position, *v)) ||
        (*field == TEmitterField::On && *v != 0 && *v != 1)) {
        BadValue(option, value, expected);
    }
    return TEmitterSetting{value[0] - '0', *field, degrees ? PhaseFromDegrees(*v) : *v};
}

TTaper Taper(const TOptionContext& c, std::string_view option, const std::string& value) {
    const std::string expected =
        Tr("uniform, binomial, chebyshev:SLL or taylor:SLL[:NBAR] with SLL a negative "
           "level in dB and NBAR 2..20");
    const std::vector<std::string> parts = Split(value, ':');
    const auto kind = ValueNamed<TTaperKind>(kTaperKindNames, parts[0]);
    if (!kind) BadValue(option, value, expected);
    TTaper taper;
    taper.Kind = *kind;
    const bool level = *kind == TTaperKind::Chebyshev || *kind == TTaperKind::Taylor;
    const std::size_t most = *kind == TTaperKind::Taylor ? 3 : level ? 2 : 1;
    if (parts.size() < (level ? 2U : 1U) || parts.size() > most) BadValue(option, value, expected);
    if (level) {
        const auto db = Number(c, parts[1]);
        if (!db || !InRange(TQuantity::SidelobeLevel, *db)) BadValue(option, value, expected);
        taper.SidelobeDb = *db;
    }
    if (parts.size() == 3) {
        const auto nbar = WholeNumber(parts[2]);
        if (!nbar || *nbar < 2 || *nbar > 20) BadValue(option, value, expected);
        taper.Nbar = static_cast<int>(*nbar);
    }
    return taper;
}

TSweepTarget SweepTarget(std::string_view option, const std::string& value) {
    TSweepTarget target;
    target.Name = value;
    using TKind = TSweepTarget::TKind;
    constexpr TNamed<TKind> kWhole[] = {{"elevation", TKind::Elevation},
                                        {"focus", TKind::Focus},
                                        {"height", TKind::Height},
                                        {"frequency", TKind::Frequency}};
    if (const auto kind = ValueNamed<TKind>(kWhole, value)) {
        target.Kind = *kind;
        return target;
    }
    const auto field =
        value.size() > 2 && value[1] == ':'
            ? ValueNamed<TEmitterField>(kEmitterFieldNames, std::string_view(value).substr(2))
            : std::nullopt;
    if (!field || *field == TEmitterField::On || value[0] < '1' || value[0] > '8') {
        BadValue(option, value,
                 Tr("N:x, N:y, N:phase or N:amplitude (N 1..8), elevation, focus, height or "
                    "frequency"));
    }
    target.Kind = TKind::Emitter;
    target.Emitter = value[0] - '0';
    target.Field = *field;
    return target;
}

constexpr TNamed<bool> kAmplitudeNames[] = {{"fixed", false}, {"free", true}};
constexpr TNamed<TFeed> kFeedNames[] = {{"current", TFeed::Current}, {"voltage", TFeed::Voltage}};
constexpr TNamed<bool> kCutNames[] = {{"elevation", true}};

const TOptionRow kOptions[] = {
    {"--config", "FILE", kEveryCommand, true,
     Msgid("load this configuration first, as the window's load does; a pipe, fifo, device or "
           "/proc file is read to its end (up to 256 MB), and - reads standard input (once; "
           "named - in messages and output). Repeat it for one result per file (pattern: any "
           "number, each written as it comes) or an overlay of the files (plot: at most 64)"),
     [](TOptionContext& c, std::string_view name, const std::string& value) {
         if (value.empty()) BadValue(name, value, Tr("a file name"));
         c.Options.ConfigFiles.push_back(value);
     }},
    {"--set", "N:FIELD=VALUE", kEveryCommand, true,
     Msgid("then set one field of emitter N (1..8): x or y (wavelengths, -1000000 to "
           "1000000), phase (periods of lag, or the current's angle in degrees, a lag negative: "
           "phase=-90deg is phase 0.25), amplitude (a relative "
           "current, 0 to 1e100), on (0 or 1), length (wavelengths of wire, more than 0 and "
           "at most 2, as --length) or radius (its wire's own, wavelengths, as --radius); "
           "repeatable, applied in order"),
     [](TOptionContext& c, std::string_view name, const std::string& value) {
         if (const auto setting = Setting(c, name, value)) c.Options.Settings.push_back(*setting);
     }},
    {"--taper", "KIND", kEveryCommand, false,
     Msgid("then set the amplitudes of the emitters switched on, which must lie evenly spaced "
           "on one line in the order of their numbers: uniform, binomial, chebyshev:SLL "
           "(Dolph-Chebyshev) or taylor:SLL[:NBAR] (n-bar 2..20, default 4), SLL the side-lobe "
           "level in dB, -200 to below 0; the largest weight is 1"),
     [](TOptionContext& c, std::string_view name, const std::string& value) {
         c.Options.Taper = Taper(c, name, value);
     }},
    {"--type", "N", kEveryCommand, false,
     Msgid("then set the emitter type as the window's radio group would: 0 isotropic; "
           "1 vertical dipoles; 2 horizontal dipoles with the wire west-east, lobes north and "
           "south (the window's \"С--Ю\"); 3 horizontal dipoles with the wire south-north, "
           "lobes east and west (the window's \"З--В\"); -1 no element factor, like 0. A whole "
           "number below -1 is read as -1, above 3 as 3, as the radio group limits it "
           "(default: the file's, else 0)"),
     [](TOptionContext& c, std::string_view name, const std::string& value) {
         const auto n = WholeNumber(value);
         if (!n) BadValue(name, value, Tr("a whole number"));
         c.Options.EmitterType = static_cast<int>(*n);
     }},
    {"--focus", "BEARING", kEveryCommand, false,
     Msgid("then focus the beam at this whole bearing, 0..359, as the window's focusing does "
           "(default: the phases as they are)"),
     [](TOptionContext& c, std::string_view name, const std::string& value) {
         c.Options.FocusBearing = WholeBearing(name, value);
     }},
    {"--elevation", "DEG", kAnalysing, false,
     Msgid("elevation of the azimuth pattern, degrees from 0 to 85 (default 0; over ground, "
           "the take-off angle)"),
     [](TOptionContext& c, std::string_view name, const std::string& value) {
         c.Options.Field.ElevationDegrees =
             Quantity(c, name, value, TQuantity::Elevation, Tr("a number from 0 to 85"));
         c.Options.ElevationGiven = true;
     }},
    {"--model", "window|free-space", kPattern | kPlot | kNec | kSweep, false,
     Msgid("the pattern's formula: window, the window's own (default), or free-space"),
     [](TOptionContext& c, std::string_view name, const std::string& value) {
         c.Options.Field.Model = Choice<TFieldModel>(name, value, kChosenModelNames);
         c.Options.ModelGiven = true;
     }},
    {"--bearing", "BEARING", kPattern | kPlot | kSweep | kDesign, false,
     Msgid("whole bearing 0..359 of the elevation cut, and of the beam a design aims at "
           "(default: the maximum's)"),
     [](TOptionContext& c, std::string_view name, const std::string& value) {
         c.Options.CutBearing = WholeBearing(name, value);
     }},
    {"--length", "L", kPattern | kSave | kNec | kSweep | kDesign | kTouchstone, false,
     Msgid("makes every emitter a thin straight wire this many wavelengths long, 0.005 to 2, "
           "along its type's axis (1 up, 2 west-east, 3 south-north), centred on it "
           "and fed at its centre; over perfect ground at height 0 an upright wire is a monopole "
           "fed at its base. Coupling then sets the currents, the pattern and every figure "
           "(default: the file's lengths, else ideal emitters)"),
     [](TOptionContext& c, std::string_view name, const std::string& value) {
         const long double l =
             Quantity(c, name, value, TQuantity::WireLength, Tr("wavelengths, 0.005 to 2"));
         c.Options.Wires.AllLengths = static_cast<double>(l);
     }},
    {"--radius", "A", kPattern | kSave | kNec | kSweep | kDesign | kTouchstone, false,
     Msgid("the wires' radius in wavelengths, at least 1e-10 and under a tenth of the shortest "
           "length (default: the file's, else 0.0005)"),
     [](TOptionContext& c, std::string_view name, const std::string& value) {
         const long double a = Quantity(c, name, value, TQuantity::WireRadius,
                                        Tr("wavelengths, at least 1e-10 and under 0.2"));
         c.Options.Wires.Radius = static_cast<double>(a);
     }},
    {"--modes-per-wavelength", "N", kPattern | kNec | kSweep | kDesign, false,
     Msgid("sinusoidal segments per wavelength of wire, a whole number from 10 to 400, to check "
           "that the wires' figures have settled; tubing gets more as the root of its radius, "
           "and every wire at least 20 (default 40)"),
     [](TOptionContext& c, std::string_view name, const std::string& value) {
         const auto n = Number(c, value);
         if (!n || *n != std::floor(*n) || *n < 10 || *n > 400)
             BadValue(name, value, Tr("a whole number from 10 to 400"));
         c.Options.Wires.SegmentsPerWavelength = static_cast<int>(*n);
     }},
    {"--feed", "current|voltage", kPattern | kSave | kNec | kSweep | kDesign, false,
     Msgid("what the wires' amplitudes and phases are: current, each feed current in amperes "
           "(an amplitude of 0 leaves the feed open), or voltage, each source in volts (an "
           "amplitude of 0 shorts the feed: a parasitic element) (default: the file's, else "
           "current)"),
     [](TOptionContext& c, std::string_view name, const std::string& value) {
         c.Options.Wires.Feed = Choice<TFeed>(name, value, kFeedNames);
     }},
    {"--ground-model", "sommerfeld|reflection", kPattern | kSave | kNec | kSweep | kDesign, false,
     Msgid("how the wires' currents see real ground: sommerfeld, the lossy earth's field as "
           "Sommerfeld's integrals give it, or reflection, each image weighted by the Fresnel "
           "coefficient at the specular angle, faster and sound only for wires 0.2 wavelength "
           "up or more. The far field takes the Fresnel coefficients under both, ideal emitters "
           "always; nec writes GN 2 or GN 0 (default: the file's, else sommerfeld)"),
     [](TOptionContext& c, std::string_view name, const std::string& value) {
         c.Options.Wires.GroundModel = Choice<TGroundModel>(name, value, kGroundModelNames);
     }},
    {"--z0", "OHMS", kPattern | kSave | kNec | kSweep | kDesign | kTouchstone, false,
     Msgid("the line impedance the wires' SWR is taken against, and touchstone's reference, "
           "ohms, more than 0 and up to 10000 (default: the file's, else 50)"),
     [](TOptionContext& c, std::string_view name, const std::string& value) {
         const long double z = Quantity(c, name, value, TQuantity::Z0, Tr("ohms, more than 0"));
         c.Options.Wires.Z0 = static_cast<double>(z);
     }},
    {"--ground", "none|perfect|real", kGrounded, false,
     Msgid("the array over a flat ground (default: the file's, else none: free space); "
           "perfect and real select the over-ground model, so they exclude --model"),
     [](TOptionContext& c, std::string_view name, const std::string& value) {
         c.Options.Ground.Kind = Choice<TGroundKind>(name, value, kGroundKindNames);
     }},
    {"--height", "H", kGrounded, true,
     Msgid("height of the array's plane above the ground, wavelengths from 0 to 100 (default: "
           "the file's, else 0); needs a ground, from --ground or the file. Repeat it for plot "
           "--kind elevation-heights, at most 32 heights"),
     [](TOptionContext& c, std::string_view name, const std::string& value) {
         const long double h =
             Quantity(c, name, value, TQuantity::Height, Tr("wavelengths from 0 to 100"));
         if (c.Options.Heights.empty()) c.Options.Ground.HeightWavelengths = h;
         c.Options.Heights.push_back(h);
     }},
    {"--frequency", "MHZ", kGrounded, false,
     Msgid("the frequency in MHz, more than 0 and up to 1000000, needed over real ground "
           "(default: the file's); for sweep --vary frequency, --network, --goal feed and "
           "touchstone the design frequency, at which positions, height, lengths and radius are "
           "in wavelengths (default: the file's)"),
     [](TOptionContext& c, std::string_view name, const std::string& value) {
         const long double mhz =
             Quantity(c, name, value, TQuantity::Frequency, Tr("MHz, more than 0"));
         c.Options.Ground.FrequencyMhz = mhz;
     }},
    {"--soil", "PRESET", kGrounded, false,
     Msgid("the real ground's permittivity and conductivity: average (13, 0.005 S/m), poor "
           "(5, 0.001), good (20, 0.0303), very-poor (3, 0.001), sea (81, 5) or fresh-water "
           "(80, 0.001); excludes --permittivity and --conductivity"),
     [](TOptionContext& c, std::string_view name, const std::string& value) {
         std::string expected;
         for (const TSoil& soil : kSoils) {
             if (value == soil.Name) {
                 c.Options.Ground.Permittivity = soil.Permittivity;
                 c.Options.Ground.Conductivity = soil.Conductivity;
                 return;
             }
             expected += (expected.empty() ? "" : ", ") + std::string(soil.Name);
         }
         BadValue(name, value, TrFormat("one of %s", {expected}));
     }},
    {"--permittivity", "E", kGrounded, false,
     Msgid("relative permittivity of real ground, 1 to 1000000 (default: the file's, else 1)"),
     [](TOptionContext& c, std::string_view name, const std::string& value) {
         c.Options.Ground.Permittivity = Quantity(c, name, value, TQuantity::Permittivity,
                                                  Tr("a relative permittivity from 1 to 1000000"));
     }},
    {"--conductivity", "S", kGrounded, false,
     Msgid("conductivity of real ground, S/m from 0 to 1e9 (default: the file's, else 0)"),
     [](TOptionContext& c, std::string_view name, const std::string& value) {
         c.Options.Ground.Conductivity =
             Quantity(c, name, value, TQuantity::Conductivity, Tr("S/m from 0 to 1e9"));
     }},
    {"--format", "text|json|csv", kPattern | kSweep, false,
     Msgid("the output: text (the default of pattern), json or csv (the default of sweep)"),
     [](TOptionContext& c, std::string_view name, const std::string& value) {
         c.Options.Format = Choice<TOutputFormat>(name, value, kOutputFormatNames);
     }},
    {"--cut", "elevation", kPattern, false,
     Msgid("with --format csv: the elevation cut instead of the azimuth samples"),
     [](TOptionContext& c, std::string_view name, const std::string& value) {
         c.Options.ElevationCutCsv = Choice<bool>(name, value, kCutNames);
     }},
    {"--kind", "KIND", kPlot, false,
     Msgid("what plot draws (no default): diagram, polar-db, rect-db, elevation, "
           "elevation-heights, report or 3d"),
     [](TOptionContext& c, std::string_view name, const std::string& value) {
         c.Options.Kind = Choice<TPlotKind>(name, value, kPlotKindNames);
     }},
    {"--scale", "SCALE", kPlot, false,
     Msgid("3d: db, the radius in dB above the floor (default), or linear, the field itself. "
           "polar-db, rect-db, elevation, elevation-heights and report: relative, each file to "
           "its own maximum, or dbi, all on one axis of directivity (over ground against the "
           "power into the upper half-space) with each peak in the legend (default: dbi for an "
           "overlay wherever every file has a directivity, else relative)"),
     [](TOptionContext& c, std::string_view name, const std::string& value) {
         // Which pair of names applies depends on --kind: checked once every option is in.
         c.Options.Scale = Choice<TScale>(name, value, kScaleNames);
     }},
    {"--floor", "DB", kPlot, false,
     Msgid("3d: the level at the centre of the dB radius, -200 to -1 dB (default -30)"),
     [](TOptionContext& c, std::string_view name, const std::string& value) {
         c.Options.View.FloorDb = static_cast<double>(
             Real(c, name, value, -200, -1, Tr("a level in dB from -200 to -1")));
     }},
    {"--view", "AZ,EL", kPlot, false,
     Msgid("3d: the viewer's compass bearing 0..360 and elevation -90..90 (default: the main "
           "beam's bearing + 60, 30 degrees above)"),
     [](TOptionContext& c, std::string_view name, const std::string& value) {
         const std::string expected =
             Tr("AZ,EL: the viewer's bearing 0..360 and elevation -90..90");
         const std::vector<std::string> parts = Split(value, ',');
         if (parts.size() != 2) BadValue(name, value, expected);
         const auto az = Number(c, parts[0]);
         const auto el = Number(c, parts[1]);
         if (!az || !el || !(*az >= 0 && *az <= 360) || !(*el >= -90 && *el <= 90)) {
             BadValue(name, value, expected);
         }
         c.Options.View.ViewBearing = static_cast<double>(*az);
         c.Options.View.ViewElevation = static_cast<double>(*el);
     }},
    {"--dipole-length", "L", kNec, false,
     Msgid("length of each short dipole of the deck, wavelengths from 0.0001 to 0.1 (default "
           "0.02)"),
     [](TOptionContext& c, std::string_view name, const std::string& value) {
         c.Options.DipoleLength =
             Real(c, name, value, 1e-4L, 0.1L, Tr("wavelengths from 0.0001 to 0.1"));
     }},
    {"--vary", "TARGET", kSweep, false,
     Msgid("what the sweep varies: N:x, N:y, N:phase or N:amplitude of emitter N (1..8), "
           "elevation (0..90), focus (a bearing), height (wavelengths, over a ground) or "
           "frequency (MHz, more than 0: positions, height, lengths and radius scale from the "
           "design frequency of --frequency or the file)"),
     [](TOptionContext& c, std::string_view name, const std::string& value) {
         c.Options.Vary = SweepTarget(name, value);
     }},
    {"--from", "A", kSweep | kTouchstone, false,
     Msgid("the sweep's first value, -1000000 to 1000000"),
     [](TOptionContext& c, std::string_view name, const std::string& value) {
         c.Options.From = Real(c, name, value, -1e6L, 1e6L, Tr("a number"));
     }},
    {"--to", "B", kSweep | kTouchstone, false,
     Msgid("the sweep's last value, -1000000 to 1000000; both ends are included"),
     [](TOptionContext& c, std::string_view name, const std::string& value) {
         c.Options.To = Real(c, name, value, -1e6L, 1e6L, Tr("a number"));
     }},
    {"--steps", "N", kSweep | kTouchstone, false,
     Msgid("the number of values from A to B, 1 to 100000, evenly spaced (or give --step)"),
     [](TOptionContext& c, std::string_view name, const std::string& value) {
         const auto n = WholeNumber(value);
         if (!n || *n < 1 || *n > 100000)
             BadValue(name, value, Tr("a whole number from 1 to 100000"));
         c.Options.Steps = static_cast<int>(*n);
     }},
    {"--step", "S", kSweep, false,
     Msgid("the distance between values, more than 0 and up to 1000000, at most 100000 "
           "values; a span that is not a whole number of steps ends at the last step inside "
           "it (or give --steps)"),
     [](TOptionContext& c, std::string_view name, const std::string& value) {
         c.Options.Step = Real(c, name, value, 1e-9L, 1e6L, Tr("a number more than 0"));
     }},
    {"--plot", "OUT", kSweep, false,
     Msgid("also draw the figures against the parameter, a .bmp, .png, .svg or .pdf file"),
     [](TOptionContext& c, std::string_view name, const std::string& value) {
         if (!PictureFormatOf(value)) BadValue(name, value, Tr("a .bmp, .png, .svg or .pdf file"));
         c.Options.PlotFile = value;
     }},
    {"--figures", "A,B,...", kSweep, false,
     Msgid("the figures --plot draws, by their column names (default: directivity_dbi, "
           "front_to_back_db, beamwidth_deg, peak_bearing_deg, and takeoff_elevation_deg over "
           "ground)"),
     [](TOptionContext& c, std::string_view, const std::string& value) {
         c.Options.Figures = Split(value, ',');
     }},
    {"--frames", "OUT.gif", kSweep, false,
     Msgid("also write an animated GIF of the polar-db chart, a frame a value: at most 2000 "
           "frames and about 256 MB"),
     [](TOptionContext& c, std::string_view name, const std::string& value) {
         std::string extension = std::filesystem::path(value).extension().string();
         if (extension != ".gif" && extension != ".GIF") BadValue(name, value, Tr("a .gif file"));
         c.Options.FramesFile = value;
     }},
    {"--goal", "GOAL", kDesign, false,
     Msgid("what the design reaches (no default), towards --bearing at the elevation: "
           "max-directivity (w = A^-1 s, exact; in free space or over perfect ground), nulls "
           "(the same with an exact null at each --null bearing), front-to-back or "
           "front-to-rear (the phases, with --amplitudes free also the amplitudes 0..1, by "
           "Nelder-Mead from a fixed seed, the beam kept at the bearing, the ratio capped at "
           "60 dB), or feed (the network that delivers the file's currents, with --method, at the "
           "design frequency of --frequency or the file)"),
     [](TOptionContext& c, std::string_view name, const std::string& value) {
         c.Options.FeedGoal = value == "feed";
         if (!c.Options.FeedGoal)
             c.Options.Design.Goal = Choice<TDesignGoal>(name, value, kDesignGoalNames);
     }},
    {"--null", "B", kDesign, true, Msgid("with --goal nulls: a bearing 0..360 to null; repeatable"),
     [](TOptionContext& c, std::string_view name, const std::string& value) {
         c.Options.Design.Nulls.push_back(
             Real(c, name, value, 0, 360, Tr("a bearing from 0 to 360")));
     }},
    {"--amplitudes", "fixed|free", kDesign, false,
     Msgid("with --goal front-to-back or front-to-rear: whether the amplitudes may change "
           "(default fixed)"),
     [](TOptionContext& c, std::string_view name, const std::string& value) {
         c.Options.Design.FreeAmplitudes = Choice<bool>(name, value, kAmplitudeNames);
     }},
    {"--network", "FILE", kPattern | kPlot | kSweep, false,
     Msgid("drive the wires through the feed network of a SPICE netlist (R, L, C, lines T, one "
           "V source in series with RTX; nodes E1..E8 are the emitters' ports), its parts at the "
           "design frequency of --frequency or the file"),
     [](TOptionContext& c, std::string_view, const std::string& value) {
         c.Options.Network = std::make_shared<const TNetwork>(ReadNetworkFile(value));
         c.Options.NetworkFile = value;
     }},
    {"--method", "current-forcing|lines", kDesign, false,
     Msgid("with --goal feed: quarter-wave lines and L-networks (equal current magnitudes), or "
           "the two elements' line lengths (default current-forcing)"),
     [](TOptionContext& c, std::string_view name, const std::string& value) {
         c.Options.FeedMethod = Choice<TFeedMethod>(name, value, kFeedMethodNames);
     }},
    {"--line-z0", "OHMS", kDesign, false,
     Msgid("with --goal feed: the lines' characteristic impedance, 1 to 1000 ohms (default 75 "
           "for current-forcing, 50 for lines)"),
     [](TOptionContext& c, std::string_view name, const std::string& value) {
         c.Options.LineZ0 =
             static_cast<double>(Real(c, name, value, 1, 1000, Tr("ohms from 1 to 1000")));
     }},
    {"--velocity-factor", "V", kDesign, false,
     Msgid("with --goal feed: the lines' velocity factor, above 0 and up to 1 (default 1)"),
     [](TOptionContext& c, std::string_view name, const std::string& value) {
         c.Options.VelocityFactor =
             static_cast<double>(Real(c, name, value, 0.01L, 1, Tr("a number from 0.01 to 1")));
     }},
    {"--tx-z0", "OHMS", kDesign, false,
     Msgid("with --goal feed: the transmitter's resistance the network is matched to, 1 to "
           "1000 ohms (default 50)"),
     [](TOptionContext& c, std::string_view name, const std::string& value) {
         c.Options.TransmitterZ0 =
             static_cast<double>(Real(c, name, value, 1, 1000, Tr("ohms from 1 to 1000")));
     }},
    {"--decimal-mark", "C", kEveryCommand, false,
     Msgid("the decimal separator for reading and writing numbers (default: the locale's); a "
           "full stop is always read as well"),
     [](TOptionContext& c, std::string_view name, const std::string& value) {
         if (!IsUsableDecimalMark(value)) {
             BadValue(name, value,
                      Tr("one printable character other than a digit, sign, E or blank"));
         }
         c.Options.DecimalMark = value[0];
     }},
    {"--strict", "", kEveryCommand, false,
     Msgid("a configuration's warnings (unknown, repeated or misplaced sections and keys, "
           "lines that are no key, text after a section's bracket, values that do not parse, "
           "emitter numbers outside 1..8, a limited type, no emitter switched on) and the "
           "command line's (an option given twice, --radius, --feed or --z0 without lengths) "
           "fail the call with exit 1; without it they are printed, at most 20 a file, and the "
           "file loads as the window loads it"),
     [](TOptionContext& c, std::string_view, const std::string&) { c.Options.Strict = true; }},
    {"--lang", "ru|en", kEveryCommand, false,
     Msgid("the language of messages, metric names, charts and reports (default: the locale's, "
           "Russian under a Russian locale, English otherwise)"),
     [](TOptionContext& c, std::string_view name, const std::string& value) {
         const auto language = LanguageNamed(value);
         if (!language) BadValue(name, value, TrFormat("one of %s", {"ru, en"}));
         c.Options.Language = language;
     }},
    {"--help", "", kEveryCommand, false, Msgid("this text; also -h"),
     [](TOptionContext& c, std::string_view, const std::string&) { c.Options.Help = true; }},
    {"--version", "", kEveryCommand, false, Msgid("the program's version"),
     [](TOptionContext& c, std::string_view, const std::string&) { c.Options.Version = true; }},
};

const TCommandRow kCommands[] = {
    {"pattern", TCliCommand::Pattern, "", Msgid("print the pattern and its read-outs"), false},
    {"export", TCliCommand::Export, "OUT.bmp", Msgid("write the 880 x 880 diagram picture"), true},
    {"save", TCliCommand::Save, "OUT.txt", Msgid("write the configuration file"), true},
    {"plot", TCliCommand::Plot, "--kind KIND OUT.bmp|.png|.svg|.pdf",
     Msgid("draw a picture in the format of OUT's extension"), true},
    {"nec", TCliCommand::Nec, "OUT.nec", Msgid("write a NEC-2 input deck of the array"), true},
    {"sweep", TCliCommand::Sweep, "--vary TARGET --from A --to B (--steps N | --step S)",
     Msgid("a row of every figure for each value"), false},
    {"design", TCliCommand::Design, "--goal GOAL OUT.txt",
     Msgid("write the excitation that reaches the goal"), true},
    {"touchstone", TCliCommand::Touchstone, "[--frequency F0] --from A --to B --steps N OUT.sNp",
     Msgid("write the wires' port matrix from A to B MHz in N steps as scattering parameters"),
     true},
};

}  // namespace

std::span<const TCommandRow> CommandTable() {
    return kCommands;
}

std::span<const TOptionRow> OptionTable() {
    return kOptions;
}

const TOptionRow* OptionNamed(std::string_view name) {
    for (const TOptionRow& row : kOptions) {
        if (row.Name == name) return &row;
    }
    return nullptr;
}

std::string ShownValue(std::string_view value) {
    std::size_t characters = 0;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if ((static_cast<unsigned char>(value[i]) & 0xC0) == 0x80) continue;
        if (characters++ == kShownCharacters) return std::string(value.substr(0, i)) + "\u2026";
    }
    return std::string(value);
}

std::string CommandNames(TCommandSet commands) {
    std::string names;
    for (const TCommandRow& row : kCommands) {
        if ((commands & CommandBit(row.Command)) != 0) {
            names += (names.empty() ? "" : ", ") + std::string(row.Name);
        }
    }
    return names;
}
