#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "plot/picturefile.h"

enum class TCliCommand { None, Pattern, Export, Save, Plot };
enum class TOutputFormat { Text, Json, Csv };

// What the command line asks for, checked but not yet applied.
struct TCliOptions {
    TCliCommand Command = TCliCommand::None;
    bool Help = false;
    bool Version = false;
    std::optional<std::string> ConfigFile;
    std::optional<int> EmitterType;    // as given; the radio group limits it
    std::optional<int> FocusBearing;   // whole degrees 0..359
    long double ElevationDegrees = 0;  // 0..85
    std::optional<char> DecimalMark;
    TOutputFormat Format = TOutputFormat::Text;
    std::string OutputFile;                              // export, save and plot
    TPictureFormat PictureFormat = TPictureFormat::Bmp;  // plot only, from the file's extension
};

// A bad option or value; the message names it and fits on one line.
class EUsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A separator that keeps every number text readable: one printable ASCII character that is
// neither a digit, a sign, an exponent letter nor a blank.
bool IsUsableDecimalMark(std::string_view text);

// Reads the arguments after the program name. The elevation is parsed with the decimal mark
// given on the same command line, or with defaultMark, and always also with a full stop.
TCliOptions ParseCommandLine(const std::vector<std::string>& args, char defaultMark);
