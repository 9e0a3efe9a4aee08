#include "config/numtext.h"

#include <langinfo.h>
#include <locale.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

#include "config/errors.h"

namespace {

constexpr int kWorkingDigits = 18;

char CurrentDecimalMark = '.';

// The 18 significant digits of |x| (finite, normal), correctly rounded ties to even, and K
// with the value 0.d1d2...d18 x 10^K. std::to_chars is locale-independent, so the window's
// locale (set by the toolkit) cannot change the digits.
void WorkingDigits(long double x, char (&digits)[kWorkingDigits], int& pointPos) {
    char buf[48];
    const auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(x),
                                   std::chars_format::scientific, kWorkingDigits - 1);
    // Shape: d.ddddddddddddddddde[+-]XX
    digits[0] = buf[0];
    std::memcpy(digits + 1, buf + 2, kWorkingDigits - 1);
    int exponent = 0;
    std::from_chars(buf + kWorkingDigits + 3, res.ptr, exponent);
    pointPos = (buf[kWorkingDigits + 2] == '-' ? -exponent : exponent) + 1;
}

void AppendDigits(std::string& out, const std::string& digits, std::size_t from,
                  std::size_t count) {
    for (std::size_t i = from; i < from + count; ++i) {
        out += i < digits.size() ? digits[i] : '0';
    }
}

const char* SpecialFormText(TDecimalForm::TKind kind) {
    switch (kind) {
        case TDecimalForm::TKind::Inf:
            return "INF";
        case TDecimalForm::TKind::NegInf:
            return "-INF";
        case TDecimalForm::TKind::NaN:
            return "NAN";
        case TDecimalForm::TKind::Finite:
            break;
    }
    return nullptr;
}

std::string GeneralLayout(const TDecimalForm& form, int precision, int exponentDigits) {
    if (const char* special = SpecialFormText(form.Kind)) {
        return special;
    }
    std::string out;
    if (form.IsNegative) {
        out += '-';
    }
    const std::string& digits = form.DigitText;
    const int k = form.PointPos;
    if (digits.empty()) {
        // Everything was cut away (possible only with a negative decimals count).
        out += '0';
    } else if (k > precision || k < -3) {
        out += digits[0];
        if (digits.size() > 1) {
            out += DecimalMark();
            out.append(digits, 1);
        }
        out += 'E';
        if (k - 1 < 0) {
            out += '-';
        }
        const std::string exponent = std::to_string(std::abs(k - 1));
        out.append(static_cast<std::size_t>(std::max(0, exponentDigits - int(exponent.size()))),
                   '0');
        out += exponent;
    } else if (k <= 0) {
        out += '0';
        out += DecimalMark();
        out.append(static_cast<std::size_t>(-k), '0');
        out += digits;
    } else {
        const auto intDigits = static_cast<std::size_t>(k);
        AppendDigits(out, digits, 0, intDigits);
        if (digits.size() > intDigits) {
            out += DecimalMark();
            out.append(digits, intDigits);
        }
    }
    return out;
}

}  // namespace

char DecimalMark() {
    return CurrentDecimalMark;
}

void SetDecimalMark(char mark) {
    CurrentDecimalMark = mark;
}

char LocaleDecimalMark() {
    const locale_t loc = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(nullptr));
    if (loc == static_cast<locale_t>(nullptr)) {
        return '.';
    }
    const char* radix = nl_langinfo_l(RADIXCHAR, loc);
    const char mark = radix != nullptr && radix[0] != '\0' && radix[1] == '\0' ? radix[0] : '.';
    freelocale(loc);
    return mark;
}

TDecimalForm ToDecimalForm(long double x, int precision, int decimals) {
    TDecimalForm form;
    switch (std::fpclassify(x)) {
        case FP_ZERO:
        case FP_SUBNORMAL:
            return form;
        case FP_INFINITE:
            form.Kind = std::signbit(x) ? TDecimalForm::TKind::NegInf : TDecimalForm::TKind::Inf;
            form.IsNegative = std::signbit(x);
            return form;
        case FP_NAN:
            form.Kind = TDecimalForm::TKind::NaN;
            return form;
        default:
            break;
    }

    char digits[kWorkingDigits];
    int k = 0;
    WorkingDigits(x, digits, k);

    const long long cut = static_cast<long long>(k) + decimals;
    if (cut < 0) {
        return form;
    }
    const int p =
        static_cast<int>(std::max(0LL, std::min({cut, static_cast<long long>(precision),
                                                 static_cast<long long>(kWorkingDigits)})));
    form.IsNegative = std::signbit(x);

    if (p < kWorkingDigits && digits[p] >= '5') {
        // Half away from zero on the working digits: drop the 9s that overflow.
        int last = p - 1;
        while (last >= 0 && digits[last] == '9') {
            --last;
        }
        if (last < 0) {
            form.DigitText = "1";
            ++k;
        } else {
            form.DigitText.assign(digits, static_cast<std::size_t>(last) + 1);
            ++form.DigitText.back();
        }
    } else {
        int last = p - 1;
        while (last >= 0 && digits[last] == '0') {
            --last;
        }
        form.DigitText.assign(digits, static_cast<std::size_t>(last + 1));
        if (form.DigitText.empty()) {
            form.IsNegative = false;
        }
    }
    form.PointPos = k;
    return form;
}

std::string FormatGeneral(long double x) {
    constexpr int kPrecision = 15;
    return GeneralLayout(ToDecimalForm(x, kPrecision, kUnlimitedDecimals), kPrecision, 0);
}

std::string FormatFixed(long double x, int precision, int decimals) {
    precision = std::clamp(precision, 2, kWorkingDigits);
    const TDecimalForm form = ToDecimalForm(x, precision, decimals);
    const int k = form.PointPos;
    if (form.Kind != TDecimalForm::TKind::Finite || k > precision) {
        return GeneralLayout(form, precision, decimals <= 4 ? decimals : 0);
    }

    std::string out;
    if (form.IsNegative) {
        out += '-';
    }
    const std::size_t intDigits = k > 0 ? static_cast<std::size_t>(k) : 0;
    if (intDigits == 0) {
        out += '0';
    } else {
        AppendDigits(out, form.DigitText, 0, intDigits);
    }
    const int fracDigits = std::min(decimals, kWorkingDigits);
    if (fracDigits > 0) {
        out += DecimalMark();
        const int leadingZeros = k < 0 ? std::min(-k, fracDigits) : 0;
        out.append(static_cast<std::size_t>(leadingZeros), '0');
        AppendDigits(out, form.DigitText, intDigits,
                     static_cast<std::size_t>(fracDigits - leadingZeros));
    }
    return out;
}

std::string FormatInteger(std::int32_t n) {
    char buf[16];
    const auto res = std::to_chars(buf, buf + sizeof buf, n);
    return std::string(buf, res.ptr);
}

double RoundToDouble(long double x) {
    // Halfway between DBL_MAX and 2^1024 (2^1024 - 2^970): from here on the nearest double is
    // infinite.
    constexpr long double kOverflowFrom = 0x1.fffffffffffff8p+1023L;
    if (std::isfinite(x) && std::fabs(x) >= kOverflowFrom) {
        throw EHandlerError(kOverflowText);
    }
    return static_cast<double>(x);
}
