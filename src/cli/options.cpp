#include "cli/options.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <utility>

#include "config/numtext.h"
#include "plot/reportpage.h"

namespace {

constexpr long double kMaxElevation = 85;  // degrees, the slider's top
constexpr int kMaxBearing = 359;

// The values given for each option, in order.
using TRawOptions = std::map<std::string_view, std::vector<std::string>>;

[[noreturn]] void BadValue(std::string_view option, const std::string& value,
                           const std::string& expected) {
    throw EUsageError(TrFormat("invalid value '%s' for %s: %s", {value, option, expected}));
}

// A plain decimal integer with an optional sign; nullopt for anything else or beyond int.
std::optional<long> ParseWholeNumber(std::string_view text) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
    if (i == text.size() || text.size() - i > 9) return std::nullopt;
    for (std::size_t k = i; k < text.size(); ++k) {
        if (text[k] < '0' || text[k] > '9') return std::nullopt;
    }
    return std::strtol(std::string(text).c_str(), nullptr, 10);
}

int WholeBearing(std::string_view option, const std::string& value) {
    const auto n = ParseWholeNumber(value);
    if (!n || *n < 0 || *n > kMaxBearing || value[0] < '0' || value[0] > '9') {
        BadValue(option, value, Tr("a whole bearing from 0 to 359"));
    }
    return static_cast<int>(*n);
}

// One name of a closed set of values.
template <typename T>
T Choice(std::string_view option, const std::string& value,
         const std::vector<std::pair<std::string_view, T>>& names) {
    std::string expected;
    for (const auto& [name, v] : names) {
        if (value == name) return v;
        expected += (expected.empty() ? "" : ", ") + std::string(name);
    }
    BadValue(option, value, TrFormat("one of %s", {expected}));
}

struct TContext {
    TCliOptions& Options;
    char DefaultMark;
};

constexpr long double kMaxHeight = 100;  // wavelengths

// A real read with the call's decimal mark or a full stop, within [low, high].
long double Real(const TContext& c, std::string_view option, const std::string& value,
                 long double low, long double high, const std::string& expected) {
    auto v = ParseFloat(value, c.Options.DecimalMark.value_or(c.DefaultMark));
    if (!v) v = ParseFloat(value, '.');
    if (!v || !(*v >= low && *v <= high)) BadValue(option, value, expected);
    return *v;
}

// Every option that takes a value, in the order they are applied: the decimal mark before
// the elevation that is read with it.
struct TOptionSpec {
    std::string_view Name;
    bool Repeatable;
    void (*Apply)(TContext& c, std::string_view name, const std::string& value);
};

// N:FIELD=VALUE of --set. A phase may be given in degrees ("-90deg"): a period is 360.
TEmitterSetting Setting(const TContext& c, std::string_view option, const std::string& value) {
    const std::string expected =
        Tr("N:FIELD=VALUE with N 1..8 and FIELD x, y, phase (periods, or degrees as -90deg), "
           "amplitude (0 or more) or on (0 or 1)");
    const auto colon = value.find(':');
    const auto equals = value.find('=');
    if (colon != 1 || equals == std::string::npos || value[0] < '1' || value[0] > '8') {
        BadValue(option, value, expected);
    }
    TEmitterSetting setting;
    setting.Emitter = value[0] - '0';
    const std::string field = value.substr(colon + 1, equals - colon - 1);
    std::string number = value.substr(equals + 1);
    bool degrees = false;
    if (field == "phase" && number.ends_with("deg")) {
        number.resize(number.size() - 3);
        degrees = true;
    }
    auto v = ParseFloat(number, c.Options.DecimalMark.value_or(c.DefaultMark));
    if (!v) v = ParseFloat(number, '.');
    if (!v || !std::isfinite(*v)) BadValue(option, value, expected);
    setting.Value = degrees ? *v / 360 : *v;
    if (field == "x") {
        setting.Field = TEmitterField::X;
    } else if (field == "y") {
        setting.Field = TEmitterField::Y;
    } else if (field == "phase") {
        setting.Field = TEmitterField::Phase;
    } else if (field == "amplitude" && *v >= 0) {
        setting.Field = TEmitterField::Amplitude;
    } else if (field == "on" && (*v == 0 || *v == 1)) {
        setting.Field = TEmitterField::On;
    } else {
        BadValue(option, value, expected);
    }
    return setting;
}

const TOptionSpec kOptions[] = {
    {"--config", true,
     [](TContext& c, std::string_view name, const std::string& value) {
         if (value.empty()) BadValue(name, value, Tr("a file name"));
         c.Options.ConfigFiles.push_back(value);
     }},
    {"--decimal-mark", false,
     [](TContext& c, std::string_view name, const std::string& value) {
         if (!IsUsableDecimalMark(value)) {
             BadValue(name, value,
                      Tr("one printable character other than a digit, sign, E or blank"));
         }
         c.Options.DecimalMark = value[0];
     }},
    {"--type", false,
     [](TContext& c, std::string_view name, const std::string& value) {
         const auto n = ParseWholeNumber(value);
         if (!n) BadValue(name, value, Tr("a whole number"));
         c.Options.EmitterType = static_cast<int>(*n);
     }},
    {"--focus", false,
     [](TContext& c, std::string_view name, const std::string& value) {
         c.Options.FocusBearing = WholeBearing(name, value);
     }},
    {"--elevation", false,
     [](TContext& c, std::string_view name, const std::string& value) {
         auto degrees = ParseFloat(value, c.Options.DecimalMark.value_or(c.DefaultMark));
         if (!degrees) degrees = ParseFloat(value, '.');
         if (!degrees || !(*degrees >= 0 && *degrees <= kMaxElevation)) {
             BadValue(name, value, Tr("a number from 0 to 85"));
         }
         c.Options.Field.ElevationDegrees = *degrees;
         c.Options.ElevationGiven = true;
     }},
    {"--model", false,
     [](TContext& c, std::string_view name, const std::string& value) {
         c.Options.Field.Model = Choice<TFieldModel>(
             name, value,
             {{"window", TFieldModel::Window}, {"free-space", TFieldModel::FreeSpace}});
         c.Options.ModelGiven = true;
     }},
    {"--ground", false,
     [](TContext& c, std::string_view name, const std::string& value) {
         c.Options.Ground.Kind = Choice<TGroundKind>(name, value,
                                                     {{"none", TGroundKind::None},
                                                      {"perfect", TGroundKind::Perfect},
                                                      {"real", TGroundKind::Real}});
     }},
    {"--height", true,
     [](TContext& c, std::string_view name, const std::string& value) {
         const long double h = Real(c, name, value, 0, kMaxHeight, Tr("wavelengths from 0 to 100"));
         if (c.Options.Heights.empty()) c.Options.Ground.HeightWavelengths = h;
         c.Options.Heights.push_back(h);
     }},
    {"--frequency", false,
     [](TContext& c, std::string_view name, const std::string& value) {
         c.Options.Ground.FrequencyMhz =
             Real(c, name, value, 1e-6L, 1e6L, Tr("MHz, more than 0 and up to 1000000"));
         if (*c.Options.Ground.FrequencyMhz <= 0) BadValue(name, value, Tr("MHz, more than 0"));
     }},
    {"--soil", false,
     [](TContext& c, std::string_view name, const std::string& value) {
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
    {"--permittivity", false,
     [](TContext& c, std::string_view name, const std::string& value) {
         c.Options.Ground.Permittivity =
             Real(c, name, value, 1, 1e6L, Tr("a relative permittivity from 1 to 1000000"));
     }},
    {"--conductivity", false,
     [](TContext& c, std::string_view name, const std::string& value) {
         c.Options.Ground.Conductivity = Real(c, name, value, 0, 1e9L, Tr("S/m from 0 to 1e9"));
     }},
    {"--set", true,
     [](TContext& c, std::string_view name, const std::string& value) {
         c.Options.Settings.push_back(Setting(c, name, value));
     }},
    {"--taper", false,
     [](TContext& c, std::string_view name, const std::string& value) {
         const std::string expected =
             Tr("uniform, binomial, chebyshev:SLL or taylor:SLL[:NBAR] with SLL a negative "
                "level in dB and NBAR 2..20");
         TTaper taper;
         std::vector<std::string> parts;
         for (std::size_t from = 0;;) {
             const auto colon = value.find(':', from);
             parts.push_back(value.substr(from, colon - from));
             if (colon == std::string::npos) break;
             from = colon + 1;
         }
         const std::string& kind = parts[0];
         if ((kind == "uniform" || kind == "binomial") && parts.size() == 1) {
             taper.Kind = kind == "uniform" ? TTaperKind::Uniform : TTaperKind::Binomial;
         } else if ((kind == "chebyshev" && parts.size() == 2) ||
                    (kind == "taylor" && (parts.size() == 2 || parts.size() == 3))) {
             taper.Kind = kind == "chebyshev" ? TTaperKind::Chebyshev : TTaperKind::Taylor;
             auto level = ParseFloat(parts[1], '.');
             if (!level)
                 level = ParseFloat(parts[1], c.Options.DecimalMark.value_or(c.DefaultMark));
             if (!level || !(*level < 0 && *level >= -200)) BadValue(name, value, expected);
             taper.SidelobeDb = *level;
             if (parts.size() == 3) {
                 const auto nbar = ParseWholeNumber(parts[2]);
                 if (!nbar || *nbar < 2 || *nbar > 20) BadValue(name, value, expected);
                 taper.Nbar = static_cast<int>(*nbar);
             }
         } else {
             BadValue(name, value, expected);
         }
         c.Options.Taper = taper;
     }},
    {"--vary", false,
     [](TContext& c, std::string_view name, const std::string& value) {
         const bool field = value.size() > 2 && value[0] >= '1' && value[0] <= '8' &&
                            value[1] == ':' &&
                            (value.substr(2) == "x" || value.substr(2) == "y" ||
                             value.substr(2) == "phase" || value.substr(2) == "amplitude");
         if (!field && value != "elevation" && value != "focus" && value != "height") {
             BadValue(name, value,
                      Tr("N:x, N:y, N:phase or N:amplitude (N 1..8), elevation, focus or "
                         "height"));
         }
         c.Options.Vary = value;
     }},
    {"--from", false,
     [](TContext& c, std::string_view name, const std::string& value) {
         c.Options.From = Real(c, name, value, -1e6L, 1e6L, Tr("a number"));
     }},
    {"--to", false,
     [](TContext& c, std::string_view name, const std::string& value) {
         c.Options.To = Real(c, name, value, -1e6L, 1e6L, Tr("a number"));
     }},
    {"--steps", false,
     [](TContext& c, std::string_view name, const std::string& value) {
         const auto n = ParseWholeNumber(value);
         if (!n || *n < 1 || *n > 100000)
             BadValue(name, value, Tr("a whole number from 1 to 100000"));
         c.Options.Steps = static_cast<int>(*n);
     }},
    {"--step", false,
     [](TContext& c, std::string_view name, const std::string& value) {
         c.Options.Step = Real(c, name, value, 1e-9L, 1e6L, Tr("a number more than 0"));
     }},
    {"--figures", false,
     [](TContext& c, std::string_view, const std::string& value) {
         for (std::size_t from = 0;;) {
             const auto comma = value.find(',', from);
             c.Options.Figures.push_back(value.substr(from, comma - from));
             if (comma == std::string::npos) break;
             from = comma + 1;
         }
     }},
    {"--plot", false,
     [](TContext& c, std::string_view name, const std::string& value) {
         if (!PictureFormatOf(value)) BadValue(name, value, Tr("a .bmp, .png, .svg or .pdf file"));
         c.Options.PlotFile = value;
     }},
    {"--frames", false,
     [](TContext& c, std::string_view name, const std::string& value) {
         if (!std::filesystem::path(value).extension().string().ends_with(".gif") &&
             !std::filesystem::path(value).extension().string().ends_with(".GIF")) {
             BadValue(name, value, Tr("a .gif file"));
         }
         c.Options.FramesFile = value;
     }},
    {"--floor", false,
     [](TContext& c, std::string_view name, const std::string& value) {
         c.Options.View.FloorDb = static_cast<double>(
             Real(c, name, value, -200, -1, Tr("a level in dB from -200 to -1")));
     }},
    {"--scale", false,
     [](TContext& c, std::string_view, const std::string& value) { c.Options.Scale = value; }},
    {"--view", false,
     [](TContext& c, std::string_view name, const std::string& value) {
         const auto comma = value.find(',');
         const std::string expected =
             Tr("AZ,EL: the viewer's bearing 0..360 and elevation -90..90");
         if (comma == std::string::npos) BadValue(name, value, expected);
         auto az = ParseFloat(value.substr(0, comma), '.');
         auto el = ParseFloat(value.substr(comma + 1), '.');
         if (!az || !el || !(*az >= 0 && *az <= 360) || !(*el >= -90 && *el <= 90)) {
             BadValue(name, value, expected);
         }
         c.Options.View.ViewBearing = static_cast<double>(*az);
         c.Options.View.ViewElevation = static_cast<double>(*el);
     }},
    {"--goal", false,
     [](TContext& c, std::string_view name, const std::string& value) {
         c.Options.Goal = Choice<std::string>(name, value,
                                              {{"max-directivity", "max-directivity"},
                                               {"nulls", "nulls"},
                                               {"front-to-back", "front-to-back"},
                                               {"front-to-rear", "front-to-rear"}});
     }},
    {"--null", true,
     [](TContext& c, std::string_view name, const std::string& value) {
         c.Options.Nulls.push_back(Real(c, name, value, 0, 360, Tr("a bearing from 0 to 360")));
     }},
    {"--amplitudes", false,
     [](TContext& c, std::string_view name, const std::string& value) {
         c.Options.FreeAmplitudes = Choice<bool>(name, value, {{"fixed", false}, {"free", true}});
     }},
    {"--dipole-length", false,
     [](TContext& c, std::string_view name, const std::string& value) {
         c.Options.DipoleLength =
             Real(c, name, value, 1e-4L, 0.1L, Tr("wavelengths from 0.0001 to 0.1"));
     }},
    {"--bearing", false,
     [](TContext& c, std::string_view name, const std::string& value) {
         c.Options.CutBearing = WholeBearing(name, value);
     }},
    {"--format", false,
     [](TContext& c, std::string_view name, const std::string& value) {
         c.Options.Format = Choice<TOutputFormat>(name, value,
                                                  {{"text", TOutputFormat::Text},
                                                   {"json", TOutputFormat::Json},
                                                   {"csv", TOutputFormat::Csv}});
     }},
    {"--cut", false,
     [](TContext& c, std::string_view name, const std::string& value) {
         c.Options.ElevationCutCsv = Choice<bool>(name, value, {{"elevation", true}});
     }},
    {"--lang", false,
     [](TContext& c, std::string_view name, const std::string& value) {
         c.Options.Language = Choice<TLanguage>(
             name, value, {{"ru", TLanguage::Russian}, {"en", TLanguage::English}});
     }},
    {"--kind", false,
     [](TContext& c, std::string_view name, const std::string& value) {
         c.Options.Kind = Choice<TPlotKind>(name, value,
                                            {{"diagram", TPlotKind::Diagram},
                                             {"polar-db", TPlotKind::PolarDb},
                                             {"rect-db", TPlotKind::RectDb},
                                             {"elevation", TPlotKind::Elevation},
                                             {"elevation-heights", TPlotKind::ElevationHeights},
                                             {"report", TPlotKind::Report},
                                             {"3d", TPlotKind::Surface3d}});
     }},
};

const TOptionSpec* OptionNamed(std::string_view name) {
    for (const TOptionSpec& spec : kOptions) {
        if (spec.Name == name) return &spec;
    }
    return nullptr;
}

// Splits the arguments into options with their values and positional words.
std::vector<std::string> ReadArguments(const std::vector<std::string>& args, TCliOptions& options,
                                       TRawOptions& raw) {
    std::vector<std::string> positional;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            positional.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "-h" || arg == "--help") {
            options.Help = true;
        } else if (arg == "--version") {
            options.Version = true;
        } else if (arg == "--strict") {
            options.Strict = true;
        } else {
            std::optional<std::string> value;
            if (const auto eq = arg.find('='); arg.starts_with("--") && eq != std::string::npos) {
                value = arg.substr(eq + 1);
                arg.resize(eq);
            }
            if (value && (arg == "--help" || arg == "--version" || arg == "--strict")) {
                throw EUsageError(TrFormat("%s takes no value", {arg}));
            }
            const TOptionSpec* spec = OptionNamed(arg);
            if (spec == nullptr) throw EUsageError(TrFormat("unknown option %s", {arg}));
            if (!value) {
                if (i + 1 == args.size()) {
                    throw EUsageError(TrFormat("missing value for %s", {arg}));
                }
                value = args[++i];
            }
            auto& values = raw[spec->Name];
            if (!spec->Repeatable) values.clear();
            values.push_back(*value);
        }
    }
    return positional;
}

void OnlyFor(const TRawOptions& raw, std::string_view option, bool allowed,
             const std::string& where) {
    if (!allowed && raw.count(option)) {
        throw EUsageError(TrFormat("%s applies only to %s", {option, where}));
    }
}

void ReadCommand(const std::vector<std::string>& positional, TCliOptions& options) {
    if (positional.empty()) {
        throw EUsageError(Tr("missing command (pattern, export, save, plot, nec, sweep, design)"));
    }
    const std::string& name = positional[0];
    options.Command = name == "pattern"  ? TCliCommand::Pattern
                      : name == "export" ? TCliCommand::Export
                      : name == "save"   ? TCliCommand::Save
                      : name == "plot"   ? TCliCommand::Plot
                      : name == "nec"    ? TCliCommand::Nec
                      : name == "sweep"  ? TCliCommand::Sweep
                      : name == "design" ? TCliCommand::Design
                                         : TCliCommand::None;
    if (options.Command == TCliCommand::None) {
        throw EUsageError(TrFormat("unknown command %s", {name}));
    }
    const std::size_t words =
        options.Command == TCliCommand::Pattern || options.Command == TCliCommand::Sweep ? 1 : 2;
    if (positional.size() < words) {
        throw EUsageError(TrFormat("missing output file for %s", {name}));
    }
    if (positional.size() > words) {
        throw EUsageError(TrFormat("unexpected argument %s", {positional[words]}));
    }
    if (words == 2) {
        options.OutputFile = positional[1];
        if (options.OutputFile.empty()) throw EUsageError(Tr("empty output file name"));
    }
}

void CheckCombinations(const TRawOptions& raw, TCliOptions& options) {
    const TCliCommand command = options.Command;
    const bool pattern = command == TCliCommand::Pattern;
    const bool plot = command == TCliCommand::Plot;
    const bool sweep = command == TCliCommand::Sweep;
    const bool design = command == TCliCommand::Design;
    for (const std::string_view option : {"--goal", "--null", "--amplitudes"}) {
        OnlyFor(raw, option, design, "design");
    }
    if (design) {
        if (!raw.count("--goal")) throw EUsageError(Tr("design needs --goal"));
        if (options.Goal == "nulls" && options.Nulls.empty()) {
            throw EUsageError(Tr("--goal nulls needs at least one --null"));
        }
        if (!options.Nulls.empty() && options.Goal != "nulls") {
            throw EUsageError(Tr("--null applies only to --goal nulls"));
        }
        if (raw.count("--amplitudes") && options.Goal.rfind("front-to-", 0) != 0) {
            throw EUsageError(
                Tr("--amplitudes applies only to --goal front-to-back and front-to-rear"));
        }
        if (options.ConfigFiles.size() > 1) {
            throw EUsageError(Tr("--config is given more than once: design takes one"));
        }
    }
    OnlyFor(raw, "--format", pattern || sweep, Tr("pattern and sweep"));
    for (const std::string_view option :
         {"--vary", "--from", "--to", "--steps", "--step", "--figures", "--plot", "--frames"}) {
        OnlyFor(raw, option, sweep, "sweep");
    }
    if (sweep) {
        if (!raw.count("--vary") || !raw.count("--from") || !raw.count("--to")) {
            throw EUsageError(Tr("sweep needs --vary, --from and --to"));
        }
        if (raw.count("--steps") == raw.count("--step")) {
            throw EUsageError(Tr("sweep needs one of --steps and --step"));
        }
        if (options.Format == TOutputFormat::Text) options.Format = TOutputFormat::Csv;
        if (options.ConfigFiles.size() > 1) {
            throw EUsageError(Tr("--config is given more than once: sweep takes one"));
        }
    }
    OnlyFor(raw, "--cut", pattern && options.Format == TOutputFormat::Csv, "pattern --format csv");
    OnlyFor(raw, "--kind", plot, "plot");
    for (const std::string_view option : {"--floor", "--view"}) {
        OnlyFor(raw, option, plot && options.Kind == TPlotKind::Surface3d, "plot --kind 3d");
    }
    const bool levelChart =
        plot && (options.Kind == TPlotKind::PolarDb || options.Kind == TPlotKind::RectDb ||
                 options.Kind == TPlotKind::Elevation ||
                 options.Kind == TPlotKind::ElevationHeights || options.Kind == TPlotKind::Report);
    OnlyFor(raw, "--scale", levelChart || (plot && options.Kind == TPlotKind::Surface3d),
            Tr("plot's level charts, the report and 3d"));
    if (raw.count("--scale")) {
        if (options.Kind == TPlotKind::Surface3d) {
            options.View.Linear =
                Choice<bool>("--scale", options.Scale, {{"db", false}, {"linear", true}});
        } else {
            options.DbiScale =
                Choice<bool>("--scale", options.Scale, {{"relative", false}, {"dbi", true}});
        }
    }
    OnlyFor(raw, "--bearing", pattern || plot || sweep || design,
            Tr("pattern, plot, sweep and design"));
    OnlyFor(raw, "--model", pattern || plot || sweep || command == TCliCommand::Nec,
            Tr("pattern, plot, nec and sweep"));
    const bool grounded =
        pattern || plot || sweep || command == TCliCommand::Save || command == TCliCommand::Nec;
    for (const std::string_view option :
         {"--ground", "--height", "--frequency", "--soil", "--permittivity", "--conductivity"}) {
        OnlyFor(raw, option, grounded, Tr("pattern, plot, save, nec, sweep and design"));
    }
    OnlyFor(raw, "--dipole-length", command == TCliCommand::Nec, "nec");
    if (raw.count("--ground") && raw.count("--model")) {
        throw EUsageError(Tr("--ground selects the over-ground model: leave out --model"));
    }
    if (raw.count("--height") && !raw.count("--ground")) {
        throw EUsageError(Tr("--height needs --ground perfect or real"));
    }
    if (raw.count("--soil") && (raw.count("--permittivity") || raw.count("--conductivity"))) {
        throw EUsageError(
            Tr("--soil gives the permittivity and conductivity: leave out the others"));
    }
    if (options.Heights.size() > 1 && !(plot && options.Kind == TPlotKind::ElevationHeights)) {
        throw EUsageError(
            Tr("--height is given more than once: only plot --kind elevation-heights "
               "overlays heights"));
    }
    if ((command == TCliCommand::Save || command == TCliCommand::Export ||
         command == TCliCommand::Nec) &&
        options.ConfigFiles.size() > 1) {
        throw EUsageError(Tr("--config is given more than once: save, export and nec take one"));
    }
    if (!plot) return;
    if (!raw.count("--kind")) throw EUsageError(Tr("missing --kind for plot"));
    if (options.Kind == TPlotKind::ElevationHeights &&
        (options.Heights.empty() || !raw.count("--ground"))) {
        throw EUsageError(
            Tr("--kind elevation-heights needs --ground perfect or real and --height"));
    }
    if (options.Kind == TPlotKind::Report && options.ConfigFiles.size() > kMaxReportFiles) {
        throw EUsageError(TrFormat(
            "--kind report lays out at most %s files, not %s",
            {std::to_string(kMaxReportFiles), std::to_string(options.ConfigFiles.size())}));
    }
    if ((options.Kind == TPlotKind::Diagram || options.Kind == TPlotKind::Surface3d) &&
        options.ConfigFiles.size() > 1) {
        throw EUsageError(
            Tr("--kind diagram and 3d draw one configuration; overlay with polar-db, "
               "rect-db, elevation or report"));
    }
    std::string extension = std::filesystem::path(options.OutputFile).extension().string();
    for (char& ch : extension) {
        if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
    }
    if (options.Kind == TPlotKind::Report && (extension == ".html" || extension == ".htm")) {
        options.Html = true;
        return;
    }
    const auto format = PictureFormatOf(options.OutputFile);
    if (!format) {
        const std::string extension = std::filesystem::path(options.OutputFile).extension();
        throw EUsageError(
            extension.empty()
                ? TrFormat("no picture format in %s: use .bmp, .png, .svg or .pdf",
                           {options.OutputFile})
                : TrFormat("unknown picture format %s of %s: use .bmp, .png, .svg or .pdf",
                           {extension, options.OutputFile}));
    }
    options.PictureFormat = *format;
}

}  // namespace

bool IsUsableDecimalMark(std::string_view text) {
    if (text.size() != 1) return false;
    const char c = text[0];
    if (c <= ' ' || c > '~') return false;
    return !(c >= '0' && c <= '9') && c != '+' && c != '-' && c != 'E' && c != 'e';
}

TCliOptions ParseCommandLine(const std::vector<std::string>& args, char defaultMark) {
    TCliOptions options;
    TRawOptions raw;
    const std::vector<std::string> positional = ReadArguments(args, options, raw);
    if (options.Help || options.Version) return options;
    ReadCommand(positional, options);
    TContext context{options, defaultMark};
    for (const TOptionSpec& spec : kOptions) {
        const auto found = raw.find(spec.Name);
        if (found == raw.end()) continue;
        for (const std::string& value : found->second) spec.Apply(context, spec.Name, value);
    }
    CheckCombinations(raw, options);
    return options;
}

TAnalysisRequest RequestFor(const TCliOptions& options, const std::optional<std::string>& config) {
    TAnalysisRequest request;
    request.Steps.ConfigFile = config;
    request.Steps.EmitterType = options.EmitterType;
    request.Steps.FocusBearing = options.FocusBearing;
    request.Steps.Settings = options.Settings;
    request.Steps.Taper = options.Taper;
    request.Steps.Field = options.Field;
    request.CutBearing = options.CutBearing;
    request.Ground = options.Ground;
    request.ModelGiven = options.ModelGiven;
    request.ElevationGiven = options.ElevationGiven;
    return request;
}

std::optional<TLanguage> LanguageAsked(const std::vector<std::string>& args) {
    std::optional<TLanguage> language;
    for (std::size_t i = 0; i < args.size() && args[i] != "--"; ++i) {
        if (args[i].starts_with("--lang=")) {
            language = LanguageNamed(std::string_view(args[i]).substr(7));
        } else if (OptionNamed(args[i]) != nullptr && i + 1 < args.size()) {
            // Every option but the flags takes the next word as its value.
            if (args[i] == "--lang") language = LanguageNamed(args[i + 1]);
            ++i;
        }
    }
    return language;
}
