#include "updown.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOption>
#include <QTimer>
#include <algorithm>

namespace {
// Repeat timing of a held arrow, as on the desktop platforms (milliseconds).
constexpr int RepeatDelay = 400;
constexpr int RepeatInterval = 100;
}  // namespace

TUpDown::TUpDown(Qt::Orientation orientation, QWidget* parent)
    : QWidget(parent), orientation_(orientation), repeat_(new QTimer(this)) {
    setFocusPolicy(Qt::NoFocus);
    connect(repeat_, &QTimer::timeout, this, &TUpDown::RepeatStep);
}

void TUpDown::SetRange(int min, int max) {
    min_ = min;
    max_ = std::max(min, max);
    position_ = std::clamp(position_, min_, max_);
    update();
}

void TUpDown::SetPosition(std::int64_t position) {
    const auto low16 = static_cast<std::int16_t>(static_cast<std::uint16_t>(position & 0xFFFF));
    position_ = std::clamp(static_cast<int>(low16), min_, max_);
    update();
}

void TUpDown::SetAssociate(QLineEdit* edit) {
    if (associate_ != nullptr) {
        associate_->removeEventFilter(this);
    }
    associate_ = edit;
    if (associate_ != nullptr) {
        associate_->installEventFilter(this);
    }
}

void TUpDown::SyncFromAssociate() {
    if (associate_ == nullptr) {
        return;
    }
    const QString text = associate_->text().trimmed();
    const int digitsFrom = text.startsWith('-') || text.startsWith('+') ? 1 : 0;
    // More than nine digits cannot be within an int range; also keeps the parse from overflow.
    if (text.size() == digitsFrom || text.size() - digitsFrom > 9) {
        return;
    }
    for (qsizetype i = digitsFrom; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return;
        }
    }
    const long long value = text.toLongLong();
    if (value >= min_ && value <= max_) {
        position_ = static_cast<int>(value);
    }
}

void TUpDown::Step(int delta) {
    SyncFromAssociate();
    const long long next = static_cast<long long>(position_) + delta;
    if (next > max_) {
        position_ = wrap_ ? min_ : max_;
    } else if (next < min_) {
        position_ = wrap_ ? max_ : min_;
    } else {
        position_ = static_cast<int>(next);
    }
    if (associate_ != nullptr) {
        associate_->setText(QString::number(position_));
    }
    update();
    emit Changed(position_);
}

QSize TUpDown::sizeHint() const {
    return orientation_ == Qt::Horizontal ? QSize(25, 17) : QSize(17, 25);
}

QRect TUpDown::ArrowRect(int direction) const {
    if (orientation_ == Qt::Horizontal) {
        const int half = width() / 2;
        return direction > 0 ? QRect(half, 0, width() - half, height())
                             : QRect(0, 0, half, height());
    }
    const int half = height() / 2;
    return direction > 0 ? QRect(0, 0, width(), half) : QRect(0, half, width(), height() - half);
}

int TUpDown::ArrowAt(QPoint point) const {
    if (ArrowRect(+1).contains(point)) {
        return +1;
    }
    return ArrowRect(-1).contains(point) ? -1 : 0;
}

void TUpDown::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    for (const int direction : {+1, -1}) {
        QStyleOption option;
        option.initFrom(this);
        option.rect = ArrowRect(direction);
        const bool sunken = pressedArrow_ == direction && pointerOnPressedArrow_;
        option.state |= sunken ? QStyle::State_Sunken : QStyle::State_Raised;
        style()->drawPrimitive(QStyle::PE_PanelButtonBevel, &option, &painter, this);
        if (sunken) {
            option.rect.translate(1, 1);
        }
        option.rect.adjust(2, 2, -2, -2);
        QStyle::PrimitiveElement arrow;
        if (orientation_ == Qt::Horizontal) {
            arrow = direction > 0 ? QStyle::PE_IndicatorArrowRight : QStyle::PE_IndicatorArrowLeft;
        } else {
            arrow = direction > 0 ? QStyle::PE_IndicatorArrowUp : QStyle::PE_IndicatorArrowDown;
        }
        style()->drawPrimitive(arrow, &option, &painter, this);
    }
}

// Qt delivers the second press of a double click as a double-click event whose default
// handling calls this again, so each press is one step.
void TUpDown::mousePressEvent(QMouseEvent* event) {
    pressedButtons_ |= event->button();
    if (event->button() != Qt::LeftButton) {
        return;
    }
    const int arrow = ArrowAt(event->position().toPoint());
    if (arrow == 0) {
        return;
    }
    pressedArrow_ = arrow;
    pointerOnPressedArrow_ = true;
    Step(arrow);
    repeat_->start(RepeatDelay);
}

void TUpDown::mouseMoveEvent(QMouseEvent* event) {
    if (pressedArrow_ == 0) {
        return;
    }
    const bool on = ArrowRect(pressedArrow_).contains(event->position().toPoint());
    if (on != pointerOnPressedArrow_) {
        pointerOnPressedArrow_ = on;
        update();
    }
}

void TUpDown::RepeatStep() {
    repeat_->setInterval(RepeatInterval);
    if (pressedArrow_ != 0 && pointerOnPressedArrow_) {
        Step(pressedArrow_);
    }
}

void TUpDown::mouseReleaseEvent(QMouseEvent* event) {
    const Qt::MouseButton button = event->button();
    if (button == Qt::LeftButton) {
        repeat_->stop();
        pressedArrow_ = 0;
        update();
    }
    if (pressedButtons_.testFlag(button)) {
        pressedButtons_ &= ~Qt::MouseButtons(button);
        emit MouseUp(button);
    }
}

bool TUpDown::eventFilter(QObject* watched, QEvent* event) {
    if (watched == associate_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            Step(key == Qt::Key_Up ? +1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
