#include "app/figures.h"

#include <cmath>

#include "config/messages.h"
#include "config/numtext.h"
#include "model/msgid.h"
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
     Msgid("gain: none (the power lost in real ground is not modelled; --length gives it)"),
     Msgid("Gain, dBi"), 1, Msgid("none (losses in the ground)")},

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

}  // namespace

std::span<const TFigure> Figures() {
    return kFigures;
}

std::span<const TFigure> FiguresOf(TFigureGroup group) {
    const TFigure* first = std::begin(kFigures);
    while (first != std::end(kFigures) && first->Group != group) ++first;
    const TFigure* last = first;
    while (last != std::end(kFigures) && last->Group == group) ++last;
    return {first, last};
}

const TFigure& FigureOf(std::string_view key) {
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
    const std::span<const TFigure> figures = FiguresOf(group);
    std::string out;
    for (std::size_t i = 0; i < figures.size(); ++i) {
        const TFigure& f = figures[i];
        if (f.Text == nullptr) continue;
        const TValue value = f.Value(result);
        if (!value) {
            if (f.TextNone != nullptr) out += std::string(Tr(f.TextNone)) + '\n';
            continue;
        }
        std::vector<std::string> parts;
        for (std::size_t k = i; k < i + static_cast<std::size_t>(f.TextFigures); ++k) {
            const TValue part = figures[k].Value(result);
            parts.push_back(part ? FigureText(*part, figures[k].Decimals) : std::string());
        }
        parts.resize(4);
        out += FormatMessage(Tr(f.Text), {parts[0], parts[1], parts[2], parts[3]});
        out += '\n';
    }
    return out;
}

std::vector<std::array<std::string, 2>> FigureRows(const TPatternResult& result,
                                                   TFigureGroup group) {
    std::vector<std::array<std::string, 2>> rows;
    if (!HasGroup(result, group)) {
        const TGroupNone none = GroupNone(group);
        if (none.Caption != nullptr) rows.push_back({Tr(none.Caption), Tr(none.Value)});
        return rows;
    }
    const std::span<const TFigure> figures = FiguresOf(group);
    for (std::size_t i = 0; i < figures.size(); ++i) {
        const TFigure& f = figures[i];
        if (f.Caption == nullptr) continue;
        const TValue value = f.Value(result);
        if (!value) {
            if (f.CaptionNone != nullptr) rows.push_back({Tr(f.Caption), Tr(f.CaptionNone)});
            continue;
        }
        std::string text = FigureText(*value, f.Decimals);
        if (f.CaptionFigures == 2) {
            const TValue high = figures[i + 1].Value(result);
            text += "\u2026" + (high ? FigureText(*high, figures[i + 1].Decimals) : "");
        }
        rows.push_back({Tr(f.Caption), text});
    }
    return rows;
}

std::string NullsText(const TPatternMetrics& metrics) {
    std::string nulls;
    for (std::size_t n = 0; n < metrics.NullBearings.size(); ++n) {
        nulls +=
            (n == 0 ? "" : " ") + TrFormat("%s (%s dB)", {FormatGeneral(metrics.NullBearings[n]),
                                                          FigureText(metrics.NullDepthsDb[n], 2)});
    }
    return nulls;
}

std::string MainLobesText(const TPatternMetrics& metrics) {
    std::string lobes;
    for (const long double b : metrics.MainLobeBearings)
        lobes += (lobes.empty() ? "" : " ") + FormatGeneral(b);
    return lobes;
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
