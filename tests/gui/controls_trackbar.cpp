#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleOptionSlider>
#include <QTest>
#include <vector>

#include "ui/trackbar.h"

namespace {

struct TProbe : TTrackBar {
    using TTrackBar::initStyleOption;
};

// The elevation slider at its window size; Change() records the position it reports.
class TrackBar : public testing::Test {
  protected:
    TrackBar() {
        bar.resize(33, 140);
        QObject::connect(&bar, &TTrackBar::Change, [this] { reports.push_back(bar.Position()); });
        bar.show();
    }

    QRect Handle() {
        QStyleOptionSlider option;
        bar.initStyleOption(&option);
        return bar.style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle,
                                           &bar);
    }

    void Mouse(QEvent::Type type, QPoint at, Qt::MouseButtons held) {
        QMouseEvent event(type, at, bar.mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
        QApplication::sendEvent(&bar, &event);
    }

    void Key(QEvent::Type type, Qt::Key key, bool autoRepeat = false) {
        QKeyEvent event(type, key, Qt::NoModifier, QString(), autoRepeat);
        QApplication::sendEvent(&bar, &event);
    }

    TProbe bar;
    std::vector<int> reports;
};

TEST_F(TrackBar, StartsAtTheBottomWithTheMinimumAtTheTop) {
    EXPECT_EQ(bar.Position(), 17);
    const int bottomHandle = Handle().center().y();
    bar.SetPosition(0);
    EXPECT_LT(Handle().center().y(), bottomHandle);
    EXPECT_TRUE(reports.empty()) << "a position set by the program is not reported";
}

struct TKeyCase {
    Qt::Key key;
    int expected;
};

class TrackBarKeys : public TrackBar, public testing::WithParamInterface<TKeyCase> {};

TEST_P(TrackBarKeys, KeyPressStepsAndReleaseClosesWithASecondReport) {
    bar.SetPosition(10);
    Key(QEvent::KeyPress, GetParam().key);
    Key(QEvent::KeyRelease, GetParam().key);
    EXPECT_EQ(reports, std::vector<int>({GetParam().expected, GetParam().expected}));
}

INSTANTIATE_TEST_SUITE_P(Directions, TrackBarKeys,
                         testing::Values(TKeyCase{Qt::Key_Up, 9}, TKeyCase{Qt::Key_Left, 9},
                                         TKeyCase{Qt::Key_Down, 11}, TKeyCase{Qt::Key_Right, 11},
                                         TKeyCase{Qt::Key_PageUp, 8},
                                         TKeyCase{Qt::Key_PageDown, 12}, TKeyCase{Qt::Key_Home, 0},
                                         TKeyCase{Qt::Key_End, 17}));

TEST_F(TrackBar, KeyAtTheEndStillReports) {
    Key(QEvent::KeyPress, Qt::Key_Down);
    Key(QEvent::KeyRelease, Qt::Key_Down);
    EXPECT_EQ(reports, std::vector<int>({17, 17}));
}

TEST_F(TrackBar, HeldKeyReportsEachRepeatAndClosesOnce) {
    Key(QEvent::KeyPress, Qt::Key_Up);
    Key(QEvent::KeyRelease, Qt::Key_Up, true);
    Key(QEvent::KeyPress, Qt::Key_Up, true);
    Key(QEvent::KeyRelease, Qt::Key_Up, true);
    Key(QEvent::KeyPress, Qt::Key_Up, true);
    Key(QEvent::KeyRelease, Qt::Key_Up);
    EXPECT_EQ(reports, std::vector<int>({16, 15, 14, 14}));
}

TEST_F(TrackBar, DraggingReportsEveryPositionAndTheRelease) {
    QPoint at = Handle().center();
    Mouse(QEvent::MouseButtonPress, at, Qt::LeftButton);
    while (at.y() > 0) {
        at.ry() -= 1;
        Mouse(QEvent::MouseMove, at, Qt::LeftButton);
    }
    const std::size_t beforeRelease = reports.size();
    Mouse(QEvent::MouseButtonRelease, at, Qt::NoButton);
    EXPECT_EQ(bar.Position(), 0);
    ASSERT_EQ(reports.size(), beforeRelease + 1);
    EXPECT_EQ(reports.back(), 0);
    for (int position = 16; position >= 0; --position) {
        EXPECT_NE(std::find(reports.begin(), reports.end(), position), reports.end()) << position;
    }
}

TEST_F(TrackBar, ClickInTheChannelPagesTowardsItAndCloses) {
    const QPoint above(Handle().center().x(), 3);
    Mouse(QEvent::MouseButtonPress, above, Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, above, Qt::NoButton);
    EXPECT_EQ(reports, std::vector<int>({15, 15}));
}

}  // namespace
