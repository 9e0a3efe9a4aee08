#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <filesystem>
#include <limits>

#include "app/analysis.h"
#include "app/overlay.h"
#include "app/sweepcolumns.h"
#include "config/messages.h"
#include "plot/chartfile.h"
#include "plot/charts.h"
#include "plot/htmlreport.h"
#include "plot/sweepchart.h"

namespace {

constexpr std::size_t kOverlayFiles = 8;

// Pairs of emitters a quarter wave apart, phased in eighths of a period: in free space, or
// vertical dipoles over a perfect ground at heights up to two wavelengths.
TPatternResult Pair(int eighths, bool overGround) {
    TArrayCase c;
    c.Array = MakeInitialArray();
    TEmitter& second = c.Array.Emitter(2);
    second.Enabled = true;
    second.X = 0.25L;
    second.Phase = eighths / 8.0L;
    if (overGround) {
        c.Array.EmitterType = etVerticalDipole;
        TGround ground;
        ground.Kind = TGroundKind::Perfect;
        ground.HeightWavelengths = 0.25L * (eighths + 1);
        c.Field = {TFieldModel::OverGround, 0, ground};
        c.ElevationAtTakeoff = true;
    }
    return *Analyse(c).Result;
}

std::vector<TPatternResult> MakeResults(bool overGround) {
    std::vector<TPatternResult> results;
    for (int k = 0; k < static_cast<int>(kOverlayFiles); ++k) {
        results.push_back(Pair(k, overGround));
        // Names as long as users give them, so that captions and legends must make room.
        results.back().Config =
            "phased-pair-of-vertical-dipoles-" + std::to_string(k) + "-eighths-of-a-period.txt";
    }
    return results;
}

// Computed once for every language and size of overlay.
const std::vector<TPatternResult>& Results(bool overGround) {
    static const std::vector<TPatternResult> kFree = MakeResults(false);
    static const std::vector<TPatternResult> kGrounded = MakeResults(true);
    return overGround ? kGrounded : kFree;
}

std::vector<TChartArray> Arrays(std::size_t count, bool overGround) {
    std::vector<TChartArray> arrays;
    for (std::size_t k = 0; k < count; ++k) {
        arrays.push_back(ChartArrayOf(Results(overGround)[k]));
    }
    EXPECT_TRUE(ChooseLevelAxis(arrays, std::nullopt));
    return arrays;
}

// The sweep's figures in their units, with a gap and an infinite front-to-back ratio.
std::vector<TSweepSeries> SweepSeries(std::size_t count) {
    const char* const names[] = {"directivity_dbi",  "front_to_back_db",      "beamwidth_deg",
                                 "peak_bearing_deg", "takeoff_elevation_deg", "max_gain"};
    std::vector<TSweepSeries> series;
    for (std::size_t n = 0; n < count; ++n) {
        const std::string name = names[n % std::size(names)];
        TSweepSeries s{name, ColumnCaption(name), {}};
        for (int i = 0; i <= 20; ++i) s.Values.push_back(100 * std::sin(i * 0.3 + n) + n);
        s.Values[5] = std::numeric_limits<double>::quiet_NaN();
        s.Values[10] = n % 2 == 0 ? HUGE_VAL : -HUGE_VAL;
        series.push_back(s);
    }
    return series;
}

std::pair<unsigned, unsigned> PngSize(const std::string& png) {
    const auto word = [&](std::size_t at) {
        unsigned v = 0;
        for (std::size_t i = 0; i < 4; ++i) v = v << 8 | static_cast<unsigned char>(png[at + i]);
        return v;
    };
    return {word(16), word(20)};
}

struct TTextCase {
    const char* Name;
    TLanguage Language;
    std::size_t Files;
};

class ChartTextTest : public testing::TestWithParam<TTextCase> {
  protected:
    void SetUp() override {
        const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe");
        LocaleDir = (self.parent_path().parent_path() / "share/locale").string();
        Open(GetParam().Language);
        RecordChartTexts(&Boxes);
    }
    void TearDown() override {
        RecordChartTexts(nullptr);
        Open(TLanguage::English);
    }
    // gettext keeps what it has looked up until the messages' locale changes.
    void Open(TLanguage language) {
        std::setlocale(LC_MESSAGES, "C");
        ChooseMessageLanguage(language);
        OpenCatalogue(LocaleDir);
    }

    // Draws the picture and fails where a text covers another or leaves the picture.
    void ExpectLegible(const std::string& what, const std::function<std::string()>& draw) {
        SCOPED_TRACE(what);
        Boxes.clear();
        const auto [width, height] = PngSize(draw());
        ASSERT_FALSE(Boxes.empty());
        constexpr double kSlack = 0.25;  // pixels of antialiasing two inks may share
        for (std::size_t a = 0; a < Boxes.size(); ++a) {
            const TTextBox& p = Boxes[a];
            EXPECT_TRUE(p.X >= -kSlack && p.Y >= -kSlack && p.X + p.Width <= width + kSlack &&
                        p.Y + p.Height <= height + kSlack)
                << "'" << p.Text << "' leaves the picture";
            for (std::size_t b = a + 1; b < Boxes.size(); ++b) {
                const TTextBox& q = Boxes[b];
                const double across = std::min(p.X + p.Width, q.X + q.Width) - std::max(p.X, q.X);
                const double down = std::min(p.Y + p.Height, q.Y + q.Height) - std::max(p.Y, q.Y);
                EXPECT_FALSE(across > kSlack && down > kSlack)
                    << "'" << p.Text << "' covers '" << q.Text << "'";
            }
        }
    }

    std::string LocaleDir;
    std::vector<TTextBox> Boxes;
};

TEST_P(ChartTextTest, NoTextCoversAnotherOrLeavesThePicture) {
    if (GetParam().Language == TLanguage::Russian) {
        ASSERT_STRNE(Tr("Bearing, deg"), "Bearing, deg") << "no Russian catalogue in " << LocaleDir;
    }
    const std::size_t files = GetParam().Files;
    const std::pair<TPlotKind, bool> kinds[] = {{TPlotKind::PolarDb, false},
                                                {TPlotKind::RectDb, false},
                                                {TPlotKind::Elevation, false},
                                                {TPlotKind::Elevation, true},
                                                {TPlotKind::ElevationHeights, true}};
    for (const auto& [plotKind, ground] : kinds) {
        const TPlotKind kind = plotKind;
        const std::vector<TChartArray> arrays = Arrays(files, ground);
        ExpectLegible(
            std::string(NameOf<TPlotKind>(kPlotKindNames, kind)) + (ground ? " over ground" : ""),
            [&] { return ChartFileBytes(kind, arrays, TPictureFormat::Png); });
    }
    std::vector<double> x;
    for (int i = 0; i <= 20; ++i) x.push_back(i * 0.025);
    const std::vector<TSweepSeries> series = SweepSeries(files == 1 ? 5 : 12);
    ExpectLegible("sweep", [&] {
        return SweepChartBytes(ParameterCaption("1:phase"), x, series, TPictureFormat::Png);
    });
}

TEST_P(ChartTextTest, NoTextOnTheReportPageCoversAnother) {
    for (const bool ground : {false, true}) {
        const std::vector<TChartArray> arrays = Arrays(GetParam().Files, ground);
        ExpectLegible(ground ? "report over ground" : "report", [&] {
            return ChartFileBytes(TPlotKind::Report, arrays, TPictureFormat::Png);
        });
    }
}

// A wire design's page adds each wire's length, amplitude, drive impedance and SWR, and the
// gain and efficiency, legibly; the same pair without lengths has none of them.
TEST_P(ChartTextTest, TheReportOfWiresAddsTheirColumnsAndFigures) {
    std::vector<TChartArray> arrays;
    for (std::size_t k = 0; k < GetParam().Files; ++k) {
        TArrayCase c;
        c.Array = MakeInitialArray();
        c.Array.Emitter(1).X = c.Array.Emitter(1).Y = 0;
        c.Array.Emitter(2).X = 0.25L;
        c.Array.Emitter(2).Y = 0;
        c.Array.Emitter(2).Amplitude = k % 2 == 0 ? 1.0L : 0.0L;
        c.Array.Emitter(3).Enabled = c.Array.Emitter(4).Enabled = false;
        c.Array.EmitterType = etVerticalDipole;
        c.Field = {TFieldModel::FreeSpace};
        for (auto& length : c.Wires.Lengths) length = 0.48;
        c.Wires.Feed = TFeed::Voltage;
        arrays.push_back(ChartArrayOf(*Analyse(c).Result));
    }
    EXPECT_TRUE(ChooseLevelAxis(arrays, std::nullopt));
    ExpectLegible("report of wires",
                  [&] { return ChartFileBytes(TPlotKind::Report, arrays, TPictureFormat::Png); });
    const TReportArray& wires = arrays.front().Report;
    ASSERT_EQ(wires.Wires.Heads.size(), 4u);
    EXPECT_EQ(wires.Wires.Heads[2], Tr("Z in, ohms"));
    EXPECT_EQ(wires.Wires.Cells[1][0], "0.48");
    EXPECT_EQ(wires.Figures.back()[0], Tr("Efficiency"));
    EXPECT_NE(HtmlReport(arrays).find("<th>" + std::string(Tr("SWR")) + "</th>"),
              std::string::npos);
    // A parasitic element reads amplitude 0.
    if (GetParam().Files > 1) {
        EXPECT_EQ(arrays[1].Report.Wires.Cells[1][1], "0");
    }
    const TReportArray ideal = ChartArrayOf(Pair(0, false)).Report;
    EXPECT_TRUE(ideal.Wires.Heads.empty());
    EXPECT_NE(ideal.Figures.back()[0], Tr("Efficiency"));
}

// Each figure heads its own panel with its unit on each tick, and only the bottom panel
// numbers the parameter, in round steps from its first value to its last.
TEST(SweepChartTest, PanelsTitledByFigureAndParameterNumberedOnce) {
    std::vector<TTextBox> boxes;
    RecordChartTexts(&boxes);
    std::vector<double> x;
    for (int i = 0; i <= 20; ++i) x.push_back(i * 0.025);
    SweepChartBytes(ParameterCaption("1:phase"), x, SweepSeries(5), TPictureFormat::Png);
    RecordChartTexts(nullptr);
    std::vector<std::string> titles;
    std::vector<std::string> parameter;
    double lowestTitle = 0;
    for (const TTextBox& b : boxes) {
        if (b.Text.find(", d") != std::string::npos) {
            titles.push_back(b.Text);
            lowestTitle = std::max(lowestTitle, b.Y);
        }
    }
    for (const TTextBox& b : boxes) {
        if (b.Y > lowestTitle && b.Text.find_first_not_of("0123456789.") == std::string::npos) {
            parameter.push_back(b.Text);
        }
    }
    EXPECT_EQ(titles, (std::vector<std::string>{"Directivity at the horizon's maximum, dBi",
                                                "Front-to-back, dB", "Beamwidth (\u22123 dB), deg",
                                                "Bearing of the peak directivity, deg",
                                                "Take-off elevation, deg"}));
    EXPECT_EQ(parameter, (std::vector<std::string>{"0.0", "0.1", "0.2", "0.3", "0.4", "0.5"}));
    const auto has = [&](const std::string& text) {
        return std::any_of(boxes.begin(), boxes.end(),
                           [&](const TTextBox& b) { return b.Text == text; });
    };
    EXPECT_TRUE(has("Phase of emitter 1, periods of lag"));
    EXPECT_TRUE(has("100 dBi") && has("\u2212100 dB") && has("50\u00b0"));
    EXPECT_TRUE(has("= +\u221e") && has("= \u2212\u221e"));
}

INSTANTIATE_TEST_SUITE_P(, ChartTextTest,
                         testing::Values(TTextCase{"EnglishOneFile", TLanguage::English, 1},
                                         TTextCase{"EnglishEightFiles", TLanguage::English, 8},
                                         TTextCase{"RussianOneFile", TLanguage::Russian, 1},
                                         TTextCase{"RussianEightFiles", TLanguage::Russian, 8}),
                         [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
