#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include "clirunner.h"
#include "jsonreader.h"

// Amplitudes from the file and from --set, and what the outputs say of them.

namespace {

TJson Json(const std::vector<std::string>& more) {
    std::vector<std::string> args = {"pattern", "--format", "json", "--decimal-mark", "."};
    args.insert(args.end(), more.begin(), more.end());
    const TCliRun run = RunCli(args);
    EXPECT_EQ(run.ExitCode, 0) << run.Err;
    return ParseJson(run.Out);
}

TEST(CliExcitation, SetChangesOneFieldAfterLoadingAndBeforeFocusing) {
    // A current's angle of -90 degrees is a lag of a quarter period; the cardioid beams
    // towards the lagging element.
    const TJson pair = Json({"--type", "0", "--set", "3:on=0", "--set", "4:on=0", "--set",
                             "1:x=-0.125", "--set", "1:y=0", "--set", "1:phase=0", "--set",
                             "2:x=0.125", "--set", "2:y=0", "--set", "2:phase=-90deg"});
    EXPECT_EQ(pair["emitters"][1]["phase"].Number(), 0.25L);
    EXPECT_EQ(pair["bearing"].Number(), 90);
    EXPECT_NEAR(static_cast<double>(pair["max_gain"].Number()), 2, 1e-15);
    // Switching off the last emitter on is refused as the window refuses it.
    const TCliRun refused = RunCli(
        {"pattern", "--set", "1:on=0", "--set", "2:on=0", "--set", "3:on=0", "--set", "4:on=0"});
    EXPECT_EQ(refused.ExitCode, 0);
    EXPECT_NE(refused.Err.find("One emitter must be left switched on!"), std::string::npos);
    // Focusing comes after the settings and rewrites the phases of the emitters on.
    const TJson focused = Json({"--set", "1:amplitude=0.5", "--focus", "45"});
    EXPECT_EQ(focused["emitters"][0]["amplitude"].Number(), 0.5L);
    EXPECT_EQ(focused["bearing"].Number(), 45);
    EXPECT_NEAR(static_cast<double>(focused["max_gain"].Number()), 3.5, 1e-15);
    for (const char* bad : {"9:x=0", "1:z=0", "1:amplitude=-1", "1:on=2", "1:x", "1:phase=abc"}) {
        const TCliRun run = RunCli({"pattern", "--set", bad});
        EXPECT_EQ(run.ExitCode, 2) << bad;
        EXPECT_NE(run.Err.find("--set"), std::string::npos) << run.Err;
    }
}

TEST(CliExcitation, AmplitudesLoadSaveAndWarn) {
    TTempDir dir;
    const std::string file = dir.Path("a.txt");
    ASSERT_EQ(RunCli({"save", file, "--set", "2:amplitude=0.5"}).ExitCode, 0);
    const std::string saved = ReadBytes(file);
    // Written where it is not 1 only: once.
    const std::string key = "\xC0\xEC\xEF\xEB\xE8\xF2\xF3\xE4\xE0=";
    EXPECT_EQ(saved.find(key), saved.rfind(key));
    EXPECT_NE(saved.find(key + "0"), std::string::npos);
    const TJson loaded = Json({"--config", file});
    EXPECT_EQ(loaded["emitters"][1]["amplitude"].Number(), 0.5L);
    EXPECT_EQ(loaded["emitters"][0]["amplitude"].Number(), 1);

    std::string bad = saved;
    bad.replace(bad.find(key) + key.size(), 3, "abc");
    { std::ofstream(file, std::ios::binary) << bad; }
    const TCliRun run = RunCli({"pattern", "--config", file});
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_NE(run.Err.find("warning"), std::string::npos);
    EXPECT_NE(run.Err.find("[Излучатель 2] Амплитуда"), std::string::npos) << run.Err;
    EXPECT_EQ(Json({"--config", file})["emitters"][1]["amplitude"].Number(), 0);
}

}  // namespace

namespace {

TEST(CliSweep, RowsAgreeWithSeparatePatternRuns) {
    TTempDir dir;
    const std::vector<std::string> pair = {"--decimal-mark", ".",     "--set", "3:on=0", "--set",
                                           "4:on=0",         "--set", "1:y=0", "--set",  "2:y=0"};
    std::vector<std::string> args = {"sweep",          "--vary", "2:phase", "--from", "0",
                                     "--to",           "0.5",    "--step",  "0.125",  "--plot",
                                     dir.Path("s.svg")};
    args.insert(args.end(), pair.begin(), pair.end());
    const TCliRun run = RunCli(args);
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    const auto lines = Lines(run.Out);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0].rfind("parameter,elevation,max_gain,bearing,", 0), 0u);
    EXPECT_NE(ReadBytes(dir.Path("s.svg")).find("<svg"), std::string::npos);
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string phase = std::to_string(0.125 * static_cast<double>(i - 1));
        std::vector<std::string> single = {"pattern", "--format", "json", "--set",
                                           "2:phase=" + phase};
        single.insert(single.end(), pair.begin(), pair.end());
        const TJson json = ParseJson(RunCli(single).Out);
        const std::string row = lines[i];
        const std::string gain = row.substr(row.find(',', row.find(',') + 1) + 1);
        EXPECT_EQ(std::stold(gain.substr(0, gain.find(','))), json["max_gain"].Number()) << row;
    }
    // JSON Lines, a line a step; the focusing bearing is a whole number. A GIF frame a step.
    const auto json = Lines(RunCli({"sweep", "--format", "json", "--vary", "focus", "--from", "10",
                                    "--to", "70", "--steps", "3", "--frames", dir.Path("f.gif")})
                                .Out);
    const std::string gif = ReadBytes(dir.Path("f.gif"));
    EXPECT_EQ(gif.substr(0, 6), "GIF89a");
    std::size_t frames = 0;
    for (std::size_t at = gif.find("\x21\xF9\x04"); at != std::string::npos;
         at = gif.find("\x21\xF9\x04", at + 1)) {
        ++frames;
    }
    EXPECT_EQ(frames, 3u);
    ASSERT_EQ(json.size(), 3u);
    EXPECT_EQ(ParseJson(json[2])["bearing"].Number(), 70);
    for (const auto& bad : std::vector<std::vector<std::string>>{
             {"sweep", "--vary", "9:phase", "--from", "0", "--to", "1", "--steps", "2"},
             {"sweep", "--vary", "elevation", "--from", "0", "--to", "1"},
             {"sweep", "--vary", "height", "--from", "0", "--to", "1", "--steps", "2"},
             {"sweep", "--vary", "elevation", "--from", "0", "--to", "95", "--steps", "3"},
             {"sweep", "--vary", "1:x", "--from", "0", "--to", "1", "--steps", "2", "--figures",
              "bogus", "--plot", dir.Path("b.png")}}) {
        const TCliRun refused = RunCli(bad);
        EXPECT_EQ(refused.ExitCode, 2) << bad[2] << refused.Err;
    }
    EXPECT_FALSE(std::ifstream(dir.Path("b.png")).good());
}

}  // namespace

namespace {

// The decimal of the k-th step of 0.05: "0", "0.05", "0.1" ... "14".
std::string Twentieths(int k) {
    std::string text = std::to_string(k / 20);
    if (const int hundredths = k % 20 * 5; hundredths != 0) {
        text += (hundredths < 10 ? ".0" : ".") + std::to_string(hundredths);
        if (text.back() == '0') text.pop_back();
    }
    return text;
}

// Steps of 0.05 across 0..14, either way and in either format: every parameter is printed as
// the decimal it stands for, and analysed as that decimal's value.
TEST(CliSweep, DecimalStepsArePrintedAsTheShortestTextOfTheirDecimal) {
    for (const auto& [vary, from, format] :
         {std::tuple{"elevation", 0, "csv"}, std::tuple{"1:x", 0, "csv"},
          std::tuple{"1:x", 14, "json"}}) {
        const TCliRun run =
            RunCli({"sweep", "--vary", vary, "--from", std::to_string(from), "--to",
                    std::to_string(14 - from), "--step", "0.05", "--format", format});
        ASSERT_EQ(run.ExitCode, 0) << run.Err;
        const std::vector<std::string> lines = Lines(run.Out);
        const bool json = std::string(format) == "json";
        ASSERT_EQ(lines.size(), json ? 281u : 282u) << vary;
        for (int k = 0; k <= 280; ++k) {
            const std::string expected = Twentieths(from == 0 ? k : 280 - k);
            const std::string& line = lines[static_cast<std::size_t>(json ? k : k + 1)];
            const std::string parameter =
                json ? ParseJson(line)["parameter"].Text : line.substr(0, line.find(','));
            ASSERT_EQ(parameter, expected) << vary << " step " << k;
        }
    }
}

// Both pictures are computed and both destinations opened before either is written.
TEST(CliSweep, ABadDestinationLeavesNoFileOfTheCall) {
    TTempDir dir;
    const TCliRun run =
        RunCli({"sweep", "--vary", "elevation", "--from", "0", "--to", "10", "--steps", "3",
                "--plot", dir.Path("ok.png"), "--frames", dir.Path("missing/x.gif")});
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_NE(run.Err.find("No such file or directory"), std::string::npos) << run.Err;
    EXPECT_TRUE(dir.Entries().empty());
}

TEST(CliDesign, WritesTheExcitationAndReportsTheFilesFigures) {
    TTempDir dir;
    const std::string out = dir.Path("d.txt");
    const TCliRun run = RunCli({"design", "--goal", "max-directivity", "--decimal-mark", ".",
                                "--type", "1", "--bearing", "45", out});
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_NE(run.Out.find("sensitivity: "), std::string::npos);
    const TCliRun again = RunCli({"pattern", "--decimal-mark", ".", "--config", out});
    // The printed figures are the file's: pattern reads the same back.
    EXPECT_EQ(run.Out.substr(0, again.Out.size()), again.Out);
    EXPECT_EQ(RunCli({"design", "--goal", "nulls", out}).ExitCode, 2);
    EXPECT_EQ(RunCli({"design", "--goal", "max-directivity", "--ground", "real", "--frequency", "7",
                      "--soil", "poor", "--type", "1", "--height", "0.2", out})
                  .ExitCode,
              2);
}

}  // namespace

namespace {

// A load tells what it passed over, a line each, and --strict makes that fail the call; what is
// loaded is what the window loads.
TEST(CliWarnings, EachKindOfSkippedLineIsNamedAndStrictFails) {
    TTempDir dir;
    const std::string file = dir.Path("bad.txt");
    {
        std::ofstream out(file, std::ios::binary);
        out << "[\xC2\xF1\xE5 \xE8\xE7\xEB\xF3\xF7\xE0\xF2\xE5\xEB\xE8]\r\n\xD2\xE8\xEF=7\r\n"
               "[\xC8\xE7\xEB\xF3\xF7\xE0\xF2\xE5\xEB\xFC 1]\r\n\xC2\xEA\xEB\xFE\xF7\xE5\xED=1\r\n"
               "X=abc\r\nZ=1\r\n[\xC8\xE7\xEB\xF3\xF7\xE0\xF2\xE5\xEB\xFC 9]\r\nX=1\r\n"
               "[Other]\r\nk=v\r\n";
    }
    const TCliRun loose = RunCli({"pattern", "--config", file});
    EXPECT_EQ(loose.ExitCode, 0);
    for (const char* what :
         {"bad.txt:2: type 7", "bad.txt:5: value abc", "bad.txt:6: unknown key Z",
          "bad.txt:7: section [Излучатель 9]", "bad.txt:9: unknown section"}) {
        EXPECT_NE(loose.Err.find(what), std::string::npos) << what << "\n" << loose.Err;
    }
    const TCliRun strict = RunCli({"pattern", "--config", file, "--strict"});
    EXPECT_EQ(strict.ExitCode, 1);
    EXPECT_EQ(strict.Out, "");
    // Every command fails before it writes anything, and each prints what it passed over.
    const std::vector<std::vector<std::string>> writers = {
        {"save", dir.Path("o.txt")},
        {"export", dir.Path("o.bmp")},
        {"nec", dir.Path("o.nec")},
        {"design", "--goal", "max-directivity", dir.Path("o.txt")},
        {"plot", "--kind", "polar-db", dir.Path("o.svg")},
        {"plot", "--kind", "elevation-heights", "--type", "1", "--ground", "perfect", "--height",
         "0.25", dir.Path("o.svg")},
        {"sweep", "--vary", "elevation", "--from", "0", "--to", "1", "--steps", "2", "--plot",
         dir.Path("o.svg")},
    };
    for (std::vector<std::string> args : writers) {
        args.insert(args.end(), {"--config", file, "--strict"});
        const TCliRun run = RunCli(args);
        EXPECT_EQ(run.ExitCode, 1) << args[0] << run.Err;
        EXPECT_NE(run.Err.find("bad.txt:9: unknown section"), std::string::npos) << run.Err;
        EXPECT_EQ(dir.Entries(), std::vector<std::string>{"bad.txt"}) << args[0];
    }
    // A clean file says nothing.
    ASSERT_EQ(RunCli({"save", dir.Path("good.txt")}).ExitCode, 0);
    const TCliRun clean = RunCli({"pattern", "--config", dir.Path("good.txt"), "--strict"});
    EXPECT_EQ(clean.ExitCode, 0);
    EXPECT_EQ(clean.Err, "");
}

// A file saved with CR alone at each line's end (an old Mac's) loads as its CR LF twin; a file
// that loads no emitter switched on says so, and --strict fails on it.
TEST(CliWarnings, CrLineEndsLoadAsLinesAndAnEmptyArrayWarns) {
    TTempDir dir;
    const std::string example = std::string(ARRAYPATTERN_EXAMPLES_DIR) + "/yagi-2.txt";
    std::string text = ReadBytes(example);
    for (std::size_t at = 0; (at = text.find("\r\n", at)) != std::string::npos;)
        text.erase(at + 1, 1);
    ASSERT_EQ(text.find('\n'), std::string::npos);
    WriteBytes(dir.Path("mac.txt"), text);
    const TCliRun crlf = RunCli({"pattern", "--format", "json", "--config", example, "--strict"});
    const TCliRun cr =
        RunCli({"pattern", "--format", "json", "--config", dir.Path("mac.txt"), "--strict"});
    ASSERT_EQ(crlf.ExitCode, 0) << crlf.Err;
    EXPECT_EQ(cr.ExitCode, 0) << cr.Err;
    EXPECT_EQ(cr.Err, "");
    EXPECT_EQ(cr.Out.substr(cr.Out.find("\"type\"")), crlf.Out.substr(crlf.Out.find("\"type\"")));

    WriteBytes(dir.Path("off.txt"), "[\xC8\xE7\xEB\xF3\xF7\xE0\xF2\xE5\xEB\xFC 1]\r\nX=1\r\n");
    const TCliRun off = RunCli({"pattern", "--config", dir.Path("off.txt")});
    EXPECT_NE(off.Err.find("off.txt: no emitter is switched on: the array loads empty"),
              std::string::npos)
        << off.Err;
    const TCliRun strict = RunCli({"pattern", "--config", dir.Path("off.txt"), "--strict"});
    EXPECT_EQ(strict.ExitCode, 1);
    EXPECT_EQ(strict.Out, "");
}

// A ground the window's save left beside a type with no polarisation: the file loads as the
// window shows it, in free space, with one warning; a current too large to square is refused.
TEST(CliWarnings, AFilesGroundBesideAnUnpolarisedTypeLoadsInFreeSpace) {
    TTempDir dir;
    std::string text = ConfigText(MakeInitialArray(), 0);
    const std::string type = "\xD2\xE8\xEF=0\r\n";
    text.insert(text.find(type) + type.size(),
                "\xC7\xE5\xEC\xEB\xFF=1\r\n\xC2\xFB\xF1\xEE\xF2\xE0=0.5\r\n");
    const std::string file = dir.Path("kept.txt");
    WriteBytes(file, text);
    const TCliRun run = RunCli({"pattern", "--config", file, "--format", "json"});
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(std::count(run.Err.begin(), run.Err.end(), '\n'), 1) << run.Err;
    EXPECT_NE(run.Err.find("polarised"), std::string::npos) << run.Err;
    EXPECT_NE(run.Out.find("\"ground\": null"), std::string::npos);
    // Asked for explicitly, the same ground is refused.
    EXPECT_EQ(RunCli({"pattern", "--config", file, "--ground", "perfect"}).ExitCode, 2);

    const std::string huge = dir.Path("huge.txt");
    WriteBytes(huge,
               "[\xC8\xE7\xEB\xF3\xF7\xE0\xF2\xE5\xEB\xFC 1]\r\n"
               "\xC0\xEC\xEF\xEB\xE8\xF2\xF3\xE4\xE0=1e200\r\n");
    const TCliRun overflow = RunCli({"pattern", "--config", huge});
    EXPECT_EQ(overflow.ExitCode, 2);
    EXPECT_NE(overflow.Err.find("above 1e100"), std::string::npos) << overflow.Err;
}

}  // namespace
