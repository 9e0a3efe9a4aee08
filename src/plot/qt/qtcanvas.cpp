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
    : Painter(painter), Clip(clip), Font(Unsmoothed(SansSerif11())) {
    Painter.save();
    Painter.setRenderHint(QPainter::Antialiasing, false);
    Painter.setRenderHint(QPainter::TextAntialiasing, false);
    Painter.setClipRect(QRect(clip.Left, clip.Top, clip.Right - clip.Left, clip.Bottom - clip.Top));
    Painter.setBackgroundMode(Qt::TransparentMode);
    Painter.setFont(Font);
    Painter.setBrush(ToQColor(Brush));
    ApplyPen();
}

// The painter leaves with the state it came with.
TQtCanvas::~TQtCanvas() {
    FlushLines();
    Painter.restore();
}

void TQtCanvas::FlushLines() {
    if (PendingLines.size() > 1) {
        Painter.drawPolyline(PendingLines);
    }
    PendingLines.clear();
}

void TQtCanvas::ApplyPen() {
    FlushLines();
    Painter.setPen(QPen(ToQColor(Pen), PenWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
}

void TQtCanvas::SetPenColor(TColor color) {
    Pen = color;
    ApplyPen();
}

void TQtCanvas::SetPenWidth(int pixels) {
    PenWidth = pixels < 1 ? 1 : pixels;
    ApplyPen();
}

void TQtCanvas::SetBrushColor(TColor color) {
    FlushLines();
    Brush = color;
    Painter.setBrush(ToQColor(color));
}

void TQtCanvas::SetFont(const std::string& name, int heightPixels) {
    FlushLines();
    QFont font = name == "MS Sans Serif" ? SansSerif11() : QFont(QString::fromStdString(name));
    font.setPixelSize(heightPixels > 0 ? heightPixels : 11);
    Font = Unsmoothed(font);
    Painter.setFont(Font);
}

void TQtCanvas::SetFontColor(TColor color) {
    FontColor = color;
}

void TQtCanvas::FillRect(const TRect& rect) {
    FlushLines();
    if (rect.Right <= rect.Left || rect.Bottom <= rect.Top) {
        return;
    }
    Painter.fillRect(QRect(rect.Left, rect.Top, rect.Right - rect.Left, rect.Bottom - rect.Top),
                     ToQColor(Brush));
}

// The ellipse is centred on the middle of its rectangle and passes through the corners'
// coordinates, the pen centred on that outline. Qt strokes a one-pixel outline half a pixel
// right of and below its path, but fills a wider one about the path itself: shifting the wider
// outline by the same half pixel keeps every ring and marker centred on its pixel.
void TQtCanvas::Ellipse(int x1, int y1, int x2, int y2) {
    FlushLines();
    const double shift = PenWidth > 1 ? 0.5 : 0.0;
    const QPointF centre((x1 + x2) / 2.0 + shift, (y1 + y2) / 2.0 + shift);
    Painter.drawEllipse(centre, std::abs(x2 - x1) / 2.0, std::abs(y2 - y1) / 2.0);
}

void TQtCanvas::MoveTo(int x, int y) {
    FlushLines();
    Position = QPoint(x, y);
}

void TQtCanvas::LineTo(int x, int y) {
    if (PendingLines.isEmpty()) {
        PendingLines.append(Position);
    }
    Position = QPoint(x, y);
    PendingLines.append(Position);
}

void TQtCanvas::TextOut(int x, int y, const std::string& text) {
    FlushLines();
    const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    const QFontMetrics metrics(Font);
    Painter.fillRect(QRect(x, y, metrics.horizontalAdvance(s), metrics.height()), ToQColor(Brush));
    Painter.setPen(ToQColor(FontColor));
    Painter.drawText(QPoint(x, y + metrics.ascent()), s);
    ApplyPen();
}

int TQtCanvas::TextWidth(const std::string& text) {
    return QFontMetrics(Font).horizontalAdvance(
        QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

int TQtCanvas::TextHeight(const std::string&) {
    return QFontMetrics(Font).height();
}
