#include "ui/radiogroup.h"

#include <QButtonGroup>
#include <QRadioButton>

namespace {
// Height of the group's caption line at the design font; the items are laid out below it.
constexpr int kCaptionHeight = 13;
}  // namespace

TRadioGroup::TRadioGroup(const QString& title, const QStringList& items, QWidget* parent)
    : QGroupBox(title, parent),
      Group(new QButtonGroup(this)),
      Selection(static_cast<int>(items.size()), -1) {
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items[i], this);
        Group->addButton(button, i);
        Buttons.push_back(button);
        connect(button, &QRadioButton::toggled, this,
                [this, i](bool checked) { ButtonToggled(i, checked); });
    }
    ArrangeButtons();
}

QRadioButton* TRadioGroup::Button(int index) const {
    return index >= 0 && index < Count() ? Buttons[static_cast<std::size_t>(index)] : nullptr;
}

void TRadioGroup::SetItemIndex(int index) {
    index = Selection.Limit(index);
    if (index == Selection.Value()) {
        return;
    }
    if (index >= 0) {
        Button(index)->setChecked(true);
        return;
    }
    Group->setExclusive(false);
    Button(Selection.Value())->setChecked(false);
    Group->setExclusive(true);
}

void TRadioGroup::ButtonToggled(int index, bool checked) {
    if (checked) {
        if (Selection.Select(index)) emit Click();
    } else if (index == Selection.Value() && Group->checkedId() < 0) {
        Selection.Select(-1);
    }
}

void TRadioGroup::resizeEvent(QResizeEvent* event) {
    QGroupBox::resizeEvent(event);
    ArrangeButtons();
}

// One column: each item as wide as the group less 10, the height below the caption shared
// evenly, the remainder split above and below.
void TRadioGroup::ArrangeButtons() {
    if (Buttons.empty()) {
        return;
    }
    const int count = Count();
    const int buttonWidth = width() - 10;
    const int free = height() - kCaptionHeight - 5;
    const int buttonHeight = free / count;
    const int top = kCaptionHeight + 1 + (free % count) / 2;
    for (int i = 0; i < count; ++i) {
        Buttons[static_cast<std::size_t>(i)]->setGeometry(8, top + i * buttonHeight, buttonWidth,
                                                          buttonHeight);
    }
}
