#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "model/freespace.h"
#include "plot/chartfile.h"
#include "plot/picturefile.h"

enum class TCliCommand { None, Pattern, Export, Save, Plot };
enum class TOutputFormat { Text, Json, Csv };
// What `plot` draws: the window's diagram, or one of the charts.
enum class TPlotKind { Diagram, PolarDb, RectDb, Elevation, Report };

// What the command line asks for, checked but not yet applied.
struct TCliOptions {
    TCliCommand Command = TCliCommand::None;
    bool Help = false;
    bool Version = false;
    std::vector<std::string> ConfigFiles;  // in order; one result each
    std::optional<int> EmitterType;        // as given; the radio group limits it
    std::optional<int> FocusBearing;       // whole degrees 0..359
    long double ElevationDegrees = 0;      // 0..85
    std::optional<char> DecimalMark;
    TOutputFormat Format = TOutputFormat::Text;
    TFieldModel Field = TFieldModel::Window;
    std::optional<int> CutBearing;  // whole degrees 0..359; default the maximum's bearing
    bool ElevationCutCsv = false;   // pattern --format csv --cut elevation
    std::string OutputFile;         // export, save and plot
    TPlotKind Kind = TPlotKind::Diagram;
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

// The chart a plot kind draws; nullopt for the diagram.
std::optional<TChartKind> ChartKindOf(TPlotKind kind);
