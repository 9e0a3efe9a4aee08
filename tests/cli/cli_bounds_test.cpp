#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/bounds.h"
#include "clirunner.h"

namespace {

// The option that sets each quantity, with what it needs beside it to be read at all.
struct TBoundOption {
    TQuantity Quantity;
    std::vector<std::string> Context;
    std::string Option;
    std::string Prefix;  // before the number in the option's value
    long double Nudge;   // how far beyond a whole-number bound a value lies; 0: relative
};

const TBoundOption kOptions[] = {
    {TQuantity::Elevation, {}, "--elevation", "", 0},
    {TQuantity::Height, {"--type", "1", "--ground", "perfect"}, "--height", "", 0},
    {TQuantity::Frequency, {"--type", "1", "--ground", "real"}, "--frequency", "", 0},
    {TQuantity::Permittivity,
     {"--type", "1", "--ground", "real", "--frequency", "10"},
     "--permittivity",
     "",
     0},
    {TQuantity::Conductivity,
     {"--type", "1", "--ground", "real", "--frequency", "10"},
     "--conductivity",
     "",
     0},
    {TQuantity::WireLength, {"--type", "1"}, "--length", "", 0},
    {TQuantity::WireRadius, {"--type", "1", "--length", "2"}, "--radius", "", 0},
    {TQuantity::Z0, {"--type", "1", "--length", "0.5"}, "--z0", "", 0},
    {TQuantity::Amplitude, {}, "--set", "1:amplitude=", 0},
    {TQuantity::Position, {}, "--set", "1:x=", 0},
    {TQuantity::Bearing, {}, "--focus", "", 1},
    {TQuantity::SidelobeLevel, {}, "--taper", "chebyshev:", 0},
};

// The shortest text that reads back as the value.
std::string Text(long double v) {
    char text[64];
    for (int digits = 1;; ++digits) {
        std::snprintf(text, sizeof text, "%.*Lg", digits, v);
        if (std::strtold(text, nullptr) == v || digits == 21) return text;
    }
}

// The end itself, or beyond it by a part in 1e9 (by the nudge for whole numbers).
std::string Beyond(const TBound& end, int outwards, long double nudge) {
    if (end.Open) return Text(end.Value);
    const long double step = nudge > 0 ? nudge : std::max(std::fabs(end.Value) * 1e-9L, 1e-12L);
    return Text(end.Value + outwards * step);
}

TEST(CliBoundsTest, EachQuantitysOptionTakesItsBoundsAndRefusesJustBeyond) {
    for (const TQuantityRange& range : QuantityRanges()) {
        SCOPED_TRACE(range.Name);
        const auto row = std::ranges::find(kOptions, range.Quantity, &TBoundOption::Quantity);
        ASSERT_NE(row, std::end(kOptions)) << "a quantity without its option";
        const auto run = [&](const std::string& number) {
            std::vector<std::string> args = {"pattern"};
            args.insert(args.end(), row->Context.begin(), row->Context.end());
            args.insert(args.end(), {row->Option, row->Prefix + number});
            return RunCli(args);
        };
        const auto refusal = [&](const std::string& number) {
            return "invalid value '" + row->Prefix + number + "' for " + row->Option;
        };
        for (const TBound& end : {range.Low, range.High}) {
            if (end.Open) continue;
            const TCliRun taken = run(Text(end.Value));
            EXPECT_EQ(taken.Err.find("invalid value"), std::string::npos) << taken.Err;
        }
        const long double middle = (range.Low.Value + range.High.Value) / 2;
        const TCliRun inside = run(Text(row->Nudge > 0 ? std::floor(middle) : middle));
        EXPECT_EQ(inside.Err.find("invalid value"), std::string::npos) << inside.Err;
        for (const auto& [end, outwards] : {std::pair(range.Low, -1), std::pair(range.High, 1)}) {
            const std::string beyond = Beyond(end, outwards, row->Nudge);
            const TCliRun refused = run(beyond);
            EXPECT_EQ(refused.ExitCode, 2);
            EXPECT_NE(refused.Err.find(refusal(beyond)), std::string::npos) << refused.Err;
        }
    }
}

}  // namespace
