#include "studio/sweepview.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

#include "config/messages.h"
#include "plot/sweepchart.h"

namespace {

constexpr double kPanelHeight = 64;  // pixels: four emitters fit beside the figures

// An emitter's SWR, or its drive resistance where it has no SWR at the design frequency (an
// element the others feed power into), named in the reader's language; a shorted parasitic
// element, with no drive at all, has neither.
std::vector<TSweepSeries> SeriesOf(const TDriveSweep& sweep) {
    std::vector<TSweepSeries> series;
    const std::size_t design = sweep.FrequenciesMhz.size() / 2;
    for (std::size_t k = 0; k < sweep.Emitters.size(); ++k) {
        const std::string number = std::to_string(sweep.Emitters[k]);
        const std::vector<double>& r = sweep.DriveROhm[k];
        if (!std::isnan(sweep.Swr[k][design])) {
            series.push_back({TrFormat("SWR of emitter %s", {number}), sweep.Swr[k]});
        } else if (std::any_of(r.begin(), r.end(), [](double v) { return v != 0; })) {
            series.push_back({TrFormat("Drive resistance of emitter %s, ohms", {number}), r});
        }
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
    Shown = SeriesOf(Data);
    if (!Shown.empty()) {
        setFixedHeight(static_cast<int>(std::ceil(SweepChartHeight(Shown.size(), kPanelHeight))));
    }
    setVisible(!Shown.empty());
    Render();
    update();
}

void TSweepView::Render() {
    Picture = QImage(size(), QImage::Format_ARGB32_Premultiplied);
    Picture.fill(Qt::white);
    if (Shown.empty() || width() < 1 || height() < 1) return;
    // QImage's premultiplied ARGB32 is cairo's ARGB32: cairo draws straight into its memory.
    const TCairoSurface surface(cairo_image_surface_create_for_data(
        Picture.bits(), CAIRO_FORMAT_ARGB32, Picture.width(), Picture.height(),
        static_cast<int>(Picture.bytesPerLine())));
    const TCairoContext cr(cairo_create(surface.get()));
    DrawSweepChart(cr.get(), width(), kPanelHeight, Tr("Frequency, MHz"), Data.FrequenciesMhz,
                   Shown);
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
