#include "ui/label.h"

TLabel::TLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Window);
    setFocusPolicy(Qt::NoFocus);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void TLabel::SetAlignRight(bool alignRight) {
    RightAligned = alignRight;
}

void TLabel::SetText(const QString& text) {
    if (text == this->text()) {
        return;
    }
    setText(text);
    FitToText();
}

void TLabel::FitToText() {
    const QFontMetrics metrics(font());
    const int width = metrics.horizontalAdvance(text());
    const int height = metrics.height();
    const QRect old = geometry();
    const int left = RightAligned ? old.x() + old.width() - width : old.x();
    setGeometry(left, old.y(), width, height);
}
