#include "speedbutton.h"

#include <QPainter>

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

void TSpeedButton::paintEvent(QPaintEvent*) {}
