#include "cli/sweep.h"

#include <cmath>
#include <limits>

#include "cli/jsonwriter.h"
#include "cli/realtext.h"
#include "config/messages.h"
#include "plot/sweepchart.h"

namespace {

constexpr std::size_t kMostSteps = 100000;
constexpr long double kNone = std::numeric_limits<long double>::quiet_NaN();

}  // namespace

std::vector<long double> SweepValues(const TCliOptions& options) {
    std::vector<long double> values;
    const long double span = options.To - options.From;
    if (options.Steps) {
        const int n = *options.Steps;
        for (int i = 0; i < n; ++i)
            values.push_back(n == 1 ? options.From : options.From + span * i / (n - 1));
        return values;
    }
    const long double step = std::copysign(*options.Step, span);
    if (std::fabs(span) / *options.Step >= kMostSteps) {
        throw EUsageError(TrFormat("--step %s makes more than %s steps",
                                   {FormatRoundTrip(*options.Step), std::to_string(kMostSteps)}));
    }
    for (std::size_t i = 0;; ++i) {
        const long double v = options.From + step * static_cast<long double>(i);
        if ((v - options.To) * (step > 0 ? 1 : -1) > 1e-9L * std::fabs(step)) break;
        values.push_back(v);
        if (step == 0) break;
    }
    return values;
}

TCliOptions SweepStep(const TCliOptions& options, long double value) {
    TCliOptions step = options;
    const std::string& target = options.Vary;
    if (target == "elevation") {
        if (!(value >= 0 && value <= 90)) {
            throw EUsageError(TrFormat("elevation %s is outside 0..90", {FormatRoundTrip(value)}));
        }
        step.Field.ElevationDegrees = value;
        step.ElevationGiven = true;
    } else if (target == "focus") {
        step.FocusBearing = static_cast<int>(((std::lround(value) % 360) + 360) % 360);
    } else if (target == "height") {
        if (!options.Ground.Kind || *options.Ground.Kind == TGroundKind::None) {
            throw EUsageError(Tr("--vary height needs --ground perfect or real"));
        }
        if (!(value >= 0)) {
            throw EUsageError(TrFormat("height %s is below 0", {FormatRoundTrip(value)}));
        }
        step.Ground.HeightWavelengths = value;
    } else {
        const std::string field = target.substr(2);
        TEmitterSetting setting;
        setting.Emitter = target[0] - '0';
        setting.Value = value;
        setting.Field = field == "x"       ? TEmitterField::X
                        : field == "y"     ? TEmitterField::Y
                        : field == "phase" ? TEmitterField::Phase
                                           : TEmitterField::Amplitude;
        if (setting.Field == TEmitterField::Amplitude && value < 0) {
            throw EUsageError(TrFormat("amplitude %s is below 0", {FormatRoundTrip(value)}));
        }
        step.Settings.push_back(setting);
    }
    return step;
}

std::vector<TFigure> SweepFigures(const TPatternResult& result) {
    const TPattern& p = result.Session.Pattern;
    const auto& m = result.Metrics;
    const auto& d = result.Directivity;
    const auto& g = result.GroundFigures;
    const bool peak = d && d->PeakDbi;
    std::vector<TFigure> figures = {
        {"elevation", result.Field.ElevationDegrees},
        {"max_gain", p.MaxGain},
        {"bearing", static_cast<long double>(DisplayedBearing(p.MaxGainAngle))},
        {"beamwidth_deg", m ? m->BeamwidthDegrees : kNone},
        {"first_null_beamwidth_deg", m ? m->FirstNullBeamwidthDegrees : kNone},
        {"front_to_back_db", m ? m->FrontToBackDb : kNone},
        {"front_to_rear_db", m ? m->FrontToRearDb : kNone},
        {"front_to_side_db", m ? m->FrontToSideDb : kNone},
        {"side_lobe_db", m && m->SideLobeDb ? *m->SideLobeDb : kNone},
        {"directivity_dbi", d ? d->HorizonDbi : kNone},
        {"peak_directivity_dbi", peak ? *d->PeakDbi : kNone},
        {"peak_bearing_deg", peak ? d->PeakBearingDegrees : kNone},
        {"peak_elevation_deg", peak ? d->PeakElevationDegrees : kNone},
    };
    if (result.Field.Model == TFieldModel::OverGround) {
        figures.push_back({"takeoff_elevation_deg", g ? g->TakeoffElevationDegrees : kNone});
        figures.push_back({"takeoff_bearing_deg", g ? g->PeakBearingDegrees : kNone});
        figures.push_back({"takeoff_low_deg", g ? g->TakeoffLowDegrees : kNone});
        figures.push_back({"takeoff_high_deg", g ? g->TakeoffHighDegrees : kNone});
        figures.push_back({"space_wave_directivity_dbi",
                           g && g->SpaceWaveDirectivityDbi ? *g->SpaceWaveDirectivityDbi : kNone});
        figures.push_back({"gain_dbi", g && g->GainDbi ? *g->GainDbi : kNone});
    }
    return figures;
}

std::string FormatSweep(const std::vector<long double>& values,
                        const std::vector<std::vector<TFigure>>& rows, TOutputFormat format) {
    std::string out;
    if (format == TOutputFormat::Json) {
        for (std::size_t i = 0; i < rows.size(); ++i) {
            TJsonWriter json;
            json.BeginObject();
            json.Key("parameter");
            json.Real(values[i]);
            for (const TFigure& f : rows[i]) {
                json.Key(f.Name);
                json.Real(f.Value);  // null where there is none
            }
            json.EndObject();
            std::string line = json.Text();
            std::erase(line, '\n');
            out += line + '\n';
        }
        return out;
    }
    out += "parameter";
    if (!rows.empty()) {
        for (const TFigure& f : rows.front()) out += std::string(",") + f.Name;
    }
    out += '\n';
    for (std::size_t i = 0; i < rows.size(); ++i) {
        AppendRoundTrip(out, values[i]);
        for (const TFigure& f : rows[i]) {
            out += ',';
            // Infinite ratios are written as the metrics write them; none is empty.
            if (std::isinf(f.Value)) {
                out += f.Value > 0 ? "inf" : "-inf";
            } else if (!std::isnan(f.Value)) {
                AppendRoundTrip(out, f.Value);
            }
        }
        out += '\n';
    }
    return out;
}

std::string SweepChartFile(const std::string& parameter, const std::vector<long double>& values,
                           const std::vector<std::vector<TFigure>>& rows,
                           const std::vector<std::string>& names, TPictureFormat format) {
    std::vector<TSweepSeries> series;
    const std::vector<TFigure>& first = rows.front();
    const auto add = [&](std::size_t column) {
        TSweepSeries s;
        s.Name = first[column].Name;
        for (const auto& row : rows) s.Values.push_back(static_cast<double>(row[column].Value));
        series.push_back(std::move(s));
    };
    if (names.empty()) {
        for (std::size_t c = 1; c < first.size(); ++c) add(c);
    }
    for (const std::string& name : names) {
        std::size_t column = 0;
        while (column < first.size() && name != first[column].Name) ++column;
        if (column == first.size()) {
            throw EUsageError(TrFormat("--figures names no figure %s", {name}));
        }
        add(column);
    }
    std::vector<double> x;
    for (const long double v : values) x.push_back(static_cast<double>(v));
    return SweepChartBytes(parameter, x, series, format);
}
