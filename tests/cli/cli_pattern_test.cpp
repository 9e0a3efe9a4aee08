#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <sstream>

#include "clirunner.h"
#include "jsonreader.h"
#include "model/focus.h"
#include "model/pattern.h"
#include "requirements.h"

namespace {

TJson PatternJson(const std::vector<std::string>& extra,
                  const std::map<std::string, std::string>& env = {}) {
    std::vector<std::string> args = {"pattern", "--format", "json"};
    args.insert(args.end(), extra.begin(), extra.end());
    const TCliRun run = RunCli(args, env);
    EXPECT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(run.Err, "");
    return ParseJson(run.Out);
}

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields;
    std::istringstream in(line);
    for (std::string field; std::getline(in, field, ',');) fields.push_back(field);
    if (!line.empty() && line.back() == ',') fields.emplace_back();
    return fields;
}

long double ReadReal(const std::string& text) {
    long double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    EXPECT_TRUE(error == std::errc() && end == text.data() + text.size()) << text;
    return value;
}

TEST(CliPattern, InitialArrayShowsTheWindowsReadOutsAndGrid) {
    const TJson json = PatternJson({"--decimal-mark", ","});
    EXPECT_EQ(json["labels"]["elevation"].Text, "Угол места 0 град.");
    EXPECT_EQ(json["labels"]["gain"].Text, "4,000  (6,02 дБ)");
    EXPECT_EQ(json["labels"]["bearing"].Text, "45");
    EXPECT_EQ(json["max_gain"].Number(), 4.0L);
    EXPECT_EQ(json["max_gain_angle"].Number(), 225);
    EXPECT_EQ(json["bearing"].Number(), 45);
    EXPECT_NEAR(static_cast<double>(json["gain_db"].Number()), 6.0206, 1e-4);
    EXPECT_EQ(json["type"].Number(), 0);
    EXPECT_EQ(json["elevation"].Number(), 0);
    ASSERT_EQ(json["emitters"].Items.size(), 8u);
    const TJson& second = json["emitters"][1];
    EXPECT_EQ(second["n"].Number(), 2);
    EXPECT_TRUE(second["enabled"].BooleanValue);
    EXPECT_EQ(second["x"].Number(), -0.25L);
    EXPECT_EQ(second["texts"][2].Text, "-0,353553390593274");
    EXPECT_EQ(second["phase"].Number(), -0.5L / std::sqrt(2.0L));
    EXPECT_FALSE(json["emitters"][4]["enabled"].BooleanValue);
}

TEST(CliPattern, SamplesRoundTripTheExtendedValuesExactly) {
    TArray model = MakeInitialArray();
    const TPattern modelPattern = ComputePattern(model, {TFieldModel::Window, 30});
    const TJson json = PatternJson({"--elevation", "30"});
    ASSERT_EQ(json["samples"].Items.size(), 361u);
    for (std::size_t i = 0; i < 361; ++i) {
        EXPECT_EQ(json["samples"][i].Number(), modelPattern.Samples[i]) << "sample " << i;
    }
}

struct TFocusCase {
    int Bearing;
    std::vector<std::string> Phases;
};

TEST(CliPattern, FocusingRewritesPhasesAndMovesTheMaximum) {
    const std::vector<TFocusCase> cases = {
        {45, {"0,707106781186548", "0,353553390593274", "0,353553390593274", "0"}},
        {0, {"0,5", "0,5", "0", "0"}},
    };
    for (const auto& c : cases) {
        TArray model = MakeInitialArray();
        FocusBeam(model, c.Bearing);
        const TPattern modelPattern = ComputePattern(model, {TFieldModel::Window, 0});
        const TJson json =
            PatternJson({"--focus", std::to_string(c.Bearing), "--decimal-mark", ","});
        for (std::size_t k = 0; k < 4; ++k) {
            EXPECT_EQ(json["emitters"][k]["texts"][2].Text, c.Phases[k]) << c.Bearing;
        }
        EXPECT_EQ(json["labels"]["gain"].Text, "4,000  (6,02 дБ)");
        EXPECT_EQ(json["labels"]["bearing"].Text,
                  std::to_string(DisplayedBearing(modelPattern.MaxGainAngle)));
    }
    // Samples 0, 180 and 360 all come out exactly 4; the first wins: bearing 180.
    EXPECT_EQ(PatternJson({"--focus", "0"})["labels"]["bearing"].Text, "180");
}

struct TTypeCase {
    std::vector<std::string> Args;
    int Type;
    std::string Elevation;
    std::string Gain;
    std::string Bearing;
};

TEST(CliPattern, EmitterTypeAndElevationFromFileOrOptions) {
    TTempDir dir;
    TArray initial = MakeInitialArray();
    const std::string dipoles = dir.Path("dipoles.txt");
    WriteBytes(dipoles, ConfigText(initial, 1));
    const std::vector<TTypeCase> cases = {
        {{"--config", dipoles, "--elevation", "85"},
         1,
         "Угол места 85 град.",
         "0,313  (-5,04 дБ)",
         "45"},
        {{"--type", "2"}, 2, "Угол места 0 град.", "3,183  (5,03 дБ)", "31"},
        {{"--config", dipoles, "--type", "3"}, 3, "Угол места 0 град.", "3,183  (5,03 дБ)", "59"},
        {{"--type", "7"}, 3, "Угол места 0 град.", "3,183  (5,03 дБ)", "59"},
        {{"--type", "-5", "--elevation", "12,5"}, -1, "Угол места 12,5 град.", "", ""},
        {{"--elevation", "12.5"}, 0, "Угол места 12,5 град.", "", ""},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = c.Args;
        args.insert(args.end(), {"--decimal-mark", ","});
        const TJson json = PatternJson(args);
        EXPECT_EQ(json["type"].Number(), c.Type) << c.Args[1];
        EXPECT_EQ(json["labels"]["elevation"].Text, c.Elevation);
        if (!c.Gain.empty()) {
            EXPECT_EQ(json["labels"]["gain"].Text, c.Gain) << c.Args[1];
            EXPECT_EQ(json["labels"]["bearing"].Text, c.Bearing) << c.Args[1];
        }
    }
}

TEST(CliPattern, TextShowsLabelsGridAndMetrics) {
    const TCliRun run = RunCli({"pattern", "--decimal-mark", ","});
    ASSERT_EQ(run.ExitCode, 0);
    const auto lines = Lines(run.Out);
    ASSERT_GE(lines.size(), 21u);
    EXPECT_EQ(lines[0], "Угол места 0 град.");
    EXPECT_EQ(lines[1], "Максимальное усиление 4,000  (6,02 дБ)");
    EXPECT_EQ(lines[2], "В направлении, град. 45");
    // The read-out says what it is on a line of its own, the window's block untouched.
    EXPECT_NE(lines[3].find("array-factor read-out: full scale is the sum of the amplitudes, 4;"),
              std::string::npos);
    EXPECT_EQ(lines[6], "1\t1\t0,25\t0,25\t0\t1");
    EXPECT_EQ(lines[13], "8\t0\t0\t0\t0\t1");
    EXPECT_EQ(lines[15].rfind("beamwidth: ", 0), 0u);
    EXPECT_EQ(lines[22].rfind("nulls: ", 0), 0u);
}

TEST(CliPattern, CsvHasEverySampleAtFullPrecision) {
    TArray model = MakeInitialArray();
    const TPattern modelPattern = ComputePattern(model, {TFieldModel::Window, 0});
    ASSERT_TRUE(RussianLocaleInstalled());
    const TCliRun run = RunCli({"pattern", "--format", "csv"}, {{"LC_ALL", "ru_RU.UTF-8"}});
    ASSERT_EQ(run.ExitCode, 0);
    const auto lines = Lines(run.Out);
    ASSERT_EQ(lines.size(), 362u);
    EXPECT_EQ(lines[0], "index,bearing,value,db");
    for (int i = 0; i <= 360; ++i) {
        const auto fields = Fields(lines[static_cast<std::size_t>(i + 1)]);
        ASSERT_EQ(fields.size(), 4u) << lines[static_cast<std::size_t>(i + 1)];
        EXPECT_EQ(fields[0], std::to_string(i));
        EXPECT_EQ(fields[1], std::to_string((i + 180) % 360));
        const long double v = modelPattern.Samples[static_cast<std::size_t>(i)];
        EXPECT_EQ(ReadReal(fields[2]), v) << i;
        EXPECT_NEAR(static_cast<double>(ReadReal(fields[3])), 20 * std::log10(double(v) / 4), 1e-9);
    }
    EXPECT_EQ(lines[226].substr(0, 10), "225,45,4,0");
}

TEST(CliPattern, NumberTextsFollowTheDecimalMarkNotTheProcessLocale) {
    ASSERT_TRUE(RussianLocaleInstalled());
    const TJson russian = PatternJson({}, {{"LC_ALL", "ru_RU.UTF-8"}});
    EXPECT_EQ(russian["labels"]["gain"].Text, "4,000  (6,02 дБ)");
    EXPECT_EQ(russian["emitters"][0]["x"].Number(), 0.25L);
    EXPECT_EQ(PatternJson({})["labels"]["gain"].Text, "4.000  (6.02 дБ)");
    EXPECT_EQ(
        PatternJson({"--decimal-mark", ";"}, {{"LC_ALL", "ru_RU.UTF-8"}})["labels"]["gain"].Text,
        "4;000  (6;02 дБ)");
}

}  // namespace
