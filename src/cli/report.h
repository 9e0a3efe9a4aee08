#pragma once

#include <string>

#include "app/analysis.h"
#include "cli/options.h"

// How one result sits among the others of a call.
struct TReportPlace {
    bool Batch = false;  // --config was given more than once
    bool First = true;   // the first result of the call
};

// `pattern`'s output for one result. In a batch, JSON is one line (JSON Lines) with its
// config, CSV leads each row with the config (the header only first), and text is a block
// headed by the path.
std::string FormatReport(const TPatternResult& result, const TCliOptions& options,
                         const TReportPlace& place);
