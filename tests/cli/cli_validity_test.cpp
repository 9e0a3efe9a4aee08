#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "clirunner.h"
#include "jsonreader.h"

namespace {

const std::string kExamples = ARRAYPATTERN_EXAMPLES_DIR;

// The emitters the named rule names, or "absent" where the case has no such rule.
std::string RuleEmitters(const TJson& pattern, const std::string& name) {
    for (const TJson& rule : pattern["coupling"]["validity"]["rules"].Items) {
        if (rule["name"].Text != name) continue;
        std::string numbers;
        for (const TJson& k : rule["emitters"].Items)
            numbers += (numbers.empty() ? "" : " ") + k.Text;
        return numbers;
    }
    return "absent";
}

}  // namespace

TEST(CliValidity, EveryExampleWithWiresHoldsEveryRuleAndWarnsOfNothing) {
    int withWires = 0;
    for (const auto& entry : std::filesystem::directory_iterator(kExamples)) {
        if (entry.path().extension() != ".txt") continue;
        SCOPED_TRACE(entry.path().string());
        const TCliRun run = RunCli({"pattern", "--format", "json", "--config", entry.path()});
        ASSERT_EQ(run.ExitCode, 0) << run.Err;
        EXPECT_EQ(run.Err.find("warning"), std::string::npos) << run.Err;
        const TJson pattern = ParseJson(run.Out);
        if (pattern["coupling"].IsNull()) continue;
        ++withWires;
        for (const TJson& rule : pattern["coupling"]["validity"]["rules"].Items)
            EXPECT_TRUE(rule["emitters"].Items.empty()) << rule["name"].Text;
    }
    EXPECT_GE(withWires, 3);
}

TEST(CliValidity, EachBrokenRuleNamesItsEmittersAndStrictWritesNothing) {
    struct TRow {
        std::string Rule;
        std::vector<std::string> Args;
        std::string Emitters;
    };
    const std::string monopoles = kExamples + "/four-square-monopoles.txt";
    const std::string overGround = kExamples + "/dipole-pair-over-average-ground.txt";
    const std::vector<TRow> rows = {
        {"radius_to_segment",
         {"--config", monopoles, "--set", "2:radius=0.004", "--modes-per-wavelength", "400"},
         "2"},
        {"radius_wl", {"--config", monopoles, "--set", "3:radius=0.012"}, "3"},
        {"spacing_to_radius",
         {"--config", monopoles, "--radius", "0.0025", "--set", "4:x=-0.116", "--set",
          "4:y=-0.125"},
         "1 4"},
        // The earth's own field refuses wires this low; the reflection model solves and warns.
        {"height_to_radius",
         {"--config", overGround, "--ground-model", "reflection", "--height", "0.0015"},
         "1 2"},
        {"height_wl",
         {"--config", overGround, "--ground-model", "reflection", "--height", "0.0008"},
         "1 2"},
        // A vertical lifted off perfect ground is a dipole: no ground rule, no monopole.
        {"height_wl", {"--config", monopoles, "--height", "0.3"}, "absent"},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Rule + " " + row.Args.back());
        std::vector<std::string> args = {"pattern", "--format", "json"};
        args.insert(args.end(), row.Args.begin(), row.Args.end());
        const TCliRun run = RunCli(args);
        ASSERT_EQ(run.ExitCode, 0) << run.Err;
        const TJson pattern = ParseJson(run.Out);
        EXPECT_EQ(RuleEmitters(pattern, row.Rule), row.Emitters);
        if (row.Emitters == "absent") {
            EXPECT_EQ(pattern["coupling"]["validity"]["elements"].Text, "dipoles");
            continue;
        }
        EXPECT_NE(run.Err.find("at emitters " + row.Emitters.substr(0, 1)), std::string::npos)
            << run.Err;
        args.push_back("--strict");
        const TCliRun strict = RunCli(args);
        EXPECT_EQ(strict.ExitCode, 1);
        EXPECT_TRUE(strict.Out.empty());
    }
}
