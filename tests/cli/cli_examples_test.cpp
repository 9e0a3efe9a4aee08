#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "clirunner.h"
#include "jsonreader.h"

namespace {

TJson ExampleJson(const std::string& name) {
    const TCliRun run = RunCli({"pattern", "--format", "json", "--decimal-mark", ",", "--config",
                                std::string(ARRAYPATTERN_EXAMPLES_DIR) + "/" + name + ".txt"});
    EXPECT_EQ(run.ExitCode, 0) << name << ": " << run.Err;
    return ParseJson(run.Out);
}

double Number(const TJson& json) {
    return static_cast<double>(json.Number());
}

// Each shipped example against what antenna theory says of it. Directivities: N isotropic
// emitters half a wavelength apart in phase give N (their pair integrals vanish), so do the
// quarter-wave cardioid and the half-wave end-fire pair (2); the close-spaced 180-degree pair
// is superdirective, 4 sin^2(pi/8) / (2 - 2 sinc(pi/4)).
TEST(Examples, ClassicArraysGiveTheirTextbookFigures) {
    const double closePair = 10 * std::log10(4 * std::pow(std::sin(M_PI / 8), 2) /
                                             (2 - 2 * std::sin(M_PI / 4) / (M_PI / 4)));
    const struct {
        const char* Name;
        int Bearing;
        double Beamwidth;
        double Dbi;
        std::vector<double> Nulls;  // where the pattern vanishes: sin(bearing) = k / 4
    } cases[] = {
        {"broadside-pair", 180, 60, 10 * std::log10(2.0), {90, 270}},
        {"end-fire-pair", 270, 120, 10 * std::log10(2.0), {0, 180}},
        {"cardioid", 90, 180, 10 * std::log10(2.0), {270}},
        {"broadside-line-8",
         180,
         12.8,
         10 * std::log10(8.0),
         {14.477512, 30, 48.590378, 90, 131.409622, 150, 165.522488, 194.477512, 210, 228.590378,
          270, 311.409622, 330, 345.522488}},
        {"pair-180-eighth-wave", 270, 91.5, closePair, {0, 180}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const TJson json = ExampleJson(c.Name);
        EXPECT_EQ(json["bearing"].Number(), c.Bearing);
        const TJson& metrics = json["metrics"];
        EXPECT_NEAR(Number(metrics["beamwidth_deg"]), c.Beamwidth, 0.05);
        ASSERT_EQ(metrics["nulls"].Items.size(), c.Nulls.size());
        for (std::size_t i = 0; i < c.Nulls.size(); ++i) {
            EXPECT_NEAR(Number(metrics["nulls"][i]["bearing"]), c.Nulls[i], 2e-6) << i;
        }
        EXPECT_NEAR(Number(json["directivity_dbi"]), c.Dbi, 1e-9);
        EXPECT_NEAR(Number(json["peak_directivity_dbi"]), c.Dbi, 1e-6);
    }
}

TEST(Examples, FourSquareBeamsAlongItsDiagonal) {
    const TJson json = ExampleJson("four-square");
    EXPECT_EQ(json["type"].Number(), 1);
    EXPECT_EQ(json["bearing"].Number(), 45);
    EXPECT_EQ(json["labels"]["gain"].Text, "3,792  (5,79 дБ)");
    const TJson& metrics = json["metrics"];
    EXPECT_NEAR(Number(metrics["beamwidth_deg"]), 97.41, 0.01);
    EXPECT_NEAR(Number(metrics["front_to_back_db"]), 25.22, 0.01);
    EXPECT_NEAR(Number(metrics["front_to_rear_db"]), 12.99, 0.01);
    EXPECT_NEAR(Number(json["peak_bearing_deg"]), 45, 0.01);
    EXPECT_NEAR(Number(json["peak_elevation_deg"]), 0, 0.01);
    EXPECT_NEAR(Number(json["directivity_dbi"]), 7.3178, 1e-4);
}

}  // namespace
