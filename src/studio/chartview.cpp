#include "studio/chartview.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "config/messages.h"
#include "config/numtext.h"
#include "model/angles.h"
#include "model/pattern.h"
#include "plot/sansfont.h"
#include "studio/cairoimage.h"

namespace {

constexpr double kMargin = 8;      // pixels around the chart
constexpr double kChartFont = 12;  // the charts' own text size, which sets their frames

// Where a chart puts its centre and 0 dB radius in its box, as the plot layer
// lays it out.
struct TFrame {
    double Cx, Cy, Radius;
};

TFrame FrameOf(TChartView::TKind kind, const TChartBox& box, std::size_t series) {
    const double legend = LegendHeight(LegendRows(std::max<std::size_t>(series, 1), box.Height));
    if (kind == TChartView::TKind::PolarDb) {
        const double side = std::min(box.Width, box.Height - legend);
        return {box.X + box.Width / 2, box.Y + legend + side / 2, side / 2 - kChartFont * 2};
    }
    const double radius =
        std::min(box.Width - kChartFont * 4, box.Height - legend - kChartFont * 6);
    return {box.X + kChartFont * 1.5, box.Y + legend + kChartFont * 2 + radius, radius};
}

// The samples held at the floor under the chart's 0 dB (the series' own
// maximum, or the overlay's dBi top): nothing below it is drawn lower.
void ClipAtFloor(long double* values, std::size_t count, double floorDb, long double reference) {
    const long double maximum =
        reference > 0 ? reference : *std::max_element(values, values + count);
    const long double floor = maximum * std::pow(10.0L, static_cast<long double>(floorDb) / 20);
    for (std::size_t i = 0; i < count; ++i) values[i] = std::max(values[i], floor);
}

std::string LevelDbText(long double value, long double maximum) {
    if (!(value > 0) || !(maximum > 0)) return "\u2212\u221e";
    return FormatFixed(20 * std::log10(value / maximum), 18, 2);
}

}  // namespace

TChartView::TChartView(TKind kind, QWidget* parent) : QWidget(parent), Kind(kind) {
    setMouseTracking(true);
    setMinimumSize(260, 260);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TChartView::SetSeries(std::vector<TChartSeries> series, double floorDb) {
    if (series.size() > 1) UseDbiScale(series);
    Series = std::move(series);
    FloorDb = floorDb;
    for (TChartSeries& s : Series) {
        if (s.Zero) continue;
        ClipAtFloor(s.Pattern.Samples.data(), s.Pattern.Samples.size(), floorDb, s.Reference);
        ClipAtFloor(s.Cut.data(), s.Cut.size(), floorDb, s.Reference);
    }
    Render();
    update();
}

void TChartView::SetNullMarks(const std::vector<double>& bearings) {
    NullMarks = bearings;
}

std::vector<std::string> TChartView::SeriesNames() const {
    std::vector<std::string> names;
    for (const TChartSeries& s : Series) names.push_back(s.Name);
    return names;
}

QPointF TChartView::PointOf(double bearing) const {
    const TFrame f = FrameOf(Kind, Box(), Series.size());
    const double a = bearing * static_cast<double>(kPi) / 180;
    const double r = 0.8 * f.Radius;
    return {f.Cx + r * std::sin(a), f.Cy - r * std::cos(a)};
}

TChartBox TChartView::Box() const {
    return {kMargin, kMargin, width() - 2 * kMargin, height() - 2 * kMargin};
}

void TChartView::Render() {
    Picture = QImage(size(), QImage::Format_ARGB32_Premultiplied);
    Picture.fill(Qt::white);
    if (Series.empty() || width() < 2 * kMargin + 1 || height() < 2 * kMargin + 1) return;
    DrawIntoImage(Picture, [this](cairo_t* cr) {
        cairo_set_font_face(cr, SansFontFace());
        if (Kind == TKind::PolarDb) {
            DrawPolarDb(cr, Box(), Series);
            DrawNullMarks(cr);
        } else {
            DrawElevationChart(cr, Box(), Series);
        }
    });
    ++DrawCount;
}

// Each placed null as a short red stroke across the rim at its bearing.
void TChartView::DrawNullMarks(cairo_t* cr) const {
    const TFrame f = FrameOf(Kind, Box(), Series.size());
    for (const double bearing : NullMarks) {
        const double a = bearing * static_cast<double>(kPi) / 180;
        cairo_move_to(cr, f.Cx + 0.92 * f.Radius * std::sin(a),
                      f.Cy - 0.92 * f.Radius * std::cos(a));
        cairo_line_to(cr, f.Cx + 1.08 * f.Radius * std::sin(a),
                      f.Cy - 1.08 * f.Radius * std::cos(a));
    }
    cairo_set_source_rgb(cr, 0.85, 0, 0);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
}

void TChartView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, Picture);
}

void TChartView::resizeEvent(QResizeEvent*) {
    Render();
}

// Clockwise from straight up in degrees, -180 to 180, as the charts lay out bearings; none
// off the chart.
std::optional<double> TChartView::RimAngle(QPointF point) const {
    const TFrame f = FrameOf(Kind, Box(), Series.size());
    const double dx = point.x() - f.Cx;
    const double dy = f.Cy - point.y();
    if (std::hypot(dx, dy) > f.Radius || f.Radius <= 0) return std::nullopt;
    return std::atan2(dx, dy) * 180 / static_cast<double>(kPi);
}

std::optional<int> TChartView::AngleAt(QPointF point) const {
    const std::optional<double> angle = RimAngle(point);
    if (!angle) return std::nullopt;
    if (Kind == TKind::PolarDb) return static_cast<int>(std::lround(*angle + 360)) % 360;
    if (*angle < 0 || *angle > 90) return std::nullopt;
    return static_cast<int>(std::lround(90 - *angle));
}

std::optional<double> TChartView::BearingAt(QPointF point) const {
    const std::optional<double> angle = Kind == TKind::PolarDb ? RimAngle(point) : std::nullopt;
    if (!angle) return std::nullopt;
    return *angle < 0 ? *angle + 360 : *angle;
}

void TChartView::UpdateReadout(QPointF point) {
    QString text;
    const std::optional<int> angle = Series.empty() ? std::nullopt : AngleAt(point);
    const TChartSeries* current = Series.empty() ? nullptr : &Series.front();
    if (angle && !current->Zero) {
        if (Kind == TKind::PolarDb) {
            const auto& s = current->Pattern.Samples;
            const long double value = s[static_cast<std::size_t>((*angle + 180) % 360)];
            text = QString::fromStdString(
                TrFormat("bearing %s deg: %s dB",
                         {std::to_string(*angle), LevelDbText(value, current->Pattern.MaxGain)}));
        } else {
            const auto& c = current->Cut;
            const long double maximum = *std::max_element(c.begin(), c.end());
            text = QString::fromStdString(
                TrFormat("elevation %s deg: %s dB",
                         {std::to_string(*angle),
                          LevelDbText(c[static_cast<std::size_t>(*angle)], maximum)}));
        }
    }
    if (text == Cursor) return;
    Cursor = text;
    emit ReadoutChanged(Cursor);
}

void TChartView::mouseMoveEvent(QMouseEvent* event) {
    UpdateReadout(event->position());
}

void TChartView::mousePressEvent(QMouseEvent* event) {
    if (Kind != TKind::PolarDb || event->button() != Qt::LeftButton) return;
    std::optional<double> bearing = BearingAt(event->position());
    if (!bearing) return;
    // A pixel is a fraction of a degree that nobody meant: half degrees read as typed, and
    // Shift keeps the pixel's own bearing.
    if (!(event->modifiers() & Qt::ShiftModifier))
        bearing = std::fmod(std::round(*bearing * 2) / 2, 360.0);
    emit BearingClicked(*bearing);
}

void TChartView::leaveEvent(QEvent*) {
    if (Cursor.isEmpty()) return;
    Cursor.clear();
    emit ReadoutChanged(Cursor);
}
