#pragma once

#include <string>

// A real with 21 significant digits, enough to read back the same 80-bit value, in the "C"
// locale's form ("%.21Lg") whatever the process locale is.
std::string FormatRoundTrip(long double x);
