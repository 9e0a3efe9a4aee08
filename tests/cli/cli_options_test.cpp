#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "clirunner.h"
#include "jsonreader.h"

namespace {

std::string Example(const std::string& name) {
    return std::string(ARRAYPATTERN_EXAMPLES_DIR) + "/" + name + ".txt";
}

const std::string kFourSquare = Example("four-square");
const std::string kGrounded = Example("four-square-over-average-ground");

struct TPairCase {
    std::vector<std::string> Args;  // OUT is added for the commands that write one
    int Exit;
};

// Which options go with which command, written out by hand rather than from the table the
// program reads: a row moved to the wrong command shows here.
TEST(CliOptions, EachOptionIsAcceptedOnlyByTheCommandsItAppliesTo) {
    const std::vector<TPairCase> cases = {
        {{"pattern", "--format", "json"}, 0},
        {{"sweep", "--format", "json", "--vary", "elevation", "--from", "0", "--to", "1", "--steps",
          "2"},
         0},
        {{"plot", "--format", "json", "--kind", "polar-db", "p.svg"}, 2},
        {{"export", "--elevation", "10", "e.bmp"}, 0},
        {{"save", "--elevation", "10", "s.txt"}, 2},
        {{"save", "--ground", "perfect", "--type", "1", "s.txt"}, 0},
        {{"export", "--ground", "perfect", "e.bmp"}, 2},
        {{"design", "--ground", "perfect", "--type", "1", "--height", "0.25", "--goal",
          "max-directivity", "d.txt"},
         0},
        {{"design", "--model", "free-space", "--goal", "max-directivity", "d.txt"}, 2},
        {{"nec", "--model", "free-space", "n.nec"}, 0},
        {{"save", "--model", "free-space", "s.txt"}, 2},
        {{"nec", "--dipole-length", "0.05", "n.nec"}, 0},
        {{"pattern", "--dipole-length", "0.05"}, 2},
        {{"design", "--bearing", "90", "--goal", "max-directivity", "d.txt"}, 0},
        {{"export", "--bearing", "90", "e.bmp"}, 2},
        {{"pattern", "--goal", "nulls"}, 2},
        {{"sweep", "--kind", "3d", "--vary", "elevation", "--from", "0", "--to", "1", "--steps",
          "2"},
         2},
        {{"pattern", "--vary", "elevation"}, 2},
        {{"plot", "--kind", "3d", "--floor", "-20", "--view", "90,10", "p.svg"}, 0},
        {{"plot", "--kind", "polar-db", "--floor", "-20", "p.svg"}, 2},
        {{"plot", "--kind", "polar-db", "--scale", "relative", "p.svg"}, 0},
        {{"plot", "--kind", "3d", "--scale", "relative", "p.svg"}, 2},
        {{"pattern", "--format", "csv", "--cut", "elevation"}, 0},
        {{"pattern", "--cut", "elevation"}, 2},
        {{"save", "--strict", "--lang", "en", "--decimal-mark", ",", "s.txt"}, 0},
        {{"pattern", "--model", "window", "--height", "0.5"}, 2},
        {{"pattern", "--height", "0.5"}, 2},
    };
    for (const TPairCase& c : cases) {
        TTempDir dir;
        std::vector<std::string> args;
        for (const std::string& a : c.Args) {
            args.push_back(a.find('.') != std::string::npos && a.size() > 4 ? dir.Path(a) : a);
        }
        const TCliRun run = RunCli(args);
        std::string line;
        for (const auto& a : c.Args) line += a + " ";
        EXPECT_EQ(run.ExitCode, c.Exit) << line << "\n" << run.Err;
        if (c.Exit == 2) {
            EXPECT_EQ(Lines(run.Err).size(), 1U) << line << "\n" << run.Err;
            EXPECT_TRUE(dir.Entries().empty()) << line;
        }
    }
}

TEST(CliOptions, AnOptionOfAnotherCommandIsRefusedNamingBoth) {
    const TCliRun run = RunCli({"pattern", "--kind", "3d"});
    EXPECT_EQ(run.ExitCode, 2);
    EXPECT_NE(run.Err.find("--kind"), std::string::npos) << run.Err;
    EXPECT_NE(run.Err.find("plot"), std::string::npos) << run.Err;
    EXPECT_NE(run.Err.find("pattern"), std::string::npos) << run.Err;
}

// The README's mast-height workflow on the README's own example: the options outweigh the
// file's height, as they do every other value of it.
TEST(CliOptions, TheHeightOfAFileThatSetsAGroundCanBeChanged) {
    const TCliRun changed =
        RunCli({"pattern", "--config", kGrounded, "--height", "0.5", "--format", "json"});
    ASSERT_EQ(changed.ExitCode, 0) << changed.Err;
    EXPECT_EQ(ParseJson(changed.Out)["ground"]["height"].Number(), 0.5L);
    EXPECT_EQ(ParseJson(changed.Out)["ground"]["kind"].Text, "real");

    const TCliRun swept = RunCli({"sweep", "--config", kGrounded, "--vary", "height", "--from",
                                  "0.25", "--to", "1", "--steps", "4"});
    ASSERT_EQ(swept.ExitCode, 0) << swept.Err;
    EXPECT_EQ(Lines(swept.Out).size(), 5U);

    TTempDir dir;
    const TCliRun heights = RunCli({"plot", "--config", kGrounded, "--kind", "elevation-heights",
                                    "--height", "0.25", "--height", "0.5", dir.Path("h.svg")});
    EXPECT_EQ(heights.ExitCode, 0) << heights.Err;
    EXPECT_TRUE(FileExists(dir.Path("h.svg")));

    // Without any ground the height still has nothing to stand on.
    const TCliRun alone = RunCli({"sweep", "--config", kFourSquare, "--vary", "height", "--from",
                                  "0", "--to", "1", "--steps", "2"});
    EXPECT_EQ(alone.ExitCode, 2);
    EXPECT_NE(alone.Err.find("ground"), std::string::npos) << alone.Err;
}

struct TFrontCase {
    std::string Goal;
    std::string Amplitudes;
    int Bearing;
};

// The design keeps the beam at the bearing asked for, says the figure the written file has,
// and never writes a worse antenna than it was given.
TEST(CliOptions, FrontToBackDesignKeepsTheBeamAndReportsTheWrittenFilesFigure) {
    const std::vector<TFrontCase> cases = {{"front-to-back", "free", 45},
                                           {"front-to-back", "fixed", 45},
                                           {"front-to-rear", "free", 45},
                                           {"front-to-back", "fixed", 120}};
    for (const TFrontCase& c : cases) {
        TTempDir dir;
        const std::string out = dir.Path("d.txt");
        const std::string bearing = std::to_string(c.Bearing);
        const TCliRun design = RunCli({"design", "--config", kFourSquare, "--goal", c.Goal,
                                       "--bearing", bearing, "--amplitudes", c.Amplitudes, out});
        const std::string name = c.Goal + " " + c.Amplitudes + " " + bearing;
        if (design.ExitCode == 1) {
            // Refused: the message gives both figures, and nothing is written.
            EXPECT_NE(design.Err.find("does not improve"), std::string::npos) << design.Err;
            EXPECT_FALSE(FileExists(out)) << name;
            continue;
        }
        ASSERT_EQ(design.ExitCode, 0) << name << design.Err;
        const TJson written =
            ParseJson(RunCli({"pattern", "--config", out, "--format", "json"}).Out);
        const long double beam = written["bearing"].Number();
        EXPECT_LE(std::fabs(std::remainder(beam - c.Bearing, 360.0L)), 1) << name;
        const std::string key = c.Goal == "front-to-back" ? "front_to_back_db" : "front_to_rear_db";
        const std::string last = Lines(design.Out).back();
        const std::string prefix = c.Goal + ": ";
        ASSERT_EQ(last.rfind(prefix, 0), 0U) << last;
        EXPECT_NEAR(std::stold(last.substr(prefix.size())), written["metrics"][key].Number(),
                    0.005L)
            << name;
    }
}

TEST(CliOptions, ADesignThatDoesNotImproveOnTheInputLeavesTheFileAsItWas) {
    // A pair on a line beams alike to either side of it: no excitation keeps its beam at 70
    // alone, while the input's back at 250 is already deep.
    TTempDir dir;
    const std::string out = dir.Path("d.txt");
    WriteBytes(out, "kept\r\n");
    const TCliRun run = RunCli({"design", "--config", Example("cardioid"), "--goal",
                                "front-to-back", "--bearing", "70", out});
    EXPECT_EQ(run.ExitCode, 1) << run.Err;
    EXPECT_NE(run.Err.find("does not improve"), std::string::npos) << run.Err;
    EXPECT_NE(run.Err.find("26.48 dB"), std::string::npos) << run.Err;
    EXPECT_EQ(ReadBytes(out), "kept\r\n");
    EXPECT_EQ(run.Out, "");

    // Its back at 270 is a perfect null: the input's own excitation is kept, as good as any.
    const TCliRun perfect = RunCli({"design", "--config", Example("cardioid"), "--goal",
                                    "front-to-back", "--bearing", "90", out});
    EXPECT_EQ(perfect.ExitCode, 0) << perfect.Err;
    EXPECT_NE(perfect.Out.find("front-to-back: inf dB"), std::string::npos) << perfect.Out;
}

// Saving over an earlier file leaves none of its ground or currents behind: the file loads
// back as the array saved.
TEST(CliOptions, SaveAndDesignOverAnEarlierFileLoadBackAsWritten) {
    const std::string earlier =
        "[\xC2\xF1\xE5 \xE8\xE7\xEB\xF3\xF7\xE0\xF2\xE5\xEB\xE8]\r\n\xD2\xE8\xEF=1\r\n"
        "\xC7\xE5\xEC\xEB\xFF=1\r\n\xC2\xFB\xF1\xEE\xF2\xE0=0.5\r\n"
        "[\xC8\xE7\xEB\xF3\xF7\xE0\xF2\xE5\xEB\xFC "
        "1]\r\n\xC0\xEC\xEF\xEB\xE8\xF2\xF3\xE4\xE0=0.3\r\n";
    for (const std::vector<std::string>& command :
         {std::vector<std::string>{"save"},
          std::vector<std::string>{"design", "--goal", "max-directivity", "--bearing", "45"}}) {
        TTempDir dir;
        const std::string out = dir.Path("out.txt");
        WriteBytes(out, earlier);
        std::vector<std::string> args = command;
        args.insert(args.end(), {"--config", kFourSquare, out});
        const TCliRun run = RunCli(args);
        ASSERT_EQ(run.ExitCode, 0) << command[0] << run.Err;
        const TCliRun back = RunCli({"pattern", "--config", out, "--format", "json"});
        ASSERT_EQ(back.ExitCode, 0) << command[0] << back.Err;
        const TJson json = ParseJson(back.Out);
        EXPECT_TRUE(json["ground"].IsNull()) << command[0];
        if (command[0] == "save") {
            EXPECT_EQ(json["emitters"][0U]["amplitude"].Number(), 1);
        }
    }
}

// A sweep's values come from both ends, so the last is --to itself and each prints as typed.
TEST(CliOptions, SweepValuesAreExactAtBothEndsAndPrintAsTheShortestText) {
    const TCliRun steps =
        RunCli({"sweep", "--vary", "elevation", "--from", "0", "--to", "1", "--steps", "21"});
    ASSERT_EQ(steps.ExitCode, 0) << steps.Err;
    const std::vector<std::string> lines = Lines(steps.Out);
    ASSERT_EQ(lines.size(), 22U);
    EXPECT_EQ(lines[2].substr(0, lines[2].find(',')), "0.05");
    EXPECT_EQ(lines[2].substr(0, 10), "0.05,0.05,");
    EXPECT_EQ(lines.back().substr(0, 4), "1,1,");

    const TCliRun step =
        RunCli({"sweep", "--vary", "1:x", "--from", "0", "--to", "1", "--step", "0.1"});
    ASSERT_EQ(step.ExitCode, 0) << step.Err;
    EXPECT_EQ(Lines(step.Out).size(), 12U);
    EXPECT_EQ(Lines(step.Out).back().substr(0, 2), "1,");

    // A span that is not a whole number of steps ends at the last step inside it.
    const TCliRun inside =
        RunCli({"sweep", "--vary", "1:x", "--from", "0", "--to", "1", "--step", "0.3"});
    ASSERT_EQ(inside.ExitCode, 0) << inside.Err;
    ASSERT_EQ(Lines(inside.Out).size(), 5U);
    EXPECT_LT(std::stold(Lines(inside.Out).back()), 1);
}

TEST(CliOptions, HelpNamesEveryTypeAndTheRangeOfEveryOption) {
    const TCliRun run = RunCli({"--help"});
    ASSERT_EQ(run.ExitCode, 0);
    // The help is filled to its width: phrases may break across lines.
    std::string help;
    for (const char c : run.Out) {
        const bool blank = c == ' ' || c == '\n';
        if (!blank || (!help.empty() && help.back() != ' ')) help += blank ? ' ' : c;
    }
    for (const char* text : {"0 isotropic", "1 vertical dipoles", "wire west-east",
                             "lobes north and south", "wire south-north", "lobes east and west",
                             "from 0.0001 to 0.1 (default 0.02)", "from 0 to 85 (default 0"}) {
        EXPECT_NE(help.find(text), std::string::npos) << text;
    }
    EXPECT_EQ(RunCli({"--help", "--lang", "ru"}).ExitCode, 0);
}

// A file of many faults: the reader is told what was passed over, briefly, and --strict
// counts every fault.
TEST(CliOptions, WarningsArePrintedTwentyAFileAndStrictCountsThemAll) {
    TTempDir dir;
    std::string text = ConfigText(ModelOf({{0, 0, 0, true}, {0.5L, 0, 0, true}}), 0);
    for (int k = 0; k < 30; ++k) text += "[Unknown " + std::to_string(k) + "]\r\n";
    const std::string file = dir.Path("many.txt");
    WriteBytes(file, text);
    const TCliRun run = RunCli({"pattern", "--config", file});
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(Lines(run.Err).size(), 21U) << run.Err;
    EXPECT_NE(Lines(run.Err).back().find("10"), std::string::npos) << run.Err;
    const TCliRun strict = RunCli({"pattern", "--strict", "--config", file});
    EXPECT_EQ(strict.ExitCode, 1);
    EXPECT_NE(strict.Err.find("30 warnings"), std::string::npos) << strict.Err;
}

// A sweep's row and pattern's JSON read one catalogue of figures: every column is a JSON
// figure of the same value, and empty where JSON writes null (an infinite ratio among them).
TEST(CliOptions, SweepColumnsAreTheJsonFiguresWithTheSameValues) {
    for (const std::string& config : {kFourSquare, kGrounded}) {
        // Emitter 1's own amplitude again: the array of the file itself.
        const TCliRun sweep = RunCli({"sweep", "--config", config, "--vary", "1:amplitude",
                                      "--from", "1", "--to", "1", "--steps", "1"});
        const TCliRun pattern = RunCli({"pattern", "--config", config, "--format", "json"});
        ASSERT_EQ(sweep.ExitCode, 0) << sweep.Err;
        ASSERT_EQ(pattern.ExitCode, 0) << pattern.Err;
        const TJson json = ParseJson(pattern.Out);
        const std::vector<std::string> lines = Lines(sweep.Out);
        ASSERT_EQ(lines.size(), 2U);
        std::vector<std::string> names;
        std::vector<std::string> values;
        for (auto* list : {&names, &values}) {
            const std::string& line = list == &names ? lines[0] : lines[1];
            for (std::size_t from = 0;;) {
                const auto comma = line.find(',', from);
                list->push_back(line.substr(from, comma - from));
                if (comma == std::string::npos) break;
                from = comma + 1;
            }
        }
        ASSERT_EQ(names.size(), values.size());
        for (std::size_t i = 1; i < names.size(); ++i) {
            const std::string& name = names[i];
            const TJson* figure = nullptr;
            if (json.Members.count(name)) {
                figure = &json[name];
            } else if (json["metrics"].Members.count(name)) {
                figure = &json["metrics"][name];
            } else if (name == "takeoff_low_deg" || name == "takeoff_high_deg") {
                figure = &json["takeoff_range_deg"][name == "takeoff_low_deg" ? 0U : 1U];
            }
            ASSERT_NE(figure, nullptr) << name;
            if (figure->IsNull()) {
                EXPECT_EQ(values[i], "") << name;
            } else {
                EXPECT_EQ(std::stold(values[i]), figure->Number()) << name;
            }
        }
    }
}

struct TPassedOverCase {
    const char* Name;
    std::vector<std::string> Args;
    std::string Warning;  // empty: the call is clean
};

// What the command line gives and the call passes over is said on standard error, and
// --strict fails the call on it; what is taken is not.
TEST(CliOptions, PassedOverOptionsWarnAndStrictFails) {
    const std::vector<TPassedOverCase> cases = {
        {"radius without lengths",
         {"pattern", "--radius", "0.001"},
         "warning: --radius, --feed and --z0"},
        {"feed without lengths",
         {"nec", "--feed", "voltage", "o.nec"},
         "warning: --radius, --feed and --z0 apply to wires, and no emitter has a length"},
        {"z0 without lengths",
         {"pattern", "--z0", "75"},
         "warning: --radius, --feed and --z0 apply to wires, and no emitter has a length"},
        {"length repeated",
         {"pattern", "--type", "1", "--length", "0.5", "--length", "0.4"},
         "warning: --length is given more than once: 0.4 replaces 0.5"},
        {"elevation repeated",
         {"pattern", "--elevation", "10", "--elevation=20"},
         "--elevation is given more than once"},
        {"radius with a length",
         {"pattern", "--type", "1", "--length", "0.5", "--radius", "0.001"},
         ""},
        {"radius with the file's lengths",
         {"pattern", "--config", Example("yagi-2"), "--radius", "0.001"},
         ""},
        {"the same value twice", {"pattern", "--elevation", "10", "--elevation", "10"}, ""},
    };
    TTempDir dir;
    for (const TPassedOverCase& c : cases) {
        std::vector<std::string> args = c.Args;
        if (args.front() == "nec") args.back() = dir.Path(args.back());
        const TCliRun run = RunCli(args);
        EXPECT_EQ(run.ExitCode, 0) << c.Name << ": " << run.Err;
        args.push_back("--strict");
        const TCliRun strict = RunCli(args);
        if (c.Warning.empty()) {
            EXPECT_EQ(run.Err, "") << c.Name;
            EXPECT_EQ(strict.ExitCode, 0) << c.Name << ": " << strict.Err;
            continue;
        }
        EXPECT_NE(run.Err.find(c.Warning), std::string::npos) << c.Name << run.Err;
        EXPECT_EQ(strict.ExitCode, 1) << c.Name;
        EXPECT_EQ(strict.Out, "") << c.Name;
        EXPECT_NE(strict.Err.find("--strict"), std::string::npos) << c.Name << strict.Err;
    }
}

}  // namespace
