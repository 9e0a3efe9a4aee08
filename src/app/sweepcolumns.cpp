#include "app/sweepcolumns.h"

#include <limits>

#include "app/feedanalysis.h"
#include "app/figures.h"
#include "config/messages.h"
#include "model/msgid.h"

namespace {

// Figures whose report caption leans on the row above it, or that have none, standing alone.
struct TColumnTitle {
    std::string_view Column;
    const char* Caption;
};
constexpr TColumnTitle kColumnTitles[] = {
    {"max_gain", Msgid("Window's array factor")},
    {"bearing", Msgid("In the direction, deg")},
    {"takeoff_bearing_deg", Msgid("Take-off bearing, deg")},
    {"takeoff_low_deg", Msgid("Take-off's lower half-power elevation, deg")},
    {"takeoff_high_deg", Msgid("Take-off's upper half-power elevation, deg")},
    {"peak_bearing_deg", Msgid("Bearing of the peak directivity, deg")},
    {"peak_elevation_deg", Msgid("Elevation of the peak directivity, deg")},
};

// The parameters --vary names whole, and the emitter fields it names after "N:".
constexpr TColumnTitle kParameterCaptions[] = {
    {"frequency", Msgid("Frequency, MHz")},
    {"elevation", Msgid("Elevation, deg")},
    {"focus", Msgid("Focusing bearing, deg")},
    {"height", Msgid("Height above ground, wavelengths")},
};
constexpr TColumnTitle kEmitterFieldCaptions[] = {
    {"x", Msgid("X of emitter %s, wavelengths")},
    {"y", Msgid("Y of emitter %s, wavelengths")},
    {"phase", Msgid("Phase of emitter %s, periods of lag")},
    {"amplitude", Msgid("Amplitude of emitter %s")},
};

constexpr long double kNone = std::numeric_limits<long double>::quiet_NaN();

// Each feed figure's column of each emitter, named with the emitter's number: "swr_2".
std::string_view EmitterColumn(std::size_t figure, int number) {
    static const std::vector<std::string> kNames = [] {
        std::vector<std::string> names;
        for (int k = 1; k <= kEmitterCount; ++k) {
            for (const TEmitterFigure& f : EmitterFigures())
                names.push_back(std::string(f.Stem) + std::to_string(k));
        }
        return names;
    }();
    return kNames[static_cast<std::size_t>(number - 1) * EmitterFigures().size() + figure];
}

// What the network delivers: the transmitter's match, then each emitter's current error.
void AppendNetworkColumns(std::vector<TFigureValue>& row, const TFeedFigures& f) {
    static const std::vector<std::string> kErrorColumns = [] {
        std::vector<std::string> names;
        for (int k = 1; k <= kEmitterCount; ++k) {
            names.push_back("current_error_db_" + std::to_string(k));
            names.push_back("current_error_deg_" + std::to_string(k));
        }
        return names;
    }();
    const auto value = [](const std::optional<double>& v) { return v ? *v : kNone; };
    row.push_back({"tx_swr", value(f.TransmitterSwr)});
    row.push_back({"tx_r_ohm", f.TransmitterImpedance.real()});
    row.push_back({"tx_x_ohm", f.TransmitterImpedance.imag()});
    for (const TFeedEmitter& e : f.Emitters) {
        const auto at = static_cast<std::size_t>(2 * (e.Number - 1));
        row.push_back({kErrorColumns[at], value(e.ErrorDb)});
        row.push_back({kErrorColumns[at + 1], value(e.ErrorDeg)});
    }
}

}  // namespace

std::string ColumnCaption(std::string_view column) {
    for (const TColumnTitle& t : kColumnTitles) {
        if (t.Column == column) return Tr(t.Caption);
    }
    for (const auto figures : {Figures(), FiguresOf(TFigureGroup::Wires)}) {
        for (const TFigure& f : figures) {
            if (f.Key == column && f.Caption != nullptr) return Tr(f.Caption);
        }
    }
    // The longest stem first: "current_phase_deg_2" is not "current_phase_" of "deg_2".
    const TEmitterFigure* match = nullptr;
    for (const TEmitterFigure& c : EmitterFigures()) {
        if (column.starts_with(c.Stem) && (!match || c.Stem.size() > match->Stem.size()))
            match = &c;
    }
    if (match) return TrFormat(match->Caption, {std::string(column.substr(match->Stem.size()))});
    return std::string(column);
}

std::string ParameterCaption(std::string_view parameter) {
    for (const TColumnTitle& t : kParameterCaptions) {
        if (t.Column == parameter) return Tr(t.Caption);
    }
    if (parameter.size() > 2 && parameter[1] == ':') {
        for (const TColumnTitle& t : kEmitterFieldCaptions) {
            if (t.Column == parameter.substr(2))
                return TrFormat(t.Caption, {std::string(parameter.substr(0, 1))});
        }
    }
    return std::string(parameter);
}

std::vector<TFigureValue> SweepFigures(const TPatternResult& result) {
    std::vector<TFigureValue> figures;
    const bool grounded = result.Field.Model == TFieldModel::OverGround;
    for (const TFigureGroup group : {TFigureGroup::Readout, TFigureGroup::Metrics,
                                     TFigureGroup::Directivity, TFigureGroup::Ground}) {
        if (group == TFigureGroup::Ground && !grounded) continue;
        for (const TFigure& f : FiguresOf(group)) {
            figures.push_back({f.Key, f.Value(result).value_or(kNone)});
        }
    }
    for (const TFigure* f : WireFiguresOf(result))
        figures.push_back({f->Key, f->Value(result).value_or(kNone)});
    if (const auto& wires = result.Wires.Solved) {
        for (const TEmitterFeed& e : wires->Coupling.Emitters) {
            const std::span<const TEmitterFigure> feed = EmitterFigures();
            for (std::size_t f = 0; f < feed.size(); ++f)
                figures.push_back({EmitterColumn(f, e.Number), feed[f].Value(e).value_or(kNone)});
        }
    }
    if (result.Network) AppendNetworkColumns(figures, *result.Network);
    return figures;
}
