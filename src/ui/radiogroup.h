#pragma once

#include <QGroupBox>
#include <QStringList>
#include <vector>

#include "form/itemindex.h"

class QButtonGroup;
class QRadioButton;

// A titled group of radio items in one column. ItemIndex -1 means no item selected.
// Click() is raised whenever the selection moves to an item (user or program), by TItemIndex's
// rule.
class TRadioGroup : public QGroupBox {
    Q_OBJECT

  public:
    TRadioGroup(const QString& title, const QStringList& items, QWidget* parent = nullptr);

    int ItemIndex() const { return Selection.Value(); }
    // Limited to -1 .. item count - 1.
    void SetItemIndex(int index);
    int Count() const { return static_cast<int>(Buttons.size()); }
    QRadioButton* Button(int index) const;

  signals:
    void Click();

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void ArrangeButtons();
    void ButtonToggled(int index, bool checked);

    QButtonGroup* Group;
    std::vector<QRadioButton*> Buttons;
    TItemIndex Selection;
};
