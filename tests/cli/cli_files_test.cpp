#include <gtest/gtest.h>

#include <filesystem>

#include "clirunner.h"
#include "config/configfile.h"
#include "config/cp1251.h"
#include "config/numtext.h"
#include "model/focus.h"
#include "model/pattern.h"
#include "plot/exportpicture.h"

namespace {

// The bytes the window's save writes for the model into a file that starts as `existing`
// (empty: no file), under the decimal mark.
std::string WindowSaveBytes(const TArray& model, const std::string& existing, char mark) {
    TTempDir dir;
    const std::string path = dir.Path("window.txt");
    if (!existing.empty()) WriteBytes(path, existing);
    const char before = DecimalMark();
    SetDecimalMark(mark);
    SaveConfiguration(path, model, model.EmitterType);
    SetDecimalMark(before);
    return ReadBytes(path);
}

// The window's load of these bytes is the window's own (the differential test holds the two
// loads together), so equal bytes are the round trip.
TEST(CliFiles, SaveWritesWhatTheWindowSaves) {
    TArray focused = MakeInitialArray();
    FocusBeam(focused, 45);
    focused.EmitterType = 2;
    TArray focused30 = MakeInitialArray();
    FocusBeam(focused30, 30);
    focused30.EmitterType = 1;
    const std::string foreign = "; notes kept by hand\r\n[Other]\r\nKey=value\r\n[" +
                                std::string("\xC8\xE7\xEB\xF3\xF7\xE0\xF2\xE5\xEB\xFC 7") +
                                "]\r\nX=0,5\r\n";
    struct TCase {
        std::vector<std::string> Args;
        const TArray Model;
        std::string Existing;
        char Mark;  // ',' given on the command line, '.' the C locale's own
    };
    const std::vector<TCase> cases = {
        {{}, MakeInitialArray(), "", ','},
        {{"--focus", "45", "--type", "2"}, focused, "", ','},
        {{}, MakeInitialArray(), foreign, ','},
        {{"--focus", "30", "--type", "1"}, focused30, "", '.'},
    };
    for (const auto& c : cases) {
        TTempDir dir;
        const std::string out = dir.Path("out.txt");
        if (!c.Existing.empty()) WriteBytes(out, c.Existing);
        std::vector<std::string> args = {"save", out};
        if (c.Mark == ',') args.insert(args.end(), {"--decimal-mark", ","});
        args.insert(args.end(), c.Args.begin(), c.Args.end());
        const TCliRun run = RunCli(args);
        EXPECT_EQ(run.ExitCode, 0) << run.Err;
        EXPECT_EQ(run.Out, "");
        EXPECT_EQ(ReadBytes(out), WindowSaveBytes(c.Model, c.Existing, c.Mark));
        EXPECT_EQ(dir.Entries(), std::vector<std::string>{"out.txt"});
    }
}

// export and plot --kind diagram to a .bmp name (any letter case) write the window's picture.
TEST(CliFiles, ExportAndPlotWriteTheWindowsPictureBytes) {
    TTempDir dir;
    TArray loaded = ModelOf({{0.5L, 0, 0, true}, {-0.25L, 0.125L, 0.375L, true}});
    loaded.EmitterType = 3;
    WriteBytes(dir.Path("array.txt"), ConfigText(loaded, 3));
    TArray focused = MakeInitialArray();
    focused.EmitterType = 3;
    FocusBeam(focused, 200);
    struct TCase {
        std::vector<std::string> Args;
        TArray Model;
        long double Elevation;
    };
    const std::vector<TCase> cases = {
        {{}, MakeInitialArray(), 0},
        {{"--config", dir.Path("array.txt"), "--elevation", "30"}, loaded, 30},
        {{"--type", "3", "--focus", "200", "--elevation", "15"}, focused, 15},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "elevation " << static_cast<double>(c.Elevation));
        TArray model = c.Model;
        TExportPicture picture;
        picture.Draw(model, ComputePattern(model, {TFieldModel::Window, c.Elevation}), c.Elevation);
        for (const std::vector<std::string>& command :
             {std::vector<std::string>{"export", dir.Path("diagram.bmp")},
              std::vector<std::string>{"plot", "--kind", "diagram", dir.Path("diagram.BMP")}}) {
            std::vector<std::string> args = command;
            args.insert(args.end(), {"--decimal-mark", ","});
            args.insert(args.end(), c.Args.begin(), c.Args.end());
            const TCliRun run = RunCli(args);
            EXPECT_EQ(run.ExitCode, 0) << run.Err;
            EXPECT_EQ(run.Out + run.Err, "");
            const std::string bytes = ReadBytes(command.back());
            EXPECT_EQ(bytes.size(), 3097654u) << command[0];
            EXPECT_TRUE(bytes == picture.BmpBytes()) << command[0];
            std::filesystem::remove(command.back());
        }
    }
}

// The studio saves how it looks at the array; a run takes that where its options leave it, and
// a save keeps it.
TEST(CliFiles, TheFilesElevationAndFormulaStandWhereTheOptionsLeaveThem) {
    TTempDir dir;
    WriteBytes(dir.Path("view.txt"),
               *Utf8ToCp1251("[Все излучатели]\r\nТип=1\r\nУгол места=30\r\nФормула=free-space\r\n"
                             "[Излучатель 1]\r\nВключен=1\r\nX=0\r\nY=0\r\nФаза=0\r\n"));
    const auto has = [](const TCliRun& run, const std::string& text) {
        return run.Out.find(text) != std::string::npos;
    };
    const TCliRun file = RunCli({"pattern", "--config", dir.Path("view.txt"), "--format", "json"});
    EXPECT_TRUE(has(file, "\"elevation\": 30,") && has(file, "\"model\": \"free-space\""))
        << file.Out;
    const TCliRun options = RunCli({"pattern", "--config", dir.Path("view.txt"), "--format", "json",
                                    "--elevation", "10", "--model", "window"});
    EXPECT_TRUE(has(options, "\"elevation\": 10,") && has(options, "\"model\": \"window\""))
        << options.Out;
    ASSERT_EQ(RunCli({"save", "--config", dir.Path("view.txt"), dir.Path("saved.txt")}).ExitCode,
              0);
    for (const char* kept : {"Угол места=30", "Формула=free-space"})
        EXPECT_NE(ReadBytes(dir.Path("saved.txt")).find(*Utf8ToCp1251(kept)), std::string::npos)
            << kept;
}

}  // namespace
