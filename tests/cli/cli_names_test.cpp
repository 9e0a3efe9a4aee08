#include <gtest/gtest.h>

#include "clirunner.h"
#include "jsonreader.h"

namespace {

// "Тест" as a Windows program names its files: Windows-1251 bytes, not UTF-8.
const std::string kCp1251Name = "\xD2\xE5\xF1\xF2.txt";
const std::string kCardioid = std::string(ARRAYPATTERN_EXAMPLES_DIR) + "/cardioid.txt";

// JSON stays UTF-8 whatever bytes a name holds: those that are not UTF-8 come as the
// characters of their Latin-1 reading, one and many files alike.
TEST(CliNames, JsonOfAnyFileNameParses) {
    TTempDir dir;
    const std::string path = dir.Path(kCp1251Name);
    WriteBytes(path, ReadBytes(kCardioid));
    const std::string expected = dir.Path("\u00D2\u00E5\u00F1\u00F2.txt");
    const TCliRun one = RunCli({"pattern", "--format", "json", "--config", path});
    ASSERT_EQ(one.ExitCode, 0) << one.Err;
    EXPECT_EQ(ParseJson(one.Out)["config"].Text, expected);
    const TCliRun batch =
        RunCli({"pattern", "--format", "json", "--config", path, "--config", kCardioid});
    ASSERT_EQ(batch.ExitCode, 0) << batch.Err;
    EXPECT_EQ(ParseJson(Lines(batch.Out).at(0))["config"].Text, expected);
}

// Every chart draws a legend of the file names; a name that is not UTF-8 is drawn, not refused.
TEST(CliNames, ChartsDrawAnyFileName) {
    TTempDir dir;
    const std::string path = dir.Path(kCp1251Name);
    WriteBytes(path, ReadBytes(kCardioid));
    for (const char* kind : {"polar-db", "rect-db", "elevation", "report"}) {
        const TCliRun run =
            RunCli({"plot", "--kind", kind, "--config", path, dir.Path("chart.svg")});
        EXPECT_EQ(run.ExitCode, 0) << kind << ": " << run.Err;
    }
}

// A bidirectional override in a name would turn the name around where it is shown: every page
// and picture that names the file shows it escaped.
TEST(CliNames, BidiControlsInANameAreEscapedInPagesAndPictures) {
    TTempDir dir;
    const std::string path = dir.Path("gpj.\u202Etxt");
    WriteBytes(path, ReadBytes(kCardioid));
    for (const char* out : {"report.html", "report.svg", "polar.svg", "rect.svg"}) {
        const std::string kind = out[0] == 'p'                    ? "polar-db"
                                 : out[0] == 'r' && out[2] == 'c' ? "rect-db"
                                                                  : "report";
        const TCliRun run = RunCli({"plot", "--kind", kind, "--config", path, dir.Path(out)});
        ASSERT_EQ(run.ExitCode, 0) << out << ": " << run.Err;
        const std::string page = ReadBytes(dir.Path(out));
        EXPECT_EQ(page.find("\u202E"), std::string::npos) << out;
        // Pictures draw their text as glyphs; the page holds it as text.
        if (kind == "report" && out[7] == 'h') {
            EXPECT_NE(page.find("gpj.\\u202Etxt"), std::string::npos) << out;
        }
    }
}

}  // namespace
