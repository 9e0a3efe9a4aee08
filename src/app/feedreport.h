#pragma once

#include "app/analysis.h"
#include "plot/reportpage.h"

// The report's table of the network the array is fed through: at the transmitter its
// impedance, SWR and power, per emitter its current, its error, its drive impedance and its
// power, and the loss. Empty without a network.
TReportNetwork ReportNetworkOf(const TPatternResult& result);
