#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The decimal form of a real on the way to its text: 0.d1d2d3... x 10^PointPos.
struct TDecimalForm {
    enum class TKind { Finite, Inf, NegInf, NaN };
    TKind Kind = TKind::Finite;
    bool IsNegative = false;
    int PointPos = 0;
    std::string DigitText;  // 0..18 digits, no leading or trailing zero; empty for zero
};

// Decimals argument of ToDecimalForm meaning "no cut at a decimal place".
inline constexpr int kUnlimitedDecimals = 1 << 20;

// The decimal separator used for writing and parsing reals; one byte.
char DecimalMark();
void SetDecimalMark(char mark);
// The decimal point of the user's locale (LC_ALL / LC_NUMERIC / LANG from the environment);
// a full stop when it cannot be read or is not a single byte.
char LocaleDecimalMark();

TDecimalForm ToDecimalForm(long double x, int precision, int decimals);
std::string FormatGeneral(long double x);
std::string FormatFixed(long double x, int precision, int decimals);
std::string FormatInteger(std::int32_t n);

// Succeeds with a value or fails (nullopt); reads only DecimalMark() as the separator.
std::optional<long double> ParseFloat(std::string_view text);
std::optional<long double> ParseFloat(std::string_view text, char decimalMark);
// A number as a file holds it: under DecimalMark(), or else under the other separator, so that
// a file saved under either still reads.
std::optional<long double> ParseStoredFloat(std::string_view text);
// The parsed value, or def when the text is empty or does not parse.
std::int32_t ParseInteger(std::string_view text, std::int32_t def);

// The value rounded to double precision. Throws EHandlerError "Floating point overflow"
// when it lies beyond the double range.
double RoundToDouble(long double x);
