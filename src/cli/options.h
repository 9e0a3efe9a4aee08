#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/analysis.h"
#include "cli/request.h"
#include "app/designpolicy.h"
#include "app/inputerror.h"
#include "config/messages.h"
#include "model/field.h"
#include "model/named.h"
#include "model/network.h"
#include "plot/chartfile.h"
#include "plot/picturefile.h"
#include "plot/surface3d.h"

enum class TCliCommand { None, Pattern, Export, Save, Plot, Nec, Sweep, Design, Touchstone };
enum class TOutputFormat { Text, Json, Csv };

inline constexpr TNamed<TOutputFormat> kOutputFormatNames[] = {
    {"text", TOutputFormat::Text}, {"json", TOutputFormat::Json}, {"csv", TOutputFormat::Csv}};

// --scale: of the 3-D picture's radius, or of the level charts' axis.
enum class TScale { Db, Linear, Relative, Dbi };
inline constexpr TNamed<TScale> kScaleNames[] = {{"db", TScale::Db},
                                                 {"linear", TScale::Linear},
                                                 {"relative", TScale::Relative},
                                                 {"dbi", TScale::Dbi}};

// How design --goal feed lays out the network.
enum class TFeedMethod { CurrentForcing, Lines };
inline constexpr TNamed<TFeedMethod> kFeedMethodNames[] = {
    {"current-forcing", TFeedMethod::CurrentForcing}, {"lines", TFeedMethod::Lines}};

// What a sweep varies: one field of one emitter, or a setting of the whole array.
struct TSweepTarget {
    enum class TKind { Emitter, Elevation, Focus, Height, Frequency };
    TKind Kind = TKind::Elevation;
    int Emitter = 1;  // 1..8
    TEmitterField Field = TEmitterField::X;
    std::string Name;  // as given: "2:phase", "height"
};

// What the command line asks for, each value parsed into its type, checked but not yet
// applied.
struct TCliOptions {
    TCliCommand Command = TCliCommand::None;
    bool Help = false;
    bool Version = false;
    bool Strict = false;  // a configuration's warnings fail the call (exit 1)
    // What the command line gives that the call passes over, a line each for standard error.
    std::vector<std::string> Warnings;
    std::optional<TLanguage> Language;  // --lang; the locale's otherwise
    std::optional<char> DecimalMark;
    std::string OutputFile;  // export, save, plot, nec and design

    // The array and how it is analysed.
    std::vector<std::string> ConfigFiles;   // in order; one result each
    std::optional<int> EmitterType;         // as given; the radio group limits it
    std::optional<int> FocusBearing;        // whole degrees 0..359
    std::vector<TEmitterSetting> Settings;  // --set, in order
    std::optional<TTaper> Taper;
    TFieldSpec Field;  // formula, and elevation 0..85 degrees
    bool ModelGiven = false;
    bool ElevationGiven = false;
    TGroundRequest Ground;             // the first --height when repeated
    std::vector<long double> Heights;  // every --height, in order (wavelengths)
    std::optional<int> CutBearing;     // whole degrees 0..359; default the maximum's bearing
    TWireRequest Wires;                // lengths, radius, feed and z0 of real elements
    std::shared_ptr<const TNetwork> Network;  // the feed network the wires are driven through
    std::string NetworkFile;
    // Where the command needs a design frequency (a frequency sweep, a feed network, the port
    // file), its refusal when neither --frequency nor the file gives one: a catalogue entry.
    const char* DesignFrequencyRefusal = nullptr;

    // pattern and sweep
    TOutputFormat Format = TOutputFormat::Text;
    bool ElevationCutCsv = false;  // pattern --format csv --cut elevation

    // plot
    TPlotKind Kind = TPlotKind::Diagram;
    TPictureFormat PictureFormat = TPictureFormat::Bmp;  // from OUT's extension
    bool Html = false;                                   // --kind report OUT.html
    TSurfaceView View;                                   // --kind 3d
    std::optional<TScale> Scale;
    // Level charts: one dBi axis for every file (true), each file to its own maximum (false),
    // or dBi wherever every file has a directivity (none).
    std::optional<bool> DbiScale;

    // nec
    long double DipoleLength = 0.02L;  // wavelengths

    // sweep: what varies, over which values, and what is drawn of it.
    TSweepTarget Vary;
    long double From = 0;
    long double To = 0;
    std::optional<int> Steps;
    std::optional<long double> Step;
    std::vector<std::string> Figures;  // of --plot
    std::string PlotFile;
    std::string FramesFile;  // an animated GIF of the polar-db chart

    // design
    TDesignRequest Design;
    bool FeedGoal = false;  // --goal feed: the network that delivers the file's currents
    TFeedMethod FeedMethod = TFeedMethod::CurrentForcing;  // --goal feed
    std::optional<double> LineZ0;                          // ohms
    double VelocityFactor = 1;
    double TransmitterZ0 = 50;  // ohms
};

// A plot holds every file's chart at once; pattern streams its files and takes any number.
inline constexpr std::size_t kMostConfigFiles = 64;
// The configuration that names standard input, shown as given in messages and output.
inline constexpr std::string_view kStandardInputName = "-";
inline constexpr std::size_t kMostHeights = 32;
inline constexpr std::size_t kMostFrames = 2000;  // of a sweep's animated GIF

// A separator that keeps every number text readable: one printable ASCII character that is
// neither a digit, a sign, an exponent letter nor a blank.
bool IsUsableDecimalMark(std::string_view text);

// Reads the arguments after the program name. Numbers are read with the decimal mark given on
// the same command line, or with defaultMark, and always also with a full stop. Throws
// EUsageError naming the option and the value.
TCliOptions ParseCommandLine(const std::vector<std::string>& args, char defaultMark);

// The language --lang asks for, read before anything else so every message is in it; none when
// it is not given or not valid (the parse then says why).
std::optional<TLanguage> LanguageAsked(const std::vector<std::string>& args);

// The whole text of a configuration (kStandardInputName: standard input), read once: a pipe or
// a fifo gives its text only once, and the array's load and the wires' keys both read it.
// Throws EUsageError naming the file when it cannot be read.
std::string ReadConfigText(const std::string& config);

// The analysis of one configuration (none: the initial array) that the options ask for, with
// the file's text read here.
TAnalysisRequest RequestFor(const TCliOptions& options, const std::optional<std::string>& config);
// The same with the text already read: an analysis repeated for one file reads it once.
TAnalysisRequest RequestFor(const TCliOptions& options, const std::optional<std::string>& config,
                            std::optional<std::string> text);
