#include "app/figures.h"

#include <cmath>

#include "config/messages.h"
#include "config/numtext.h"
#include "model/angles.h"
#include "model/msgid.h"
#include "model/phaseangle.h"
#include "model/searchbounds.h"

namespace {

using TValue = std::optional<long double>;

TValue Metric(const TPatternResult& r, long double TPatternMetrics::*field) {
    if (!r.Metrics) return std::nullopt;
    return (*r.Metrics).*field;
}

TValue Takeoff(const TPatternResult& r, long double TGroundFigures::*field) {
    if (!r.GroundFigures) return std::nullopt;
    return (*r.GroundFigures).*field;
}

// A directivity or gain in dBi where the field has a direction to point it at: a pattern
// zero there (horizontal wires over ground along the horizon) has no level in dBi, only a
// reason, never -inf written as a number.
TValue Dbi(TValue dbi) {
    if (!dbi || !std::isfinite(*dbi)) return std::nullopt;
    return dbi;
}

TValue Peak(const TPatternResult& r, long double TDirectivity::*field) {
    if (!r.Directivity || !Dbi(r.Directivity->PeakDbi)) return std::nullopt;
    return (*r.Directivity).*field;
}

const TFigure kFigures[] = {
    {"elevation", TFigureGroup::Readout, 2,
     [](const TPatternResult& r) -> TValue { return r.Field.ElevationDegrees; }, nullptr, 1,
     nullptr, Msgid("Elevation, deg")},
    {"max_gain", TFigureGroup::Readout, 3,
     [](const TPatternResult& r) -> TValue { return r.Session.Pattern.MaxGain; }},
    {"bearing", TFigureGroup::Readout, 0,
     [](const TPatternResult& r) -> TValue {
         return DisplayedBearing(r.Session.Pattern.MaxGainAngle);
     }},

    {"takeoff_elevation_deg", TFigureGroup::Ground, 2,
     [](const TPatternResult& r) { return Takeoff(r, &TGroundFigures::TakeoffElevationDegrees); },
     Msgid("take-off: elevation %s deg at bearing %s deg, half power from %s to %s deg"), 4,
     nullptr, Msgid("Take-off elevation, deg")},
    {"takeoff_bearing_deg", TFigureGroup::Ground, 2,
     [](const TPatternResult& r) { return Takeoff(r, &TGroundFigures::PeakBearingDegrees); }},
    {"takeoff_low_deg", TFigureGroup::Ground, 2,
     [](const TPatternResult& r) { return Takeoff(r, &TGroundFigures::TakeoffLowDegrees); },
     nullptr, 1, nullptr, Msgid("  its \u22123 dB range, deg"), 2, nullptr, "takeoff_range_deg"},
    {"takeoff_high_deg", TFigureGroup::Ground, 2,
     [](const TPatternResult& r) { return Takeoff(r, &TGroundFigures::TakeoffHighDegrees); },
     nullptr, 1, nullptr, nullptr, 1, nullptr, "takeoff_range_deg"},
    {"space_wave_directivity_dbi", TFigureGroup::Ground, 3,
     [](const TPatternResult& r) -> TValue {
         return r.GroundFigures ? Dbi(r.GroundFigures->SpaceWaveDirectivityDbi) : std::nullopt;
     },
     Msgid("space-wave directivity: %s dBi"), 1, Msgid("space-wave directivity: none"),
     Msgid("Space-wave directivity, dBi"), 1, Msgid("none")},
    {"gain_dbi", TFigureGroup::Ground, 3,
     [](const TPatternResult& r) -> TValue {
         // Wires know the power their feeds deliver, in free space too; feeds that deliver
         // none give no gain.
         if (r.Wires.Solved) {
             if (!(r.Wires.Solved->Coupling.InputPowerWatts > 0)) return std::nullopt;
             return Dbi(r.Wires.Peak.GainDbi);
         }
         return r.GroundFigures ? Dbi(r.GroundFigures->GainDbi) : std::nullopt;
     },
     Msgid("gain: %s dBi"), 1,
     Msgid("gain: none (the power lost in real ground is not modelled for ideal emitters; "
           "wires with lengths give it)"),
     Msgid("Gain, dBi"), 1, Msgid("none (losses in the ground)"), "",
     Msgid("gain: none (the feeds deliver no power)"), Msgid("none (no power fed)")},

    {"beamwidth_deg", TFigureGroup::Metrics, 2,
     [](const TPatternResult& r) { return Metric(r, &TPatternMetrics::BeamwidthDegrees); },
     Msgid("beamwidth: %s deg"), 1, nullptr, Msgid("Beamwidth (\u22123 dB), deg")},
    {"first_null_beamwidth_deg", TFigureGroup::Metrics, 2,
     [](const TPatternResult& r) { return Metric(r, &TPatternMetrics::FirstNullBeamwidthDegrees); },
     Msgid("first-null beamwidth: %s deg"), 1, nullptr, Msgid("First-null beamwidth, deg")},
    {"front_to_back_db", TFigureGroup::Metrics, 2,
     [](const TPatternResult& r) { return Metric(r, &TPatternMetrics::FrontToBackDb); },
     Msgid("front-to-back: %s dB"), 1, nullptr, Msgid("Front-to-back, dB")},
    {"front_to_rear_db", TFigureGroup::Metrics, 2,
     [](const TPatternResult& r) { return Metric(r, &TPatternMetrics::FrontToRearDb); },
     Msgid("front-to-rear: %s dB"), 1, nullptr, Msgid("Front-to-rear, dB")},
    {"front_to_side_db", TFigureGroup::Metrics, 2,
     [](const TPatternResult& r) { return Metric(r, &TPatternMetrics::FrontToSideDb); },
     Msgid("front-to-side: %s dB"), 1, nullptr, Msgid("Front-to-side, dB")},
    {"side_lobe_db", TFigureGroup::Metrics, 2,
     [](const TPatternResult& r) -> TValue {
         return r.Metrics ? r.Metrics->SideLobeDb : std::nullopt;
     },
     Msgid("side lobe: %s dB"), 1, Msgid("side lobe: none"), Msgid("Side lobe, dB"), 1,
     Msgid("none")},

    {"directivity_dbi", TFigureGroup::Directivity, 3,
     [](const TPatternResult& r) -> TValue {
         if (!r.Directivity) return std::nullopt;
         return Dbi(r.Directivity->HorizonDbi);
     },
     Msgid("directivity: %s dBi"), 1,
     Msgid("directivity: none (the array radiates nothing along the horizon)"),
     Msgid("Directivity at the horizon's maximum, dBi"), 1, Msgid("none at the horizon")},
    {"peak_directivity_dbi", TFigureGroup::Directivity, 3,
     [](const TPatternResult& r) -> TValue {
         return r.Directivity ? Dbi(r.Directivity->PeakDbi) : std::nullopt;
     },
     Msgid("peak directivity: %s dBi at bearing %s deg, elevation %s deg"), 3,
     Msgid("peak directivity: none (lobes too fine for the search)"),
     Msgid("Peak directivity, dBi"), 1, Msgid("not found")},
    {"peak_bearing_deg", TFigureGroup::Directivity, 2,
     [](const TPatternResult& r) { return Peak(r, &TDirectivity::PeakBearingDegrees); }, nullptr, 1,
     nullptr, Msgid("  its bearing, deg")},
    {"peak_elevation_deg", TFigureGroup::Directivity, 2,
     [](const TPatternResult& r) { return Peak(r, &TDirectivity::PeakElevationDegrees); }, nullptr,
     1, nullptr, Msgid("  its elevation, deg")},
};

TValue Coupling(const TPatternResult& r, double TCoupling::*field) {
    if (!r.Wires.Solved) return std::nullopt;
    return r.Wires.Solved->Coupling.*field;
}

const TFigure kWireFigures[] = {
    {"input_power_w", TFigureGroup::Wires, 4,
     [](const TPatternResult& r) { return Coupling(r, &TCoupling::InputPowerWatts); },
     Msgid("input power %s W, radiated %s W, efficiency %s"), 3, nullptr, Msgid("Input power, W")},
    {"radiated_power_w", TFigureGroup::Wires, 4,
     [](const TPatternResult& r) { return Coupling(r, &TCoupling::RadiatedPowerWatts); }, nullptr,
     1, nullptr, Msgid("Radiated power, W")},
    {"efficiency", TFigureGroup::Wires, 4,
     [](const TPatternResult& r) { return Coupling(r, &TCoupling::Efficiency); }, nullptr, 1,
     nullptr, Msgid("Efficiency")},
};

TValue Amplitude(std::complex<double> phasor) {
    return AmplitudeAndPhase(phasor).first;
}

TValue PhasePeriods(std::complex<double> phasor) {
    return AmplitudeAndPhase(phasor).second;
}

TValue PhaseDeg(std::complex<double> phasor) {
    return PhaseDegrees(AmplitudeAndPhase(phasor).second);
}

// In the order of the JSON's emitter object and of the feed's text line.
const TEmitterFigure kEmitterFigures[] = {
    {"current_amplitude_", 4, [](const TEmitterFeed& e) { return Amplitude(e.Current); },
     Msgid("Current of emitter %s, A"), "current", "amplitude"},
    {"current_phase_", 4, [](const TEmitterFeed& e) { return PhasePeriods(e.Current); },
     Msgid("Current's phase of emitter %s, periods of lag"), "current", "phase",
     TFeedText::Elsewhere},
    {"current_phase_deg_", 2, [](const TEmitterFeed& e) { return PhaseDeg(e.Current); },
     Msgid("Current's phase of emitter %s, deg"), "current", "phase_deg"},
    {"voltage_amplitude_", 4, [](const TEmitterFeed& e) { return Amplitude(e.Voltage); },
     Msgid("Voltage of emitter %s, V"), "voltage", "amplitude"},
    {"voltage_phase_", 4, [](const TEmitterFeed& e) { return PhasePeriods(e.Voltage); },
     Msgid("Voltage's phase of emitter %s, periods of lag"), "voltage", "phase",
     TFeedText::Elsewhere},
    {"voltage_phase_deg_", 2, [](const TEmitterFeed& e) { return PhaseDeg(e.Voltage); },
     Msgid("Voltage's phase of emitter %s, deg"), "voltage", "phase_deg"},
    // An open feed carries no current: it has no impedance, and so no SWR.
    {"drive_r_ohm_", 2,
     [](const TEmitterFeed& e) -> TValue {
         if (!e.Drive.Impedance) return std::nullopt;
         return e.Drive.Impedance->real();
     },
     Msgid("Drive resistance of emitter %s, ohms"), "", "drive_impedance_ohm",
     TFeedText::Impedance},
    {"drive_x_ohm_", 2,
     [](const TEmitterFeed& e) -> TValue {
         if (!e.Drive.Impedance) return std::nullopt;
         return e.Drive.Impedance->imag();
     },
     Msgid("Drive reactance of emitter %s, ohms"), "", "drive_impedance_ohm", TFeedText::Elsewhere},
    {"swr_", 2, [](const TEmitterFeed& e) -> TValue { return e.Drive.Swr; },
     Msgid("SWR of emitter %s"), "", "swr"},
    {"power_w_", 4, [](const TEmitterFeed& e) -> TValue { return e.Drive.Power; },
     Msgid("Power of emitter %s, W"), "", "power_w"},
};

}  // namespace

std::span<const TFigure> Figures() {
    return kFigures;
}

std::span<const TFigure> FiguresOf(TFigureGroup group) {
    if (group == TFigureGroup::Wires) return kWireFigures;
    const TFigure* first = std::begin(kFigures);
    while (first != std::end(kFigures) && first->Group != group) ++first;
    const TFigure* last = first;
    while (last != std::end(kFigures) && last->Group == group) ++last;
    return {first, last};
}

std::vector<const TFigure*> WireFiguresOf(const TPatternResult& result) {
    std::vector<const TFigure*> figures;
    if (!result.Wires.Solved) return figures;
    if (result.Field.Model != TFieldModel::OverGround) figures.push_back(&FigureOf("gain_dbi"));
    for (const TFigure& f : kWireFigures) figures.push_back(&f);
    return figures;
}

const char* TextNoneOf(const TFigure& figure, const TPatternResult& result) {
    return result.Wires.Solved && figure.WiresTextNone ? figure.WiresTextNone : figure.TextNone;
}

const char* CaptionNoneOf(const TFigure& figure, const TPatternResult& result) {
    return result.Wires.Solved && figure.WiresCaptionNone ? figure.WiresCaptionNone
                                                          : figure.CaptionNone;
}

std::span<const TEmitterFigure> EmitterFigures() {
    return kEmitterFigures;
}

const TEmitterFigure& EmitterFigureOf(std::string_view stem) {
    const TEmitterFigure* f = std::begin(kEmitterFigures);
    while (f->Stem != stem) ++f;
    return *f;
}

std::string EmitterFigureText(const TEmitterFigure& figure, const TEmitterFeed& feed) {
    const TValue value = figure.Value(feed);
    if (!value) return Tr("none");
    if (figure.Text != TFeedText::Impedance) return FigureText(*value, figure.Decimals);
    const TEmitterFigure& reactance = *(&figure + 1);
    return ImpedanceText(
        {static_cast<double>(*value), static_cast<double>(reactance.Value(feed).value_or(0))});
}

const TFigure& FigureOf(std::string_view key) {
    for (const TFigure& f : kWireFigures) {
        if (f.Key == key) return f;
    }
    const TFigure* f = std::begin(kFigures);
    while (f->Key != key) ++f;
    return *f;
}

bool HasGroup(const TPatternResult& result, TFigureGroup group) {
    switch (group) {
        case TFigureGroup::Readout:
            return true;
        case TFigureGroup::Ground:
            return result.GroundFigures.has_value();
        case TFigureGroup::Metrics:
            return result.Metrics.has_value();
        case TFigureGroup::Directivity:
            return result.Directivity.has_value();
        case TFigureGroup::Wires:
            return result.Wires.Solved != nullptr;
    }
    return false;
}

TGroupNone GroupNone(TFigureGroup group) {
    switch (group) {
        case TFigureGroup::Readout:
            break;
        case TFigureGroup::Ground:
            return {Msgid("take-off: none (the array radiates nothing upwards)"), nullptr, nullptr};
        case TFigureGroup::Metrics:
            return {Msgid("metrics: none (the pattern is zero everywhere)"), Msgid("Pattern"),
                    Msgid("zero everywhere")};
        case TFigureGroup::Directivity:
            return {Msgid("directivity: none (the array radiates nothing)"), Msgid("Directivity"),
                    Msgid("nothing radiates")};
        case TFigureGroup::Wires:
            break;
    }
    return {nullptr, nullptr, nullptr};
}

std::string FigureText(long double value, int decimals) {
    if (std::isinf(value)) return value > 0 ? "inf" : "-inf";
    return FormatFixed(value, 18, decimals);
}

std::string ImpedanceText(std::complex<double> ohms) {
    return FigureText(ohms.real(), 2) + (ohms.imag() < 0 ? " - j" : " + j") +
           FigureText(std::fabs(ohms.imag()), 2);
}

namespace {

using TFigureList = std::vector<const TFigure*>;

TFigureList ListOf(std::span<const TFigure> figures) {
    TFigureList list;
    for (const TFigure& f : figures) list.push_back(&f);
    return list;
}

// Each figure with a line of its own, the next TextFigures - 1 in it.
std::string TextLines(const TPatternResult& result, const TFigureList& figures) {
    std::string out;
    for (std::size_t i = 0; i < figures.size(); ++i) {
        const TFigure& f = *figures[i];
        if (f.Text == nullptr) continue;
        const TValue value = f.Value(result);
        if (!value) {
            if (const char* none = TextNoneOf(f, result)) out += std::string(Tr(none)) + '\n';
            continue;
        }
        std::vector<std::string> parts;
        for (std::size_t k = i; k < i + static_cast<std::size_t>(f.TextFigures); ++k) {
            const TValue part = figures[k]->Value(result);
            parts.push_back(part ? FigureText(*part, figures[k]->Decimals) : std::string());
        }
        parts.resize(4);
        out += FormatMessage(Tr(f.Text), {parts[0], parts[1], parts[2], parts[3]});
        out += '\n';
    }
    return out;
}

// Each figure with a caption, a range's high end after its low one.
std::vector<std::array<std::string, 2>> CaptionRows(const TPatternResult& result,
                                                    const TFigureList& figures) {
    std::vector<std::array<std::string, 2>> rows;
    for (std::size_t i = 0; i < figures.size(); ++i) {
        const TFigure& f = *figures[i];
        if (f.Caption == nullptr) continue;
        const TValue value = f.Value(result);
        if (!value) {
            if (const char* none = CaptionNoneOf(f, result))
                rows.push_back({Tr(f.Caption), Tr(none)});
            continue;
        }
        std::string text = FigureText(*value, f.Decimals);
        if (f.CaptionFigures == 2) {
            const TValue high = figures[i + 1]->Value(result);
            text += "\u2026" + (high ? FigureText(*high, figures[i + 1]->Decimals) : "");
        }
        rows.push_back({Tr(f.Caption), text});
    }
    return rows;
}

// The msgid's %s are the emitter's number and each figure the line gives.
constexpr const char* kFeedLine = Msgid(
    "  emitter %s: current %s A, phase %s deg; voltage %s V, phase %s deg; drive impedance %s "
    "ohms; SWR %s; power %s W");
constexpr std::size_t kFeedLineParts = 8;

std::string FeedLine(const TEmitterFeed& feed) {
    std::vector<std::string> parts = {FormatInteger(feed.Number)};
    for (const TEmitterFigure& f : kEmitterFigures) {
        if (f.Text != TFeedText::Elsewhere) parts.push_back(EmitterFigureText(f, feed));
    }
    parts.resize(kFeedLineParts);
    return FormatMessage(Tr(kFeedLine), {parts[0], parts[1], parts[2], parts[3], parts[4], parts[5],
                                         parts[6], parts[7]});
}

}  // namespace

std::string FigureLines(const TPatternResult& result, TFigureGroup group) {
    if (!HasGroup(result, group)) {
        // Over ground nothing comes back from a search the array is too wide for either.
        if (group == TFigureGroup::Ground && !SearchableAperture(result.Session.Model)) {
            return TrFormat(
                       "take-off: none (the array is wider than %s wavelengths, too wide "
                       "to search)",
                       {FormatGeneral(kSearchableAperture)}) +
                   '\n';
        }
        const char* none = GroupNone(group).Text;
        return none ? std::string(Tr(none)) + '\n' : std::string();
    }
    return TextLines(result, ListOf(FiguresOf(group)));
}

std::string WireTextLines(const TPatternResult& result) {
    const TWireResult& wires = result.Wires;
    if (!wires.Solved) return {};
    // What each feed carries, and what a phasing network must match.
    std::string out;
    if (UprightWiresOverPerfectGround(result))
        out += TrFormat("emitters: %s", {Tr(EmitterKindName(result))}) + '\n';
    out += TrFormat("feeds (%s, SWR against %s ohms):",
                    {wires.Settings.Feed == TFeed::Voltage ? "voltage" : "current",
                     FigureText(wires.Settings.Z0, 2)}) +
           '\n';
    for (const TEmitterFeed& e : wires.Solved->Coupling.Emitters) out += FeedLine(e) + '\n';
    return out + TextLines(result, WireFiguresOf(result));
}

std::vector<std::array<std::string, 2>> FigureRows(const TPatternResult& result,
                                                   TFigureGroup group) {
    if (!HasGroup(result, group)) {
        const TGroupNone none = GroupNone(group);
        if (none.Caption == nullptr) return {};
        return {{Tr(none.Caption), Tr(none.Value)}};
    }
    return CaptionRows(result, ListOf(FiguresOf(group)));
}

std::vector<std::array<std::string, 2>> WireFigureRows(const TPatternResult& result) {
    std::vector<std::array<std::string, 2>> rows;
    if (UprightWiresOverPerfectGround(result))
        rows.push_back({Tr("Emitters"), Tr(EmitterKindName(result))});
    for (auto& row : CaptionRows(result, WireFiguresOf(result))) rows.push_back(std::move(row));
    return rows;
}

namespace {

constexpr int kNullDepthDecimals = 2;  // as every level in dB

std::string OneLine(const std::vector<std::string>& entries) {
    std::string line;
    for (const std::string& e : entries) line += (line.empty() ? "" : " ") + e;
    return line;
}

}  // namespace

std::string BearingText(long double degrees) {
    // A bearing that rounds up to the full circle is north.
    const long double scale = std::pow(10.0L, kBearingDecimals);
    if (std::round(degrees * scale) >= kCircleDegrees * scale) degrees = 0;
    return FigureText(degrees, kBearingDecimals);
}

bool BelowNullFloor(long double depthDb) {
    return depthDb < kNullFloorDb;
}

std::vector<std::string> NullEntries(const TPatternMetrics& metrics) {
    std::vector<std::string> entries;
    for (std::size_t n = 0; n < metrics.NullBearings.size(); ++n) {
        const long double depth = metrics.NullDepthsDb[n];
        const std::string bearing = BearingText(metrics.NullBearings[n]);
        entries.push_back(
            BelowNullFloor(depth)
                ? TrFormat("%s (below %s dB)", {bearing, FormatGeneral(kNullFloorDb)})
                : TrFormat("%s (%s dB)", {bearing, FigureText(depth, kNullDepthDecimals)}));
    }
    return entries;
}

std::vector<std::string> MainLobeEntries(const TPatternMetrics& metrics) {
    std::vector<std::string> entries;
    for (const long double b : metrics.MainLobeBearings) entries.push_back(BearingText(b));
    return entries;
}

std::string NullsText(const TPatternMetrics& metrics) {
    return OneLine(NullEntries(metrics));
}

std::string MainLobesText(const TPatternMetrics& metrics) {
    return OneLine(MainLobeEntries(metrics));
}

long double ReadoutFullScale(const TPatternResult& result) {
    long double sum = 0;
    for (int k = 1; k <= kEmitterCount; ++k) {
        const TEmitter& e = result.Session.Model.Emitter(k);
        if (e.Enabled) sum += e.Amplitude;
    }
    return sum;
}

std::string ReadoutNote(const TPatternResult& result) {
    return TrFormat(
        "(the maximum gain above is the window's array-factor read-out: full scale is the sum "
        "of the amplitudes, %s; it is not a gain)",
        {FormatGeneral(ReadoutFullScale(result))});
}

std::string FigureTextLines(const TPatternResult& result) {
    std::string out;
    if (result.Field.Model == TFieldModel::OverGround) {
        const TGround& g = result.Field.Ground;
        const std::string height = FormatGeneral(g.HeightWavelengths);
        if (g.Kind == TGroundKind::Perfect) {
            out += TrFormat("ground: perfect, height %s wavelengths", {height});
        } else {
            out += TrFormat(
                "ground: real, permittivity %s, conductivity %s S/m, %s MHz, height %s "
                "wavelengths",
                {FormatGeneral(g.Permittivity), FormatGeneral(g.Conductivity),
                 FormatGeneral(g.FrequencyMhz), height});
        }
        out += '\n';
        out += FigureLines(result, TFigureGroup::Ground);
    }
    out += FigureLines(result, TFigureGroup::Metrics);
    if (const auto& metrics = result.Metrics) {
        out += TrFormat("main lobes: %s", {MainLobesText(*metrics)}) + '\n';
        const std::string nulls = NullsText(*metrics);
        out += (nulls.empty() ? std::string(Tr("nulls: none")) : TrFormat("nulls: %s", {nulls})) +
               '\n';
    }
    out += FigureLines(result, TFigureGroup::Directivity);
    return out;
}

bool UprightWiresOverPerfectGround(int type, bool wires, const TGround& ground) {
    return wires && type == etVerticalDipole && ground.Kind == TGroundKind::Perfect;
}

const char* EmitterKindName(int type, bool wires, const TGround& ground) {
    if (UprightWiresOverPerfectGround(type, wires, ground) && ground.HeightWavelengths == 0)
        return Msgid("vertical monopoles");
    switch (type) {
        case etVerticalDipole:
            return Msgid("vertical dipoles");
        case etHorizontalDipoleNS:  // lobes north and south
            return Msgid("horizontal dipoles, wire west–east");
        case etHorizontalDipoleWE:
            return Msgid("horizontal dipoles, wire south–north");
        default:
            return Msgid("isotropic");
    }
}

namespace {

TGround GroundOf(const TPatternResult& result) {
    return result.Field.Model == TFieldModel::OverGround ? result.Field.Ground : TGround{};
}

}  // namespace

const char* EmitterKindName(const TPatternResult& result) {
    return EmitterKindName(result.Session.Model.EmitterType, result.Wires.Solved != nullptr,
                           GroundOf(result));
}

bool UprightWiresOverPerfectGround(const TPatternResult& result) {
    return UprightWiresOverPerfectGround(result.Session.Model.EmitterType,
                                         result.Wires.Solved != nullptr, GroundOf(result));
}
