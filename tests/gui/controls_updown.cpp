#include <gtest/gtest.h>

#include <QLineEdit>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

#include "ui/updown.h"

namespace {

QPoint ArrowPoint(const TUpDown& spin, int direction) {
    if (spin.Orientation() == Qt::Horizontal) {
        return {direction > 0 ? spin.width() * 3 / 4 : spin.width() / 4, spin.height() / 2};
    }
    return {spin.width() / 2, direction > 0 ? spin.height() / 4 : spin.height() * 3 / 4};
}

void Send(QWidget& widget, QEvent::Type type, Qt::MouseButton button, QPoint at) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : button;
    QMouseEvent event(type, at, widget.mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

struct TSpinCase {
    const char* Name;
    Qt::Orientation Orientation;
    int Min, Max, Start, Direction, Expected;
};

class UpDownStep : public testing::TestWithParam<TSpinCase> {};

TEST_P(UpDownStep, OneClickStepsByOneAndWrapsAtTheEnds) {
    const TSpinCase c = GetParam();
    TUpDown spin(c.Orientation);
    spin.resize(spin.sizeHint());
    spin.SetRange(c.Min, c.Max);
    spin.SetWrap(true);
    spin.SetPosition(c.Start);
    QSignalSpy changed(&spin, &TUpDown::Changed);
    QTest::mouseClick(&spin, Qt::LeftButton, {}, ArrowPoint(spin, c.Direction));
    EXPECT_EQ(spin.Position(), c.Expected);
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed[0][0].toInt(), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Arrows, UpDownStep,
    testing::Values(TSpinCase{"RightArrowStepsUp", Qt::Horizontal, -64, 64, 16, +1, 17},
                    TSpinCase{"LeftArrowStepsDown", Qt::Horizontal, -64, 64, 16, -1, 15},
                    TSpinCase{"RightArrowWrapsToTheMinimum", Qt::Horizontal, -64, 64, 64, +1, -64},
                    TSpinCase{"DownArrowWrapsToTheMaximum", Qt::Vertical, -64, 64, -64, -1, 64},
                    TSpinCase{"UpArrowStepsUp", Qt::Vertical, -64, 64, 0, +1, 1},
                    TSpinCase{"DownArrowWrapsFromZeroTo359", Qt::Vertical, 0, 359, 0, -1, 359},
                    TSpinCase{"UpArrowWraps359ToZero", Qt::Vertical, 0, 359, 359, +1, 0}),
    [](const testing::TestParamInfo<TSpinCase>& info) { return std::string(info.param.Name); });

TEST(UpDown, WithoutWrapStopsAtTheEnds) {
    TUpDown spin(Qt::Vertical);
    spin.SetRange(0, 3);
    spin.SetPosition(3);
    spin.Step(+1);
    EXPECT_EQ(spin.Position(), 3);
    spin.SetPosition(0);
    spin.Step(-1);
    EXPECT_EQ(spin.Position(), 0);
}

TEST(UpDown, RightAndMiddleButtonsDoNotStepButReportTheirRelease) {
    TUpDown spin(Qt::Vertical);
    spin.resize(17, 25);
    spin.SetRange(-64, 64);
    spin.SetPosition(5);
    QSignalSpy changed(&spin, &TUpDown::Changed);
    QSignalSpy mouseUp(&spin, &TUpDown::MouseUp);
    for (const Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton}) {
        QTest::mouseClick(&spin, button, {}, ArrowPoint(spin, +1));
    }
    EXPECT_EQ(spin.Position(), 5);
    EXPECT_EQ(changed.count(), 0);
    ASSERT_EQ(mouseUp.count(), 2);
    EXPECT_EQ(mouseUp[0][0].value<Qt::MouseButton>(), Qt::RightButton);
    EXPECT_EQ(mouseUp[1][0].value<Qt::MouseButton>(), Qt::MiddleButton);
}

TEST(UpDown, ReleaseAwayFromTheControlIsStillReportedOnce) {
    TUpDown spin(Qt::Horizontal);
    spin.resize(25, 17);
    spin.SetRange(-64, 64);
    QSignalSpy mouseUp(&spin, &TUpDown::MouseUp);
    Send(spin, QEvent::MouseButtonPress, Qt::LeftButton, ArrowPoint(spin, +1));
    Send(spin, QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(200, -40));
    Send(spin, QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(200, -40));
    EXPECT_EQ(mouseUp.count(), 1);
    EXPECT_EQ(spin.Position(), 1);
}

TEST(UpDown, EachPressOfADoubleClickIsOneStep) {
    TUpDown spin(Qt::Horizontal);
    spin.resize(25, 17);
    spin.SetRange(-64, 64);
    const QPoint right = ArrowPoint(spin, +1);
    Send(spin, QEvent::MouseButtonPress, Qt::LeftButton, right);
    Send(spin, QEvent::MouseButtonRelease, Qt::LeftButton, right);
    Send(spin, QEvent::MouseButtonDblClick, Qt::LeftButton, right);
    Send(spin, QEvent::MouseButtonRelease, Qt::LeftButton, right);
    EXPECT_EQ(spin.Position(), 2);
}

TEST(UpDown, HeldArrowRepeatsUntilReleased) {
    TUpDown spin(Qt::Vertical);
    spin.resize(17, 25);
    spin.SetRange(-64, 64);
    Send(spin, QEvent::MouseButtonPress, Qt::LeftButton, ArrowPoint(spin, -1));
    QTest::qWait(700);
    Send(spin, QEvent::MouseButtonRelease, Qt::LeftButton, ArrowPoint(spin, -1));
    const int released = spin.Position();
    EXPECT_LE(released, -3);
    QTest::qWait(250);
    EXPECT_EQ(spin.Position(), released);
}

TEST(UpDown, ProgramSetKeepsLow16BitsThenTheNearerEndAndRaisesNothing) {
    TUpDown spin(Qt::Horizontal);
    spin.SetRange(-64, 64);
    QSignalSpy changed(&spin, &TUpDown::Changed);
    const std::pair<std::int64_t, int> cases[] = {{192, 64},      {38400, -64},       {-64, -64},
                                                  {65536 + 5, 5}, {-65536 - 70, -64}, {65535, -1}};
    for (const auto& [value, shown] : cases) {
        spin.SetPosition(value);
        EXPECT_EQ(spin.Position(), shown) << value;
    }
    EXPECT_EQ(changed.count(), 0);
}

TEST(UpDown, StepWritesThePositionIntoTheAssociate) {
    QLineEdit edit("0");
    TUpDown spin(Qt::Vertical);
    spin.SetRange(0, 359);
    spin.SetWrap(true);
    spin.SetAssociate(&edit);
    QSignalSpy edited(&edit, &QLineEdit::textChanged);
    spin.Step(-1);
    EXPECT_EQ(edit.text(), "359");
    spin.Step(+1);
    EXPECT_EQ(edit.text(), "0");
    EXPECT_EQ(edited.count(), 2);
}

TEST(UpDown, PositionIsTakenFromTheAssociateOnlyForAWholeNumberInRange) {
    const std::pair<const char*, int> cases[] = {{"45", 45},
                                                 {" 7 ", 7},
                                                 {"359", 359},
                                                 {"400", 10},
                                                 {"-1", 10},
                                                 {"4.5", 10},
                                                 {"abc", 10},
                                                 {"", 10},
                                                 {"+12", 12},
                                                 {"1e2", 10},
                                                 {"99999999999999999999", 10}};
    for (const auto& [text, expected] : cases) {
        QLineEdit edit(text);
        TUpDown spin(Qt::Vertical);
        spin.SetRange(0, 359);
        spin.SetPosition(10);
        spin.SetAssociate(&edit);
        spin.SyncFromAssociate();
        EXPECT_EQ(spin.Position(), expected) << text;
        EXPECT_EQ(edit.text(), text) << "the text box is never corrected";
    }
}

TEST(UpDown, StepStartsFromTheAssociateText) {
    QLineEdit edit("40");
    TUpDown spin(Qt::Vertical);
    spin.SetRange(0, 359);
    spin.SetAssociate(&edit);
    spin.Step(+1);
    EXPECT_EQ(spin.Position(), 41);
    EXPECT_EQ(edit.text(), "41");
}

TEST(UpDown, ArrowKeysInTheAssociateStepIt) {
    QLineEdit edit("0");
    TUpDown spin(Qt::Vertical);
    spin.SetRange(0, 359);
    spin.SetWrap(true);
    spin.SetAssociate(&edit);
    QSignalSpy changed(&spin, &TUpDown::Changed);
    QTest::keyClick(&edit, Qt::Key_Down);
    EXPECT_EQ(edit.text(), "359");
    QTest::keyClick(&edit, Qt::Key_Up);
    QTest::keyClick(&edit, Qt::Key_Up);
    EXPECT_EQ(edit.text(), "1");
    EXPECT_EQ(changed.count(), 3);
}

}  // namespace
