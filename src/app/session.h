#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/inputerror.h"
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
    // Where the field depends on the array, its file's ground or both (over ground, at the
    // take-off angle): it is resolved once the steps are done, before anything is drawn.
    std::function<TFieldSpec(const TArray& array, const std::optional<TGround>& fileGround)>
        ResolveField;
    // Where another engine gives the pattern (real wires), the window's drawing is left
    // uncomputed: it would be thrown away.
    std::function<bool(const TArray& array)> PatternElsewhere;
};

// The array as the window would hold it after the same steps.
struct TArraySession {
    TArrayModel Model;
    TGridTexts Grid;
    std::array<bool, kEmitterCount> Checked{};  // the emitters' check boxes
    // The pattern and read-outs the window's last drawing would show.
    TPattern Pattern;
    TDiagramLabels Labels;
    // The one-emitter messages the window would have shown, in order.
    std::vector<std::string> Messages;
    // The formula and elevation the pattern was drawn in.
    TFieldSpec Field;
    // The ground the configuration file names, if any.
    std::optional<TGround> FileGround;
    // What the file holds that the run cannot take as it is (a bad amplitude, say): the lines
    // to print, at most TWarnings::kMaxLines and then one telling how many more there are.
    std::vector<std::string> Warnings;
    std::size_t WarningCount = 0;  // every warning, the ones not printed too
};

// Throws EUsageError when the configuration file cannot be read or a taper does not fit the
// layout, EHandlerError with the
// window's error text when loading it fails.
TArraySession BuildSession(const TSessionSteps& steps);
