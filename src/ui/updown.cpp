#include "ui/updown.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOption>
#include <QTimer>
#include <algorithm>

namespace {
// Repeat timing of a held arrow, as on the desktop platforms (milliseconds).
constexpr int kRepeatDelay = 400;
constexpr int kRepeatInterval = 100;
}  // namespace

TUpDown::TUpDown(Qt::Orientation orientation, QWidget* parent)
    : QWidget(parent), ArrowOrientation(orientation), RepeatTimer(new QTimer(this)) {
    setFocusPolicy(Qt::NoFocus);
    connect(RepeatTimer, &QTimer::timeout, this, &TUpDown::RepeatStep);
}

void TUpDown::SetRange(int min, int max) {
    Lowest = min;
    Highest = std::max(min, max);
    Current = std::clamp(Current, Lowest, Highest);
    update();
}

void TUpDown::SetPosition(std::int64_t position) {
    const auto low16 = static_cast<std::int16_t>(static_cast<std::uint16_t>(position & 0xFFFF));
    Current = std::clamp(static_cast<int>(low16), Lowest, Highest);
    update();
}

void TUpDown::SetAssociate(QLineEdit* edit) {
    if (AssociateEdit != nullptr) {
        AssociateEdit->removeEventFilter(this);
    }
    AssociateEdit = edit;
    if (AssociateEdit != nullptr) {
        AssociateEdit->installEventFilter(this);
    }
}

void TUpDown::SyncFromAssociate() {
    if (AssociateEdit == nullptr) {
        return;
    }
    const QString text = AssociateEdit->text().trimmed();
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
    if (value >= Lowest && value <= Highest) {
        Current = static_cast<int>(value);
    }
}

void TUpDown::Step(int delta) {
    SyncFromAssociate();
    const long long next = static_cast<long long>(Current) + delta;
    if (next > Highest) {
        Current = Wraps ? Lowest : Highest;
    } else if (next < Lowest) {
        Current = Wraps ? Highest : Lowest;
    } else {
        Current = static_cast<int>(next);
    }
    if (AssociateEdit != nullptr) {
        AssociateEdit->setText(QString::number(Current));
    }
    update();
    emit Changed(Current);
}

QSize TUpDown::sizeHint() const {
    return ArrowOrientation == Qt::Horizontal ? QSize(25, 17) : QSize(17, 25);
}

QRect TUpDown::ArrowRect(int direction) const {
    if (ArrowOrientation == Qt::Horizontal) {
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
        const bool sunken = PressedArrow == direction && PointerOnPressedArrow;
        option.state |= sunken ? QStyle::State_Sunken : QStyle::State_Raised;
        style()->drawPrimitive(QStyle::PE_PanelButtonBevel, &option, &painter, this);
        if (sunken) {
            option.rect.translate(1, 1);
        }
        option.rect.adjust(2, 2, -2, -2);
        QStyle::PrimitiveElement arrow;
        if (ArrowOrientation == Qt::Horizontal) {
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
    PressedButtons |= event->button();
    if (event->button() != Qt::LeftButton) {
        return;
    }
    const int arrow = ArrowAt(event->position().toPoint());
    if (arrow == 0) {
        return;
    }
    PressedArrow = arrow;
    PointerOnPressedArrow = true;
    Step(arrow);
    RepeatTimer->start(kRepeatDelay);
}

void TUpDown::mouseMoveEvent(QMouseEvent* event) {
    if (PressedArrow == 0) {
        return;
    }
    const bool on = ArrowRect(PressedArrow).contains(event->position().toPoint());
    if (on != PointerOnPressedArrow) {
        PointerOnPressedArrow = on;
        update();
    }
}

void TUpDown::RepeatStep() {
    RepeatTimer->setInterval(kRepeatInterval);
    if (PressedArrow != 0 && PointerOnPressedArrow) {
        Step(PressedArrow);
    }
}

void TUpDown::mouseReleaseEvent(QMouseEvent* event) {
    const Qt::MouseButton button = event->button();
    if (button == Qt::LeftButton) {
        RepeatTimer->stop();
        PressedArrow = 0;
        update();
    }
    if (PressedButtons.testFlag(button)) {
        PressedButtons &= ~Qt::MouseButtons(button);
        emit MouseUp(button);
    }
}

bool TUpDown::eventFilter(QObject* watched, QEvent* event) {
    if (watched == AssociateEdit && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            Step(key == Qt::Key_Up ? +1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
