#include "plot/charttext.h"

#include <algorithm>
#include <cmath>

namespace {

std::vector<TTextBox>* Recording = nullptr;
std::vector<TChartText>* Diverted = nullptr;

// Shows the text at the current point; diverted, it records where its anchor lies after the
// current transform and moves the current point on as the glyphs would.
void ShowAligned(cairo_t* cr, const std::string& text, TTextAlign align) {
    if (Recording != nullptr) {
        cairo_text_extents_t e;
        cairo_text_extents(cr, text.c_str(), &e);
        double x;
        double y;
        cairo_get_current_point(cr, &x, &y);
        double left = HUGE_VAL, top = HUGE_VAL, right = -HUGE_VAL, bottom = -HUGE_VAL;
        for (const double cx : {x + e.x_bearing, x + e.x_bearing + e.width}) {
            for (const double cy : {y + e.y_bearing, y + e.y_bearing + e.height}) {
                double dx = cx;
                double dy = cy;
                cairo_user_to_device(cr, &dx, &dy);
                left = std::min(left, dx);
                right = std::max(right, dx);
                top = std::min(top, dy);
                bottom = std::max(bottom, dy);
            }
        }
        if (e.width > 0) Recording->push_back({text, left, top, right - left, bottom - top});
    }
    if (Diverted == nullptr) {
        cairo_show_text(cr, text.c_str());
        return;
    }
    cairo_text_extents_t e;
    cairo_text_extents(cr, text.c_str(), &e);
    double x;
    double y;
    cairo_get_current_point(cr, &x, &y);
    const double share = align == TTextAlign::Start ? 0 : align == TTextAlign::Centre ? 0.5 : 1;
    double anchorX = x + e.x_advance * share;
    double anchorY = y + e.y_advance * share;
    cairo_user_to_device(cr, &anchorX, &anchorY);
    cairo_matrix_t font;
    cairo_get_font_matrix(cr, &font);
    double sizeX = font.xy;
    double sizeY = font.yy;
    cairo_user_to_device_distance(cr, &sizeX, &sizeY);
    TChartText placed{text, anchorX, anchorY, std::hypot(sizeX, sizeY), align, {0, 0, 0}};
    double alpha;
    cairo_pattern_get_rgba(cairo_get_source(cr), &placed.Colour[0], &placed.Colour[1],
                           &placed.Colour[2], &alpha);
    Diverted->push_back(std::move(placed));
    cairo_rel_move_to(cr, e.x_advance, e.y_advance);
}

}  // namespace

void RecordChartTexts(std::vector<TTextBox>* boxes) {
    Recording = boxes;
}

void DivertChartTexts(std::vector<TChartText>* texts) {
    Diverted = texts;
}

void ShowChartText(cairo_t* cr, const std::string& text) {
    ShowAligned(cr, text, TTextAlign::Start);
}

void ChartText(cairo_t* cr, double x, double y, const std::string& text, TTextAlign align,
               double size) {
    cairo_set_font_size(cr, size);
    cairo_text_extents_t extents;
    cairo_text_extents(cr, text.c_str(), &extents);
    double left = x - extents.x_bearing;
    if (align == TTextAlign::Centre) left = x - extents.x_bearing - extents.width / 2;
    if (align == TTextAlign::End) left = x - extents.x_bearing - extents.width;
    cairo_move_to(cr, left, y - extents.y_bearing - extents.height / 2);
    ShowAligned(cr, text, align);
}
