#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "clirunner.h"
#include "jsonreader.h"

// The designs on real wires: the written file's own figures, its ideal twin and nec2c.
namespace {

const std::string kExamples = ARRAYPATTERN_EXAMPLES_DIR;
const std::string kMonopoles = kExamples + "/four-square-monopoles.txt";

// The best front-to-back a one-parameter sweep of the four-square's excitation finds (emitter
// 1's amplitude); emitter 4's phase alone reaches 32.70 dB, the example itself 32.09 dB.
constexpr double kSweepsBestDb = 40.75;

TJson PatternOf(const std::string& file, const std::vector<std::string>& options = {}) {
    std::vector<std::string> args = {"pattern", "--format", "json", "--config", file};
    args.insert(args.end(), options.begin(), options.end());
    const TCliRun run = RunCli(args);
    EXPECT_EQ(run.ExitCode, 0) << run.Err;
    return ParseJson(run.Out);
}

// nec2c's front-to-back (dB) of the deck `nec` writes of the file, at the horizon.
double NecFrontToBack(const TTempDir& dir, const std::string& file, int bearing) {
    const TCliRun deck = RunCli({"nec", "--config", file, dir.Path("d.nec")});
    EXPECT_EQ(deck.ExitCode, 0) << deck.Err;
    // nec2c refuses long input paths: it runs in the deck's folder with a short name.
    const std::string command =
        "cd '" + dir.Path("") + "' && nec2c -i d.nec -o d.out > /dev/null 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << "nec2c failed: is the package nec2c installed?";
    // Rows of theta 90 by NEC's phi = 90 - bearing: total gain in the fifth column.
    std::map<int, double> gain;
    bool pattern = false;
    for (const std::string& line : Lines(ReadBytes(dir.Path("d.out")))) {
        pattern = pattern || line.find("RADIATION PATTERNS") != std::string::npos;
        double theta = 0, phi = 0, vertical = 0, horizontal = 0, total = 0;
        if (pattern &&
            std::sscanf(line.c_str(), "%lf %lf %lf %lf %lf", &theta, &phi, &vertical, &horizontal,
                        &total) == 5 &&
            theta == 90) {
            gain[(static_cast<int>(std::lround(phi)) % 360 + 360) % 360] = total;
        }
    }
    const auto at = [&](int b) { return gain[((90 - b) % 360 + 360) % 360]; };
    return at(bearing) - at(bearing + 180);
}

struct TFrontRow {
    const char* Name;
    std::vector<std::string> Options;
};

// The design's summary is the written file's figure, beyond the sweep's best; the beam stays
// at 45, and nec2c, driven as the deck of the file says, finds the back well below the input's
// (nec2c gives the example 29.8 dB; its null depth moves with the kernels' small differences).
TEST(CliWireDesign, FrontToBackOfTheMonopolesBeatsEverySweepInItsFileAndInNec) {
    const std::vector<TFrontRow> rows = {
        {"phases", {"--amplitudes", "fixed"}},
        {"phases and amplitudes", {"--amplitudes", "free"}},
        {"voltage feed", {"--amplitudes", "fixed", "--feed", "voltage"}},
    };
    for (const TFrontRow& row : rows) {
        SCOPED_TRACE(row.Name);
        TTempDir dir;
        const std::string out = dir.Path("d.txt");
        std::vector<std::string> args = {"design", "--config",      kMonopoles,
                                         "--goal", "front-to-back", out};
        args.insert(args.end(), row.Options.begin(), row.Options.end());
        const TCliRun design = RunCli(args);
        ASSERT_EQ(design.ExitCode, 0) << design.Err;
        const TJson written = PatternOf(out);
        const double figure = static_cast<double>(written["metrics"]["front_to_back_db"].Number());
        EXPECT_GE(figure, kSweepsBestDb);
        EXPECT_EQ(written["bearing"].Number(), 45);
        const std::string last = Lines(design.Out).back();
        ASSERT_EQ(last.rfind("front-to-back: ", 0), 0U) << last;
        EXPECT_NEAR(std::stod(last.substr(15)), figure, 0.005) << last;
        EXPECT_GT(NecFrontToBack(dir, out, 45), 35);
    }
}

// Wires 0.02 wavelength long are short dipoles: the designs on them are the ideal elements'
// designs, the wires' gain the ideal array's directivity, the searches' figures the same.
TEST(CliWireDesign, DesignsOfShortDipolesAreTheirIdealTwins) {
    const std::vector<std::vector<std::string>> goals = {
        {"--goal", "max-directivity", "--bearing", "30"},
        {"--goal", "nulls", "--null", "200", "--null", "300", "--bearing", "30"},
        {"--goal", "front-to-back"},
        {"--goal", "front-to-rear", "--bearing", "60"},
    };
    const std::vector<std::string> shortWires = {"--length", "0.02", "--radius", "0.00001"};
    for (const auto& goal : goals) {
        SCOPED_TRACE(goal[1]);
        TTempDir dir;
        std::vector<TJson> designs;
        std::vector<std::string> summaries;
        for (const bool wires : {false, true}) {
            const std::string out = dir.Path(wires ? "w.txt" : "i.txt");
            std::vector<std::string> args = {"design", "--config", kExamples + "/four-square.txt",
                                             out};
            args.insert(args.end(), goal.begin(), goal.end());
            if (wires) args.insert(args.end(), shortWires.begin(), shortWires.end());
            const TCliRun run = RunCli(args);
            ASSERT_EQ(run.ExitCode, 0) << run.Err;
            const std::string last = Lines(run.Out).back();
            summaries.push_back(last.substr(0, last.find(" after ")));
            designs.push_back(PatternOf(out));
        }
        // The figure of a deep null's ratio moves in its last digit with the short wires' modes.
        const auto figure = [](const std::string& s) {
            return std::atof(s.c_str() + s.find(':') + 1);
        };
        EXPECT_EQ(summaries[0].substr(0, summaries[0].find(':')),
                  summaries[1].substr(0, summaries[1].find(':')));
        EXPECT_NEAR(figure(summaries[0]), figure(summaries[1]), 0.011) << summaries[1];
        EXPECT_NEAR(designs[1]["gain_dbi"].Number(), designs[0]["directivity_dbi"].Number(), 0.01);
        for (std::size_t k = 0; k < 4; ++k) {
            EXPECT_NEAR(designs[1]["emitters"][k]["amplitude"].Number(),
                        designs[0]["emitters"][k]["amplitude"].Number(), 1e-4)
                << k;
        }
    }
}

}  // namespace
