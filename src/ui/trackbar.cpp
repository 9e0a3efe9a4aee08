#include "trackbar.h"

#include <QKeyEvent>
#include <QMouseEvent>

TTrackBar::TTrackBar(QWidget* parent) : QSlider(Qt::Vertical, parent) {
    setRange(0, 17);
    setSingleStep(1);
    setPageStep(2);
    setTickPosition(QSlider::TicksLeft);
    setTickInterval(1);
    setInvertedAppearance(true);
    setInvertedControls(true);
}

void TTrackBar::SetPosition(int position) {
    quiet_ = true;
    setValue(position);
    quiet_ = false;
}

void TTrackBar::keyPressEvent(QKeyEvent* event) {
    QSlider::keyPressEvent(event);
}
void TTrackBar::keyReleaseEvent(QKeyEvent* event) {
    QSlider::keyReleaseEvent(event);
}
void TTrackBar::mousePressEvent(QMouseEvent* event) {
    QSlider::mousePressEvent(event);
}
void TTrackBar::mouseReleaseEvent(QMouseEvent* event) {
    QSlider::mouseReleaseEvent(event);
}
