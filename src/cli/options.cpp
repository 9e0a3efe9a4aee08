#include "cli/options.h"

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <string_view>

#include "config/numtext.h"

namespace {

constexpr long double kMaxElevation = 85;  // degrees, the slider's top

TCliCommand CommandNamed(std::string_view name) {
    if (name == "pattern") return TCliCommand::Pattern;
    if (name == "export") return TCliCommand::Export;
    if (name == "save") return TCliCommand::Save;
    if (name == "plot") return TCliCommand::Plot;
    return TCliCommand::None;
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

[[noreturn]] void BadValue(const std::string& option, const std::string& value,
                           const std::string& expected) {
    throw EUsageError("invalid value '" + value + "' for " + option + ": " + expected);
}

struct TRawOptions {
    std::optional<std::string> Type, Focus, Elevation, Mark, Format, Kind;
};

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
    std::vector<std::string> positional;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string arg = args[i];
        if (optionsEnded) {
            positional.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "-h" || arg == "--help") {
            options.Help = true;
            continue;
        }
        if (arg == "--version") {
            options.Version = true;
            continue;
        }
        if (arg.size() < 2 || arg[0] != '-') {
            positional.push_back(arg);
            continue;
        }
        std::optional<std::string> value;
        if (const auto eq = arg.find('='); arg.starts_with("--") && eq != std::string::npos) {
            value = arg.substr(eq + 1);
            arg.resize(eq);
        }
        std::optional<std::string>* slot = nullptr;
        if (arg == "--type") {
            slot = &raw.Type;
        } else if (arg == "--focus") {
            slot = &raw.Focus;
        } else if (arg == "--elevation") {
            slot = &raw.Elevation;
        } else if (arg == "--decimal-mark") {
            slot = &raw.Mark;
        } else if (arg == "--format") {
            slot = &raw.Format;
        } else if (arg == "--kind") {
            slot = &raw.Kind;
        } else if (arg == "--config") {
            slot = &options.ConfigFile;
        } else {
            throw EUsageError("unknown option " + arg);
        }
        if (!value) {
            if (i + 1 == args.size()) throw EUsageError("missing value for " + arg);
            value = args[++i];
        }
        *slot = *value;
    }
    if (options.Help || options.Version) return options;

    if (positional.empty()) throw EUsageError("missing command (pattern, export, save or plot)");
    options.Command = CommandNamed(positional[0]);
    if (options.Command == TCliCommand::None) {
        throw EUsageError("unknown command " + positional[0]);
    }
    if (options.Command == TCliCommand::Pattern) {
        if (positional.size() > 1) throw EUsageError("unexpected argument " + positional[1]);
    } else {
        if (positional.size() < 2) throw EUsageError("missing output file for " + positional[0]);
        if (positional.size() > 2) throw EUsageError("unexpected argument " + positional[2]);
        options.OutputFile = positional[1];
        if (options.OutputFile.empty()) throw EUsageError("empty output file name");
        if (raw.Format) throw EUsageError("--format applies only to pattern");
    }
    if (options.Command == TCliCommand::Plot) {
        if (!raw.Kind) throw EUsageError("missing --kind for plot");
        if (*raw.Kind != "diagram") BadValue("--kind", *raw.Kind, "diagram");
        const auto format = PictureFormatOf(options.OutputFile);
        if (!format) {
            const std::string extension = std::filesystem::path(options.OutputFile).extension();
            throw EUsageError((extension.empty() ? "no picture format in " + options.OutputFile
                                                 : "unknown picture format " + extension + " of " +
                                                       options.OutputFile) +
                              ": use .bmp, .png, .svg or .pdf");
        }
        options.PictureFormat = *format;
    } else if (raw.Kind) {
        throw EUsageError("--kind applies only to plot");
    }

    if (options.ConfigFile && options.ConfigFile->empty()) {
        BadValue("--config", "", "a file name");
    }
    if (raw.Mark) {
        if (!IsUsableDecimalMark(*raw.Mark)) {
            BadValue("--decimal-mark", *raw.Mark,
                     "one printable character other than a digit, sign, E or blank");
        }
        options.DecimalMark = (*raw.Mark)[0];
    }
    if (raw.Type) {
        const auto n = ParseWholeNumber(*raw.Type);
        if (!n) BadValue("--type", *raw.Type, "a whole number");
        options.EmitterType = static_cast<int>(*n);
    }
    if (raw.Focus) {
        const auto n = ParseWholeNumber(*raw.Focus);
        if (!n || *n < 0 || *n > 359 ||
            !std::isdigit(static_cast<unsigned char>((*raw.Focus)[0]))) {
            BadValue("--focus", *raw.Focus, "a whole bearing from 0 to 359");
        }
        options.FocusBearing = static_cast<int>(*n);
    }
    if (raw.Elevation) {
        const char mark = options.DecimalMark.value_or(defaultMark);
        auto degrees = ParseFloat(*raw.Elevation, mark);
        if (!degrees) degrees = ParseFloat(*raw.Elevation, '.');
        if (!degrees || !(*degrees >= 0 && *degrees <= kMaxElevation)) {
            BadValue("--elevation", *raw.Elevation, "a number from 0 to 85");
        }
        options.ElevationDegrees = *degrees;
    }
    if (raw.Format) {
        if (*raw.Format == "text") {
            options.Format = TOutputFormat::Text;
        } else if (*raw.Format == "json") {
            options.Format = TOutputFormat::Json;
        } else if (*raw.Format == "csv") {
            options.Format = TOutputFormat::Csv;
        } else {
            BadValue("--format", *raw.Format, "text, json or csv");
        }
    }
    return options;
}
