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
        Bar.resize(33, 140);
        QObject::connect(&Bar, &TTrackBar::Change, [this] { Reports.push_back(Bar.Position()); });
        Bar.show();
    }

    QRect Handle() {
        QStyleOptionSlider option;
        Bar.initStyleOption(&option);
        return Bar.style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle,
                                           &Bar);
    }

    void Mouse(QEvent::Type type, QPoint at, Qt::MouseButtons held) {
        QMouseEvent event(type, at, Bar.mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
        QApplication::sendEvent(&Bar, &event);
    }

    void Key(QEvent::Type type, Qt::Key key, bool autoRepeat = false) {
        QKeyEvent event(type, key, Qt::NoModifier, QString(), autoRepeat);
        QApplication::sendEvent(&Bar, &event);
    }

    TProbe Bar;
    std::vector<int> Reports;
};

TEST_F(TrackBar, StartsAtTheBottomWithTheMinimumAtTheTop) {
    EXPECT_EQ(Bar.Position(), 17);
    const int bottomHandle = Handle().center().y();
    Bar.SetPosition(0);
    EXPECT_LT(Handle().center().y(), bottomHandle);
    EXPECT_TRUE(Reports.empty()) << "a position set by the program is not reported";
}

struct TKeyCase {
    const char* Name;
    Qt::Key Key;
    int Expected;
};

class TrackBarKeys : public TrackBar, public testing::WithParamInterface<TKeyCase> {};

TEST_P(TrackBarKeys, KeyPressStepsAndReleaseClosesWithASecondReport) {
    Bar.SetPosition(10);
    Key(QEvent::KeyPress, GetParam().Key);
    Key(QEvent::KeyRelease, GetParam().Key);
    EXPECT_EQ(Reports, std::vector<int>({GetParam().Expected, GetParam().Expected}));
}

INSTANTIATE_TEST_SUITE_P(
    Directions, TrackBarKeys,
    testing::Values(TKeyCase{"Up", Qt::Key_Up, 9}, TKeyCase{"Left", Qt::Key_Left, 9},
                    TKeyCase{"Down", Qt::Key_Down, 11}, TKeyCase{"Right", Qt::Key_Right, 11},
                    TKeyCase{"PageUp", Qt::Key_PageUp, 8},
                    TKeyCase{"PageDown", Qt::Key_PageDown, 12}, TKeyCase{"Home", Qt::Key_Home, 0},
                    TKeyCase{"End", Qt::Key_End, 17}),
    [](const testing::TestParamInfo<TKeyCase>& info) { return std::string(info.param.Name); });

TEST_F(TrackBar, KeyAtTheEndStillReports) {
    Key(QEvent::KeyPress, Qt::Key_Down);
    Key(QEvent::KeyRelease, Qt::Key_Down);
    EXPECT_EQ(Reports, std::vector<int>({17, 17}));
}

TEST_F(TrackBar, HeldKeyReportsEachRepeatAndClosesOnce) {
    Key(QEvent::KeyPress, Qt::Key_Up);
    Key(QEvent::KeyRelease, Qt::Key_Up, true);
    Key(QEvent::KeyPress, Qt::Key_Up, true);
    Key(QEvent::KeyRelease, Qt::Key_Up, true);
    Key(QEvent::KeyPress, Qt::Key_Up, true);
    Key(QEvent::KeyRelease, Qt::Key_Up);
    EXPECT_EQ(Reports, std::vector<int>({16, 15, 14, 14}));
}

TEST_F(TrackBar, DraggingReportsEveryPositionAndTheRelease) {
    QPoint at = Handle().center();
    Mouse(QEvent::MouseButtonPress, at, Qt::LeftButton);
    while (at.y() > 0) {
        at.ry() -= 1;
        Mouse(QEvent::MouseMove, at, Qt::LeftButton);
    }
    const std::size_t beforeRelease = Reports.size();
    Mouse(QEvent::MouseButtonRelease, at, Qt::NoButton);
    EXPECT_EQ(Bar.Position(), 0);
    ASSERT_EQ(Reports.size(), beforeRelease + 1);
    EXPECT_EQ(Reports.back(), 0);
    for (int position = 16; position >= 0; --position) {
        EXPECT_NE(std::find(Reports.begin(), Reports.end(), position), Reports.end()) << position;
    }
}

TEST_F(TrackBar, ClickInTheChannelPagesTowardsItAndCloses) {
    const QPoint above(Handle().center().x(), 3);
    Mouse(QEvent::MouseButtonPress, above, Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, above, Qt::NoButton);
    EXPECT_EQ(Reports, std::vector<int>({15, 15}));
}

}  // namespace
