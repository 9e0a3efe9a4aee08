#include "ui/statictext.h"

#include <QMouseEvent>

TStaticText::TStaticText(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setFocusPolicy(Qt::NoFocus);
}

void TStaticText::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        Pressed = true;
    }
    QLabel::mousePressEvent(event);
}

void TStaticText::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton || !Pressed) {
        return;
    }
    Pressed = false;
    if (rect().contains(event->position().toPoint())) {
        emit Clicked();
    }
}
