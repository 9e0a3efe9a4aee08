#include "cli/options.h"

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
    throw EUsageError("invalid value '" + value + "' for " + std::string(option) + ": " + expected);
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
        BadValue(option, value, "a whole bearing from 0 to 359");
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
    BadValue(option, value, "one of " + expected);
}

struct TContext {
    TCliOptions& Options;
    char DefaultMark;
};

// Every option that takes a value, in the order they are applied: the decimal mark before
// the elevation that is read with it.
struct TOptionSpec {
    std::string_view Name;
    bool Repeatable;
    void (*Apply)(TContext& c, std::string_view name, const std::string& value);
};

const TOptionSpec kOptions[] = {
    {"--config", true,
     [](TContext& c, std::string_view name, const std::string& value) {
         if (value.empty()) BadValue(name, value, "a file name");
         c.Options.ConfigFiles.push_back(value);
     }},
    {"--decimal-mark", false,
     [](TContext& c, std::string_view name, const std::string& value) {
         if (!IsUsableDecimalMark(value)) {
             BadValue(name, value, "one printable character other than a digit, sign, E or blank");
         }
         c.Options.DecimalMark = value[0];
     }},
    {"--type", false,
     [](TContext& c, std::string_view name, const std::string& value) {
         const auto n = ParseWholeNumber(value);
         if (!n) BadValue(name, value, "a whole number");
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
             BadValue(name, value, "a number from 0 to 85");
         }
         c.Options.ElevationDegrees = *degrees;
     }},
    {"--model", false,
     [](TContext& c, std::string_view name, const std::string& value) {
         c.Options.Field = Choice<TFieldModel>(
             name, value,
             {{"window", TFieldModel::Window}, {"free-space", TFieldModel::FreeSpace}});
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
    {"--kind", false,
     [](TContext& c, std::string_view name, const std::string& value) {
         c.Options.Kind = Choice<TPlotKind>(name, value,
                                            {{"diagram", TPlotKind::Diagram},
                                             {"polar-db", TPlotKind::PolarDb},
                                             {"rect-db", TPlotKind::RectDb},
                                             {"elevation", TPlotKind::Elevation},
                                             {"report", TPlotKind::Report}});
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
        } else {
            std::optional<std::string> value;
            if (const auto eq = arg.find('='); arg.starts_with("--") && eq != std::string::npos) {
                value = arg.substr(eq + 1);
                arg.resize(eq);
            }
            if (value && (arg == "--help" || arg == "--version")) {
                throw EUsageError(arg + " takes no value");
            }
            const TOptionSpec* spec = OptionNamed(arg);
            if (spec == nullptr) throw EUsageError("unknown option " + arg);
            if (!value) {
                if (i + 1 == args.size()) throw EUsageError("missing value for " + arg);
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
        throw EUsageError(std::string(option) + " applies only to " + where);
    }
}

void ReadCommand(const std::vector<std::string>& positional, TCliOptions& options) {
    if (positional.empty()) throw EUsageError("missing command (pattern, export, save or plot)");
    const std::string& name = positional[0];
    options.Command = name == "pattern"  ? TCliCommand::Pattern
                      : name == "export" ? TCliCommand::Export
                      : name == "save"   ? TCliCommand::Save
                      : name == "plot"   ? TCliCommand::Plot
                                         : TCliCommand::None;
    if (options.Command == TCliCommand::None) throw EUsageError("unknown command " + name);
    const std::size_t words = options.Command == TCliCommand::Pattern ? 1 : 2;
    if (positional.size() < words) throw EUsageError("missing output file for " + name);
    if (positional.size() > words) throw EUsageError("unexpected argument " + positional[words]);
    if (words == 2) {
        options.OutputFile = positional[1];
        if (options.OutputFile.empty()) throw EUsageError("empty output file name");
    }
}

void CheckCombinations(const TRawOptions& raw, TCliOptions& options) {
    const TCliCommand command = options.Command;
    const bool pattern = command == TCliCommand::Pattern;
    const bool plot = command == TCliCommand::Plot;
    OnlyFor(raw, "--format", pattern, "pattern");
    OnlyFor(raw, "--cut", pattern && options.Format == TOutputFormat::Csv, "pattern --format csv");
    OnlyFor(raw, "--kind", plot, "plot");
    OnlyFor(raw, "--bearing", pattern || plot, "pattern and plot");
    OnlyFor(raw, "--model", pattern || plot, "pattern and plot");
    if ((command == TCliCommand::Save || command == TCliCommand::Export) &&
        options.ConfigFiles.size() > 1) {
        throw EUsageError("--config is given more than once: save and export take one");
    }
    if (!plot) return;
    if (!raw.count("--kind")) throw EUsageError("missing --kind for plot");
    if (options.Kind == TPlotKind::Report && options.ConfigFiles.size() > kMaxReportFiles) {
        throw EUsageError("--kind report lays out at most " + std::to_string(kMaxReportFiles) +
                          " files, not " + std::to_string(options.ConfigFiles.size()));
    }
    if (options.Kind == TPlotKind::Diagram && options.ConfigFiles.size() > 1) {
        throw EUsageError(
            "--kind diagram draws one configuration; overlay with polar-db, "
            "rect-db, elevation or report");
    }
    const auto format = PictureFormatOf(options.OutputFile);
    if (!format) {
        const std::string extension = std::filesystem::path(options.OutputFile).extension();
        throw EUsageError((extension.empty() ? "no picture format in " + options.OutputFile
                                             : "unknown picture format " + extension + " of " +
                                                   options.OutputFile) +
                          ": use .bmp, .png, .svg or .pdf");
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

std::optional<TChartKind> ChartKindOf(TPlotKind kind) {
    switch (kind) {
        case TPlotKind::PolarDb:
            return TChartKind::PolarDb;
        case TPlotKind::RectDb:
            return TChartKind::RectDb;
        case TPlotKind::Elevation:
            return TChartKind::Elevation;
        case TPlotKind::Report:
            return TChartKind::Report;
        case TPlotKind::Diagram:
            break;
    }
    return std::nullopt;
}
