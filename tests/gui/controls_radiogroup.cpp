#include <gtest/gtest.h>

#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include "ui/radiogroup.h"

namespace {

class RadioGroup : public testing::Test {
  protected:
    RadioGroup()
        : group("Items", {"a", "b", "c", "d"}, &window), clicks(&group, &TRadioGroup::Click) {
        group.setGeometry(0, 3, 260, 104);
        group.SetItemIndex(0);
        clicks.clear();
        window.show();
    }

    void ClickItem(int index) {
        QRadioButton* button = group.Button(index);
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
    }

    QWidget window;
    TRadioGroup group;
    QSignalSpy clicks;
};

TEST_F(RadioGroup, ItemsFillOneColumnBelowTheCaption) {
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(group.Button(i)->geometry(), QRect(8, 15 + 21 * i, 250, 21)) << i;
    }
}

TEST_F(RadioGroup, ClickingAnotherItemReportsOnceAndTheSelectedItemNever) {
    ClickItem(2);
    EXPECT_EQ(group.ItemIndex(), 2);
    EXPECT_EQ(clicks.count(), 1);
    ClickItem(2);
    EXPECT_EQ(clicks.count(), 1);
}

TEST_F(RadioGroup, ProgramSetIsLimitedAndReportsOnlyChangesToAnItem) {
    const struct {
        int set, index, totalClicks;
    } steps[] = {{2, 2, 1}, {2, 2, 1}, {7, 3, 2}, {-5, -1, 2}, {-1, -1, 2}, {0, 0, 3}};
    for (const auto& step : steps) {
        group.SetItemIndex(step.set);
        EXPECT_EQ(group.ItemIndex(), step.index) << step.set;
        EXPECT_EQ(clicks.count(), step.totalClicks) << step.set;
    }
}

TEST_F(RadioGroup, NoItemSelectedShowsNoCheckedButtonAndAClickSelectsAgain) {
    group.SetItemIndex(-1);
    for (int i = 0; i < 4; ++i) {
        EXPECT_FALSE(group.Button(i)->isChecked()) << i;
    }
    ClickItem(0);
    EXPECT_EQ(group.ItemIndex(), 0);
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_FALSE(group.Button(1)->isChecked());
}

TEST_F(RadioGroup, ArrowKeyMovesTheSelectionAndReports) {
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    group.Button(0)->setFocus();
    QTest::keyClick(group.Button(0), Qt::Key_Down);
    EXPECT_EQ(group.ItemIndex(), 1);
    EXPECT_EQ(clicks.count(), 1);
}

}  // namespace
