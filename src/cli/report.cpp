#include "cli/report.h"

#include <cmath>
#include <optional>
#include <string_view>

#include "cli/jsonwriter.h"
#include "cli/realtext.h"
#include "config/numtext.h"
#include "model/metrics.h"
#include "model/pattern.h"

namespace {

// Captions the window shows left of the maximum and bearing read-outs.
constexpr std::string_view kGainCaption = "Максимальное усиление ";
constexpr std::string_view kBearingCaption = "В направлении, град. ";
constexpr std::string_view kGridHeader = "№\tВключен\tX\tY\tФаза\n";

std::string DecibelText(long double db) {
    return std::isinf(db) ? (db > 0 ? "inf" : "-inf") : FormatFixed(db, 18, 2);
}

std::optional<TPatternMetrics> Metrics(const TPatternReport& report) {
    return ComputeMetrics(report.Model.Pattern, [&report](long double az) {
        return PatternValue(report.Model, az * kDegree, report.ElevationDegrees);
    });
}

void AppendTextMetrics(std::string& out, const TPatternReport& report) {
    const auto metrics = Metrics(report);
    if (!metrics) {
        out += "metrics: none (every sample is 0)\n";
        return;
    }
    out += "beamwidth: " + FormatFixed(metrics->BeamwidthDegrees, 18, 2) + " deg\n";
    out += "first-null beamwidth: " + FormatFixed(metrics->FirstNullBeamwidthDegrees, 18, 0) +
           " deg\n";
    out += "front-to-back: " + DecibelText(metrics->FrontToBackDb) + " dB\n";
    out += "front-to-rear: " + DecibelText(metrics->FrontToRearDb) + " dB\n";
    out += "front-to-side: " + DecibelText(metrics->FrontToSideDb) + " dB\n";
    out += "side lobe: " +
           (metrics->SideLobeDb ? DecibelText(*metrics->SideLobeDb) + " dB" : std::string("none")) +
           "\n";
    out += "nulls:";
    if (metrics->NullBearings.empty()) out += " none";
    for (const long double bearing : metrics->NullBearings) out += " " + FormatGeneral(bearing);
    out += '\n';
}

std::string FormatText(const TPatternReport& report) {
    std::string out;
    out += report.Labels.Elevation + '\n';
    out += std::string(kGainCaption) + report.Labels.Gain + '\n';
    out += std::string(kBearingCaption) + report.Labels.Bearing + "\n\n";
    out += kGridHeader;
    for (int k = 1; k <= kEmitterCount; ++k) {
        const auto& texts = report.Grid[static_cast<unsigned>(k - 1)];
        out += FormatInteger(k) + '\t' + (report.Model.Emitter(k).Enabled ? "1" : "0");
        for (const auto& text : texts) out += '\t' + text;
        out += '\n';
    }
    out += '\n';
    AppendTextMetrics(out, report);
    return out;
}

void WriteJsonMetrics(TJsonWriter& json, const TPatternReport& report) {
    const auto metrics = Metrics(report);
    json.Key("metrics");
    if (!metrics) {
        json.Null();
        return;
    }
    json.BeginObject();
    json.Key("beamwidth_deg");
    json.Real(metrics->BeamwidthDegrees);
    json.Key("first_null_beamwidth_deg");
    json.Real(metrics->FirstNullBeamwidthDegrees);
    json.Key("front_to_back_db");
    json.Real(metrics->FrontToBackDb);
    json.Key("front_to_rear_db");
    json.Real(metrics->FrontToRearDb);
    json.Key("front_to_side_db");
    json.Real(metrics->FrontToSideDb);
    json.Key("side_lobe_db");
    if (metrics->SideLobeDb) {
        json.Real(*metrics->SideLobeDb);
    } else {
        json.Null();
    }
    json.Key("nulls");
    json.RealArray(metrics->NullBearings.data(), metrics->NullBearings.size());
    json.EndObject();
}

std::string FormatJson(const TPatternReport& report) {
    const TArrayModel& model = report.Model;
    TJsonWriter json;
    json.BeginObject();
    json.Key("elevation");
    json.Real(report.ElevationDegrees);
    json.Key("type");
    json.Integer(model.EmitterType);
    json.Key("labels");
    json.BeginObject();
    json.Key("elevation");
    json.String(report.Labels.Elevation);
    json.Key("gain");
    json.String(report.Labels.Gain);
    json.Key("bearing");
    json.String(report.Labels.Bearing);
    json.EndObject();
    json.Key("max_gain");
    json.Real(model.Pattern.MaxGain);
    json.Key("max_gain_angle");
    json.Integer(model.Pattern.MaxGainAngle);
    json.Key("bearing");
    json.Integer(DisplayedBearing(model.Pattern.MaxGainAngle));
    json.Key("gain_db");
    json.Real(GainDecibels(model.Pattern.MaxGain));
    json.Key("emitters");
    json.BeginArray();
    for (int k = 1; k <= kEmitterCount; ++k) {
        const TEmitter& emitter = model.Emitter(k);
        json.BeginObject();
        json.Key("n");
        json.Integer(k);
        json.Key("enabled");
        json.Boolean(emitter.Enabled);
        json.Key("x");
        json.Real(emitter.X);
        json.Key("y");
        json.Real(emitter.Y);
        json.Key("phase");
        json.Real(emitter.Phase);
        json.Key("texts");
        json.BeginArray();
        for (const auto& text : report.Grid[static_cast<unsigned>(k - 1)]) json.String(text);
        json.EndArray();
        json.EndObject();
    }
    json.EndArray();
    json.Key("samples");
    json.RealArray(model.Pattern.Samples.data(), model.Pattern.Samples.size());
    WriteJsonMetrics(json, report);
    json.EndObject();
    return json.Text();
}

std::string FormatCsv(const TPatternReport& report) {
    const TPattern& pattern = report.Model.Pattern;
    std::string out = "index,bearing,value,db\n";
    for (int i = 0; i < kSampleCount; ++i) {
        const long double v = pattern.Samples[static_cast<unsigned>(i)];
        out += std::to_string(i) + ',' + std::to_string((i + 180) % 360) + ',' +
               FormatRoundTrip(v) + ',';
        if (v != 0) out += FormatRoundTrip(10 * std::log10(v / pattern.MaxGain));
        out += '\n';
    }
    return out;
}

}  // namespace

std::string FormatReport(const TPatternReport& report, TOutputFormat format) {
    switch (format) {
        case TOutputFormat::Json:
            return FormatJson(report);
        case TOutputFormat::Csv:
            return FormatCsv(report);
        case TOutputFormat::Text:
            break;
    }
    return FormatText(report);
}
