#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "app/inputerror.h"
#include "config/wirekeys.h"
#include "form/arraymodel.h"
#include "model/field.h"
#include "model/pattern.h"
#include "model/taper.h"
#include "plot/diagram.h"
#include "plot/reportpage.h"

// One emitter's field set for a run: --set N:FIELD=VALUE.
enum class TEmitterField { X, Y, Phase, Amplitude, On };
struct TEmitterSetting {
    int Emitter = 1;  // 1..8
    TEmitterField Field = TEmitterField::X;
    long double Value = 0;  // wavelengths, periods, a relative current, or 0 / 1
};

// What a headless run does to the window's initial array, in this order.
struct TSessionSteps {
    std::optional<std::string> ConfigFile;  // loaded as the window loads it, with amplitudes
    std::optional<std::string> ConfigText;  // the file's text when it is already in memory
    std::vector<TEmitterSetting> Settings;  // then each in turn
    std::optional<TTaper> Taper;            // then the amplitudes of a line of emitters
    std::optional<int> EmitterType;         // as given; the radio group limits it
    std::optional<int> FocusBearing;        // whole degrees 0..359
    TFieldSpec Field;                       // the formula and elevation of every drawing
    // Where the engine draws the pattern from the session's array and drawings, the session
    // leaves it uncomputed: it would be thrown away.
    bool DrawPattern = true;
};

// The array as the window would hold it after the same steps.
struct TArraySession {
    TArrayModel Model;
    TGridTexts Grid;
    std::array<bool, kEmitterCount> Checked{};  // the emitters' check boxes
    // The arrays the window drew, oldest first; the last is the one its read-outs show.
    std::vector<TArray> Drawings;
    // The pattern and read-outs the window's last drawing would show (where drawn).
    TPattern Pattern;
    TDiagramLabels Labels;
    // The one-emitter messages the window would have shown, in order.
    std::vector<std::string> Messages;
    // The formula and elevation the pattern was drawn in.
    TFieldSpec Field;
    // The ground the configuration file names, if any.
    std::optional<TGround> FileGround;
    // Its wire keys, read from the same parse (the defaults without a file); Fault set where a
    // key cannot be, for the caller to say.
    TWireKeys FileWires;
    // What the file holds that the run cannot take as it is (a bad amplitude, say): the lines
    // to print, at most TWarnings::kMaxLines and then one telling how many more there are.
    std::vector<std::string> Warnings;
    std::size_t WarningCount = 0;  // every warning, the ones not printed too
};

// Throws EUsageError when the configuration file cannot be read or a taper does not fit the
// layout, EHandlerError with the
// window's error text when loading it fails.
TArraySession BuildSession(const TSessionSteps& steps);

// The pattern the window's last drawing shows: the last array's. Only where no sample of it
// exceeds 0 does the index of the maximum come from an earlier drawing, the last one that rose
// above 0.
TPattern WindowDrawing(const std::vector<TArray>& drawings, const TFieldSpec& field);

// A configuration's text loaded as the window loads it, with the currents, the ground and the
// wire keys the file keeps, and what the load passed over.
struct TLoadedArray {
    TArray Array;
    std::optional<TGround> Ground;
    TWireKeys Wires;  // Fault set where a key cannot be; the caller says so
    std::vector<std::string> Warnings;  // as TArraySession's: the printed lines
    std::vector<std::string> Messages;  // the window's, in order
};
// Throws as BuildSession does.
TLoadedArray LoadArrayText(const std::string& fileName, std::string text);
