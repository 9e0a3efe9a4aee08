#include <gtest/gtest.h>

#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include "ui/radiogroup.h"

namespace {

class RadioGroup : public testing::Test {
  protected:
    RadioGroup()
        : Group("Items", {"a", "b", "c", "d"}, &Window), Clicks(&Group, &TRadioGroup::Click) {
        Group.setGeometry(0, 3, 260, 104);
        Group.SetItemIndex(0);
        Clicks.clear();
        Window.show();
    }

    void ClickItem(int index) {
        QRadioButton* button = Group.Button(index);
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
    }

    QWidget Window;
    TRadioGroup Group;
    QSignalSpy Clicks;
};

TEST_F(RadioGroup, ItemsFillOneColumnBelowTheCaption) {
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(Group.Button(i)->geometry(), QRect(8, 15 + 21 * i, 250, 21)) << i;
    }
}

TEST_F(RadioGroup, ClickingAnotherItemReportsOnceAndTheSelectedItemNever) {
    ClickItem(2);
    EXPECT_EQ(Group.ItemIndex(), 2);
    EXPECT_EQ(Clicks.count(), 1);
    ClickItem(2);
    EXPECT_EQ(Clicks.count(), 1);
}

TEST_F(RadioGroup, ProgramSetIsLimitedAndReportsOnlyChangesToAnItem) {
    const struct {
        int Set, Index, TotalClicks;
    } steps[] = {{2, 2, 1}, {2, 2, 1}, {7, 3, 2}, {-5, -1, 2}, {-1, -1, 2}, {0, 0, 3}};
    for (const auto& step : steps) {
        Group.SetItemIndex(step.Set);
        EXPECT_EQ(Group.ItemIndex(), step.Index) << step.Set;
        EXPECT_EQ(Clicks.count(), step.TotalClicks) << step.Set;
    }
}

TEST_F(RadioGroup, NoItemSelectedShowsNoCheckedButtonAndAClickSelectsAgain) {
    Group.SetItemIndex(-1);
    for (int i = 0; i < 4; ++i) {
        EXPECT_FALSE(Group.Button(i)->isChecked()) << i;
    }
    ClickItem(0);
    EXPECT_EQ(Group.ItemIndex(), 0);
    EXPECT_EQ(Clicks.count(), 1);
    EXPECT_FALSE(Group.Button(1)->isChecked());
}

TEST_F(RadioGroup, ArrowKeyMovesTheSelectionAndReports) {
    Window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Window));
    Group.Button(0)->setFocus();
    QTest::keyClick(Group.Button(0), Qt::Key_Down);
    EXPECT_EQ(Group.ItemIndex(), 1);
    EXPECT_EQ(Clicks.count(), 1);
}

}  // namespace
