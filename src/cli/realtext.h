#pragma once

#include <string>

// A real with 21 significant digits, enough to read back the same 80-bit value, in the form
// printf's "%.21Lg" gives in the "C" locale, whatever the process locale is.
std::string FormatRoundTrip(long double x);
// The same appended to out, without a string of its own.
void AppendRoundTrip(std::string& out, long double x);

// A CSV cell: the same, and empty where there is no finite value, as JSON writes null there:
// no reader of a table meets inf or nan as a number.
void AppendCsvReal(std::string& out, long double x);
std::string FormatCsvReal(long double x);

// The shortest text that reads back (strtold, "C" locale) as the same 80-bit value: the fewest
// significant digits p (1 to 21), and of the texts with p digits that read back, the nearest to
// x (ties to an even last digit). Laid out as "%.{p}Lg" lays it out in the "C" locale (0.05,
// 1e-07, 1.5e+30), whatever the process locale is, except that a number below 1e21 with no
// more digits than its whole part is written out in full (10 and 100000, not 1e+01 and
// 1e+05); zeros, infinities and NaNs as FormatRoundTrip writes them.
std::string FormatShortest(long double x);
// The same appended to out, without a string of its own.
void AppendShortest(std::string& out, long double x);

// The value of the shortest decimal text within tolerance of x (fewest significant digits,
// each read back in the "C" locale), or x itself when none of up to 21 digits is: a sweep's
// steps, computed with a rounding error of a few units in the last place, land on the decimals
// the user stepped by and print as such.
long double NearestShortDecimal(long double x, long double tolerance);
