#include <gtest/gtest.h>

#include "clirunner.h"
#include "config/configfile.h"
#include "config/numtext.h"
#include "jsonreader.h"
#include "model/focus.h"
#include "model/pattern.h"
#include "plot/exportpicture.h"

namespace {

// The bytes the window's save writes for the model into a file that starts as `existing`
// (empty: no file), under a comma separator.
std::string WindowSaveBytes(const TArray& model, const std::string& existing) {
    TTempDir dir;
    const std::string path = dir.Path("window.txt");
    if (!existing.empty()) WriteBytes(path, existing);
    const char mark = DecimalMark();
    SetDecimalMark(',');
    SaveConfiguration(path, model, model.EmitterType);
    SetDecimalMark(mark);
    return ReadBytes(path);
}

TEST(CliFiles, SaveWritesWhatTheWindowSaves) {
    TArray focused = MakeInitialArray();
    FocusBeam(focused, 45);
    focused.EmitterType = 2;
    const std::string foreign = "; notes kept by hand\r\n[Other]\r\nKey=value\r\n[" +
                                std::string("\xC8\xE7\xEB\xF3\xF7\xE0\xF2\xE5\xEB\xFC 7") +
                                "]\r\nX=0,5\r\n";
    struct TCase {
        std::vector<std::string> Args;
        const TArray Model;
        std::string Existing;
    };
    const std::vector<TCase> cases = {
        {{}, MakeInitialArray(), ""},
        {{"--focus", "45", "--type", "2"}, focused, ""},
        {{}, MakeInitialArray(), foreign},
    };
    for (const auto& c : cases) {
        TTempDir dir;
        const std::string out = dir.Path("out.txt");
        if (!c.Existing.empty()) WriteBytes(out, c.Existing);
        std::vector<std::string> args = {"save", out, "--decimal-mark", ","};
        args.insert(args.end(), c.Args.begin(), c.Args.end());
        const TCliRun run = RunCli(args);
        EXPECT_EQ(run.ExitCode, 0) << run.Err;
        EXPECT_EQ(run.Out, "");
        EXPECT_EQ(ReadBytes(out), WindowSaveBytes(c.Model, c.Existing));
        EXPECT_EQ(dir.Entries(), std::vector<std::string>{"out.txt"});
    }
}

TEST(CliFiles, SavedFileLoadsBackToTheSameArray) {
    TTempDir dir;
    const std::vector<std::string> steps = {"--focus", "30", "--type", "1", "--elevation", "20"};
    std::vector<std::string> save = {"save", dir.Path("a.txt")};
    save.insert(save.end(), steps.begin(), steps.end());
    ASSERT_EQ(RunCli(save).ExitCode, 0);
    std::vector<std::string> direct = {"pattern", "--format", "json"};
    direct.insert(direct.end(), steps.begin(), steps.end());
    const TJson expected = ParseJson(RunCli(direct).Out);
    const TJson loaded = ParseJson(
        RunCli({"pattern", "--format", "json", "--elevation", "20", "--config", dir.Path("a.txt")})
            .Out);
    EXPECT_EQ(loaded["type"].Number(), 1);
    for (const char* label : {"elevation", "gain", "bearing"}) {
        EXPECT_EQ(loaded["labels"][label].Text, expected["labels"][label].Text) << label;
    }
    for (std::size_t k = 0; k < 8; ++k) {
        EXPECT_EQ(loaded["emitters"][k]["enabled"].BooleanValue,
                  expected["emitters"][k]["enabled"].BooleanValue);
        // The file keeps each value to 15 significant digits.
        EXPECT_NEAR(static_cast<double>(loaded["emitters"][k]["phase"].Number()),
                    static_cast<double>(expected["emitters"][k]["phase"].Number()), 1e-14);
    }
}

TEST(CliFiles, ExportWritesTheWindowsPictureBytes) {
    TTempDir dir;
    TArray loaded = ModelOf({{0.5L, 0, 0, true}, {-0.25L, 0.125L, 0.375L, true}});
    loaded.EmitterType = 3;
    WriteBytes(dir.Path("array.txt"), ConfigText(loaded, 3));
    struct TCase {
        std::vector<std::string> Args;
        TArray Model;
        long double Elevation;
    };
    const std::vector<TCase> cases = {
        {{}, MakeInitialArray(), 0},
        {{"--config", dir.Path("array.txt"), "--elevation", "30"}, loaded, 30},
    };
    for (auto c : cases) {
        const std::string out = dir.Path("diagram.bmp");
        std::vector<std::string> args = {"export", out, "--decimal-mark", ","};
        args.insert(args.end(), c.Args.begin(), c.Args.end());
        const TCliRun run = RunCli(args);
        EXPECT_EQ(run.ExitCode, 0) << run.Err;
        EXPECT_EQ(run.Err, "");
        TExportPicture picture;
        picture.Draw(c.Model, ComputePattern(c.Model, {TFieldModel::Window, c.Elevation}), c.Elevation);
        const std::string bytes = ReadBytes(out);
        EXPECT_EQ(bytes.size(), 3097654u);
        EXPECT_TRUE(bytes == picture.BmpBytes())
            << "elevation " << static_cast<double>(c.Elevation);
    }
}

}  // namespace
