#include "cli/options.h"

#include <array>
#include <cctype>
#include <cstdlib>
#include <string_view>

#include "config/numtext.h"

namespace {

constexpr long double kMaxElevation = 85;  // degrees, the slider's top

TCliCommand CommandNamed(std::string_view name) {
    if (name == "pattern") return TCliCommand::Pattern;
    if (name == "export") return TCliCommand::Export;
    if (name == "save") return TCliCommand::Save;
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

// Option texts as given, checked once the whole command line is read.
struct TRawOptions {
    std::optional<std::string> Config, Type, Focus, Elevation, Mark, Format;
};

void ApplyConfig(const std::string& text, TCliOptions& options, char) {
    if (text.empty()) BadValue("--config", "", "a file name");
    options.ConfigFile = text;
}

void ApplyMark(const std::string& text, TCliOptions& options, char) {
    if (!IsUsableDecimalMark(text)) {
        BadValue("--decimal-mark", text,
                 "one printable character other than a digit, sign, E or blank");
    }
    options.DecimalMark = text[0];
}

void ApplyType(const std::string& text, TCliOptions& options, char) {
    const auto n = ParseWholeNumber(text);
    if (!n) BadValue("--type", text, "a whole number");
    options.EmitterType = static_cast<int>(*n);
}

void ApplyFocus(const std::string& text, TCliOptions& options, char) {
    const auto n = ParseWholeNumber(text);
    if (!n || *n < 0 || *n > 359 || !std::isdigit(static_cast<unsigned char>(text[0]))) {
        BadValue("--focus", text, "a whole bearing from 0 to 359");
    }
    options.FocusBearing = static_cast<int>(*n);
}

// Read with the decimal mark of the same command line (so --decimal-mark applies first), or
// the default one, and always also with a full stop.
void ApplyElevation(const std::string& text, TCliOptions& options, char defaultMark) {
    auto degrees = ParseFloat(text, options.DecimalMark.value_or(defaultMark));
    if (!degrees) degrees = ParseFloat(text, '.');
    if (!degrees || !(*degrees >= 0 && *degrees <= kMaxElevation)) {
        BadValue("--elevation", text, "a number from 0 to 85");
    }
    options.ElevationDegrees = *degrees;
}

void ApplyFormat(const std::string& text, TCliOptions& options, char) {
    if (text == "text") {
        options.Format = TOutputFormat::Text;
    } else if (text == "json") {
        options.Format = TOutputFormat::Json;
    } else if (text == "csv") {
        options.Format = TOutputFormat::Csv;
    } else {
        BadValue("--format", text, "text, json or csv");
    }
}

// The options that take a value, in the order their values are checked.
struct TValueOption {
    std::string_view Name;
    std::optional<std::string> TRawOptions::*Text;
    void (*Apply)(const std::string& text, TCliOptions& options, char defaultMark);
};

const std::array<TValueOption, 6> kValueOptions = {{
    {"--config", &TRawOptions::Config, ApplyConfig},
    {"--decimal-mark", &TRawOptions::Mark, ApplyMark},
    {"--type", &TRawOptions::Type, ApplyType},
    {"--focus", &TRawOptions::Focus, ApplyFocus},
    {"--elevation", &TRawOptions::Elevation, ApplyElevation},
    {"--format", &TRawOptions::Format, ApplyFormat},
}};

struct TFlagOption {
    std::string_view Name;
    bool TCliOptions::*Flag;
};

const std::array<TFlagOption, 3> kFlagOptions = {{
    {"-h", &TCliOptions::Help},
    {"--help", &TCliOptions::Help},
    {"--version", &TCliOptions::Version},
}};

const TValueOption* ValueOptionNamed(std::string_view name) {
    for (const TValueOption& option : kValueOptions) {
        if (option.Name == name) return &option;
    }
    return nullptr;
}

const TFlagOption* FlagOptionNamed(std::string_view name) {
    for (const TFlagOption& option : kFlagOptions) {
        if (option.Name == name) return &option;
    }
    return nullptr;
}

// The command and its output file from the arguments that are no options.
void ApplyPositional(const std::vector<std::string>& positional, const TRawOptions& raw,
                     TCliOptions& options) {
    if (positional.empty()) throw EUsageError("missing command (pattern, export or save)");
    options.Command = CommandNamed(positional[0]);
    if (options.Command == TCliCommand::None) {
        throw EUsageError("unknown command " + positional[0]);
    }
    if (options.Command == TCliCommand::Pattern) {
        if (positional.size() > 1) throw EUsageError("unexpected argument " + positional[1]);
        return;
    }
    if (positional.size() < 2) throw EUsageError("missing output file for " + positional[0]);
    if (positional.size() > 2) throw EUsageError("unexpected argument " + positional[2]);
    options.OutputFile = positional[1];
    if (options.OutputFile.empty()) throw EUsageError("empty output file name");
    if (raw.Format) throw EUsageError("--format applies only to pattern");
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
    std::vector<std::string> positional;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            positional.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (const TFlagOption* flag = FlagOptionNamed(arg)) {
            options.*flag->Flag = true;
            continue;
        }
        std::optional<std::string> value;
        if (const auto eq = arg.find('='); arg.starts_with("--") && eq != std::string::npos) {
            value = arg.substr(eq + 1);
            arg.resize(eq);
        }
        const TValueOption* option = ValueOptionNamed(arg);
        if (option == nullptr) throw EUsageError("unknown option " + arg);
        if (!value) {
            if (i + 1 == args.size()) throw EUsageError("missing value for " + arg);
            value = args[++i];
        }
        raw.*option->Text = *value;
    }
    if (options.Help || options.Version) return options;

    ApplyPositional(positional, raw, options);
    for (const TValueOption& option : kValueOptions) {
        if (const auto& text = raw.*option.Text) option.Apply(*text, options, defaultMark);
    }
    return options;
}
