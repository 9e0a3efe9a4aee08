#pragma once

#include <cairo.h>

#include <array>
#include <string>
#include <vector>

// How every text of the charts and their pages is shown: through one call, which a test can
// record and an SVG back end can divert.

enum class TTextAlign { Start, Centre, End };
// Text with its anchor at (x, y): horizontally as aligned, vertically on its middle.
void ChartText(cairo_t* cr, double x, double y, const std::string& text, TTextAlign align,
               double size = 12);
// cairo_show_text at the current point, for every text of the charts and their pages.
void ShowChartText(cairo_t* cr, const std::string& text);

// A chart text for a back end that sets its own type: the string, its anchor on the baseline
// (the start, centre or end of its advance as aligned) and its font size in the surface's
// units after the current transform, and its colour (red, green, blue 0..1).
struct TChartText {
    std::string Text;
    double X = 0, Y = 0;
    double Size = 0;
    TTextAlign Align = TTextAlign::Start;
    std::array<double, 3> Colour{};
};
// While texts is set, the charts draw no glyphs and put every text there instead, so that an
// SVG can carry it as text; drawing for a file sets none.
void DivertChartTexts(std::vector<TChartText>* texts);

// Where a text was drawn: its ink's box in the picture's pixels.
struct TTextBox {
    std::string Text;
    double X, Y, Width, Height;
};
// While boxes is set, every text the charts draw adds its box there, so that a test can see
// that none covers another; drawing for a file sets none.
void RecordChartTexts(std::vector<TTextBox>* boxes);
