#include "cli/report.h"

#include <cmath>
#include <limits>
#include <string_view>
#include <utility>

#include "cli/jsonwriter.h"
#include "cli/realtext.h"
#include "config/messages.h"
#include "config/nametext.h"
#include "config/numtext.h"
#include "model/pattern.h"

namespace {

// Captions the window shows left of the maximum and bearing read-outs.
constexpr std::string_view kGainCaption = "Максимальное усиление ";
constexpr std::string_view kBearingCaption = "В направлении, град. ";
constexpr std::string_view kGridHeader = "№\tВключен\tX\tY\tФаза\tАмплитуда\n";

// A figure with `digits` decimals; the infinities always as "inf" and "-inf".
std::string FixedText(long double v, int digits) {
    return std::isinf(v) ? (v > 0 ? "inf" : "-inf") : FormatFixed(v, 18, digits);
}

std::string DecibelText(long double db) {
    return FixedText(db, 2);
}

void AppendTextGround(std::string& out, const TPatternResult& result) {
    if (result.Field.Model != TFieldModel::OverGround) return;
    const TGround& g = result.Field.Ground;
    const std::string height = FormatGeneral(g.HeightWavelengths);
    if (g.Kind == TGroundKind::Perfect) {
        out += TrFormat("ground: perfect, height %s wavelengths", {height});
    } else {
        out += TrFormat(
            "ground: real, permittivity %s, conductivity %s S/m, %s MHz, height %s wavelengths",
            {FormatGeneral(g.Permittivity), FormatGeneral(g.Conductivity),
             FormatGeneral(g.FrequencyMhz), height});
    }
    out += '\n';
    const auto& f = result.GroundFigures;
    if (!f) {
        out += Tr("take-off: none (the array radiates nothing upwards)");
        out += '\n';
        return;
    }
    out += TrFormat(
               "take-off: elevation %s deg at bearing %s deg, half power from %s to %s deg",
               {FormatFixed(f->TakeoffElevationDegrees, 18, 2),
                FormatFixed(f->PeakBearingDegrees, 18, 2), FormatFixed(f->TakeoffLowDegrees, 18, 2),
                FormatFixed(f->TakeoffHighDegrees, 18, 2)}) +
           '\n';
    out += (f->SpaceWaveDirectivityDbi ? TrFormat("space-wave directivity: %s dBi",
                                                  {FixedText(*f->SpaceWaveDirectivityDbi, 3)})
                                       : std::string(Tr("space-wave directivity: none"))) +
           '\n';
    out += (f->GainDbi
                ? TrFormat("gain: %s dBi", {FixedText(*f->GainDbi, 3)})
                : std::string(Tr("gain: none (the power lost in real ground is not modelled)"))) +
           '\n';
}

void AppendTextMetrics(std::string& out, const TPatternResult& result) {
    AppendTextGround(out, result);
    const auto& metrics = result.Metrics;
    const auto line = [&out](const std::string& text) { out += text + '\n'; };
    if (!metrics) {
        line(Tr("metrics: none (the pattern is zero everywhere)"));
    } else {
        line(TrFormat("beamwidth: %s deg", {FormatFixed(metrics->BeamwidthDegrees, 18, 2)}));
        line(TrFormat("first-null beamwidth: %s deg",
                      {FormatFixed(metrics->FirstNullBeamwidthDegrees, 18, 0)}));
        line(TrFormat("front-to-back: %s dB", {DecibelText(metrics->FrontToBackDb)}));
        line(TrFormat("front-to-rear: %s dB", {DecibelText(metrics->FrontToRearDb)}));
        line(TrFormat("front-to-side: %s dB", {DecibelText(metrics->FrontToSideDb)}));
        line(metrics->SideLobeDb ? TrFormat("side lobe: %s dB", {DecibelText(*metrics->SideLobeDb)})
                                 : std::string(Tr("side lobe: none")));
        std::string nulls;
        for (std::size_t n = 0; n < metrics->NullBearings.size(); ++n) {
            nulls += (n == 0 ? "" : " ") +
                     TrFormat("%s (%s dB)", {FormatGeneral(metrics->NullBearings[n]),
                                             DecibelText(metrics->NullDepthsDb[n])});
        }
        line(nulls.empty() ? std::string(Tr("nulls: none")) : TrFormat("nulls: %s", {nulls}));
    }
    const auto& d = result.Directivity;
    if (!d) {
        line(Tr("directivity: none (the array radiates nothing)"));
        return;
    }
    line(TrFormat("directivity: %s dBi", {FixedText(d->HorizonDbi, 3)}));
    if (!d->PeakDbi) {
        line(Tr("peak directivity: none (lobes too fine for the search)"));
        return;
    }
    line(TrFormat("peak directivity: %s dBi at bearing %s deg, elevation %s deg",
                  {FixedText(*d->PeakDbi, 3), FormatFixed(d->PeakBearingDegrees, 18, 2),
                   FormatFixed(d->PeakElevationDegrees, 18, 2)}));
}

std::string FormatText(const TPatternResult& result, const TReportPlace& place) {
    const TArraySession& session = result.Session;
    std::string out;
    if (place.Batch) {
        out +=
            (place.First ? "" : "\n") + std::string("== ") + EscapeControls(*result.Config) + '\n';
    }
    out += session.Labels.Elevation + '\n';
    out += std::string(kGainCaption) + session.Labels.Gain + '\n';
    out += std::string(kBearingCaption) + session.Labels.Bearing + "\n\n";
    out += kGridHeader;
    for (int k = 1; k <= kEmitterCount; ++k) {
        const auto& texts = session.Grid[static_cast<unsigned>(k - 1)];
        out += FormatInteger(k) + '\t' + (session.Model.Emitter(k).Enabled ? "1" : "0");
        for (const auto& text : texts) out += '\t' + text;
        out += '\t' + FormatGeneral(session.Model.Emitter(k).Amplitude) + '\n';
    }
    out += '\n';
    AppendTextMetrics(out, result);
    return out;
}

void WriteJsonMetrics(TJsonWriter& json, const TPatternResult& result) {
    const auto& metrics = result.Metrics;
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
    json.BeginArray();
    for (std::size_t n = 0; n < metrics->NullBearings.size(); ++n) {
        json.BeginObject();
        json.Key("bearing");
        json.Real(metrics->NullBearings[n]);
        json.Key("depth_db");
        json.Real(metrics->NullDepthsDb[n]);  // null where the field vanishes
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
}

const char* GroundKindName(TGroundKind kind) {
    switch (kind) {
        case TGroundKind::None:
            return "none";
        case TGroundKind::Perfect:
            return "perfect";
        case TGroundKind::Real:
            return "real";
    }
    return "";
}

// The ground and what the array does over it; nulls in free space.
void WriteJsonGround(TJsonWriter& json, const TPatternResult& result) {
    const bool grounded = result.Field.Model == TFieldModel::OverGround;
    const TGround& g = result.Field.Ground;
    json.Key("ground");
    if (grounded) {
        const bool real = g.Kind == TGroundKind::Real;
        const long double none = std::numeric_limits<long double>::quiet_NaN();
        json.BeginObject();
        json.Key("kind");
        json.String(GroundKindName(g.Kind));
        json.Key("height");
        json.Real(g.HeightWavelengths);
        json.Key("frequency");
        json.Real(real ? g.FrequencyMhz : none);
        json.Key("permittivity");
        json.Real(real ? g.Permittivity : none);
        json.Key("conductivity");
        json.Real(real ? g.Conductivity : none);
        json.EndObject();
    } else {
        json.Null();
    }
    const auto& f = result.GroundFigures;
    const long double none = std::numeric_limits<long double>::quiet_NaN();
    json.Key("takeoff_elevation_deg");
    json.Real(f ? f->TakeoffElevationDegrees : none);
    json.Key("takeoff_bearing_deg");
    json.Real(f ? f->PeakBearingDegrees : none);
    json.Key("takeoff_range_deg");
    if (f) {
        json.BeginArray();
        json.Real(f->TakeoffLowDegrees);
        json.Real(f->TakeoffHighDegrees);
        json.EndArray();
    } else {
        json.Null();
    }
    json.Key("space_wave_directivity_dbi");
    json.Real(f && f->SpaceWaveDirectivityDbi ? *f->SpaceWaveDirectivityDbi : none);
    json.Key("gain_dbi");
    json.Real(f && f->GainDbi ? *f->GainDbi : none);
}

void WriteJsonDirectivity(TJsonWriter& json, const TPatternResult& result) {
    const auto& d = result.Directivity;
    const long double none = std::numeric_limits<long double>::quiet_NaN();
    const bool peak = d && d->PeakDbi;
    const std::pair<const char*, long double> fields[] = {
        {"directivity_dbi", d ? d->HorizonDbi : none},
        {"peak_directivity_dbi", peak ? *d->PeakDbi : none},
        {"peak_bearing_deg", peak ? d->PeakBearingDegrees : none},
        {"peak_elevation_deg", peak ? d->PeakElevationDegrees : none},
    };
    for (const auto& [key, value] : fields) {
        json.Key(key);
        json.Real(value);  // null where there is none
    }
    json.Key("elevation_cut");
    json.BeginObject();
    json.Key("model");
    json.String(FieldModelName(result.CutField.Model));
    json.Key("bearing");
    json.Integer(result.CutBearing);
    json.Key("samples");
    json.RealArray(result.Cut.data(), result.Cut.size());
    json.EndObject();
}

void WriteJsonEmitters(TJsonWriter& json, const TArraySession& session) {
    json.Key("emitters");
    json.BeginArray();
    for (int k = 1; k <= kEmitterCount; ++k) {
        const TEmitter& emitter = session.Model.Emitter(k);
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
        json.Key("amplitude");
        json.Real(emitter.Amplitude);
        json.Key("texts");
        json.BeginArray();
        for (const auto& text : session.Grid[static_cast<unsigned>(k - 1)]) json.String(text);
        json.EndArray();
        json.EndObject();
    }
    json.EndArray();
}

// Every line break of the writer's output lies between tokens, never inside a string.
std::string OneLine(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\n') {
            out += text[i];
            continue;
        }
        while (i + 1 < text.size() && text[i + 1] == ' ') ++i;
    }
    return out + '\n';
}

std::string FormatJson(const TPatternResult& result, const TReportPlace& place) {
    const TArraySession& session = result.Session;
    const TArrayModel& model = session.Model;
    const TPattern& pattern = session.Pattern;
    TJsonWriter json;
    json.BeginObject();
    if (result.Config) {
        json.Key("config");
        json.String(*result.Config);
    }
    json.Key("model");
    json.String(FieldModelName(result.Field.Model));
    json.Key("elevation");
    json.Real(result.Field.ElevationDegrees);
    json.Key("type");
    json.Integer(model.EmitterType);
    json.Key("labels");
    json.BeginObject();
    json.Key("elevation");
    json.String(session.Labels.Elevation);
    json.Key("gain");
    json.String(session.Labels.Gain);
    json.Key("bearing");
    json.String(session.Labels.Bearing);
    json.EndObject();
    json.Key("max_gain");
    json.Real(pattern.MaxGain);
    json.Key("max_gain_angle");
    json.Integer(pattern.MaxGainAngle);
    json.Key("bearing");
    json.Integer(DisplayedBearing(pattern.MaxGainAngle));
    json.Key("gain_db");
    json.Real(GainDecibels(pattern.MaxGain));
    WriteJsonEmitters(json, session);
    json.Key("samples");
    json.RealArray(pattern.Samples.data(), pattern.Samples.size());
    WriteJsonMetrics(json, result);
    WriteJsonDirectivity(json, result);
    WriteJsonGround(json, result);
    json.EndObject();
    return place.Batch ? OneLine(json.Text()) : json.Text();
}

// The level against the maximum in power decibels, as the metrics and charts give it.
std::string DbColumn(long double v, long double maximum) {
    return v != 0 ? FormatRoundTrip(20 * std::log10(v / maximum)) : "";
}

std::string FormatCsv(const TPatternResult& result, const TCliOptions& options,
                      const TReportPlace& place) {
    const TPattern& pattern = result.Session.Pattern;
    std::string lead;
    if (place.Batch) {
        lead = '"';
        for (const char c : *result.Config)
            lead += c == '"' ? std::string("\"\"") : std::string(1, c);
        lead += "\",";
    }
    std::string out;
    if (place.First) out += (place.Batch ? "config," : "");
    if (options.ElevationCutCsv) {
        if (place.First) out += "bearing,elevation,value,db\n";
        for (int e = 0; e < kElevationCutCount; ++e) {
            const long double v = result.Cut[static_cast<unsigned>(e)];
            out += lead + std::to_string(result.CutBearing) + ',' + std::to_string(e) + ',' +
                   FormatRoundTrip(v) + ',' + DbColumn(v, pattern.MaxGain) + '\n';
        }
        return out;
    }
    if (place.First) out += "index,bearing,value,db\n";
    for (int i = 0; i < kSampleCount; ++i) {
        const long double v = pattern.Samples[static_cast<unsigned>(i)];
        out += lead + std::to_string(i) + ',' + std::to_string(SampleBearing(i)) + ',' +
               FormatRoundTrip(v) + ',' + DbColumn(v, pattern.MaxGain) + '\n';
    }
    return out;
}

}  // namespace

std::string FormatReport(const TPatternResult& result, const TCliOptions& options,
                         const TReportPlace& place) {
    switch (options.Format) {
        case TOutputFormat::Json:
            return FormatJson(result, place);
        case TOutputFormat::Csv:
            return FormatCsv(result, options, place);
        case TOutputFormat::Text:
            break;
    }
    return FormatText(result, place);
}
