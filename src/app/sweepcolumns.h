#pragma once

#include <span>
#include <string>
#include <string_view>

#include "model/coupling.h"

// What a sweep writes of each wire's feed, one column an emitter switched on, named with the
// emitter's number ("swr_2"): the command line's columns and the studio's sweep chart both read
// this table.
struct TEmitterColumn {
    std::string_view Stem;                           // the column's name before the number
    const char* Caption;                             // one %s, the number; ends with the unit
    long double (*Value)(const TEmitterFeed& feed);  // NaN where the feed has none
};
std::span<const TEmitterColumn> EmitterColumns();

// A sweep column's title with its unit, in the reader's language: a figure's caption, or an
// emitter column's with the emitter's number; the column's own name where it has none.
std::string ColumnCaption(std::string_view column);

// The caption of the swept parameter, named as --vary names it ("frequency", "2:phase"), with
// its unit, in the reader's language; the name itself where it is none of those.
std::string ParameterCaption(std::string_view parameter);
