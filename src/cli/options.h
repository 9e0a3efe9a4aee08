#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "app/analysis.h"
#include "app/inputerror.h"
#include "config/messages.h"
#include "model/field.h"
#include "plot/chartfile.h"
#include "plot/picturefile.h"

enum class TCliCommand { None, Pattern, Export, Save, Plot, Nec, Sweep, Design };
enum class TOutputFormat { Text, Json, Csv };

// What the command line asks for, checked but not yet applied.
struct TCliOptions {
    TCliCommand Command = TCliCommand::None;
    bool Help = false;
    bool Version = false;
    bool Strict = false;  // a configuration's warnings fail the call (exit 1)
    std::optional<TLanguage> Language;  // --lang; the locale's otherwise
    std::vector<std::string> ConfigFiles;  // in order; one result each
    std::optional<int> EmitterType;        // as given; the radio group limits it
    std::optional<int> FocusBearing;       // whole degrees 0..359
    std::optional<char> DecimalMark;
    TOutputFormat Format = TOutputFormat::Text;
    TFieldSpec Field;  // formula, and elevation 0..85 degrees
    bool ModelGiven = false;
    bool ElevationGiven = false;
    TGroundRequest Ground;                  // the first --height when repeated
    std::vector<long double> Heights;       // every --height, in order (wavelengths)
    long double DipoleLength = 0.02L;       // nec: wavelengths
    std::vector<TEmitterSetting> Settings;  // --set, in order
    std::optional<TTaper> Taper;
    // sweep: what varies (an emitter field "N:phase", or elevation, focus, height), over
    // which values, and what is drawn of it.
    std::string Vary;
    long double From = 0;
    long double To = 0;
    std::optional<int> Steps;
    std::optional<long double> Step;
    std::vector<std::string> Figures;  // of --plot
    std::string PlotFile;
    std::string FramesFile;
    TSurfaceView View;  // plot --kind 3d
    std::string Scale;  // --scale as given: db|linear for 3d, relative|dbi for level charts
    // Level charts: one dBi axis for every file (true), each file to its own maximum (false),
    // or dBi wherever every file has a directivity (none).
    std::optional<bool> DbiScale;
    bool Html = false;  // plot --kind report OUT.html  // sweep: an animated GIF of the polar-db chart
    // design: the goal, its nulls (compass degrees) and whether amplitudes may change.
    std::string Goal;
    std::vector<long double> Nulls;
    bool FreeAmplitudes = false;
    std::optional<int> CutBearing;  // whole degrees 0..359; default the maximum's bearing
    bool ElevationCutCsv = false;   // pattern --format csv --cut elevation
    std::string OutputFile;         // export, save and plot
    TPlotKind Kind = TPlotKind::Diagram;
    TPictureFormat PictureFormat = TPictureFormat::Bmp;  // plot only, from the file's extension
};

// A separator that keeps every number text readable: one printable ASCII character that is
// neither a digit, a sign, an exponent letter nor a blank.
bool IsUsableDecimalMark(std::string_view text);

// Reads the arguments after the program name. The elevation is parsed with the decimal mark
// given on the same command line, or with defaultMark, and always also with a full stop.
TCliOptions ParseCommandLine(const std::vector<std::string>& args, char defaultMark);

// The language --lang asks for, read before anything else so every message is in it; none when
// it is not given or not valid (the parse then says why).
std::optional<TLanguage> LanguageAsked(const std::vector<std::string>& args);

// The analysis of one configuration (none: the initial array) that the options ask for.
TAnalysisRequest RequestFor(const TCliOptions& options, const std::optional<std::string>& config);
