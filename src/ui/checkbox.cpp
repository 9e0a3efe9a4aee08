#include "ui/checkbox.h"

#include <QStyleOptionButton>
#include <QStylePainter>

TCheckBox::TCheckBox(const QString& text, QWidget* parent) : QCheckBox(text, parent) {}

void TCheckBox::SetTextLeft(bool textLeft) {
    TextOnLeft = textLeft;
    update();
}

void TCheckBox::paintEvent(QPaintEvent* event) {
    if (!TextOnLeft) {
        QCheckBox::paintEvent(event);
        return;
    }
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QRect indicator = style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, this);
    QStyleOptionButton box = option;
    box.rect = QRect(width() - indicator.width(), (height() - indicator.height()) / 2,
                     indicator.width(), indicator.height());
    painter.drawPrimitive(QStyle::PE_IndicatorCheckBox, box);
    const QRect textRect(0, 0, box.rect.left(), height());
    painter.drawItemText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic,
                         palette(), isEnabled(), text(), QPalette::WindowText);
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = painter.boundingRect(textRect, Qt::AlignLeft | Qt::AlignVCenter, text())
                         .adjusted(-1, 0, 1, 0);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

bool TCheckBox::hitButton(const QPoint& pos) const {
    return TextOnLeft ? rect().contains(pos) : QCheckBox::hitButton(pos);
}
