#pragma once

#include <string>
#include <utility>

// Marks a text for the message catalogue where it is written; the layer that shows it
// translates it, in the reader's language.
constexpr const char* Msgid(const char* msgid) {
    return msgid;
}

// Why a request cannot be met: a catalogue text whose "%s", if any, is Argument.
struct TRefusal {
    explicit TRefusal(const char* format, std::string argument = {})
        : Format(format), Argument(std::move(argument)) {}
    const char* Format;
    std::string Argument;
};
