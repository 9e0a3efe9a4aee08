#include "ui/trackbar.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace {
// The slider action of a step key; SliderNoAction for any other key.
QAbstractSlider::SliderAction StepAction(int key) {
    switch (key) {
        case Qt::Key_Up:
        case Qt::Key_Left:
            return QAbstractSlider::SliderSingleStepSub;
        case Qt::Key_Down:
        case Qt::Key_Right:
            return QAbstractSlider::SliderSingleStepAdd;
        case Qt::Key_PageUp:
            return QAbstractSlider::SliderPageStepSub;
        case Qt::Key_PageDown:
            return QAbstractSlider::SliderPageStepAdd;
        case Qt::Key_Home:
            return QAbstractSlider::SliderToMinimum;
        case Qt::Key_End:
            return QAbstractSlider::SliderToMaximum;
        default:
            return QAbstractSlider::SliderNoAction;
    }
}
}  // namespace

TTrackBar::TTrackBar(QWidget* parent) : QSlider(Qt::Vertical, parent) {
    setRange(0, 17);
    setValue(17);
    setSingleStep(1);
    setPageStep(2);
    setTickPosition(QSlider::TicksLeft);
    setTickInterval(1);
    // Position 0 at the top, as the elevation grows upwards.
    setInvertedAppearance(true);
    setInvertedControls(true);
    setFocusPolicy(Qt::StrongFocus);
    // Reported after the slider position has moved and before the value follows it, so every
    // step reports even when it cannot move any further (at an end).
    connect(this, &QAbstractSlider::actionTriggered, this, [this](int) {
        if (!Quiet) {
            emit Change();
        }
    });
}

void TTrackBar::SetPosition(int position) {
    Quiet = true;
    setSliderPosition(position);
    setValue(sliderPosition());
    Quiet = false;
}

void TTrackBar::keyPressEvent(QKeyEvent* event) {
    const SliderAction action = StepAction(event->key());
    if (action == SliderNoAction) {
        QSlider::keyPressEvent(event);
        return;
    }
    triggerAction(action);
    event->accept();
}

void TTrackBar::keyReleaseEvent(QKeyEvent* event) {
    if (StepAction(event->key()) == SliderNoAction) {
        QSlider::keyReleaseEvent(event);
        return;
    }
    event->accept();
    if (!event->isAutoRepeat()) {
        emit Change();
    }
}

void TTrackBar::mousePressEvent(QMouseEvent* event) {
    QSlider::mousePressEvent(event);
    if (event->isAccepted() && event->buttons() == event->button()) {
        MouseAction = true;
    }
}

void TTrackBar::mouseReleaseEvent(QMouseEvent* event) {
    QSlider::mouseReleaseEvent(event);
    if (MouseAction && event->buttons() == Qt::NoButton) {
        MouseAction = false;
        emit Change();
    }
}
