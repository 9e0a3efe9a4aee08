#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "clirunner.h"
#include "jsonreader.h"

namespace {

std::string Example(const std::string& name) {
    return std::string(ARRAYPATTERN_EXAMPLES_DIR) + "/" + name + ".txt";
}

TCliRun Pattern(std::vector<std::string> args) {
    args.insert(args.begin(), {"pattern", "--decimal-mark", ","});
    return RunCli(args);
}

TJson Json(const std::vector<std::string>& args) {
    std::vector<std::string> all = {"--format", "json"};
    all.insert(all.end(), args.begin(), args.end());
    const TCliRun run = Pattern(all);
    EXPECT_EQ(run.ExitCode, 0) << run.Err;
    return ParseJson(run.Out);
}

// The free-space model meets the window's at the horizon: the same samples to the last digit
// and so the same read-outs and figures; above it, the labels follow its own samples.
TEST(CliModels, FreeSpaceIsTheWindowAtTheHorizonAndItsOwnAbove) {
    for (const char* type : {"0", "1", "2", "3"}) {
        const TJson window = Json({"--type", type, "--focus", "100"});
        const TJson free = Json({"--type", type, "--focus", "100", "--model", "free-space"});
        EXPECT_EQ(free["model"].Text, "free-space");
        for (std::size_t i = 0; i < 361; ++i) {
            ASSERT_EQ(free["samples"][i].Text, window["samples"][i].Text) << type << " " << i;
        }
        EXPECT_EQ(free["labels"]["gain"].Text, window["labels"]["gain"].Text);
        EXPECT_EQ(free["metrics"]["beamwidth_deg"].Text, window["metrics"]["beamwidth_deg"].Text);
    }
    const TJson raised = Json({"--model", "free-space", "--elevation", "40", "--type", "1"});
    long double largest = 0;
    for (const auto& s : raised["samples"].Items) largest = std::max(largest, s.Number());
    EXPECT_EQ(raised["max_gain"].Number(), largest);
    EXPECT_NE(raised["max_gain"].Text, Json({"--elevation", "40", "--type", "1"})["max_gain"].Text);
}

TEST(CliModels, ElevationCutStartsAtTheSampleOfItsBearing) {
    const TJson json = Json({"--config", Example("four-square")});
    const TJson& cut = json["elevation_cut"];
    EXPECT_EQ(cut["bearing"].Number(), 45);  // the maximum's by default
    ASSERT_EQ(cut["samples"].Items.size(), 91u);
    EXPECT_EQ(cut["samples"][0].Text, json["samples"][225].Text);
    EXPECT_LT(cut["samples"][90].Number(), 1e-15);  // vertical dipoles are mute at the zenith

    const TJson east = Json({"--config", Example("four-square"), "--bearing", "90"});
    EXPECT_EQ(east["elevation_cut"]["bearing"].Number(), 90);
    EXPECT_EQ(east["elevation_cut"]["samples"][0].Text, json["samples"][270].Text);

    const TCliRun csv = Pattern({"--format", "csv", "--cut", "elevation", "--bearing", "90",
                                 "--config", Example("four-square")});
    ASSERT_EQ(csv.ExitCode, 0) << csv.Err;
    const auto lines = Lines(csv.Out);
    ASSERT_EQ(lines.size(), 92u);
    EXPECT_EQ(lines[0], "bearing,elevation,value,db");
    EXPECT_EQ(lines[1].substr(0, 5), "90,0,");
    EXPECT_EQ(lines[91].substr(0, 6), "90,90,");
}

TEST(CliModels, DirectivityIsNullWhereNothingRadiates) {
    TTempDir dir;
    WriteBytes(dir.Path("cancel.txt"),
               ConfigText(ModelOf({{0.3L, -0.2L, 0, true}, {0.3L, -0.2L, 0.5L, true}}), 0));
    const TJson json = Json({"--config", dir.Path("cancel.txt")});
    EXPECT_TRUE(json["directivity_dbi"].IsNull());
    EXPECT_TRUE(json["peak_directivity_dbi"].IsNull());
    const TCliRun text = Pattern({"--config", dir.Path("cancel.txt")});
    EXPECT_NE(text.Out.find("directivity: none"), std::string::npos) << text.Out;
}

// One result per file in order; a file that fails is named on standard error, the others
// still run, and the exit status is the worst.
TEST(CliBatch, EachFormatGivesOneResultPerFileInOrder) {
    TTempDir dir;
    const std::string missing = dir.Path("missing.txt");
    const std::vector<std::string> files = {"--config", Example("cardioid"),
                                            "--config", missing,
                                            "--config", Example("broadside-pair")};
    std::vector<std::string> json = {"--format", "json"};
    json.insert(json.end(), files.begin(), files.end());
    const TCliRun jsonRun = Pattern(json);
    EXPECT_EQ(jsonRun.ExitCode, 2);
    EXPECT_NE(jsonRun.Err.find(missing), std::string::npos) << jsonRun.Err;
    const auto objects = Lines(jsonRun.Out);
    ASSERT_EQ(objects.size(), 2u);
    EXPECT_EQ(ParseJson(objects[0])["config"].Text, Example("cardioid"));
    EXPECT_EQ(ParseJson(objects[0])["bearing"].Number(), 90);
    EXPECT_EQ(ParseJson(objects[1])["config"].Text, Example("broadside-pair"));

    std::vector<std::string> csv = {"--format", "csv"};
    csv.insert(csv.end(), files.begin(), files.end());
    const auto rows = Lines(Pattern(csv).Out);
    ASSERT_EQ(rows.size(), 1u + 2 * 361);
    EXPECT_EQ(rows[0], "config,index,bearing,value,db");
    EXPECT_EQ(rows[1].rfind("\"" + Example("cardioid") + "\",0,180,", 0), 0u);
    EXPECT_EQ(rows[362].rfind("\"" + Example("broadside-pair") + "\",0,180,", 0), 0u);

    const TCliRun text = Pattern(files);
    EXPECT_EQ(text.Out.rfind("== " + Example("cardioid") + "\n", 0), 0u);
    EXPECT_NE(text.Out.find("\n\n== " + Example("broadside-pair") + "\n"), std::string::npos);
}

// A file that switches every emitter off keeps emitter 1 on and says so on standard error,
// after a warning that it loads empty: alone in the reader's language (in Russian the window's
// own words), in a batch after its path; either way the command succeeds.
TEST(CliBatch, AllOffFileKeepsEmitterOneOnAloneAndInABatch) {
    TTempDir dir;
    TArray allOff = MakeInitialArray();
    for (auto& e : allOff.Emitters) e.Enabled = false;
    WriteBytes(dir.Path("all-off.txt"), ConfigText(allOff, 0));
    const TCliRun alone = Pattern({"--format", "json", "--config", dir.Path("all-off.txt")});
    EXPECT_EQ(alone.ExitCode, 0);
    EXPECT_EQ(alone.Err, "arraypattern-cli: warning: " + dir.Path("all-off.txt") +
                             ": no emitter is switched on: the array loads empty\n"
                             "One emitter must be left switched on!\n");
    const TJson json = ParseJson(alone.Out);
    for (std::size_t k = 0; k < 8; ++k) {
        EXPECT_EQ(json["emitters"][k]["enabled"].BooleanValue, k == 0) << k;
    }

    const TCliRun batch = Pattern({"--lang", "ru", "--format", "json", "--config",
                                   dir.Path("all-off.txt"), "--config", Example("cardioid")});
    EXPECT_EQ(batch.ExitCode, 0) << batch.Err;
    EXPECT_NE(batch.Err.find(dir.Path("all-off.txt") +
                             ": Один излучатель необходимо оставить включенным!\n"),
              std::string::npos)
        << batch.Err;
    EXPECT_EQ(Lines(batch.Out).size(), 2u);
}

TEST(CliBadInput, EveryBadValueIsAUsageErrorNamingIt) {
    TTempDir dir;
    const std::string out = dir.Path("out.png");
    const std::string cardioid = Example("cardioid");
    const struct {
        std::vector<std::string> Args;
        std::string Named;  // what the one line of the error must name
    } cases[] = {
        {{"pattern", "--bearing", "360"}, "'360'"},
        {{"pattern", "--bearing", "-1"}, "'-1'"},
        {{"pattern", "--model", "ground"}, "'ground'"},
        {{"plot", "--kind", "smith", out}, "'smith'"},
        {{"pattern", "--format", "csv", "--cut", "azimuth"}, "'azimuth'"},
        {{"pattern", "--cut", "elevation"}, "--cut"},
        {{"plot", "--kind", "report", out, "--bearing", "400"}, "'400'"},
        {{"plot", "--kind", "diagram", "--config", cardioid, "--config", cardioid, out},
         "--kind diagram"},
        {{"save", "--config", cardioid, "--config", cardioid, dir.Path("a.txt")}, "--config"},
    };
    for (const auto& c : cases) {
        const TCliRun run = RunCli(c.Args);
        EXPECT_EQ(run.ExitCode, 2) << c.Named;
        EXPECT_EQ(run.Out, "") << c.Named;
        EXPECT_EQ(Lines(run.Err).size(), 1u) << run.Err;
        EXPECT_NE(run.Err.find(c.Named), std::string::npos) << run.Err;
        EXPECT_TRUE(dir.Entries().empty()) << c.Named;
    }
}

// An array too wide for the searches ends at once, its ground figures none with the reason.
TEST(CliModels, AnArrayTooWideToSearchHasNoGroundFiguresAndSaysWhy) {
    const TCliRun run = RunCli(
        {"pattern", "--type", "2", "--ground", "perfect", "--height", "0.01", "--set", "2:x=1500"});
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_NE(run.Out.find("take-off: none (the array is wider than 200 wavelengths"),
              std::string::npos)
        << run.Out;
}

}  // namespace
