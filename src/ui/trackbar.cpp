#include "trackbar.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace {
bool IsStepKey(int key) {
    switch (key) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Home:
        case Qt::Key_End:
            return true;
        default:
            return false;
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
        if (!quiet_) {
            emit Change();
        }
    });
}

void TTrackBar::SetPosition(int position) {
    quiet_ = true;
    setSliderPosition(position);
    setValue(sliderPosition());
    quiet_ = false;
}

void TTrackBar::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Up:
        case Qt::Key_Left:
            triggerAction(SliderSingleStepSub);
            break;
        case Qt::Key_Down:
        case Qt::Key_Right:
            triggerAction(SliderSingleStepAdd);
            break;
        case Qt::Key_PageUp:
            triggerAction(SliderPageStepSub);
            break;
        case Qt::Key_PageDown:
            triggerAction(SliderPageStepAdd);
            break;
        case Qt::Key_Home:
            triggerAction(SliderToMinimum);
            break;
        case Qt::Key_End:
            triggerAction(SliderToMaximum);
            break;
        default:
            QSlider::keyPressEvent(event);
            return;
    }
    event->accept();
}

void TTrackBar::keyReleaseEvent(QKeyEvent* event) {
    if (IsStepKey(event->key())) {
        event->accept();
        if (!event->isAutoRepeat()) {
            emit Change();
        }
        return;
    }
    QSlider::keyReleaseEvent(event);
}

void TTrackBar::mousePressEvent(QMouseEvent* event) {
    QSlider::mousePressEvent(event);
    if (event->isAccepted() && event->buttons() == event->button()) {
        mouseAction_ = true;
    }
}

void TTrackBar::mouseReleaseEvent(QMouseEvent* event) {
    QSlider::mouseReleaseEvent(event);
    if (mouseAction_ && event->buttons() == Qt::NoButton) {
        mouseAction_ = false;
        emit Change();
    }
}
