#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "plot/charts.h"
#include "plot/reportpage.h"

namespace {

double Distance(const std::array<double, 3>& a, const std::array<double, 3>& b) {
    return std::hypot(a[0] - b[0], a[1] - b[1], a[2] - b[2]);
}

// Twelve colours tell twelve files apart; the next ones take the colours again, dashed, so that
// no two of the first 48 files look alike.
TEST(ChartOverlayTest, SeriesLookDistinctFarBeyondEightFiles) {
    for (std::size_t a = 0; a < kSeriesColours; ++a) {
        EXPECT_TRUE(SeriesDashes(a).empty()) << a;
        for (std::size_t b = a + 1; b < kSeriesColours; ++b) {
            EXPECT_GT(Distance(SeriesColour(a), SeriesColour(b)), 0.2) << a << " and " << b;
        }
    }
    std::set<std::pair<std::array<double, 3>, std::vector<double>>> styles;
    for (std::size_t n = 0; n < 4 * kSeriesColours; ++n) {
        styles.insert({SeriesColour(n), SeriesDashes(n)});
    }
    EXPECT_EQ(styles.size(), 4 * kSeriesColours);
}

// However many files, the legend keeps to a quarter of the chart's box and counts the names it
// has no room for.
TEST(ChartOverlayTest, LegendKeepsToItsBandAndCountsTheRest) {
    for (const double height : {540.0, 820.0}) {
        for (std::size_t count = 0; count <= 200; ++count) {
            SCOPED_TRACE(std::to_string(count) + " files in " + std::to_string(height));
            const TLegendRows rows = LegendRows(count, height);
            EXPECT_EQ(rows.Named + rows.Unnamed, count);
            EXPECT_LE(LegendHeight(rows), height / 4);
            // "and 1 more" would take the line the name itself needs.
            EXPECT_NE(rows.Unnamed, 1u);
        }
        EXPECT_EQ(LegendRows(8, height).Unnamed, 0u);
    }
}

bool Overlap(const TChartBox& a, const TChartBox& b) {
    return a.X < b.X + b.Width && b.X < a.X + a.Width && a.Y < b.Y + b.Height &&
           b.Y < a.Y + a.Height;
}

// Up to eight files lie side by side in up to two bands, on the page, apart from each other
// and from the charts; up to four, the page is as it always was.
TEST(ChartOverlayTest, ReportLaysOutUpToEightFilesApart) {
    const TReportLayout one = ReportLayout(1);
    for (std::size_t files = 1; files <= kMaxReportFiles; ++files) {
        SCOPED_TRACE(files);
        const TReportLayout layout = ReportLayout(files);
        ASSERT_EQ(layout.Columns.size(), files);
        EXPECT_GE(layout.TextSize, 7);
        const TChartBox charts[] = {layout.Diagram, layout.Polar, layout.Rect, layout.Elevation};
        for (std::size_t a = 0; a < files; ++a) {
            const TChartBox& column = layout.Columns[a];
            EXPECT_GE(column.Width, 110);
            EXPECT_LE(column.X + column.Width, kA4Width);
            EXPECT_LE(column.Y + column.Height, layout.FootTop);
            for (const TChartBox& chart : charts) EXPECT_FALSE(Overlap(column, chart));
            for (std::size_t b = a + 1; b < files; ++b) {
                EXPECT_FALSE(Overlap(column, layout.Columns[b])) << a << " and " << b;
            }
        }
        if (files <= 4) {
            EXPECT_EQ(layout.Polar.Width, one.Polar.Width);
            EXPECT_EQ(layout.Columns.front().Y, one.Columns.front().Y);
        }
        EXPECT_EQ(layout.PageHeight, kA4Height);
    }
}

// Tables of many figures and a long foot take their room from the charts down to a legible
// size, then lengthen the page rather than run into each other.
TEST(ChartOverlayTest, ReportPageGrowsForLongTablesInsteadOfCrowding) {
    const TReportLayout a4 = ReportLayout(kMaxReportFiles);
    const TReportLayout longer = ReportLayout(kMaxReportFiles, 34, 12);
    EXPECT_GT(longer.PageHeight, kA4Height);
    EXPECT_GE(longer.Polar.Width, a4.Polar.Width - 1);
    for (const TChartBox& column : longer.Columns) {
        EXPECT_GE(column.Height, 34 * longer.TextSize);
        EXPECT_LE(column.Y + column.Height, longer.FootTop);
    }
    const TReportLayout oneLonger = ReportLayout(1, 34, 3);
    EXPECT_EQ(oneLonger.PageHeight, kA4Height);
    EXPECT_LT(oneLonger.Polar.Width, ReportLayout(1).Polar.Width);
}

}  // namespace

namespace {

// Two phasings of one pair, 1.7 dB apart in directivity, on one dBi axis: each peak sits its
// own directivity below the axis's top, and the legend gives it.
TEST(DbiScale, OverlaysShareOneAxisOfDirectivity) {
    std::vector<TChartSeries> series(2);
    const long double means[] = {3.0L, 1.3L};  // 10 log10 of the mean power, dB
    for (std::size_t n = 0; n < 2; ++n) {
        series[n].Pattern.MaxGain = 2;
        series[n].MeanPowerDb = means[n];
    }
    ASSERT_TRUE(UseDbiScale(series));
    const double peak0 = 20 * std::log10(2.0) - 3.0;
    const double peak1 = 20 * std::log10(2.0) - 1.3;
    EXPECT_NEAR(*series[0].PeakDbi, peak0, 1e-12);
    EXPECT_NEAR(*series[1].PeakDbi - *series[0].PeakDbi, 1.7, 1e-12);
    EXPECT_EQ(*series[0].TopDbi, std::ceil(std::max(peak0, peak1)));
    for (const TChartSeries& s : series) {
        const double drawn = static_cast<double>(20 * std::log10(s.Pattern.MaxGain / s.Reference));
        EXPECT_NEAR(drawn, *s.PeakDbi - *s.TopDbi, 1e-12);
    }
    // A series without a directivity keeps every series on its own scale.
    series[1].MeanPowerDb.reset();
    series[1].Reference = 0;
    EXPECT_FALSE(UseDbiScale(series));
}

}  // namespace
