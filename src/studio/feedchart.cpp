#include "studio/feedchart.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "config/messages.h"
#include "model/msgid.h"

namespace {

constexpr int kMargin = 44;  // pixels left of each panel for its scale

const QColor kColours[] = {Qt::darkBlue, Qt::darkRed,  Qt::darkGreen,  Qt::darkMagenta,
                           Qt::darkCyan, Qt::darkGray, Qt::darkYellow, Qt::black};

// One panel: curves against the sweep's frequencies, the scale from their finite values.
void DrawPanel(QPainter& painter, const QRect& box, const QString& title,
               const std::vector<double>& mhz, const std::vector<std::vector<double>>& curves) {
    double low = INFINITY;
    double high = -INFINITY;
    for (const auto& c : curves) {
        for (double v : c) {
            if (!std::isfinite(v)) continue;
            low = std::min(low, v);
            high = std::max(high, v);
        }
    }
    painter.setPen(Qt::black);
    painter.drawRect(box);
    painter.drawText(box.adjusted(4, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop, title);
    if (!(low <= high) || mhz.size() < 2) return;
    if (high - low < 1e-9) {
        low -= 0.5;
        high += 0.5;
    }
    painter.drawText(QRect(box.left() - kMargin, box.top() - 6, kMargin - 4, 14), Qt::AlignRight,
                     QString::number(high, 'g', 3));
    painter.drawText(QRect(box.left() - kMargin, box.bottom() - 8, kMargin - 4, 14), Qt::AlignRight,
                     QString::number(low, 'g', 3));
    const auto at = [&](std::size_t i, double v) {
        const double t = (mhz[i] - mhz.front()) / (mhz.back() - mhz.front());
        return QPointF(box.left() + t * box.width(),
                       box.bottom() - (v - low) / (high - low) * box.height());
    };
    for (std::size_t k = 0; k < curves.size(); ++k) {
        painter.setPen(QPen(kColours[k % std::size(kColours)], 1.5));
        QPainterPath path;
        bool drawing = false;
        for (std::size_t i = 0; i < curves[k].size() && i < mhz.size(); ++i) {
            if (!std::isfinite(curves[k][i])) {
                drawing = false;
                continue;
            }
            if (drawing) {
                path.lineTo(at(i, curves[k][i]));
            } else {
                path.moveTo(at(i, curves[k][i]));
            }
            drawing = true;
        }
        painter.drawPath(path);
    }
}

}  // namespace

TFeedChart::TFeedChart(QWidget* parent) : QWidget(parent) {
    setMinimumSize(260, 240);
}

void TFeedChart::SetSweep(TFeedSweep sweep) {
    Data = std::move(sweep);
    setVisible(!Data.FrequenciesMhz.empty());
    update();
}

void TFeedChart::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (Data.FrequenciesMhz.empty()) return;
    const int h = (height() - 30) / 3;
    const int w = width() - kMargin - 8;
    const auto& f = Data.FrequenciesMhz;
    DrawPanel(painter, QRect(kMargin, 4, w, h - 8), QString::fromUtf8(Tr(Msgid("transmitter SWR"))),
              f, {Data.Swr});
    DrawPanel(painter, QRect(kMargin, 4 + h, w, h - 8),
              QString::fromUtf8(Tr(Msgid("current error, dB"))), f, Data.ErrorDb);
    DrawPanel(painter, QRect(kMargin, 4 + 2 * h, w, h - 8),
              QString::fromUtf8(Tr(Msgid("current error, degrees"))), f, Data.ErrorDeg);
    painter.setPen(Qt::black);
    const QRect axis(kMargin, 4 + 3 * h - 6, w, 16);
    painter.drawText(axis, Qt::AlignLeft, QString::number(f.front(), 'f', 3));
    painter.drawText(axis, Qt::AlignHCenter, QString::fromUtf8(Tr(Msgid("MHz"))));
    painter.drawText(axis, Qt::AlignRight, QString::number(f.back(), 'f', 3));
}
