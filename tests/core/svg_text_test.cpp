#include <gtest/gtest.h>

#include <regex>

#include "app/analysis.h"
#include "plot/charts.h"
#include "plot/sansfont.h"
#include "plot/svgtext.h"

namespace {

using TDraw = void (*)(cairo_t*, const TChartBox&, const std::vector<TChartSeries>&);

std::string ChartSvg(TDraw draw, const std::string& name) {
    TArrayCase initial;
    initial.Array = MakeInitialArray();
    TChartSeries series = ChartSeriesOf(*Analyse(initial).Result);
    series.Name = name;
    return TextSvg(440, 480, "c7-", [&](cairo_t* cr) {
        cairo_set_font_face(cr, SansFontFace());
        draw(cr, TChartBox{10, 10, 420, 460}, {series});
    });
}

std::size_t Count(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++n;
    }
    return n;
}

struct TSvgCase {
    const char* Name;
    TDraw Draw;
    std::size_t FewestTexts;
    const char* Label;  // one text the chart must carry as it reads
};

class SvgTextTest : public testing::TestWithParam<TSvgCase> {};

TEST_P(SvgTextTest, ChartTextsBecomeTextElementsAndNoGlyphOutlines) {
    const std::string svg = ChartSvg(GetParam().Draw, "a<b>&\"c\".txt");
    EXPECT_EQ(svg.rfind("<svg", 0), 0u) << "no XML declaration inside a page";
    EXPECT_GE(Count(svg, "<text "), GetParam().FewestTexts);
    EXPECT_EQ(Count(svg, "<symbol"), 0u) << "a text drawn as glyph outlines";
    EXPECT_NE(svg.find(std::string(">") + GetParam().Label + "</text>"), std::string::npos);
    EXPECT_NE(svg.find(">a&lt;b&gt;&amp;&quot;c&quot;.txt"), std::string::npos) << "the legend";
    // Every id is the chart's own, so that several charts share one page.
    EXPECT_EQ(Count(svg, "id=\""), Count(svg, "id=\"c7-"));
    EXPECT_EQ(Count(svg, "url(#"), Count(svg, "url(#c7-"));
}

INSTANTIATE_TEST_SUITE_P(Charts, SvgTextTest,
                         testing::Values(TSvgCase{"polar", DrawPolarDb, 13, "330"},
                                         TSvgCase{"rect", DrawRectDb, 18, "Bearing, deg"},
                                         TSvgCase{"elevation", DrawElevationChart, 9,
                                                  "Elevation, deg"}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(SvgTextAnchorTest, AnchorsFollowTheAlignmentAndTheTransform) {
    const std::string svg = TextSvg(100, 100, "t-", [](cairo_t* cr) {
        cairo_set_font_face(cr, SansFontFace());
        cairo_translate(cr, 10, 20);
        cairo_scale(cr, 2, 2);
        cairo_set_source_rgb(cr, 1, 0, 0);
        ChartText(cr, 20, 10, "N", TTextAlign::Centre, 6);
        ChartText(cr, 20, 30, "E", TTextAlign::End, 6);
    });
    // The centre of the ink and of the advance lie within a pixel at this size.
    std::smatch m;
    ASSERT_TRUE(std::regex_search(svg, m,
                                  std::regex("<text x=\"([0-9.]+)\" y=\"[0-9.]+\" font-size=\"12\" "
                                             "fill=\"#ff0000\" text-anchor=\"middle\">N</text>")))
        << svg;
    EXPECT_NEAR(std::stod(m[1]), 10 + 2 * 20, 1);
    EXPECT_TRUE(std::regex_search(svg, std::regex("text-anchor=\"end\">E</text>"))) << svg;
    EXPECT_EQ(Count(svg, "<symbol"), 0u);
}

}  // namespace
