#pragma once

#include <string>
#include <string_view>

// A sweep column's title with its unit, in the reader's language: a figure's caption, or a
// feed figure's (one column an emitter switched on, "swr_2") with the emitter's number; the
// column's own name where it has none.
std::string ColumnCaption(std::string_view column);

// The caption of the swept parameter, named as --vary names it ("frequency", "2:phase"), with
// its unit, in the reader's language; the name itself where it is none of those.
std::string ParameterCaption(std::string_view parameter);
