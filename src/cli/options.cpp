#include "cli/options.h"

#include <algorithm>
#include <filesystem>
#include <map>

#include "cli/optiontable.h"
#include "config/filecontent.h"
#include "config/inifile.h"
#include "config/safefile.h"
#include "plot/reportpage.h"

namespace {

// The values given for each option, in order.
using TRawOptions = std::map<std::string_view, std::vector<std::string>>;

// Splits the arguments into options with their values and positional words. A single-valued
// option given again replaces its value: said in warnings.
std::vector<std::string> ReadArguments(const std::vector<std::string>& args, TRawOptions& raw,
                                       std::vector<std::string>& warnings) {
    std::vector<std::string> positional;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string arg = args[i] == "-h" && !optionsEnded ? "--help" : args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            positional.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        std::optional<std::string> value;
        if (const auto eq = arg.find('='); arg.starts_with("--") && eq != std::string::npos) {
            value = arg.substr(eq + 1);
            arg.resize(eq);
        }
        const TOptionRow* row = OptionNamed(arg);
        if (row == nullptr) throw EUsageError(TrFormat("unknown option %s", {ShownValue(arg)}));
        if (row->Value.empty()) {
            if (value) throw EUsageError(TrFormat("%s takes no value", {ShownValue(arg)}));
            value = "";
        } else if (!value) {
            if (i + 1 == args.size()) {
                throw EUsageError(TrFormat("missing value for %s", {ShownValue(arg)}));
            }
            value = args[++i];
        }
        auto& values = raw[row->Name];
        if (!row->Repeatable && !values.empty()) {
            if (*value != values.back()) {
                warnings.push_back(
                    TrFormat("%s is given more than once: %s replaces %s",
                             {row->Name, ShownValue(*value), ShownValue(values.back())}));
            }
            values.clear();
        }
        values.push_back(*value);
    }
    return positional;
}

const TCommandRow& ReadCommand(const std::vector<std::string>& positional, TCliOptions& options) {
    if (positional.empty()) {
        throw EUsageError(Tr("missing command (pattern, export, save, plot, nec, sweep, design)"));
    }
    const std::string& name = positional[0];
    const TCommandRow* command = nullptr;
    for (const TCommandRow& row : CommandTable()) {
        if (row.Name == name) command = &row;
    }
    if (command == nullptr) throw EUsageError(TrFormat("unknown command %s", {ShownValue(name)}));
    options.Command = command->Command;
    const std::size_t words = command->WritesFile ? 2 : 1;
    if (positional.size() < words) {
        throw EUsageError(TrFormat("missing output file for %s", {name}));
    }
    if (positional.size() > words) {
        throw EUsageError(TrFormat("unexpected argument %s", {ShownValue(positional[words])}));
    }
    if (words == 2) {
        options.OutputFile = positional[1];
        if (options.OutputFile.empty()) throw EUsageError(Tr("empty output file name"));
    }
    return *command;
}

// The rules between options that the table's command sets cannot say.
void CheckCombinations(const TRawOptions& raw, TCliOptions& options) {
    const auto given = [&raw](std::string_view option) { return raw.count(option) != 0; };
    // A usage error whose text is a catalogue entry, in the reader's language.
    const auto refuse = [](const char* text) { throw EUsageError(Tr(text)); };
    const TCliCommand command = options.Command;
    const bool plot = command == TCliCommand::Plot;
    const std::size_t configs = options.ConfigFiles.size();
    // Each height costs a whole analysis, and a plot holds every file's chart at once: their
    // number stays one a person asks for.
    if (plot && configs > kMostConfigFiles) {
        throw EUsageError(TrFormat("--config is given %s times: plot draws at most %s files",
                                   {std::to_string(configs), std::to_string(kMostConfigFiles)}));
    }
    // Standard input gives its text once: a second reading would load an empty array.
    if (std::count(options.ConfigFiles.begin(), options.ConfigFiles.end(), kStandardInputName) >
        1) {
        refuse(Msgid("--config - is given more than once: standard input is read only once"));
    }
    if (options.Heights.size() > kMostHeights) {
        throw EUsageError(
            TrFormat("--height is given %s times: at most %s heights a call",
                     {std::to_string(options.Heights.size()), std::to_string(kMostHeights)}));
    }
    if (configs > 1 && command != TCliCommand::Pattern && !plot) {
        throw EUsageError(TrFormat("--config is given more than once: %s takes one",
                                   {CommandNames(CommandBit(command))}));
    }
    if (given("--ground") && given("--model")) {
        refuse(Msgid("--ground selects the over-ground model: leave out --model"));
    }
    if (given("--height") && given("--model")) {
        refuse(Msgid("--height places the array over a ground: leave out --model"));
    }
    if (given("--soil") && (given("--permittivity") || given("--conductivity"))) {
        refuse(Msgid("--soil gives the permittivity and conductivity: leave out the others"));
    }
    if (options.Heights.size() > 1 && !(plot && options.Kind == TPlotKind::ElevationHeights)) {
        refuse(
            Msgid("--height is given more than once: only plot --kind elevation-heights "
                  "overlays heights"));
    }
    if (given("--cut") && options.Format != TOutputFormat::Csv) {
        refuse(Msgid("--cut applies only to pattern --format csv"));
    }
    if (command == TCliCommand::Design) {
        const TDesignGoal goal = options.Design.Goal;
        if (!given("--goal")) refuse(Msgid("design needs --goal"));
        if (!options.FeedGoal && (given("--method") || given("--line-z0") ||
                                  given("--velocity-factor") || given("--tx-z0"))) {
            refuse(
                Msgid("--method, --line-z0, --velocity-factor and --tx-z0 apply only to "
                      "--goal feed"));
        }
        if (options.FeedGoal) {
            options.DesignFrequencyRefusal = Msgid(
                "--goal feed needs a design frequency: give --frequency, or save the file "
                "with its frequency");
        }
        if (goal == TDesignGoal::Nulls && options.Design.Nulls.empty()) {
            refuse(Msgid("--goal nulls needs at least one --null"));
        }
        if (!options.Design.Nulls.empty() && goal != TDesignGoal::Nulls) {
            refuse(Msgid("--null applies only to --goal nulls"));
        }
        if (given("--amplitudes") && goal != TDesignGoal::FrontToBack &&
            goal != TDesignGoal::FrontToRear) {
            refuse(Msgid("--amplitudes applies only to --goal front-to-back and front-to-rear"));
        }
    }
    if (command == TCliCommand::Sweep) {
        if (!given("--vary") || !given("--from") || !given("--to")) {
            refuse(Msgid("sweep needs --vary, --from and --to"));
        }
        if (options.Vary.Kind == TSweepTarget::TKind::Frequency) {
            options.DesignFrequencyRefusal = Msgid(
                "--vary frequency needs a design frequency, at which positions, lengths "
                "and the radius are in wavelengths: give --frequency, or save the file "
                "with its frequency");
        }
        if (given("--steps") == given("--step")) {
            refuse(Msgid("sweep needs one of --steps and --step"));
        }
        if (!given("--format")) options.Format = TOutputFormat::Csv;
    }
    if (given("--network") && options.DesignFrequencyRefusal == nullptr) {
        options.DesignFrequencyRefusal = Msgid(
            "--network needs a design frequency, that of its parts: give --frequency, or "
            "save the file with its frequency");
    }
    if (command == TCliCommand::Touchstone) {
        if (!(given("--from") && given("--to") && given("--steps"))) {
            refuse(Msgid("touchstone needs --from, --to and --steps"));
        }
        options.DesignFrequencyRefusal = Msgid(
            "touchstone needs a design frequency: give --frequency, or save the file with "
            "its frequency");
    }
    if (!plot) return;
    if (!given("--kind")) refuse(Msgid("missing --kind for plot"));
    const TPlotKind kind = options.Kind;
    const bool surface = kind == TPlotKind::Surface3d;
    if ((given("--floor") || given("--view")) && !surface) {
        throw EUsageError(TrFormat("%s applies only to plot --kind 3d",
                                   {given("--floor") ? "--floor" : "--view"}));
    }
    if (const auto scale = options.Scale) {
        const bool radius = *scale == TScale::Db || *scale == TScale::Linear;
        if (kind == TPlotKind::Diagram || radius != surface) {
            refuse(
                Msgid("--scale: db or linear for --kind 3d, relative or dbi for the level charts "
                      "and the report; the diagram has no scale"));
        }
        if (surface) {
            options.View.Linear = *scale == TScale::Linear;
        } else {
            options.DbiScale = *scale == TScale::Dbi;
        }
    }
    if (kind == TPlotKind::ElevationHeights && options.Heights.empty()) {
        refuse(
            Msgid("--kind elevation-heights needs --height, once for each height, over a "
                  "ground from --ground or the file"));
    }
    if (kind == TPlotKind::Report && configs > kMaxReportFiles) {
        throw EUsageError(TrFormat("--kind report lays out at most %s files, not %s",
                                   {std::to_string(kMaxReportFiles), std::to_string(configs)}));
    }
    if ((kind == TPlotKind::Diagram || surface) && configs > 1) {
        refuse(
            Msgid("--kind diagram and 3d draw one configuration; overlay with polar-db, "
                  "rect-db, elevation or report"));
    }
    std::string extension = std::filesystem::path(options.OutputFile).extension().string();
    for (char& ch : extension) {
        if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
    }
    if (kind == TPlotKind::Report && (extension == ".html" || extension == ".htm")) {
        options.Html = true;
        return;
    }
    const auto format = PictureFormatOf(options.OutputFile);
    if (!format) {
        const std::string ext = std::filesystem::path(options.OutputFile).extension();
        throw EUsageError(
            ext.empty() ? TrFormat("no picture format in %s: use .bmp, .png, .svg or .pdf",
                                   {options.OutputFile})
                        : TrFormat("unknown picture format %s of %s: use .bmp, .png, .svg or .pdf",
                                   {ext, options.OutputFile}));
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
    const std::vector<std::string> positional = ReadArguments(args, raw, options.Warnings);
    options.Help = raw.count("--help") != 0;
    options.Version = raw.count("--version") != 0;
    if (options.Help || options.Version) return options;
    const TCommandRow& command = ReadCommand(positional, options);
    TOptionContext context{options, defaultMark};
    // The decimal mark first: every number is read with it.
    for (const bool markPass : {true, false}) {
        for (const TOptionRow& row : OptionTable()) {
            const auto found = raw.find(row.Name);
            if (found == raw.end() || (row.Name == "--decimal-mark") != markPass) continue;
            for (const std::string& value : found->second) row.Apply(context, row.Name, value);
        }
    }
    for (const auto& [name, values] : raw) {
        const TCommandSet commands = OptionNamed(name)->Commands;
        if ((commands & CommandBit(command.Command)) == 0) {
            throw EUsageError(TrFormat("%s applies only to %s, not to %s",
                                       {name, CommandNames(commands), command.Name}));
        }
    }
    CheckCombinations(raw, options);
    return options;
}

std::string ReadConfigText(const std::string& config) {
    const std::string path = config == kStandardInputName ? "/dev/stdin" : config;
    TFileContent content = ReadFileContent(path, TIniFile::kMaxFileSize, TFileKinds::Any);
    if (content.Errno != 0) {
        throw EUsageError(
            TrFormat("cannot read --config %s: %s", {config, SystemErrorText(content.Errno)}));
    }
    return std::move(content.Text);
}

TAnalysisRequest RequestFor(const TCliOptions& options, const std::optional<std::string>& config) {
    return RequestFor(options, config,
                      config ? std::optional(ReadConfigText(*config)) : std::nullopt);
}

TAnalysisRequest RequestFor(const TCliOptions& options, const std::optional<std::string>& config,
                            std::optional<std::string> text) {
    TAnalysisRequest request;
    request.Steps.ConfigFile = config;
    request.Steps.ConfigText = std::move(text);
    request.Steps.EmitterType = options.EmitterType;
    request.Steps.FocusBearing = options.FocusBearing;
    request.Steps.Settings = options.Settings;
    request.Steps.Taper = options.Taper;
    request.Steps.Field = options.Field;
    request.CutBearing = options.CutBearing;
    request.Ground = options.Ground;
    request.ModelGiven = options.ModelGiven;
    request.ElevationGiven = options.ElevationGiven;
    if (options.DesignFrequencyRefusal != nullptr) {
        // The option wins over the file, as it does over a real ground's frequency.
        if (!request.Ground.FrequencyMhz && config && request.Steps.ConfigText) {
            request.Ground.FrequencyMhz = FileDesignFrequency(*config, *request.Steps.ConfigText);
        }
        if (!request.Ground.FrequencyMhz) throw EUsageError(Tr(options.DesignFrequencyRefusal));
        request.DesignFrequencyMhz = request.Ground.FrequencyMhz;
    }
    request.Wires = options.Wires;
    request.WireOptionsGiven = options.Wires.Radius || options.Wires.Feed || options.Wires.Z0;
    return request;
}

std::optional<TLanguage> LanguageAsked(const std::vector<std::string>& args) {
    std::optional<TLanguage> language;
    for (std::size_t i = 0; i < args.size() && args[i] != "--"; ++i) {
        if (args[i].starts_with("--lang=")) {
            language = LanguageNamed(std::string_view(args[i]).substr(7));
            continue;
        }
        const TOptionRow* row = OptionNamed(args[i]);
        if (row == nullptr || row->Value.empty() || i + 1 == args.size()) continue;
        if (args[i] == "--lang") language = LanguageNamed(args[i + 1]);
        ++i;
    }
    return language;
}
