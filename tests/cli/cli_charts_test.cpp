#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "clirunner.h"
#include "picturecheck.h"

namespace {

std::string Example(const std::string& name) {
    return std::string(ARRAYPATTERN_EXAMPLES_DIR) + "/" + name + ".txt";
}

class CliCharts : public ::testing::Test {
  protected:
    std::string Plot(const std::string& kind, const std::string& name,
                     const std::vector<std::string>& configs) {
        std::vector<std::string> args = {"plot",           "--kind", kind,
                                         "--decimal-mark", ",",      Dir.Path(name)};
        for (const auto& c : configs) args.insert(args.end(), {"--config", c});
        const TCliRun run = RunCli(args);
        EXPECT_EQ(run.ExitCode, 0) << kind << " " << name << ": " << run.Err;
        return ReadBytes(Dir.Path(name));
    }

    TTempDir Dir;
};

// Every chart in every format is a valid file of that format; several files overlay.
TEST_F(CliCharts, EveryKindInEveryFormat) {
    const std::vector<std::string> two = {Example("four-square"), Example("cardioid")};
    // The two files differ in type: each has its own caption line under a chart, the second
    // adding 14 pixels to the page.
    const struct {
        const char* Kind;
        std::uint32_t Width, Height;  // pixels of the PNG
    } kinds[] = {{"polar-db", 800, 874},
                 {"rect-db", 1000, 594},
                 {"elevation", 800, 674},
                 {"report", 1191, 1684}};
    for (const auto& k : kinds) {
        SCOPED_TRACE(k.Kind);
        const std::string base = k.Kind;
        EXPECT_EQ(PngSize(Plot(k.Kind, base + ".png", two)), std::make_pair(k.Width, k.Height));
        const std::string bmp = Plot(k.Kind, base + ".bmp", two);
        ASSERT_GT(bmp.size(), 54u);
        EXPECT_EQ(bmp.substr(0, 2), "BM");
        const std::string svg = Plot(k.Kind, base + ".svg", two);
        const TSvgRoot root = ReadSvg(svg);
        EXPECT_TRUE(root.WellFormed);
        EXPECT_EQ(root.Name, "svg");
        EXPECT_EQ(PdfPages(Plot(k.Kind, base + ".pdf", two)), 1u);
    }
}

TEST_F(CliCharts, ReportIsOneA4PageWithEveryFigureOfEachFile) {
    const std::string svg =
        Plot("report", "r.svg", {Example("four-square"), Example("broadside-line-8")});
    EXPECT_EQ(ReadSvg(svg).Width, "595.28pt");
    EXPECT_EQ(ReadSvg(svg).Height, "841.89pt");
    const std::string pdf = Plot("report", "r.pdf", {Example("cardioid")});
    EXPECT_NE(pdf.find("/MediaBox [ 0 0 595.28 841.89 ]"), std::string::npos);
}

// The cancelling pair: every sample is rounding noise; the pictures draw and say so.
TEST_F(CliCharts, ZeroPatternDrawsWithoutDividingByZero) {
    WriteBytes(Dir.Path("cancel.txt"),
               ConfigText(ModelOf({{0.3L, -0.2L, 0, true}, {0.3L, -0.2L, 0.5L, true}}), 0));
    for (const char* kind : {"polar-db", "rect-db", "elevation", "report"}) {
        SCOPED_TRACE(kind);
        const std::string svg =
            Plot(kind, std::string(kind) + ".svg", {Dir.Path("cancel.txt"), Example("cardioid")});
        EXPECT_TRUE(ReadSvg(svg).WellFormed);
        EXPECT_EQ(svg.find("nan"), std::string::npos);
        EXPECT_EQ(svg.find("inf"), std::string::npos);
    }
}

}  // namespace
