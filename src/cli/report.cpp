#include "cli/report.h"

#include <cmath>
#include <complex>
#include <limits>
#include <string_view>
#include <utility>

#include "app/figures.h"
#include "app/validity.h"
#include "cli/feed.h"
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

std::string FormatText(const TPatternResult& result, const TReportPlace& place) {
    const TArraySession& session = result.Session;
    std::string out;
    if (place.Batch) {
        out +=
            (place.First ? "" : "\n") + std::string("== ") + EscapeControls(*result.Config) + '\n';
    }
    out += session.Labels.Elevation + '\n';
    out += std::string(kGainCaption) + session.Labels.Gain + '\n';
    out += std::string(kBearingCaption) + session.Labels.Bearing + '\n';
    out += ReadoutNote(result) + "\n\n";
    out += kGridHeader;
    for (int k = 1; k <= kEmitterCount; ++k) {
        const auto& texts = session.Grid[static_cast<unsigned>(k - 1)];
        out += FormatInteger(k) + '\t' + (session.Model.Emitter(k).Enabled ? "1" : "0");
        for (const auto& text : texts) out += '\t' + text;
        out += '\t' + FormatGeneral(session.Model.Emitter(k).Amplitude) + '\n';
    }
    out += '\n';
    out += FigureTextLines(result);
    out += WireTextLines(result);
    if (result.Wires.Solved) out += ValidityTextLine(result.Wires.Validity);
    out += NetworkTextLines(result);
    return out;
}

const long double kNone = std::numeric_limits<long double>::quiet_NaN();

// The group's figures as keys of the current object, null where there is none; figures that
// share a JSON key as one array, null when the first has none.
void WriteJsonFigures(TJsonWriter& json, const TPatternResult& result, TFigureGroup group) {
    const std::span<const TFigure> figures = FiguresOf(group);
    for (std::size_t i = 0; i < figures.size(); ++i) {
        const TFigure& f = figures[i];
        const auto value = f.Value(result);
        if (f.JsonKey.empty()) {
            json.Key(f.Key);
            json.Real(value.value_or(kNone));
            continue;
        }
        json.Key(f.JsonKey);
        std::size_t end = i;
        while (end < figures.size() && figures[end].JsonKey == f.JsonKey) ++end;
        if (!value) {
            json.Null();
        } else {
            json.BeginArray();
            for (std::size_t k = i; k < end; ++k)
                json.Real(figures[k].Value(result).value_or(kNone));
            json.EndArray();
        }
        i = end - 1;
    }
}

void WriteJsonMetrics(TJsonWriter& json, const TPatternResult& result) {
    const auto& metrics = result.Metrics;
    json.Key("metrics");
    if (!metrics) {
        json.Null();
        return;
    }
    json.BeginObject();
    WriteJsonFigures(json, result, TFigureGroup::Metrics);
    json.Key("main_lobes");
    json.BeginArray();
    for (const long double bearing : metrics->MainLobeBearings) json.Real(bearing);
    json.EndArray();
    json.Key("nulls");
    json.BeginArray();
    for (std::size_t n = 0; n < metrics->NullBearings.size(); ++n) {
        json.BeginObject();
        json.Key("bearing");
        json.Real(metrics->NullBearings[n]);
        json.Key("depth_db");
        json.Real(metrics->NullDepthsDb[n]);  // null where the field vanishes
        // Below the floor a finite depth is rounding noise, kept as computed but marked.
        if (BelowNullFloor(metrics->NullDepthsDb[n])) {
            json.Key("below_floor");
            json.Boolean(true);
        }
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
}

// The ground and what the array does over it; nulls in free space.
void WriteJsonGround(TJsonWriter& json, const TPatternResult& result) {
    const TGround& g = result.Field.Ground;
    json.Key("ground");
    if (result.Field.Model == TFieldModel::OverGround) {
        const bool real = g.Kind == TGroundKind::Real;
        json.BeginObject();
        json.Key("kind");
        json.String(NameOf<TGroundKind>(kGroundKindNames, g.Kind));
        json.Key("height");
        json.Real(g.HeightWavelengths);
        json.Key("frequency");
        json.Real(real ? g.FrequencyMhz : kNone);
        json.Key("permittivity");
        json.Real(real ? g.Permittivity : kNone);
        json.Key("conductivity");
        json.Real(real ? g.Conductivity : kNone);
        json.Key("model");
        if (real)
            json.String(NameOf<TGroundModel>(kGroundModelNames, g.Model));
        else
            json.Null();
        json.EndObject();
    } else {
        json.Null();
    }
    WriteJsonFigures(json, result, TFigureGroup::Ground);
}

void WriteJsonDirectivity(TJsonWriter& json, const TPatternResult& result) {
    WriteJsonFigures(json, result, TFigureGroup::Directivity);
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

void WriteJsonOhms(TJsonWriter& json, std::complex<double> z) {
    json.BeginArray();
    json.Real(z.real());
    json.Real(z.imag());
    json.EndArray();
}

// The feed's figures as keys of its object, those of one JsonObject in an object of their own;
// figures that share a JSON key as one array, null when the first has none.
void WriteJsonFeed(TJsonWriter& json, const TEmitterFeed& feed) {
    const std::span<const TEmitterFigure> figures = EmitterFigures();
    std::string_view object;
    for (std::size_t i = 0; i < figures.size(); ++i) {
        const TEmitterFigure& f = figures[i];
        if (f.JsonObject != object) {
            if (!object.empty()) json.EndObject();
            object = f.JsonObject;
            if (!object.empty()) {
                json.Key(object);
                json.BeginObject();
            }
        }
        json.Key(f.JsonKey);
        std::size_t end = i + 1;
        while (end < figures.size() && figures[end].JsonKey == f.JsonKey &&
               figures[end].JsonObject == f.JsonObject)
            ++end;
        const auto value = f.Value(feed);
        if (end == i + 1) {
            json.Real(value.value_or(kNone));
        } else if (!value) {
            json.Null();
        } else {
            json.BeginArray();
            for (std::size_t k = i; k < end; ++k) json.Real(figures[k].Value(feed).value_or(kNone));
            json.EndArray();
        }
        i = end - 1;
    }
    if (!object.empty()) json.EndObject();
}

// Where the solved wires stand against the thin-wire model's bounds.
void WriteJsonValidity(TJsonWriter& json, const TWireValidity& v) {
    json.Key("validity");
    json.BeginObject();
    json.Key("elements");
    json.String(v.Monopoles ? "monopoles" : "dipoles");
    json.Key("modes");
    json.BeginArray();
    for (std::size_t i = 0; i < v.Modes.size(); ++i) {
        json.BeginObject();
        json.Key("number");
        json.Integer(v.Numbers[i]);
        json.Key("modes");
        json.Integer(v.Modes[i]);
        json.EndObject();
    }
    json.EndArray();
    json.Key("rules");
    json.BeginArray();
    for (const TValidityRule& rule : v.Rules) {
        json.BeginObject();
        json.Key("name");
        json.String(rule.Name);
        json.Key("figure");
        json.Real(rule.Figure);
        json.Key("limit");
        json.Real(rule.Limit);
        json.Key("bound");
        json.String(rule.AtMost ? "at_most" : "at_least");
        json.Key("emitters");
        json.BeginArray();
        for (const int k : rule.Emitters) json.Integer(k);
        json.EndArray();
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
}

// The wires' feeds and their coupling; null for ideal emitters.
void WriteJsonCoupling(TJsonWriter& json, const TPatternResult& result) {
    json.Key("coupling");
    const TWireResult& wires = result.Wires;
    if (!wires.Solved) {
        json.Null();
        return;
    }
    const TCoupling& c = wires.Solved->Coupling;
    json.BeginObject();
    json.Key("feed");
    json.String(wires.Settings.Feed == TFeed::Voltage ? "voltage" : "current");
    json.Key("z0_ohm");
    json.Real(wires.Settings.Z0);
    json.Key("radius_wl");
    json.Real(wires.Settings.Radius);
    json.Key("impedance_matrix_ohm");
    json.BeginArray();
    for (Eigen::Index i = 0; i < c.ImpedanceMatrix.rows(); ++i) {
        json.BeginArray();
        for (Eigen::Index j = 0; j < c.ImpedanceMatrix.cols(); ++j)
            WriteJsonOhms(json, c.ImpedanceMatrix(i, j));
        json.EndArray();
    }
    json.EndArray();
    json.Key("emitters");
    json.BeginArray();
    for (const TEmitterFeed& e : c.Emitters) {
        json.BeginObject();
        json.Key("number");
        json.Integer(e.Number);
        json.Key("length_wl");
        json.Real(e.LengthWavelengths);
        WriteJsonFeed(json, e);
        json.EndObject();
    }
    json.EndArray();
    WriteJsonFigures(json, result, TFigureGroup::Wires);
    WriteJsonValidity(json, wires.Validity);
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
    WriteJsonCoupling(json, result);
    WriteJsonNetwork(json, result);
    json.EndObject();
    return place.Batch ? OneLine(json.Text()) : json.Text();
}

// The level against the maximum in power decibels, as the metrics and charts give it.
std::string DbColumn(long double v, long double maximum) {
    return v != 0 ? FormatCsvReal(20 * std::log10(v / maximum)) : "";
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
                   FormatCsvReal(v) + ',' + DbColumn(v, pattern.MaxGain) + '\n';
        }
        return out;
    }
    if (place.First) out += "index,bearing,value,db\n";
    for (int i = 0; i < kSampleCount; ++i) {
        const long double v = pattern.Samples[static_cast<unsigned>(i)];
        out += lead + std::to_string(i) + ',' + std::to_string(SampleBearing(i)) + ',' +
               FormatCsvReal(v) + ',' + DbColumn(v, pattern.MaxGain) + '\n';
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
