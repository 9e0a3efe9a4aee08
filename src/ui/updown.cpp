#include "updown.h"

#include <QLineEdit>
#include <QMouseEvent>
#include <QTimer>

TUpDown::TUpDown(Qt::Orientation orientation, QWidget* parent)
    : QWidget(parent), orientation_(orientation), repeat_(new QTimer(this)) {
    setFocusPolicy(Qt::NoFocus);
}

void TUpDown::SetRange(int min, int max) {
    min_ = min;
    max_ = max;
}

void TUpDown::SetPosition(std::int64_t position) {
    position_ = static_cast<int>(position);
}
void TUpDown::SetAssociate(QLineEdit* edit) {
    associate_ = edit;
}
void TUpDown::SyncFromAssociate() {}
void TUpDown::Step(int delta) {
    position_ += delta;
}
QSize TUpDown::sizeHint() const {
    return {17, 25};
}
void TUpDown::paintEvent(QPaintEvent*) {}
void TUpDown::mousePressEvent(QMouseEvent*) {}
void TUpDown::mouseReleaseEvent(QMouseEvent*) {}
void TUpDown::mouseMoveEvent(QMouseEvent*) {}
bool TUpDown::eventFilter(QObject* watched, QEvent* event) {
    return QWidget::eventFilter(watched, event);
}
int TUpDown::ArrowAt(QPoint) const {
    return 0;
}
QRect TUpDown::ArrowRect(int) const {
    return {};
}
void TUpDown::RepeatStep() {}
