#include "studio/sweepview.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

#include "app/sweepcolumns.h"
#include "plot/sweepchart.h"
#include "studio/cairoimage.h"

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
        const auto add = [&](const std::string& column, const std::vector<double>& values) {
            series.push_back({column, ColumnCaption(column), values});
        };
        if (!std::isnan(sweep.Swr[k][design])) {
            add("swr_" + number, sweep.Swr[k]);
        } else if (std::any_of(r.begin(), r.end(), [](double v) { return v != 0; })) {
            add("drive_r_ohm_" + number, r);
        }
    }
    return series;
}

}  // namespace

TSweepView::TSweepView(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumWidth(240);
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
    DrawIntoImage(Picture, [this](cairo_t* cr) {
        DrawSweepChart(cr, width(), kPanelHeight, ParameterCaption("frequency"),
                       Data.FrequenciesMhz, Shown);
    });
    ++DrawCount;
}

void TSweepView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, Picture);
}

void TSweepView::resizeEvent(QResizeEvent*) {
    Render();
}
