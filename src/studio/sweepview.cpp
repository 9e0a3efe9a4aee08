#include "studio/sweepview.h"

#include <QPainter>
#include <cmath>

#include "config/messages.h"
#include "plot/sweepchart.h"

namespace {

constexpr double kPanelHeight = 64;  // pixels: four emitters fit beside the figures

// An emitter's SWR, or its drive resistance where it has no SWR at the design frequency (an
// element the others feed power into, or a parasitic one), named by the sweep's own columns.
std::vector<TSweepSeries> SeriesOf(const TDriveSweep& sweep) {
    std::vector<TSweepSeries> series;
    const std::size_t design = sweep.FrequenciesMhz.size() / 2;
    for (std::size_t k = 0; k < sweep.Emitters.size(); ++k) {
        const std::string number = std::to_string(sweep.Emitters[k]);
        series.push_back(!std::isnan(sweep.Swr[k][design])
                             ? TSweepSeries{"swr_" + number, sweep.Swr[k]}
                             : TSweepSeries{"drive_r_ohm_" + number, sweep.DriveROhm[k]});
    }
    return series;
}

}  // namespace

TSweepView::TSweepView(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumWidth(320);
    hide();
}

void TSweepView::SetSweep(TDriveSweep sweep) {
    Data = std::move(sweep);
    const bool shown = !Data.Emitters.empty();
    if (shown) {
        setFixedHeight(
            static_cast<int>(std::ceil(SweepChartHeight(Data.Emitters.size(), kPanelHeight))));
    }
    setVisible(shown);
    Render();
    update();
}

void TSweepView::Render() {
    Picture = QImage(size(), QImage::Format_ARGB32_Premultiplied);
    Picture.fill(Qt::white);
    if (Data.Emitters.empty() || width() < 1 || height() < 1) return;
    // QImage's premultiplied ARGB32 is cairo's ARGB32: cairo draws straight into its memory.
    const TCairoSurface surface(cairo_image_surface_create_for_data(
        Picture.bits(), CAIRO_FORMAT_ARGB32, Picture.width(), Picture.height(),
        static_cast<int>(Picture.bytesPerLine())));
    const TCairoContext cr(cairo_create(surface.get()));
    DrawSweepChart(cr.get(), width(), kPanelHeight, Tr("Frequency, MHz"), Data.FrequenciesMhz,
                   SeriesOf(Data));
    cairo_surface_flush(surface.get());
    ++DrawCount;
}

void TSweepView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, Picture);
}

void TSweepView::resizeEvent(QResizeEvent*) {
    Render();
}
