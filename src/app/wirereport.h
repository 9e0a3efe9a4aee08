#pragma once

#include <array>
#include <string>
#include <vector>

#include "app/analysis.h"
#include "plot/reportpage.h"

// What the report adds for real wires, so that a parasitic element (amplitude 0) and the
// feeds' match are on the page: the emitters' wire columns, empty without lengths.
TWireColumns WireColumnsOf(const TPatternResult& result);

// The wires' own figures: in free space the gain against the power the feeds deliver (over
// ground the catalogue's ground figures hold it), and the efficiency; none without lengths.
std::vector<std::array<std::string, 2>> WireFigureRows(const TPatternResult& result);
