#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "app/figures.h"
#include "clirunner.h"
#include "jsonreader.h"

namespace {

// The bearings of the JSON nulls, each an object with its depth.
std::vector<long double> NullBearings(const TJson& nulls) {
    std::vector<long double> bearings;
    for (const TJson& n : nulls.Items) {
        bearings.push_back(n["bearing"].Number());
        EXPECT_TRUE(n["depth_db"].IsNull() || n["depth_db"].Number() < -40);
    }
    return bearings;
}

TJson PatternOf(const TArray& model) {
    TTempDir dir;
    WriteBytes(dir.Path("array.txt"), ConfigText(model, 0));
    const TCliRun run = RunCli(
        {"pattern", "--format", "json", "--decimal-mark", ",", "--config", dir.Path("array.txt")});
    EXPECT_EQ(run.ExitCode, 0) << run.Err;
    return ParseJson(run.Out);
}

// Two emitters half a wavelength apart on an east-west line, in phase: the broadside pair.
TEST(CliMetrics, BroadsidePairBeamsNorthAndSouthWithNullsEastAndWest) {
    const TJson json = PatternOf(ModelOf({{-0.25L, 0, 0, true}, {0.25L, 0, 0, true}}));
    EXPECT_NEAR(static_cast<double>(json["samples"][0].Number()), 2, 1e-15);
    EXPECT_NEAR(static_cast<double>(json["samples"][180].Number()), 2, 1e-15);
    EXPECT_EQ(json["labels"]["gain"].Text, "2,000  (3,01 дБ)");
    EXPECT_EQ(json["labels"]["bearing"].Text, "180");  // samples 0 and 180 tie; the first wins
    const TJson& metrics = json["metrics"];
    // 2 |cos(pi/2 sin az)| is at half power where sin az = 1/2.
    EXPECT_NEAR(static_cast<double>(metrics["beamwidth_deg"].Number()), 60, 1e-6);
    EXPECT_EQ(metrics["first_null_beamwidth_deg"].Number(), 180);
    EXPECT_NEAR(static_cast<double>(metrics["front_to_rear_db"].Number()), 0, 1e-9);
    EXPECT_TRUE(metrics["front_to_side_db"].IsNull());  // the nulls east and west
    EXPECT_NEAR(static_cast<double>(metrics["front_to_back_db"].Number()), 0, 1e-9);
    EXPECT_TRUE(metrics["side_lobe_db"].IsNull());  // the back beam is a main lobe
    EXPECT_EQ(NullBearings(metrics["nulls"]), (std::vector<long double>{90, 270}));
}

struct TMainLobesCase {
    std::vector<std::string> Args;
    long double SideLobeDb, Tolerance;
    std::vector<long double> MainLobes;  // bearings
    std::string Text;                    // the text output's lines
};

// The Dolph-Chebyshev line's mirror beam is a main lobe, not a 0 dB side lobe; the
// four-square's back lobe stays its side lobe.
TEST(CliMetrics, TwinBeamsAreMainLobesAndTheSideLobeIsTheHighestOtherLobe) {
    const std::string examples = ARRAYPATTERN_EXAMPLES_DIR;
    const std::vector<TMainLobesCase> cases = {
        {{"--config", examples + "/broadside-line-8.txt", "--taper", "chebyshev:-30"},
         -30,
         0.05L,
         {0, 180},
         "\nside lobe: -30,00 dB\nmain lobes: 0,00 180,00\n"},
        {{"--config", examples + "/four-square.txt"},
         -25.217768260185455L,
         1e-12L,
         {45},
         "\nside lobe: -25,22 dB\nmain lobes: 45,00\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Args[1]);
        std::vector<std::string> args = {"pattern", "--decimal-mark", ","};
        args.insert(args.end(), c.Args.begin(), c.Args.end());
        const TCliRun text = RunCli(args);
        EXPECT_NE(text.Out.find(c.Text), std::string::npos) << text.Out;
        args.insert(args.end(), {"--format", "json"});
        const std::string json = RunCli(args).Out;
        EXPECT_LT(json.find("\"side_lobe_db\""), json.find("\"main_lobes\""));
        EXPECT_LT(json.find("\"main_lobes\""), json.find("\"nulls\""));
        const TJson metrics = ParseJson(json)["metrics"];
        EXPECT_NEAR(static_cast<double>(metrics["side_lobe_db"].Number()),
                    static_cast<double>(c.SideLobeDb), static_cast<double>(c.Tolerance));
        std::vector<long double> mainLobes;
        for (const TJson& bearing : metrics["main_lobes"].Items)
            mainLobes.push_back(bearing.Number());
        EXPECT_EQ(mainLobes, c.MainLobes);
    }
}

struct TCardioidCase {
    long double WestPhase, EastPhase;  // wavelengths
    std::string Bearing;
    long double Null;
};

// Emitters a quarter wavelength apart, a quarter period out of phase: the beam leaves on the
// side of the emitter that lags.
TEST(CliMetrics, QuarterWaveCardioidHasOneNullOppositeTheBeam) {
    const std::vector<TCardioidCase> cases = {
        {0, 0.25L, "90", 270},
        {0.25L, 0, "270", 90},
    };
    for (const auto& c : cases) {
        const TJson json =
            PatternOf(ModelOf({{-0.125L, 0, c.WestPhase, true}, {0.125L, 0, c.EastPhase, true}}));
        EXPECT_EQ(json["labels"]["gain"].Text, "2,000  (3,01 дБ)");
        EXPECT_EQ(json["labels"]["bearing"].Text, c.Bearing);
        const TJson& metrics = json["metrics"];
        EXPECT_EQ(NullBearings(metrics["nulls"]), std::vector<long double>{c.Null}) << c.Bearing;
        EXPECT_TRUE(metrics["side_lobe_db"].IsNull());
        // 2 |cos(pi/4 (1 + sin az))| from the beam: half power 90 degrees either side.
        EXPECT_NEAR(static_cast<double>(metrics["beamwidth_deg"].Number()), 180, 1e-6);
        EXPECT_EQ(metrics["first_null_beamwidth_deg"].Number(), 360);
        // The back sample cancels to rounding noise: a perfect null, not hundreds of dB.
        EXPECT_TRUE(metrics["front_to_back_db"].IsNull()) << c.Bearing;
        EXPECT_NEAR(static_cast<double>(metrics["front_to_side_db"].Number()), 3.0103, 1e-4);
    }
}

TEST(CliMetrics, OmnidirectionalEmitterHasNoBeamNoLobesNoNulls) {
    const TJson json = PatternOf(ModelOf({{0, 0, 0, true}}));
    const TJson& metrics = json["metrics"];
    EXPECT_EQ(metrics["beamwidth_deg"].Number(), 360);
    EXPECT_EQ(metrics["front_to_back_db"].Number(), 0);
    EXPECT_TRUE(metrics["side_lobe_db"].IsNull());
    EXPECT_TRUE(metrics["nulls"].Items.empty());
}

// An emitter so far out that every phase term lies beyond the sine's range contributes
// nothing: a pattern of zeros has no level relative to its maximum.
TEST(CliMetrics, ZeroPatternHasNoMetricsAndEmptyDecibels) {
    const TArray model = ModelOf({{1e300L, 1e300L, 0, true}});
    const TJson json = PatternOf(model);
    EXPECT_TRUE(json["metrics"].IsNull());
    EXPECT_EQ(json["labels"]["gain"].Text, "0,000  (-110,00 дБ)");

    TTempDir dir;
    WriteBytes(dir.Path("far.txt"), ConfigText(model, 0));
    const TCliRun csv = RunCli(
        {"pattern", "--format", "csv", "--config", dir.Path("far.txt"), "--decimal-mark", ","});
    EXPECT_NE(csv.Out.find("\n0,180,0,\n"), std::string::npos);
    const TCliRun text =
        RunCli({"pattern", "--config", dir.Path("far.txt"), "--decimal-mark", ","});
    EXPECT_NE(text.Out.find("metrics: none"), std::string::npos);
}

TEST(CliMetrics, TextFormShowsTheSameFigures) {
    TTempDir dir;
    WriteBytes(dir.Path("pair.txt"),
               ConfigText(ModelOf({{-0.125L, 0, 0, true}, {0.125L, 0, 0.25L, true}}), 0));
    const TCliRun run =
        RunCli({"pattern", "--config", dir.Path("pair.txt"), "--decimal-mark", ","});
    EXPECT_NE(run.Out.find("beamwidth: 180,00 deg\nfirst-null beamwidth: 360,00 deg\n"
                           "front-to-back: inf dB\n"),
              std::string::npos)
        << run.Out;
    EXPECT_NE(run.Out.find("\nside lobe: none\nmain lobes: 90,00\nnulls: 270,00 (below -120 dB)\n"),
              std::string::npos)
        << run.Out;
}

// A figure or level with no finite value is an empty CSV cell, where JSON writes null: the
// cardioid's front-to-back ratio, and the levels of an elevation cut against a horizon that
// receives nothing.
TEST(CliMetrics, CsvCellsHoldNoInfinityButStandEmptyWhereJsonHasNull) {
    const std::string examples = ARRAYPATTERN_EXAMPLES_DIR;
    struct TCase {
        const char* Name;
        std::vector<std::string> Args;
        std::string Row;  // a whole row with its empty cells
    };
    const std::vector<TCase> cases = {
        {"sweep of the cardioid",
         {"sweep", "--config", examples + "/cardioid.txt", "--vary", "1:amplitude", "--from", "1",
          "--to", "1", "--steps", "1"},
         "\n1,0,2,90,180,360,,3.13100527192937487845,3.01029995663981195285,,"},
        {"cut against a silent horizon",
         {"pattern", "--format", "csv", "--cut", "elevation", "--config",
          examples + "/dipole-pair-over-ground.txt", "--length", "0.48", "--elevation", "0"},
         "\n180,1,0.00356463106061270101899,\n"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const TCliRun run = RunCli(c.Args);
        ASSERT_EQ(run.ExitCode, 0) << run.Err;
        EXPECT_NE(run.Out.find(c.Row), std::string::npos) << run.Out;
        for (const char* number : {"inf", "nan"})
            EXPECT_EQ(run.Out.find(number), std::string::npos) << number;
    }
}

}  // namespace

// The broadside line's nulls are exact zeros the arithmetic leaves 200 dB down: none has a
// depth worth printing, JSON marks them below the floor, and a true zero stays null there.
TEST(CliMetrics, BroadsideLineNullsReadBelowTheFloorAtTwoDecimalBearings) {
    const std::string line = std::string(ARRAYPATTERN_EXAMPLES_DIR) + "/broadside-line-8.txt";
    const TCliRun text = RunCli({"pattern", "--config", line});
    EXPECT_NE(text.Out.find("\nnulls: 14.48 (below -120 dB) 30.00 (below -120 dB) 48.59 (below "
                            "-120 dB) 90.00 (below -120 dB) 131.41 (below -120 dB)"),
              std::string::npos)
        << text.Out;
    const TJson nulls = ParseJson(
        RunCli({"pattern", "--format", "json", "--config", line}).Out)["metrics"]["nulls"];
    ASSERT_EQ(nulls.Items.size(), 14U);
    for (const TJson& n : nulls.Items) {
        EXPECT_TRUE(n["below_floor"].BooleanValue) << n["bearing"].Number();
        EXPECT_TRUE(n["depth_db"].IsNull() || n["depth_db"].Number() < -120);
    }
    EXPECT_TRUE(nulls[3]["depth_db"].IsNull());  // 90: the field vanishes exactly
    // A finite null above the floor keeps its depth and no mark.
    const std::string cardioid = std::string(ARRAYPATTERN_EXAMPLES_DIR) + "/cardioid.txt";
    const std::vector<std::string> unequal = {"pattern", "--config", cardioid, "--set",
                                              "2:amplitude=0.999"};
    EXPECT_NE(RunCli(unequal).Out.find("\nnulls: 270.00 (-66.02 dB)\n"), std::string::npos);
    std::vector<std::string> json = unequal;
    json.insert(json.end(), {"--format", "json"});
    const TJson finite = ParseJson(RunCli(json).Out)["metrics"]["nulls"];
    ASSERT_EQ(finite.Items.size(), 1U);
    EXPECT_NEAR(static_cast<double>(finite[0]["depth_db"].Number()), -66.02, 0.01);
    EXPECT_EQ(finite[0].Members.count("below_floor"), 0U);
}

struct TSymmetricCase {
    const char* File;
    std::vector<long double> Axes;  // the bearings the array is symmetric about
    const char* Text;
};

// Main lobes solved on the continuous pattern lie on the array's axis of symmetry and print
// rounded: the peak's bearing, not a degree short of it.
TEST(CliMetrics, MainLobesOfSymmetricArraysLieOnTheirAxesAsThePeakDoes) {
    const std::vector<TSymmetricCase> cases = {
        {"four-square.txt", {45}, "main lobes: 45.00\n"},
        {"four-square-monopoles.txt", {45}, "main lobes: 45.00\n"},
        {"yagi-2.txt", {90}, "main lobes: 90.00\n"},
        {"broadside-line-8.txt", {0, 180}, "main lobes: 0.00 180.00\n"},
    };
    for (const auto& c : cases) {
        const std::string file = std::string(ARRAYPATTERN_EXAMPLES_DIR) + "/" + c.File;
        EXPECT_NE(RunCli({"pattern", "--config", file}).Out.find(c.Text), std::string::npos)
            << c.File;
        const TJson json = ParseJson(RunCli({"pattern", "--format", "json", "--config", file}).Out);
        const TJson& lobes = json["metrics"]["main_lobes"];
        ASSERT_EQ(lobes.Items.size(), c.Axes.size()) << c.File;
        for (std::size_t i = 0; i < c.Axes.size(); ++i)
            EXPECT_NEAR(static_cast<double>(lobes[i].Number()), c.Axes[i], 0.01) << c.File;
        const TJson& peak = json["peak_bearing_deg"];
        const bool onALobe = std::any_of(
            lobes.Items.begin(), lobes.Items.end(),
            [&](const TJson& b) { return std::fabs(b.Number() - peak.Number()) < 0.01L; });
        EXPECT_TRUE(onALobe) << c.File << " " << peak.Number();
    }
}

// A bearing rounds, never truncates, and one that rounds to the full circle reads north.
TEST(CliMetrics, BearingsRoundToTwoDecimalsAndTheFullCircleReadsNorth) {
    EXPECT_EQ(BearingText(44.999999L), "45.00");
    EXPECT_EQ(BearingText(89.994L), "89.99");
    EXPECT_EQ(BearingText(359.996L), "0.00");
}
