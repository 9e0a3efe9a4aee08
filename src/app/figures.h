#pragma once

#include <array>
#include <complex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/analysis.h"

// The figures of an analysis, each declared once: the text and JSON outputs, the sweep's
// columns and the report's table all read this catalogue.
enum class TFigureGroup {
    Readout,      // what the window reports; the JSON writes its own head for these
    Ground,       // over ground only, none when nothing radiates upwards
    Metrics,      // of the azimuth pattern, none when it is zero everywhere
    Directivity,  // of the array in free space, none when nothing radiates
    Wires,        // what the solved wires' feeds take and radiate, none without lengths
};

struct TFigure {
    std::string_view Key;  // JSON key and sweep column
    TFigureGroup Group;
    int Decimals;  // in the text output and the report
    std::optional<long double> (*Value)(const TPatternResult& result);
    // The text output's line: one %s for this figure and each of the next TextFigures - 1,
    // which have no line of their own; TextNone where this figure has no value.
    const char* Text = nullptr;
    int TextFigures = 1;
    const char* TextNone = nullptr;
    // The report's row: its caption, the value (with the next figure's after "…" when
    // CaptionFigures is 2), and CaptionNone where there is none; a figure without a value or
    // CaptionNone has no row.
    const char* Caption = nullptr;
    int CaptionFigures = 1;
    const char* CaptionNone = nullptr;
    // Figures that share a JSON key are written there as one array.
    std::string_view JsonKey = {};
    // In place of TextNone and CaptionNone where solved wires give none.
    const char* WiresTextNone = nullptr;
    const char* WiresCaptionNone = nullptr;
};

// Every figure of an analysis but the wires' own, which only arrays with lengths have.
std::span<const TFigure> Figures();
std::span<const TFigure> FiguresOf(TFigureGroup group);
// The figure of the key; it must be one of the catalogue's.
const TFigure& FigureOf(std::string_view key);

// Whether the result has the group at all, and how the text and the report say it does not.
bool HasGroup(const TPatternResult& result, TFigureGroup group);
struct TGroupNone {
    const char* Text;  // the text output's one line
    const char* Caption;
    const char* Value;
};
TGroupNone GroupNone(TFigureGroup group);

// The array's figures of solved wires, in the order the outputs list them: in free space the
// gain against the power the feeds deliver (over ground the ground's figures hold it), then the
// wires group; none without lengths.
std::vector<const TFigure*> WireFiguresOf(const TPatternResult& result);

// How the text output's line of a feed gives a figure.
enum class TFeedText {
    Own,        // a value of its own
    Impedance,  // with the next figure as one impedance, R + jX
    Elsewhere,  // given by another figure: the reactance with the resistance, the phase in
                // periods of lag as the next figure's degrees
};

// A figure of each solved wire's feed, one value an emitter switched on.
struct TEmitterFigure {
    std::string_view Stem;  // the sweep's column before the emitter's number: "swr_" (swr_2)
    int Decimals;           // in the text output and the tables
    std::optional<long double> (*Value)(const TEmitterFeed& feed);
    const char* Caption;  // one %s, the emitter's number; ends with the unit
    // Where the JSON's emitter object holds it: JsonKey of the object JsonObject, or of the
    // emitter's own where that is empty. Figures that share both are one array, null when the
    // first has none.
    std::string_view JsonObject;
    std::string_view JsonKey;
    TFeedText Text = TFeedText::Own;
};
std::span<const TEmitterFigure> EmitterFigures();
// The figure of the stem; it must be one of the catalogue's.
const TEmitterFigure& EmitterFigureOf(std::string_view stem);

// The reasons the text and the report give where the figure has no value; null for none.
const char* TextNoneOf(const TFigure& figure, const TPatternResult& result);
const char* CaptionNoneOf(const TFigure& figure, const TPatternResult& result);

// A figure with its decimals and the window's decimal mark; the infinities as "inf", "-inf".
std::string FigureText(long double value, int decimals);

// An impedance as R + jX (or R - jX) ohms, two decimals each.
std::string ImpedanceText(std::complex<double> ohms);

// An emitter figure's text with its decimals, "none" where the feed has none; an impedance
// figure's is R + jX with the next figure's.
std::string EmitterFigureText(const TEmitterFigure& figure, const TEmitterFeed& feed);

// The text output's lines of a group, each ending in a line break.
std::string FigureLines(const TPatternResult& result, TFigureGroup group);

// Every figure as the text output writes it after the emitters' table: the ground with its
// figures over ground, the pattern's metrics with the main lobes and the nulls, the
// directivity; each line ending in a line break.
std::string FigureTextLines(const TPatternResult& result);

// The wires' lines of the text output: the feeds with each emitter's figures, the array's wire
// figures; none without lengths.
std::string WireTextLines(const TPatternResult& result);

// The report's rows of a group: caption and value, in the reader's language.
std::vector<std::array<std::string, 2>> FigureRows(const TPatternResult& result,
                                                   TFigureGroup group);

// The report's rows of the array's wire figures, as WireFiguresOf lists them.
std::vector<std::array<std::string, 2>> WireFigureRows(const TPatternResult& result);

// Bearings in the text output, the studio and the report, degrees 0 to below 360.
inline constexpr int kBearingDecimals = 2;
std::string BearingText(long double degrees);

// A null deeper than this below the peak (dB) has no depth worth a figure: at most rounding
// noise stands between it and a perfect zero.
inline constexpr long double kNullFloorDb = -120;
bool BelowNullFloor(long double depthDb);

// Each null of the azimuth pattern as the outputs list it: "90.00 (below -120 dB)",
// "14.48 (-45.10 dB)".
std::vector<std::string> NullEntries(const TPatternMetrics& metrics);
// The same on one line, as the text output gives them.
std::string NullsText(const TPatternMetrics& metrics);

// What the window's "Максимальное усиление" read-out is, for a reader who sees it beside the
// physical figures: the array factor's maximum on a scale whose full value is the sum of the
// enabled emitters' amplitudes, not a gain.
long double ReadoutFullScale(const TPatternResult& result);
std::string ReadoutNote(const TPatternResult& result);

// The main lobes' bearings as the outputs list them, and on one line: "0.00 180.00".
std::vector<std::string> MainLobeEntries(const TPatternMetrics& metrics);
std::string MainLobesText(const TPatternMetrics& metrics);

// The emitters' kind as every face names it (a msgid): upright wires over perfect ground
// stand on it as monopoles at height 0 and are dipoles lifted off it; otherwise the type's.
const char* EmitterKindName(int type, bool wires, const TGround& ground);
// Whether the kind is worth saying beside the type's number: upright wires over perfect
// ground, which may be either.
bool UprightWiresOverPerfectGround(int type, bool wires, const TGround& ground);
// The same of an analysed array.
const char* EmitterKindName(const TPatternResult& result);
bool UprightWiresOverPerfectGround(const TPatternResult& result);
