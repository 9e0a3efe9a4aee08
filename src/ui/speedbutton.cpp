#include "ui/speedbutton.h"

#include <qdrawutil.h>

#include <QPainter>

namespace {
constexpr int kPictureSize = 20;  // pixels, square

const QColor kOutline(0, 0, 0);
const QColor kShutterGrey(192, 192, 192);
const QColor kLabelWhite(255, 255, 255);
const QColor kArrowBlue(0, 0, 255);

void DrawFolderWithArrow(QPainter& p) {
    const QColor yellow(255, 255, 0);
    const QColor darkYellow(128, 128, 0);
    p.setPen(darkYellow);
    p.setBrush(darkYellow);
    p.drawPolygon(QPolygon({{1, 7}, {2, 5}, {6, 5}, {7, 7}, {14, 7}, {14, 18}, {1, 18}}));
    p.setPen(kOutline);
    p.setBrush(yellow);
    p.drawPolygon(QPolygon({{1, 18}, {4, 10}, {18, 10}, {15, 18}}));
    // The arrow leaves the folder upwards and turns right: something is being taken out.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kArrowBlue, 2));
    p.drawLine(10, 8, 10, 3);
    p.drawLine(10, 3, 15, 3);
    p.setPen(kArrowBlue);
    p.setBrush(kArrowBlue);
    p.drawPolygon(QPolygon({{15, 0}, {18, 3}, {15, 6}}));
}

void DrawDiskette(QPainter& p, const QColor& body) {
    p.setPen(kOutline);
    p.setBrush(body);
    p.drawPolygon(QPolygon({{2, 2}, {17, 2}, {17, 17}, {4, 17}, {2, 15}}));
    p.setBrush(kLabelWhite);
    p.drawRect(4, 2, 11, 8);
    p.setBrush(kShutterGrey);
    p.drawRect(6, 12, 8, 5);
    p.fillRect(11, 13, 2, 3, body);
}

// A small pattern lobe on the label marks the diskette that receives the diagram.
void DrawFigureOnLabel(QPainter& p) {
    p.setPen(kArrowBlue);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(6, 4, 7, 4);
    p.drawLine(9, 4, 9, 8);
}
}  // namespace

TSpeedButton::TSpeedButton(TPicture picture, QWidget* parent)
    : QAbstractButton(parent), Kind(picture) {
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover);
    resize(24, 23);
}

void TSpeedButton::SetFlat(bool flat) {
    IsFlat = flat;
    update();
}

void TSpeedButton::enterEvent(QEnterEvent* event) {
    QAbstractButton::enterEvent(event);
    update();
}

void TSpeedButton::leaveEvent(QEvent* event) {
    QAbstractButton::leaveEvent(event);
    update();
}

// The face is left unpainted so that the panel's colour shows through around the picture.
void TSpeedButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const bool down = isDown();
    if (!IsFlat || down || underMouse()) {
        qDrawShadePanel(&painter, rect(), palette(), down, 1);
    }
    const int shift = down ? 1 : 0;
    painter.translate((width() - kPictureSize) / 2 + shift, (height() - kPictureSize) / 2 + shift);
    painter.setClipRect(0, 0, kPictureSize, kPictureSize);
    switch (Kind) {
        case TPicture::Load:
            DrawFolderWithArrow(painter);
            break;
        case TPicture::Save:
            DrawDiskette(painter, QColor(0, 0, 160));
            break;
        case TPicture::Export:
            DrawDiskette(painter, QColor(192, 0, 0));
            DrawFigureOnLabel(painter);
            break;
    }
}
