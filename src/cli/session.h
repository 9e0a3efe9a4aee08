#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "cli/options.h"
#include "model/emitters.h"
#include "plot/diagram.h"
#include "plot/reportpage.h"

// The array as the window would hold it after the same steps: the initial table, then the
// configuration file, the emitter type and the focusing bearing of the options.
struct TArraySession {
    TArrayModel Model;
    TGridTexts Grid;
    std::array<bool, kEmitterCount> Checked{};  // the emitters' check boxes
    // The read-outs of the last redraw.
    TDiagramLabels Labels;
    // The one-emitter messages the window would have shown, in order.
    std::vector<std::string> Messages;
};

// The pattern of every redraw comes from the options' model at their elevation. Throws
// EUsageError when the configuration file cannot be read, EHandlerError with the window's error
// text when loading it fails.
TArraySession BuildSession(const TCliOptions& options,
                           const std::optional<std::string>& configFile);
