#include "speedbutton.h"

#include <qdrawutil.h>

#include <QPainter>

namespace {
constexpr int PictureSize = 20;  // pixels, square

const QColor Outline(0, 0, 0);
const QColor ShutterGrey(192, 192, 192);
const QColor LabelWhite(255, 255, 255);
const QColor ArrowBlue(0, 0, 255);

void DrawFolderWithArrow(QPainter& p) {
    const QColor yellow(255, 255, 0);
    const QColor darkYellow(128, 128, 0);
    p.setPen(darkYellow);
    p.setBrush(darkYellow);
    p.drawPolygon(QPolygon({{1, 7}, {2, 5}, {6, 5}, {7, 7}, {14, 7}, {14, 18}, {1, 18}}));
    p.setPen(Outline);
    p.setBrush(yellow);
    p.drawPolygon(QPolygon({{1, 18}, {4, 10}, {18, 10}, {15, 18}}));
    // The arrow leaves the folder upwards and turns right: something is being taken out.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(ArrowBlue, 2));
    p.drawLine(10, 8, 10, 3);
    p.drawLine(10, 3, 15, 3);
    p.setPen(ArrowBlue);
    p.setBrush(ArrowBlue);
    p.drawPolygon(QPolygon({{15, 0}, {18, 3}, {15, 6}}));
}

void DrawDiskette(QPainter& p, const QColor& body) {
    p.setPen(Outline);
    p.setBrush(body);
    p.drawPolygon(QPolygon({{2, 2}, {17, 2}, {17, 17}, {4, 17}, {2, 15}}));
    p.setBrush(LabelWhite);
    p.drawRect(4, 2, 11, 8);
    p.setBrush(ShutterGrey);
    p.drawRect(6, 12, 8, 5);
    p.fillRect(11, 13, 2, 3, body);
}

// A small pattern lobe on the label marks the diskette that receives the diagram.
void DrawFigureOnLabel(QPainter& p) {
    p.setPen(ArrowBlue);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(6, 4, 7, 4);
    p.drawLine(9, 4, 9, 8);
}
}  // namespace

TSpeedButton::TSpeedButton(TPicture picture, QWidget* parent)
    : QAbstractButton(parent), picture_(picture) {
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover);
    resize(24, 23);
}

void TSpeedButton::SetFlat(bool flat) {
    flat_ = flat;
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
    if (!flat_ || down || underMouse()) {
        qDrawShadePanel(&painter, rect(), palette(), down, 1);
    }
    const int shift = down ? 1 : 0;
    painter.translate((width() - PictureSize) / 2 + shift, (height() - PictureSize) / 2 + shift);
    painter.setClipRect(0, 0, PictureSize, PictureSize);
    switch (picture_) {
        case pbLoad:
            DrawFolderWithArrow(painter);
            break;
        case pbSave:
            DrawDiskette(painter, QColor(0, 0, 160));
            break;
        case pbExport:
            DrawDiskette(painter, QColor(192, 0, 0));
            DrawFigureOnLabel(painter);
            break;
    }
}
