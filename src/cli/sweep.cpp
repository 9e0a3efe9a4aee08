#include "cli/sweep.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "app/bounds.h"
#include "app/figures.h"
#include "app/frequencysweep.h"
#include "app/sweepcolumns.h"
#include "app/wireanalysis.h"
#include "cli/feed.h"
#include "cli/jsonwriter.h"
#include "cli/parallel.h"
#include "cli/realtext.h"
#include "cli/refusals.h"
#include "cli/request.h"
#include "cli/runner.h"
#include "config/messages.h"
#include "config/numtext.h"
#include "plot/gifanimation.h"
#include "plot/picturefile.h"
#include "plot/sweepchart.h"

namespace {

constexpr std::size_t kMostSteps = 100000;
constexpr std::size_t kMostAnimationBytes = std::size_t{256} << 20;
// How far a computed step may lie from its decimal, in units of the last place of the span's
// largest end.
constexpr long double kStepUlps = 8;

// Between the ends, exact at both.
long double Between(long double from, long double to, std::size_t k, std::size_t last) {
    if (last == 0) return from;
    const long double t = static_cast<long double>(k) / static_cast<long double>(last);
    return k == last ? to : from * (1 - t) + to * t;
}

// The chart of the named figures against the parameter; without names, the figures an array
// is usually tuned for, those of them the rows have.
std::string SweepChartFile(const std::string& parameter, const std::vector<long double>& values,
                           const std::vector<std::vector<TFigureValue>>& rows,
                           const std::vector<std::string>& names, TPictureFormat format) {
    static const std::vector<std::string> kDefaultFigures = {"directivity_dbi", "front_to_back_db",
                                                             "beamwidth_deg", "peak_bearing_deg",
                                                             "takeoff_elevation_deg"};
    std::vector<TSweepSeries> series;
    const std::vector<TFigureValue>& first = rows.front();
    const auto column = [&](const std::string& name) {
        std::size_t c = 0;
        while (c < first.size() && name != first[c].Key) ++c;
        return c;
    };
    const auto add = [&](std::size_t c) {
        TSweepSeries s;
        s.Name = first[c].Key;
        s.Title = ColumnCaption(s.Name);
        for (const auto& row : rows) s.Values.push_back(static_cast<double>(row[c].Value));
        series.push_back(std::move(s));
    };
    if (names.empty()) {
        for (const std::string& name : kDefaultFigures) {
            if (column(name) < first.size()) add(column(name));
        }
    }
    for (const std::string& name : names) {
        if (column(name) == first.size()) {
            throw EUsageError(TrFormat("--figures names no figure %s", {name}));
        }
        add(column(name));
    }
    std::vector<double> x;
    for (const long double v : values) x.push_back(static_cast<double>(v));
    return SweepChartBytes(ParameterCaption(parameter), x, series, format);
}

// Why an array cannot be over the ground by the checks of its ranges and its wires' geometry
// alone, none where it can: a sweep refuses a range that fails at any step before the first
// is solved.
std::optional<std::string> GeometryFault(const TArray& array, const TWireSettings& wires,
                                         const TGround& ground) {
    const TQuantityRange& height = RangeOf(TQuantity::Height);
    if (ground.Kind != TGroundKind::None && !height.Contains(ground.HeightWavelengths)) {
        return TrFormat("the height %s is outside its range, %s",
                        {FormatShortest(ground.HeightWavelengths), RangeText(height)});
    }
    if (const auto fault = CheckCoupling(array, wires, ground)) return CouplingRefusalText(*fault);
    return std::nullopt;
}

void RefuseStep(const std::string& parameter, long double value, const std::string& why) {
    throw EUsageError(TrFormat("at %s %s: %s", {parameter, FormatShortest(value), why}));
}

// The ground an analysis puts the array over: none where a formula is named or the type has no
// polarisation.
TGround GroundOver(const TAnalysisRequest& request, const TArray& array, const TGround& ground) {
    return request.ModelGiven || !IsDipoleType(array.EmitterType) ? TGround{} : ground;
}

// Only a height or a position moves the wires: the other sweeps keep the geometry every step's
// analysis checks alike.
bool MovesWires(const TSweepTarget& target) {
    return target.Kind == TSweepTarget::TKind::Height ||
           (target.Kind == TSweepTarget::TKind::Emitter &&
            (target.Field == TEmitterField::X || target.Field == TEmitterField::Y));
}

// A step of a sweep that moves the wires, loaded as the analysis loads it: what fails at every
// step alike fails here as the analysis words it.
void CheckStep(const TAnalysisRequest& step, const std::string& parameter, long double value) {
    TSessionSteps steps = step.Steps;
    steps.DrawPattern = false;
    const TArraySession session = BuildSession(steps);
    TGround ground;
    if (!step.ModelGiven)
        ground = GroundOver(step, session.Model, ResolveGround(step.Ground, session.FileGround));
    const TWireKeys keys = WireKeysOf(step, session);
    if (const auto why = GeometryFault(session.Model, keys.Settings, ground))
        RefuseStep(parameter, value, *why);
}

}  // namespace

std::vector<long double> SweepValues(const TCliOptions& options) {
    std::vector<long double> values;
    const long double from = options.From;
    const long double to = options.To;
    // Each step between the ends lies within a few units in the last place of the decimal the
    // user stepped to: it takes that decimal, so that 0.65 is analysed and printed as 0.65. The
    // ends are the values given.
    const long double scale =
        std::max({std::fabs(from), std::fabs(to), options.Step ? *options.Step : 0.0L});
    const long double tolerance = kStepUlps * std::numeric_limits<long double>::epsilon() * scale;
    const auto add = [&](long double v) {
        values.push_back(v == from || v == to ? v : NearestShortDecimal(v, tolerance));
    };
    if (options.Steps) {
        const auto n = static_cast<std::size_t>(*options.Steps);
        for (std::size_t k = 0; k < n; ++k) add(Between(from, to, k, n - 1));
        return values;
    }
    const long double step = *options.Step;
    const long double steps = std::fabs(to - from) / step;
    if (steps >= kMostSteps) {
        throw EUsageError(TrFormat("--step %s makes more than %s steps",
                                   {FormatShortest(step), std::to_string(kMostSteps)}));
    }
    // A span of a whole number of steps, to rounding, ends exactly at --to; any other ends at
    // the last step inside it.
    const long double whole = std::round(steps);
    const bool exact = std::fabs(steps - whole) <= 1e-9L * std::max(1.0L, whole);
    const auto last = static_cast<std::size_t>(exact ? whole : std::floor(steps));
    const long double signedStep = std::copysign(step, to - from);
    for (std::size_t k = 0; k <= last; ++k)
        add(exact ? Between(from, to, k, last) : from + signedStep * static_cast<long double>(k));
    return values;
}

TCliOptions SweepStep(const TCliOptions& options, long double value) {
    TCliOptions step = options;
    switch (options.Vary.Kind) {
        case TSweepTarget::TKind::Elevation:
            if (!(value >= 0 && value <= 90)) {
                throw EUsageError(
                    TrFormat("elevation %s is outside 0..90", {FormatShortest(value)}));
            }
            step.Field.ElevationDegrees = value;
            step.ElevationGiven = true;
            break;
        case TSweepTarget::TKind::Focus:
            step.FocusBearing = static_cast<int>(((std::lround(value) % 360) + 360) % 360);
            break;
        case TSweepTarget::TKind::Height:
            if (!(value >= 0)) {
                throw EUsageError(TrFormat("height %s is below 0", {FormatShortest(value)}));
            }
            step.Ground.HeightWavelengths = value;
            break;
        case TSweepTarget::TKind::Frequency:
            break;  // every distance changes with it: RunSweep scales the design array
        case TSweepTarget::TKind::Emitter:
            if (options.Vary.Field == TEmitterField::Amplitude && value < 0) {
                throw EUsageError(TrFormat("amplitude %s is below 0", {FormatShortest(value)}));
            }
            step.Settings.push_back({options.Vary.Emitter, options.Vary.Field, value});
            break;
    }
    return step;
}

std::string FormatSweep(const TSweepTarget& target, const std::vector<long double>& values,
                        const std::vector<std::vector<TFigureValue>>& rows, TOutputFormat format) {
    // The elevation column is the value set when the sweep varies it.
    const auto shortest = [&target](const TFigureValue& f) {
        return target.Kind == TSweepTarget::TKind::Elevation && f.Key == "elevation";
    };
    std::string out;
    if (format == TOutputFormat::Json) {
        for (std::size_t i = 0; i < rows.size(); ++i) {
            TJsonWriter json;
            json.BeginObject();
            json.Key("parameter");
            json.Shortest(values[i]);
            for (const TFigureValue& f : rows[i]) {
                json.Key(f.Key);
                if (shortest(f)) {
                    json.Shortest(f.Value);
                } else {
                    json.Real(f.Value);  // null where there is none
                }
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
        for (const TFigureValue& f : rows.front()) out += "," + std::string(f.Key);
    }
    out += '\n';
    for (std::size_t i = 0; i < rows.size(); ++i) {
        AppendShortest(out, values[i]);
        for (const TFigureValue& f : rows[i]) {
            out += ',';
            if (shortest(f)) {
                AppendShortest(out, f.Value);
            } else {
                AppendCsvReal(out, f.Value);
            }
        }
        out += '\n';
    }
    return out;
}

// A row of figures a step, on every core; the chart of the chosen figures when asked for.
int RunSweep(const TCliOptions& options, std::string&) {
    return Guarded("", [&] {
        const std::vector<long double> values = SweepValues(options);
        if (!options.FramesFile.empty() && values.size() > kMostFrames) {
            throw EUsageError(
                TrFormat("--frames: %s steps make %s frames, at most %s",
                         {std::to_string(values.size()), std::to_string(values.size()),
                          std::to_string(kMostFrames)}));
        }
        const auto config = Configs(options).front();
        std::vector<TAnalysisRequest> steps;
        if (options.Vary.Kind == TSweepTarget::TKind::Frequency) {
            const TAnalysisRequest request = RequestFor(options, config);
            const TDesignFrequencyArray design = ArrayAtDesign(request);
            TArrayCase designCase;
            designCase.Array = design.Array;
            designCase.Wires = design.Wires.Settings;
            designCase.Field.Ground = GroundOver(request, design.Array, design.Ground);
            for (const long double v : values) {
                if (!(v > 0)) {
                    throw EUsageError(TrFormat("frequency %s is not above 0", {FormatShortest(v)}));
                }
                const TQuantityRange& range = RangeOf(TQuantity::Frequency);
                if (!range.Contains(v)) {
                    throw EUsageError(TrFormat("frequency %s is outside its range, %s",
                                               {FormatShortest(v), RangeText(range)}));
                }
                // Every distance scales with the frequency: the geometry is checked as scaled.
                const TArrayCase scaled =
                    CaseAtFrequency(designCase, *request.Ground.FrequencyMhz, v);
                if (const auto why = GeometryFault(scaled.Array, scaled.Wires, scaled.Field.Ground))
                    RefuseStep(options.Vary.Name, v, *why);
            }
            for (const long double v : values) {
                steps.push_back(FrequencyStep(request, design, v));
            }
        } else {
            const std::optional<std::string> text =
                config ? std::optional(ReadConfigText(*config)) : std::nullopt;
            for (const long double v : values) {
                steps.push_back(RequestFor(SweepStep(options, v), config, text));
                if (MovesWires(options.Vary)) CheckStep(steps.back(), options.Vary.Name, v);
            }
        }
        std::vector<std::vector<TFigureValue>> rows(values.size());
        std::vector<std::exception_ptr> errors(values.size());
        const bool frames = !options.FramesFile.empty();
        std::vector<TAnimationFrame> animation(frames ? values.size() : 0);
        std::vector<TPatternResult> first(1);
        ParallelFor(values.size(), [&](std::size_t i) {
            try {
                TPatternResult result = AnalyseFor(options, steps[i]);
                rows[i] = SweepFigures(result);
                if (frames) {
                    animation[i].Series = ChartArrayOf(result).Report.Series;
                    // A focusing bearing is whole: the caption shows the one used.
                    const long double shown = options.Vary.Kind == TSweepTarget::TKind::Focus
                                                  ? *steps[i].Steps.FocusBearing
                                                  : values[i];
                    animation[i].Caption = options.Vary.Name + " = " + FormatGeneral(shown);
                }
                if (i == 0) first[0] = std::move(result);
            } catch (...) {
                errors[i] = std::current_exception();
            }
        });
        // The first failing step stops the sweep with its error, as pattern reports it.
        for (const std::exception_ptr& error : errors) {
            if (error) std::rethrow_exception(error);
        }
        // The configuration's warnings and messages once, as every other command prints them.
        PrintMessages(first[0].Session, "");
        StrictCheck(options, first[0].Session);
        // Everything is computed, and every picture written beside its file, before any takes
        // a file's place: a call that fails leaves every file as it was.
        std::vector<std::pair<std::string, std::string>> files;
        if (!options.PlotFile.empty()) {
            files.emplace_back(options.PlotFile,
                               SweepChartFile(options.Vary.Name, values, rows, options.Figures,
                                              *PictureFormatOf(options.PlotFile)));
        }
        if (frames) {
            // Estimated from the first frame, before the whole animation is encoded.
            const std::size_t estimate =
                PolarDbAnimation({animation.front()}).size() * animation.size();
            if (estimate > kMostAnimationBytes) {
                throw EUsageError(TrFormat(
                    "--frames: the animation would take about %s MB, at most %s MB",
                    {std::to_string(estimate >> 20), std::to_string(kMostAnimationBytes >> 20)}));
            }
            files.emplace_back(options.FramesFile, PolarDbAnimation(animation));
        }
        TPictureFiles pictures;
        for (const auto& file : files) pictures.Prepare(file.first, file.second);
        // The rows go out before the pictures take their places: where standard output fails,
        // no picture has changed.
        WriteStandardOutput(FormatSweep(options.Vary, values, rows, options.Format));
        pictures.Commit();
    });
}
