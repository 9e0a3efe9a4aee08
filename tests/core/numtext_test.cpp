#include "config/numtext.h"

#include <gtest/gtest.h>
#include <locale.h>

#include <cfloat>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "config/errors.h"
#include "decimalmark_scope.h"
#include "requirements.h"

namespace {

constexpr long double kInf = std::numeric_limits<long double>::infinity();
constexpr long double kNaN = std::numeric_limits<long double>::quiet_NaN();

// The grid, the labels and the files are written for a Russian user: a comma separates.
class NumTextTest : public testing::Test {
  private:
    TDecimalMarkScope Comma;
};

TEST_F(NumTextTest, FormatGeneralWritesFifteenSignificantDigits) {
    struct Case {
        long double Value;
        const char* Text;
    };
    const Case cases[] = {
        {0.0L, "0"},
        {-0.0L, "0"},
        {0.25L, "0,25"},
        {-0.25L, "-0,25"},
        {2.5L, "2,5"},
        {100.0L, "100"},
        {270.0L, "270"},
        {12.0L, "12"},
        {1.0L / 64, "0,015625"},
        {3.0L / 64, "0,046875"},
        {1.0L / 3, "0,333333333333333"},
        {2.0L / 3, "0,666666666666667"},
        {-0.5L / std::sqrt(2.0L), "-0,353553390593274"},
        {0.001L, "0,001"},
        {0.0001L, "0,0001"},
        {0.00001L, "1E-5"},
        {1E-7L, "1E-7"},
        {-2.5E-10L, "-2,5E-10"},
        {123456.789L, "123456,789"},
        {1E14L, "100000000000000"},
        {1E15L, "1E15"},
        {999999999999999.9L, "1E15"},
        {1.5E20L, "1,5E20"},
        {123456789012345678.0L, "1,23456789012346E17"},
        // A double widened gives the same text as the extended literal.
        {static_cast<long double>(0.1), "0,1"},
        {static_cast<long double>(123456.789), "123456,789"},
        {0.00009999999999999999L, "0,0001"},
        {-99999.99999999999L, "-100000"},
        {1E4000L, "1E4000"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatGeneral(c.Value), c.Text) << static_cast<double>(c.Value);
    }
}

TEST_F(NumTextTest, FormatFixedCutsAtDecimalsOrPrecision) {
    struct Case {
        long double Value;
        int Precision;
        int Decimals;
        const char* Text;
    };
    const Case cases[] = {
        {4.0L, 8, 3, "4,000"},
        {2.82842712474619L, 8, 3, "2,828"},
        {7.99996L, 8, 3, "8,000"},
        {0.0004L, 8, 3, "0,000"},
        {-0.0004L, 8, 3, "0,000"},
        {0.0005L, 8, 3, "0,001"},
        {-0.0005L, 8, 3, "-0,001"},
        {0.00004L, 8, 3, "0,000"},
        {0.0L, 6, 2, "0,00"},
        {10.0L * std::log10(4.0L + 1E-11L), 6, 2, "6,02"},
        {-110.0L, 6, 2, "-110,00"},
        {-3.5L, 6, 2, "-3,50"},
        {12345.678L, 6, 2, "12345,70"},
        {123456789.5L, 8, 3, "1,2345679E008"},
        {99999999.9L, 8, 3, "1E008"},
        {1.5E20L, 6, 2, "1,5E20"},
        {1.5E20L, 6, 7, "1,5E20"},
        // Precision is held to 2..18.
        {1.23456L, 0, 3, "1,200"},
        {1.23456L, 40, 3, "1,235"},
        {0.5L, 8, 0, "1"},
        {-0.4L, 8, 0, "0"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatFixed(c.Value, c.Precision, c.Decimals), c.Text)
            << static_cast<double>(c.Value) << " " << c.Precision << " " << c.Decimals;
    }
}

TEST_F(NumTextTest, SpecialValuesAreWrittenAsLetters) {
    EXPECT_EQ(FormatGeneral(kInf), "INF");
    EXPECT_EQ(FormatGeneral(-kInf), "-INF");
    EXPECT_EQ(FormatGeneral(kNaN), "NAN");
    EXPECT_EQ(FormatGeneral(-kNaN), "NAN");
    EXPECT_EQ(FormatFixed(kInf, 8, 3), "INF");
    EXPECT_EQ(FormatFixed(-kInf, 6, 2), "-INF");
    EXPECT_EQ(FormatFixed(kNaN, 6, 2), "NAN");
}

TEST_F(NumTextTest, SubnormalsAreWrittenAsZero) {
    const long double smallest = std::numeric_limits<long double>::denorm_min();
    EXPECT_EQ(FormatGeneral(smallest), "0");
    EXPECT_EQ(FormatGeneral(-LDBL_MIN / 2), "0");
    EXPECT_EQ(FormatFixed(-smallest, 8, 3), "0,000");
    EXPECT_EQ(FormatGeneral(LDBL_MIN), "3,36210314311209E-4932");
}

TEST_F(NumTextTest, RoundsTwiceFirstToEighteenDigitsThenHalfAwayFromZero) {
    // The extended value nearest 0.12345678901234449996 has 123456789012344500 as its 18
    // working digits, so the 15-digit text rounds up where one rounding would not.
    const long double x = 0.12345678901234449996L;
    EXPECT_EQ(ToDecimalForm(x, 18, kUnlimitedDecimals).DigitText, "1234567890123445");
    EXPECT_EQ(FormatGeneral(x), "0,123456789012345");
    EXPECT_EQ(FormatGeneral(-x), "-0,123456789012345");
}

TEST(ToDecimalFormTest, FieldsFollowTheCutAndCarry) {
    struct Case {
        long double Value;
        int Precision;
        int Decimals;
        bool Negative;
        int PointPos;
        const char* Digits;
    };
    const Case cases[] = {
        {0.0L, 15, kUnlimitedDecimals, false, 0, ""},
        {-0.0L, 15, kUnlimitedDecimals, false, 0, ""},
        {-250.0L, 15, kUnlimitedDecimals, true, 3, "25"},
        {0.015625L, 15, kUnlimitedDecimals, false, -1, "15625"},
        {-999.96L, 15, 1, true, 4, "1"},
        {9.5L, 8, 0, false, 2, "1"},
        {0.96L, 1, kUnlimitedDecimals, false, 1, "1"},
        {-0.0004L, 8, 3, false, -3, ""},
        {-0.00004L, 8, 3, false, 0, ""},
        {123.456L, 18, kUnlimitedDecimals, false, 3, "123456"},
        {1234.5L, 2, kUnlimitedDecimals, false, 4, "12"},
    };
    for (const Case& c : cases) {
        const TDecimalForm form = ToDecimalForm(c.Value, c.Precision, c.Decimals);
        EXPECT_EQ(form.Kind, TDecimalForm::TKind::Finite);
        EXPECT_EQ(form.IsNegative, c.Negative) << static_cast<double>(c.Value);
        EXPECT_EQ(form.PointPos, c.PointPos) << static_cast<double>(c.Value);
        EXPECT_EQ(form.DigitText, c.Digits) << static_cast<double>(c.Value);
    }
}

TEST(FormatIntegerTest, WritesPlainDecimal) {
    EXPECT_EQ(FormatInteger(0), "0");
    EXPECT_EQ(FormatInteger(8), "8");
    EXPECT_EQ(FormatInteger(-42), "-42");
    EXPECT_EQ(FormatInteger(INT32_MAX), "2147483647");
    EXPECT_EQ(FormatInteger(INT32_MIN), "-2147483648");
}

TEST_F(NumTextTest, ParseFloatAcceptsTheNumberTexts) {
    struct Case {
        const char* Text;
        long double Value;
    };
    const Case cases[] = {
        {"0,25", 0.25L},
        {"  -1,5E-3  ", -0.0015L},
        {"1e3", 1000.0L},
        {",5", 0.5L},
        {"5,", 5.0L},
        {",", 0.0L},
        {"1E", 1.0L},
        {"+2,5e+1", 25.0L},
        {"0,1", 0.1L},
        {"-0", -0.0L},
        {"0,015625", 1.0L / 64},
        {"1E-4999", 0.0L},
    };
    for (const Case& c : cases) {
        const std::optional<long double> v = ParseFloat(c.Text);
        ASSERT_TRUE(v.has_value()) << c.Text;
        EXPECT_EQ(*v, c.Value) << c.Text;
        EXPECT_EQ(std::signbit(*v), std::signbit(c.Value)) << c.Text;
    }
}

TEST_F(NumTextTest, ParseFloatReachesTheExtendedRange) {
    const std::optional<long double> big = ParseFloat("1E400");
    ASSERT_TRUE(big.has_value());
    EXPECT_NEAR(static_cast<double>(*big / 1E400L), 1.0, 1E-18);

    const std::optional<long double> tiny = ParseFloat("1E-4950");
    ASSERT_TRUE(tiny.has_value());
    EXPECT_EQ(std::fpclassify(*tiny), FP_SUBNORMAL);
    EXPECT_GT(*tiny, 0.0L);
}

TEST_F(NumTextTest, ParseFloatRejectsOtherTexts) {
    const char* const texts[] = {
        "",       "   ",  "1.5",   "1 000", "\t1", "-",     "+",     "E5",  "0x10", "1E5000",
        "1E4999", "1 ,5", "1,5 x", "INF",   "NAN", "1E+-3", "1,2,3", "--1", "1e3.", "0E4999",
    };
    for (const char* text : texts) {
        EXPECT_FALSE(ParseFloat(text).has_value()) << '"' << text << '"';
    }
}

TEST(ParseFloatMarkTest, UsesOnlyTheGivenSeparator) {
    EXPECT_EQ(ParseFloat("1.5", '.'), 1.5L);
    EXPECT_FALSE(ParseFloat("1,5", '.').has_value());
    EXPECT_EQ(ParseFloat("1,5", ','), 1.5L);
    EXPECT_FALSE(ParseFloat("1.5", ',').has_value());
}

TEST(ParseIntegerTest, ReadsDecimalAndHexadecimal) {
    struct Case {
        const char* Text;
        std::int32_t Def;
        std::int32_t Value;
    };
    const Case cases[] = {
        {"2", 0, 2},
        {" 3", 0, 3},
        {"3 ", 0, 0},
        {"0x1F", 0, 31},
        {"$10", 0, 16},
        {"-$10", 0, -16},
        {"$FFFFFFFF", 0, -1},
        {"2147483648", 0, 0},
        {"-2147483648", 0, INT32_MIN},
        {"", 0, 0},
        {"abc", 5, 5},
        {"+7", 9, 7},
        {"007", 9, 7},
        {"2147483647", 0, INT32_MAX},
        {"-2147483649", 1, 1},
        {"99999999999999999999999", 1, 1},
        {"x1f", 0, 31},
        {"X1F", 0, 31},
        {"0X1f", 0, 31},
        {"-0x10", 0, -16},
        {"$7FFFFFFF", 0, INT32_MAX},
        {"$80000000", 0, INT32_MIN},
        {"-$80000000", 0, INT32_MIN},
        {"$000000001", 0, 1},
        {"$100000000", 4, 4},
        {"$", 4, 4},
        {"0x", 4, 4},
        {"$1G", 4, 4},
        {"- 5", 4, 4},
        {"-", 4, 4},
        {"\t1", 4, 4},
        {"1 2", 4, 4},
        {"1,0", 4, 4},
        {"0", 4, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseInteger(c.Text, c.Def), c.Value) << '"' << c.Text << '"';
    }
}

TEST(RoundToDoubleTest, OverflowsOnlyBeyondTheDoubleRange) {
    const long double max = DBL_MAX;
    const long double halfUlp = std::ldexp(1.0L, 970);
    EXPECT_EQ(RoundToDouble(max), DBL_MAX);
    EXPECT_EQ(RoundToDouble(-(max + halfUlp / 2)), -DBL_MAX);
    EXPECT_EQ(RoundToDouble(0.1L), 0.1);
    EXPECT_EQ(RoundToDouble(1E-400L), 0.0);
    EXPECT_TRUE(std::isnan(RoundToDouble(kNaN)));
    EXPECT_TRUE(std::isinf(RoundToDouble(kInf)));

    for (const long double x : {max + halfUlp, -(max + halfUlp), 1E400L}) {
        try {
            RoundToDouble(x);
            ADD_FAILURE() << "no error for " << static_cast<double>(x / 2);
        } catch (const EHandlerError& e) {
            EXPECT_STREQ(e.what(), kOverflowText);
        }
    }
}

TEST_F(NumTextTest, GeneralTextsParseBackToTheSameText) {
    std::mt19937_64 gen(20261208);
    std::uniform_int_distribution<int> exponent(-16000, 16000);
    for (int i = 0; i < 10000; ++i) {
        const long double mantissa =
            static_cast<long double>(gen() >> 1) / 9223372036854775808.0L + 0.5L;
        long double x = std::ldexp(mantissa, exponent(gen));
        if (gen() & 1) {
            x = -x;
        }
        const std::string text = FormatGeneral(x);
        const std::optional<long double> back = ParseFloat(text);
        ASSERT_TRUE(back.has_value()) << text;
        EXPECT_EQ(FormatGeneral(*back), text);
        EXPECT_LE(std::fabs((*back - x) / x), 6E-15L) << text;
    }
}

std::vector<std::string> SampleTexts() {
    std::vector<std::string> out;
    for (const long double x : {0.25L, -1.0L / 3, 123456.789L, 1.5E20L, -2.5E-10L, 7.99996L}) {
        out.push_back(FormatGeneral(x));
        out.push_back(FormatFixed(x, 8, 3));
        out.push_back(FormatFixed(x, 6, 2));
        const std::optional<long double> back = ParseFloat(out.back());
        out.push_back(back ? FormatGeneral(*back) : "fail");
    }
    out.push_back(FormatInteger(-2147483647));
    out.push_back(std::to_string(ParseInteger("$1F", 0)));
    return out;
}

TEST(NumTextLocaleTest, ProcessLocaleDoesNotChangeTheTexts) {
    ASSERT_TRUE(RussianLocaleInstalled());
    const std::string savedLocale = std::setlocale(LC_ALL, nullptr);
    const char savedMark = DecimalMark();
    for (const char mark : {'.', ','}) {
        SetDecimalMark(mark);
        std::setlocale(LC_ALL, "C");
        const std::vector<std::string> inC = SampleTexts();
        std::setlocale(LC_ALL, "ru_RU.UTF-8");
        const std::vector<std::string> inRussian = SampleTexts();
        std::setlocale(LC_ALL, savedLocale.c_str());
        EXPECT_EQ(inC, inRussian) << "mark " << mark;
    }
    SetDecimalMark(savedMark);
}

class EnvironmentLocaleTest : public testing::Test {
  protected:
    void SetUp() override {
        if (const char* v = std::getenv("LC_ALL")) {
            Saved = v;
        }
    }
    void TearDown() override {
        if (Saved) {
            setenv("LC_ALL", Saved->c_str(), 1);
        } else {
            unsetenv("LC_ALL");
        }
    }

  private:
    std::optional<std::string> Saved;
};

TEST_F(EnvironmentLocaleTest, LocaleDecimalMarkReadsTheEnvironment) {
    setenv("LC_ALL", "C", 1);
    EXPECT_EQ(LocaleDecimalMark(), '.');
    setenv("LC_ALL", "no_SUCH.locale", 1);
    EXPECT_EQ(LocaleDecimalMark(), '.');
    ASSERT_TRUE(RussianLocaleInstalled());
    setenv("LC_ALL", "ru_RU.UTF-8", 1);
    EXPECT_EQ(LocaleDecimalMark(), ',');
}

TEST(ErrorBoxTextTest, FullStopFollowsCharactersAfterTheFullStop) {
    struct Case {
        std::string Message;
        std::string Shown;
    };
    const Case cases[] = {
        {kInvalidOpText, "Invalid floating point operation."},
        {"Stream write error.", "Stream write error."},
        {"Unable to write to C:\\a\\", "Unable to write to C:\\a\\."},
        {"Unable to write to /tmp/a/", "Unable to write to /tmp/a/."},
        {"Cannot create file \"x\". Disk full!", "Cannot create file \"x\". Disk full!"},
        {"(a)", "(a)"},
        {"a-", "a-"},
        {"9", "9."},
        {"\xE4\xE0", "\xE4\xE0."},  // Cyrillic letters sort after ASCII
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ErrorBoxText(c.Message), c.Shown) << c.Message;
    }
}

}  // namespace
