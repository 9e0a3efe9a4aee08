#pragma once

#include <string>
#include <vector>

#include "app/feedanalysis.h"
#include "cli/jsonwriter.h"
#include "cli/options.h"

// The netlist of a file; EUsageError naming its line and the reason where it cannot be.
TNetwork ReadNetworkFile(const std::string& path);

// The request analysed; with a network, the wires solved through it at the request's
// frequency and analysed again with the currents it delivers.
TPatternResult AnalyseFor(const TCliOptions& options, const TAnalysisRequest& request);

// The outputs' share of a network: JSON's object (null without) and the text's table; the
// sweep's columns are SweepFigures'.
void WriteJsonNetwork(TJsonWriter& json, const TPatternResult& result);
std::string NetworkTextLines(const TPatternResult& result);
