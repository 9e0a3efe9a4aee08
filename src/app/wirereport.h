#pragma once

#include "app/analysis.h"
#include "plot/reportpage.h"

// What the report adds for real wires, so that a parasitic element (amplitude 0) and the
// feeds' match are on the page: the emitters' wire columns, empty without lengths.
TWireColumns WireColumnsOf(const TPatternResult& result);
