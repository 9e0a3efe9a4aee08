#pragma once

#include <string>

// A real with 21 significant digits, enough to read back the same 80-bit value, in the form
// printf's "%.21Lg" gives in the "C" locale, whatever the process locale is.
std::string FormatRoundTrip(long double x);
// The same appended to out, without a string of its own.
void AppendRoundTrip(std::string& out, long double x);
