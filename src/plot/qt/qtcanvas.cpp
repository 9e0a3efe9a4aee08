#include "plot/qt/qtcanvas.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <cstdlib>

#include "plot/qt/qtfonts.h"

namespace {

QColor ToQColor(TColor c) {
    return QColor(c.R, c.G, c.B);
}

QFont Unsmoothed(QFont font) {
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

}  // namespace

TQtCanvas::TQtCanvas(QPainter& painter, const TRect& clip)
    : painter_(painter), clip_(clip), font_(Unsmoothed(SansSerif11())) {
    painter_.save();
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.setRenderHint(QPainter::TextAntialiasing, false);
    painter_.setClipRect(
        QRect(clip.Left, clip.Top, clip.Right - clip.Left, clip.Bottom - clip.Top));
    painter_.setBackgroundMode(Qt::TransparentMode);
    painter_.setFont(font_);
    painter_.setBrush(ToQColor(brush_));
    ApplyPen();
}

// The painter leaves with the state it came with.
TQtCanvas::~TQtCanvas() {
    FlushLines();
    painter_.restore();
}

void TQtCanvas::FlushLines() {
    if (pendingLines_.size() > 1) {
        painter_.drawPolyline(pendingLines_);
    }
    pendingLines_.clear();
}

void TQtCanvas::ApplyPen() {
    FlushLines();
    painter_.setPen(QPen(ToQColor(pen_), penWidth_, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
}

void TQtCanvas::SetPenColor(TColor color) {
    pen_ = color;
    ApplyPen();
}

void TQtCanvas::SetPenWidth(int pixels) {
    penWidth_ = pixels < 1 ? 1 : pixels;
    ApplyPen();
}

void TQtCanvas::SetBrushColor(TColor color) {
    FlushLines();
    brush_ = color;
    painter_.setBrush(ToQColor(color));
}

void TQtCanvas::SetFont(const std::string& name, int heightPixels) {
    FlushLines();
    QFont font = name == "MS Sans Serif" ? SansSerif11() : QFont(QString::fromStdString(name));
    font.setPixelSize(heightPixels > 0 ? heightPixels : 11);
    font_ = Unsmoothed(font);
    painter_.setFont(font_);
}

void TQtCanvas::SetFontColor(TColor color) {
    fontColor_ = color;
}

void TQtCanvas::FillRect(const TRect& rect) {
    FlushLines();
    if (rect.Right <= rect.Left || rect.Bottom <= rect.Top) {
        return;
    }
    painter_.fillRect(QRect(rect.Left, rect.Top, rect.Right - rect.Left, rect.Bottom - rect.Top),
                      ToQColor(brush_));
}

// The ellipse is centred on the middle of its rectangle and passes through the corners'
// coordinates, the pen centred on that outline. Qt strokes a one-pixel outline half a pixel
// right of and below its path, but fills a wider one about the path itself: shifting the wider
// outline by the same half pixel keeps every ring and marker centred on its pixel.
void TQtCanvas::Ellipse(int x1, int y1, int x2, int y2) {
    FlushLines();
    const double shift = penWidth_ > 1 ? 0.5 : 0.0;
    const QPointF centre((x1 + x2) / 2.0 + shift, (y1 + y2) / 2.0 + shift);
    painter_.drawEllipse(centre, std::abs(x2 - x1) / 2.0, std::abs(y2 - y1) / 2.0);
}

void TQtCanvas::MoveTo(int x, int y) {
    FlushLines();
    position_ = QPoint(x, y);
}

void TQtCanvas::LineTo(int x, int y) {
    if (pendingLines_.isEmpty()) {
        pendingLines_.append(position_);
    }
    position_ = QPoint(x, y);
    pendingLines_.append(position_);
}

void TQtCanvas::TextOut(int x, int y, const std::string& text) {
    FlushLines();
    const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    const QFontMetrics metrics(font_);
    painter_.fillRect(QRect(x, y, metrics.horizontalAdvance(s), metrics.height()),
                      ToQColor(brush_));
    painter_.setPen(ToQColor(fontColor_));
    painter_.drawText(QPoint(x, y + metrics.ascent()), s);
    ApplyPen();
}

int TQtCanvas::TextWidth(const std::string& text) {
    return QFontMetrics(font_).horizontalAdvance(
        QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

int TQtCanvas::TextHeight(const std::string&) {
    return QFontMetrics(font_).height();
}
