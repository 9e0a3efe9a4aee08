#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "clirunner.h"
#include "jsonreader.h"

// The program against a real engine: its NEC-2 decks run through Debian's nec2c, whose
// patterns must match the program's own.

namespace {

// The TOTAL power gain column (dB) of each of the deck's two pattern tables: the azimuth
// pattern (phi 0..360) and the elevation cut (theta 0..90).
std::vector<std::vector<double>> NecPatterns(const std::string& out) {
    std::vector<std::vector<double>> tables;
    std::istringstream lines(out);
    std::string line;
    bool inTable = false;
    while (std::getline(lines, line)) {
        if (line.find("RADIATION PATTERNS") != std::string::npos) {
            tables.emplace_back();
            inTable = true;
            continue;
        }
        if (!inTable) continue;
        std::istringstream fields(line);
        double theta, phi, vertical, horizontal, total;
        if (fields >> theta >> phi >> vertical >> horizontal >> total) {
            tables.back().push_back(total);
        } else if (!tables.back().empty()) {
            inTable = false;
        }
    }
    return tables;
}

struct TCase {
    const char* Name;
    std::vector<std::string> Options;
    double Tolerance;  // dB, above -20 dB of the maximum
};

void PrintTo(const TCase& c, std::ostream* os) {
    *os << c.Name;
}

class NecComparison : public ::testing::TestWithParam<TCase> {};

TEST_P(NecComparison, PatternsAgreeAboveMinusTwentyDecibels) {
    const TCase& c = GetParam();
    ASSERT_EQ(std::system("command -v nec2c >/dev/null 2>&1"), 0)
        << "nec2c is missing: install Debian's package nec2c (scripts/install-deps.sh does)";
    TTempDir dir;
    std::vector<std::string> common = {"--decimal-mark", "."};
    common.insert(common.end(), c.Options.begin(), c.Options.end());
    std::vector<std::string> nec = {"nec", dir.Path("d.nec")};
    nec.insert(nec.end(), common.begin(), common.end());
    const TCliRun deck = RunCli(nec);
    ASSERT_EQ(deck.ExitCode, 0) << deck.Err;
    std::vector<std::string> json = {"pattern", "--format", "json"};
    json.insert(json.end(), common.begin(), common.end());
    const TCliRun run = RunCli(json);
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    // nec2c refuses long input paths: run it in the deck's folder.
    const std::string command =
        "cd '" + dir.Path("") + "' && nec2c -i d.nec -o d.out >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << c.Name;
    const auto tables = NecPatterns(ReadBytes(dir.Path("d.out")));
    ASSERT_EQ(tables.size(), 2u) << c.Name;
    ASSERT_EQ(tables[0].size(), 361u);
    ASSERT_EQ(tables[1].size(), 91u);

    const TJson result = ParseJson(run.Out);
    const auto compare = [&](const std::vector<double>& nec, auto ours, const char* what) {
        const double necTop = *std::max_element(nec.begin(), nec.end());
        double top = 0;
        for (std::size_t i = 0; i < nec.size(); ++i) top = std::max(top, ours(i));
        std::size_t compared = 0;
        for (std::size_t i = 0; i < nec.size(); ++i) {
            const double level = 20 * std::log10(ours(i) / top);
            if (level < -20 || nec[i] - necTop < -20) continue;
            EXPECT_NEAR(nec[i] - necTop, level, c.Tolerance) << c.Name << " " << what << " " << i;
            ++compared;
        }
        EXPECT_GT(compared, nec.size() / 3) << c.Name << " " << what;
    };
    // NEC's phi runs from east towards north: phi = 90 - bearing; sample i lies at bearing
    // (i + 180) mod 360.
    compare(
        tables[0],
        [&](std::size_t phi) {
            const int bearing = ((90 - static_cast<int>(phi)) % 360 + 360) % 360;
            return static_cast<double>(
                result["samples"][static_cast<std::size_t>((bearing + 180) % 360)].Number());
        },
        "azimuth");
    // NEC's theta is from the zenith.
    compare(
        tables[1],
        [&](std::size_t theta) {
            return static_cast<double>(result["elevation_cut"]["samples"][90 - theta].Number());
        },
        "elevation");
    if (!result["gain_dbi"].IsNull()) {
        const double necTop = *std::max_element(tables[1].begin(), tables[1].end());
        EXPECT_NEAR(static_cast<double>(result["gain_dbi"].Number()),
                    std::max(necTop, *std::max_element(tables[0].begin(), tables[0].end())), 0.05)
            << c.Name;
    }
}

const std::string kFourSquare = std::string(ARRAYPATTERN_EXAMPLES_DIR) + "/four-square.txt";

INSTANTIATE_TEST_SUITE_P(
    Nec2c, NecComparison,
    ::testing::Values(
        TCase{"FreeSpaceHorizontalDipoles",
              {"--type", "2", "--model", "free-space", "--elevation", "20", "--focus", "100"},
              0.02},
        TCase{"FourSquareOverPerfectGround",
              {"--config", kFourSquare, "--decimal-mark", ",", "--ground", "perfect", "--height",
               "0.25"},
              0.02},
        TCase{"HorizontalPairOverPerfectGround",
              {"--type", "3", "--focus", "30", "--ground", "perfect", "--height", "0.5"},
              0.02},
        TCase{"FourSquareOverAverageGround",
              {"--config", kFourSquare, "--decimal-mark", ",", "--ground", "real", "--soil",
               "average", "--frequency", "7.1", "--height", "0.25"},
              0.05}),
    [](const ::testing::TestParamInfo<TCase>& info) { return std::string(info.param.Name); });

}  // namespace

namespace {

// The command line saves the ground beside the array and reads it back; options outweigh it.
TEST(CliGround, SavedGroundLoadsBackAndOptionsOverrideIt) {
    TTempDir dir;
    const std::string file = dir.Path("g.txt");
    const TCliRun save =
        RunCli({"save", file, "--type", "1", "--decimal-mark", ".", "--ground", "real", "--soil",
                "sea", "--frequency", "14.2", "--height", "0.3"});
    ASSERT_EQ(save.ExitCode, 0) << save.Err;
    const TJson loaded = ParseJson(
        RunCli({"pattern", "--format", "json", "--decimal-mark", ".", "--config", file}).Out);
    EXPECT_EQ(loaded["ground"]["kind"].Text, "real");
    EXPECT_NEAR(static_cast<double>(loaded["ground"]["height"].Number()), 0.3, 1e-15);
    EXPECT_NEAR(static_cast<double>(loaded["ground"]["frequency"].Number()), 14.2, 1e-13);
    EXPECT_EQ(loaded["ground"]["permittivity"].Number(), 81);
    EXPECT_EQ(loaded["ground"]["conductivity"].Number(), 5);
    EXPECT_TRUE(loaded["gain_dbi"].IsNull());
    // The elevation used is the take-off angle, and the labels say so.
    EXPECT_EQ(loaded["elevation"].Number(), loaded["takeoff_elevation_deg"].Number());
    const TJson perfect =
        ParseJson(RunCli({"pattern", "--format", "json", "--decimal-mark", ".", "--config", file,
                          "--ground", "perfect", "--elevation", "10"})
                      .Out);
    EXPECT_EQ(perfect["ground"]["kind"].Text, "perfect");
    EXPECT_EQ(perfect["elevation"].Number(), 10);
    EXPECT_EQ(perfect["gain_dbi"].Number(), perfect["space_wave_directivity_dbi"].Number());
    const TJson free = ParseJson(RunCli({"pattern", "--format", "json", "--decimal-mark", ".",
                                         "--config", file, "--model", "free-space"})
                                     .Out);
    EXPECT_TRUE(free["ground"].IsNull());
}

TEST(CliGround, ElevationHeightsOverlaysOneCutAHeight) {
    TTempDir dir;
    const TCliRun run =
        RunCli({"plot", "--kind", "elevation-heights", dir.Path("h.svg"), "--type", "2", "--ground",
                "perfect", "--height", "0.25", "--height", "0.5", "--height", "1"});
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    const std::string svg = ReadBytes(dir.Path("h.svg"));
    EXPECT_NE(svg.find("<svg"), std::string::npos);
    EXPECT_EQ(RunCli({"pattern", "--ground", "perfect", "--height", "1", "--height", "2"}).ExitCode,
              2);
}

}  // namespace
