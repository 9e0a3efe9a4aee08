#include "studio/geometrycanvas.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <array>
#include <cmath>

#include "config/messages.h"
#include "model/msgid.h"
#include "model/phaseangle.h"

namespace {

constexpr double kSnap = 64;         // steps a wavelength, as the window's arrows
constexpr double kLargestDisc = 14;  // pixels, the radius of the largest amplitude
constexpr double kSmallestDisc = 4;

// The span that shows every emitter on with room round it, in quarter wavelengths.
double SpanOf(const TArray& array) {
    long double far = 0.125L;
    for (const TEmitter& e : array.Emitters) {
        if (e.Enabled) far = std::max({far, std::fabs(e.X), std::fabs(e.Y)});
    }
    return std::ceil(static_cast<double>(far) * 4 + 0.5) / 4;
}

}  // namespace

std::string PlaceLabel(const TArray& array, int k) {
    const TEmitter& e = array.Emitter(k);
    std::vector<int> group;
    for (int j = 1; j <= kEmitterCount; ++j) {
        const TEmitter& other = array.Emitter(j);
        if (other.X == e.X && other.Y == e.Y) group.push_back(j);
    }
    if (group.back() != k) return {};
    // Runs of consecutive numbers as "5–8", the rest listed: "1,3,5–8".
    std::string text;
    for (std::size_t i = 0; i < group.size();) {
        std::size_t end = i;
        while (end + 1 < group.size() && group[end + 1] == group[end] + 1) ++end;
        if (!text.empty()) text += ',';
        text += std::to_string(group[i]);
        if (end >= i + 2) {
            text += "\u2013" + std::to_string(group[end]);
        } else if (end == i + 1) {
            text += ',' + std::to_string(group[end]);
        }
        i = end + 1;
    }
    return text;
}

TGeometryCanvas::TGeometryCanvas(QWidget* parent) : QWidget(parent) {
    setMinimumSize(220, 220);
}

void TGeometryCanvas::SetArray(const TArray& array) {
    Array = array;
    if (Dragging == 0) Span = SpanOf(array);
    update();
}

double TGeometryCanvas::PixelsPerWavelength() const {
    return (std::min(width(), height()) / 2.0 - kLargestDisc - 4) / Span;
}

QPointF TGeometryCanvas::PointOf(int k) const {
    const TEmitter& e = Array.Emitter(k);
    const double scale = PixelsPerWavelength();
    return {width() / 2.0 + static_cast<double>(e.X) * scale,
            height() / 2.0 - static_cast<double>(e.Y) * scale};
}

std::optional<int> TGeometryCanvas::EmitterAt(QPointF point) const {
    // The topmost drawn, the last, wins where discs overlap.
    for (int k = kEmitterCount; k >= 1; --k) {
        const QPointF d = point - PointOf(k);
        if (std::hypot(d.x(), d.y()) <= kLargestDisc) return k;
    }
    return std::nullopt;
}

void TGeometryCanvas::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), Qt::white);
    const double scale = PixelsPerWavelength();
    const QPointF centre(width() / 2.0, height() / 2.0);
    // A line every quarter wavelength, the axes darker.
    for (int i = -static_cast<int>(Span * 4); i <= static_cast<int>(Span * 4); ++i) {
        p.setPen(QPen(i == 0 ? QColor(150, 150, 150) : QColor(225, 225, 225), 1));
        const double d = i * scale / 4;
        p.drawLine(QPointF(centre.x() + d, centre.y() - Span * scale),
                   QPointF(centre.x() + d, centre.y() + Span * scale));
        p.drawLine(QPointF(centre.x() - Span * scale, centre.y() - d),
                   QPointF(centre.x() + Span * scale, centre.y() - d));
    }
    p.setPen(Qt::black);
    // North in the reader's language, as the 3-D view's compass names it.
    p.drawText(QPointF(centre.x() + 4, centre.y() - Span * scale + 12),
               QString::fromUtf8(Tr(Msgid("N"))));
    std::array<double, kEmitterCount> radii{};
    long double largest = 0;
    for (const TEmitter& e : Array.Emitters) largest = std::max(largest, e.Amplitude);
    for (int k = 1; k <= kEmitterCount; ++k) {
        const TEmitter& e = Array.Emitter(k);
        const QPointF at = PointOf(k);
        if (Array.EmitterType == etHorizontalDipoleNS ||
            Array.EmitterType == etHorizontalDipoleWE) {
            // Type 2 lies west-east, type 3 south-north.
            const bool westEast = Array.EmitterType == etHorizontalDipoleNS;
            const QPointF half =
                westEast ? QPointF(kLargestDisc + 6, 0) : QPointF(0, kLargestDisc + 6);
            p.setPen(QPen(e.Enabled ? Qt::black : Qt::lightGray, 2));
            p.drawLine(at - half, at + half);
        }
        const double share = largest > 0 ? static_cast<double>(e.Amplitude / largest) : 0;
        const double r = e.Enabled
                             ? kSmallestDisc + (kLargestDisc - kSmallestDisc) * std::sqrt(share)
                             : kSmallestDisc;
        // The phase in degrees round the colour wheel: 0 red, lagging towards blue.
        const double degrees = std::fmod(static_cast<double>(PhaseDegrees(e.Phase)) + 360, 360.0);
        const QColor colour = e.Enabled
                                  ? QColor::fromHsvF(static_cast<float>(degrees / 360), 0.8f, 0.9f)
                                  : QColor(235, 235, 235);
        p.setPen(QPen(e.Enabled ? Qt::black : Qt::gray, 1));
        p.setBrush(colour);
        p.drawEllipse(at, r, r);
        radii[static_cast<std::size_t>(k - 1)] = r;
    }
    // Emitters in one place (the switched-off ones wait at the origin) share one label.
    p.setPen(Qt::black);
    for (int k = 1; k <= kEmitterCount; ++k) {
        const std::string label = PlaceLabel(Array, k);
        const double r = radii[static_cast<std::size_t>(k - 1)];
        if (!label.empty())
            p.drawText(PointOf(k) + QPointF(r + 2, -r), QString::fromStdString(label));
    }
}

void TGeometryCanvas::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    if (const std::optional<int> k = EmitterAt(event->position())) {
        Dragging = *k;
        emit DragStarted(Dragging);
    }
}

void TGeometryCanvas::mouseMoveEvent(QMouseEvent* event) {
    if (Dragging == 0) return;
    const double scale = PixelsPerWavelength();
    double x = (event->position().x() - width() / 2.0) / scale;
    double y = (height() / 2.0 - event->position().y()) / scale;
    if (!(event->modifiers() & Qt::ShiftModifier)) {
        x = std::nearbyint(x * kSnap) / kSnap;
        y = std::nearbyint(y * kSnap) / kSnap;
    }
    emit Dragged(Dragging, x, y);
}

void TGeometryCanvas::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || Dragging == 0) return;
    Dragging = 0;
    Span = SpanOf(Array);
    update();
    emit DragFinished();
}
