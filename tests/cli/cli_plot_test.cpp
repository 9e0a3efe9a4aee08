#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <regex>
#include <string>

#include "clirunner.h"
#include "model/pattern.h"
#include "picturecheck.h"
#include "plot/exportpicture.h"

namespace {

class CliPlot : public ::testing::Test {
  protected:
    // Runs plot --kind diagram for the file and returns its bytes; the folder then holds only
    // that file.
    std::string Plot(const std::string& name, const std::vector<std::string>& more = {}) {
        std::vector<std::string> args = {"plot", "--kind", "diagram", Dir.Path(name)};
        args.insert(args.end(), more.begin(), more.end());
        const TCliRun run = RunCli(args);
        EXPECT_EQ(run.ExitCode, 0) << run.Err;
        EXPECT_EQ(run.Out + run.Err, "");
        EXPECT_EQ(Dir.Entries(), std::vector<std::string>{name});
        return ReadBytes(Dir.Path(name));
    }

    TTempDir Dir;
};

TEST_F(CliPlot, DiagramDrawsTheChosenModelsPatternAtTheElevation) {
    const std::vector<std::string> at30 = {"--elevation", "30"};
    const std::string window = Plot("w.bmp", at30);
    std::remove(Dir.Path("w.bmp").c_str());
    std::vector<std::string> free = {"--model", "free-space"};
    free.insert(free.end(), at30.begin(), at30.end());
    const std::string plotted = Plot("f.bmp", free);
    EXPECT_FALSE(plotted == window);
    const TArray array = MakeInitialArray();
    TExportPicture picture;
    picture.Draw(array, ComputePattern(array, {TFieldModel::FreeSpace, 30}), 30);
    EXPECT_TRUE(plotted == picture.BmpBytes());
}

TEST(CliPlot3d, SurfaceIsAPictureOf880By880AndItsOptionsAreChecked) {
    TTempDir dir;
    const TCliRun run = RunCli({"plot", "--kind", "3d", dir.Path("s.png"), "--type", "1", "--view",
                                "120,20", "--floor", "-40", "--model", "free-space"});
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    const std::string png = ReadBytes(dir.Path("s.png"));
    EXPECT_EQ(Big32(png, 16), 880u);
    EXPECT_EQ(Big32(png, 20), 880u);
    EXPECT_EQ(RunCli({"plot", "--kind", "3d", dir.Path("t.png"), "--view", "400,0"}).ExitCode, 2);
    EXPECT_EQ(RunCli({"plot", "--kind", "3d", dir.Path("t.png"), "--floor", "5"}).ExitCode, 2);
    EXPECT_EQ(
        RunCli({"plot", "--kind", "polar-db", dir.Path("t.png"), "--scale", "linear"}).ExitCode, 2);
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"s.png"});
}

TEST_F(CliPlot, PngIsAnRgbPictureOf880By880) {
    const std::string png = Plot("d.png");
    ASSERT_GT(png.size(), 33u);
    EXPECT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
    EXPECT_EQ(png.substr(12, 4), "IHDR");
    EXPECT_EQ(Big32(png, 16), 880u);
    EXPECT_EQ(Big32(png, 20), 880u);
    EXPECT_EQ(png.substr(png.size() - 8, 4), "IEND");
}

// A wire file's samples are gains, not the array factor on the sum of the amplitudes: the
// diagram scales them to their own maximum, so the Yagi's curve (its reflector's amplitude 0)
// reaches the outer ring at its peak and nowhere leaves it.
TEST_F(CliPlot, AWireDiagramStaysInsideItsOuterRing) {
    const std::string bmp =
        Plot("yagi.bmp", {"--config", std::string(ARRAYPATTERN_EXAMPLES_DIR) + "/yagi-2.txt"});
    const auto le32 = [&bmp](std::size_t at) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(bmp[at])) |
               static_cast<std::uint32_t>(static_cast<unsigned char>(bmp[at + 1])) << 8 |
               static_cast<std::uint32_t>(static_cast<unsigned char>(bmp[at + 2])) << 16 |
               static_cast<std::uint32_t>(static_cast<unsigned char>(bmp[at + 3])) << 24;
    };
    const std::size_t pixels = le32(10);
    constexpr int kSide = TExportPicture::kSize;
    ASSERT_EQ(bmp.size(), pixels + 4u * kSide * kSide);
    double farthest = 0;
    for (int row = 0; row < kSide; ++row) {
        for (int col = 0; col < kSide; ++col) {
            const std::size_t at = pixels + 4u * static_cast<std::size_t>(row * kSide + col);
            // The curve's pure blue, BGR in the file.
            if (bmp[at] != '\xff' || bmp[at + 1] != 0 || bmp[at + 2] != 0) continue;
            const double x = col + 0.5 - kSide / 2.0;
            const double y = row + 0.5 - kSide / 2.0;
            farthest = std::max(farthest, std::hypot(x, y));
        }
    }
    EXPECT_GT(farthest, 395);  // the outer ring's radius is 400
    EXPECT_LT(farthest, 405);
}

TEST_F(CliPlot, SvgIsWellFormedXmlOf880By880Pixels) {
    const std::string svg = Plot("d.svg");
    const TSvgRoot root = ReadSvg(svg);
    EXPECT_TRUE(root.WellFormed);
    EXPECT_EQ(root.Name, "svg");
    EXPECT_EQ(root.Width, "880px");
    EXPECT_EQ(root.Height, "880px");
    // Drawn as vectors, not as a picture of pixels embedded in the file.
    EXPECT_EQ(svg.find("<image"), std::string::npos);
}

TEST_F(CliPlot, PdfHasOnePage) {
    const std::string pdf = Plot("d.pdf");
    EXPECT_EQ(pdf.substr(0, 5), "%PDF-");
    EXPECT_NE(pdf.find("%%EOF", pdf.size() - 8), std::string::npos);
    EXPECT_EQ(Count(pdf, std::regex(R"(/Type\s*/Page[^s])")), 1u);
    EXPECT_EQ(Count(pdf, std::regex(R"(/MediaBox\s*\[\s*0 0 880 880\s*\])")), 1u);
}

TEST_F(CliPlot, UsageErrorsWriteNothing) {
    WriteBytes(Dir.Path("old.png"), "earlier");
    const struct {
        std::vector<std::string> Args;
        std::string Named;
    } cases[] = {
        {{"plot", "--kind", "diagram", Dir.Path("d.gif")}, "unknown picture format .gif"},
        {{"plot", "--kind", "diagram", Dir.Path("diagram")}, "no picture format in"},
        {{"plot", "--kind", "diagram", Dir.Path("d.png.tmp")}, ".tmp"},
        {{"plot", Dir.Path("d.png")}, "missing --kind"},
        {{"plot", "--kind", "pattern", Dir.Path("d.png")}, "--kind"},
        {{"export", "--kind", "diagram", Dir.Path("d.bmp")}, "--kind applies only to plot"},
        {{"plot", "--kind", "diagram", "--format", "json", Dir.Path("d.png")}, "--format"},
    };
    for (const auto& c : cases) {
        const TCliRun run = RunCli(c.Args);
        EXPECT_EQ(run.ExitCode, 2) << c.Named;
        EXPECT_EQ(run.Out, "");
        EXPECT_NE(run.Err.find(c.Named), std::string::npos) << run.Err;
        EXPECT_EQ(Dir.Entries(), std::vector<std::string>{"old.png"});
    }
    EXPECT_EQ(ReadBytes(Dir.Path("old.png")), "earlier");
}

TEST_F(CliPlot, UnwritableFileGivesTheExportsErrorText) {
    for (const char* name : {"missing/d.png", "missing/d.svg"}) {
        const TCliRun run = RunCli({"plot", "--kind", "diagram", Dir.Path(name)});
        EXPECT_EQ(run.ExitCode, 1);
        EXPECT_EQ(run.Err,
                  "Cannot create file \"" + Dir.Path(name) + "\". No such file or directory.\n");
        EXPECT_TRUE(Dir.Entries().empty());
    }
}

}  // namespace
