#pragma once

#include <span>
#include <string>
#include <string_view>

#include "cli/options.h"

// A set of commands, one bit each.
using TCommandSet = unsigned;
constexpr TCommandSet CommandBit(TCliCommand command) {
    return 1U << static_cast<unsigned>(command);
}
inline constexpr TCommandSet kEveryCommand = 0x1FEU;

// A command: its name, what follows [OPTIONS] in its synopsis, and what it does.
struct TCommandRow {
    std::string_view Name;
    TCliCommand Command;
    std::string_view Arguments;
    const char* Summary;  // a catalogue text
    bool WritesFile;      // takes OUT after the options
};
std::span<const TCommandRow> CommandTable();

// Where an option's value is applied: the options being built, with the decimal mark numbers
// are read with.
struct TOptionContext {
    TCliOptions& Options;
    char DefaultMark;
};

// An option, declared once: the parser, the check of which command it goes with and the help
// (and the man page made from it) all read this row.
struct TOptionRow {
    std::string_view Name;   // "--config"
    std::string_view Value;  // the value's syntax in the help; empty for a flag
    TCommandSet Commands;
    bool Repeatable;   // every value counts; otherwise the last one given does
    const char* Help;  // a catalogue text: what it does, its range and its default
    void (*Apply)(TOptionContext& c, std::string_view name, const std::string& value);
};
std::span<const TOptionRow> OptionTable();
const TOptionRow* OptionNamed(std::string_view name);

// "pattern, plot, sweep": the commands of a set, in the table's order.
std::string CommandNames(TCommandSet commands);

// A value as a message quotes it: at most kShownCharacters UTF-8 characters, then "…", so that
// a huge value cannot bury the message.
inline constexpr std::size_t kShownCharacters = 80;
std::string ShownValue(std::string_view value);
