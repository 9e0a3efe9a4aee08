#include <gtest/gtest.h>

#include <QImage>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>
#include <vector>

#include "ui/stringgrid.h"

namespace {

struct TSelect {
    int Col, Row, CurrentAtCall;
};

// The grid as the window holds it: at (0, 105), 260 x 156, every event recorded.
class StringGrid : public testing::Test {
  protected:
    StringGrid() {
        Window.resize(400, 400);
        Grid = new TStringGrid(&Window);
        Grid->setGeometry(0, 105, 260, 156);
        Grid->OnSelectCell = [this](int col, int row, bool& canSelect) {
            Selects.push_back({col, row, Grid->Row()});
            canSelect = Allow;
        };
        Grid->OnMouseUp = [this](Qt::MouseButton button, Qt::KeyboardModifiers, int x, int y) {
            Releases.push_back({button, QPoint(x, y)});
        };
        Window.show();
    }

    QPoint CellCentre(int col, int row) const { return Grid->CellRect(col, row).center(); }

    void Send(QEvent::Type type, Qt::MouseButton button, QPoint at,
              Qt::KeyboardModifiers mods = Qt::NoModifier) {
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : button;
        QMouseEvent event(type, at, Grid->mapToGlobal(at), button, held, mods);
        QApplication::sendEvent(Grid, &event);
    }

    void Wheel(int delta) {
        const QPoint at = CellCentre(1, 4);
        QWheelEvent event(at, Grid->mapToGlobal(at), {}, QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(Grid, &event);
    }

    QWidget Window;
    TStringGrid* Grid;
    bool Allow = true;
    std::vector<TSelect> Selects;
    std::vector<std::pair<Qt::MouseButton, QPoint>> Releases;
};

TEST_F(StringGrid, CellsStartTwoPixelsInsideTheBorder) {
    EXPECT_EQ(Grid->mapTo(&Window, Grid->CellRect(0, 0).topLeft()), QPoint(2, 107));
    EXPECT_EQ(Grid->CellRect(0, 0).bottom() + 105, 122);
    for (int k = 1; k <= 8; ++k) {
        EXPECT_EQ(Grid->CellRect(1, k).top() + 105, 124 + 17 * (k - 1)) << k;
    }
    EXPECT_EQ(Grid->CellRect(0, 3).left(), 2);
    EXPECT_EQ(Grid->CellRect(0, 3).right(), 65);
    EXPECT_EQ(Grid->CellRect(3, 1).left(), 2 + 3 * 65);
    EXPECT_EQ(Grid->CellRect(3, 1).size(), QSize(64, 16));
}

TEST_F(StringGrid, MouseToCellMapsClientPoints) {
    const std::pair<QPoint, std::pair<int, int>> cases[] = {
        {{0, 0}, {0, 0}},      {{64, 16}, {0, 0}},    {{65, 17}, {1, 1}},   {{-7, 40}, {0, 2}},
        {{100, -3}, {1, 0}},   {{-1, -1}, {0, 0}},    {{259, 152}, {3, 8}}, {{260, 20}, {-1, -1}},
        {{20, 153}, {-1, -1}}, {{300, 300}, {-1, -1}}};
    for (const auto& [point, cell] : cases) {
        EXPECT_EQ(Grid->MouseToCell(point), cell) << point.x() << "," << point.y();
    }
}

TEST_F(StringGrid, LeftPressOnADataCellAsksBeforeMakingItCurrent) {
    QSignalSpy rowChanged(Grid, &TStringGrid::CurrentRowChanged);
    Send(QEvent::MouseButtonPress, Qt::LeftButton, CellCentre(2, 5));
    ASSERT_EQ(Selects.size(), 1u);
    EXPECT_EQ(Selects[0].Col, 2);
    EXPECT_EQ(Selects[0].Row, 5);
    EXPECT_EQ(Selects[0].CurrentAtCall, 1);
    EXPECT_EQ(Grid->Row(), 5);
    EXPECT_EQ(rowChanged.count(), 1);
    Send(QEvent::MouseButtonRelease, Qt::LeftButton, CellCentre(2, 5));
    Send(QEvent::MouseButtonPress, Qt::LeftButton, CellCentre(3, 5));
    EXPECT_EQ(Selects.size(), 2u) << "raised also for the row already current";
    EXPECT_EQ(rowChanged.count(), 1);
}

TEST_F(StringGrid, RefusedSelectionKeepsTheCurrentRow) {
    Allow = false;
    Send(QEvent::MouseButtonPress, Qt::LeftButton, CellCentre(1, 6));
    QTest::keyClick(Grid, Qt::Key_Down);
    EXPECT_EQ(Selects.size(), 2u);
    EXPECT_EQ(Grid->Row(), 1);
}

TEST_F(StringGrid, PressesThatDoNotAskTheHandler) {
    Send(QEvent::MouseButtonPress, Qt::LeftButton, CellCentre(2, 0));
    Send(QEvent::MouseButtonRelease, Qt::LeftButton, CellCentre(2, 0));
    Send(QEvent::MouseButtonPress, Qt::LeftButton, CellCentre(0, 4));
    Send(QEvent::MouseButtonRelease, Qt::LeftButton, CellCentre(0, 4));
    Send(QEvent::MouseButtonPress, Qt::RightButton, CellCentre(2, 4));
    Send(QEvent::MouseButtonRelease, Qt::RightButton, CellCentre(2, 4));
    Send(QEvent::MouseButtonPress, Qt::MiddleButton, CellCentre(2, 4));
    Send(QEvent::MouseButtonRelease, Qt::MiddleButton, CellCentre(2, 4));
    EXPECT_TRUE(Selects.empty());
    EXPECT_EQ(Grid->Row(), 1);
    EXPECT_EQ(Releases.size(), 4u);
}

TEST_F(StringGrid, SecondPressOfADoubleClickDoesNotAsk) {
    const QPoint at = CellCentre(1, 3);
    Send(QEvent::MouseButtonPress, Qt::LeftButton, at);
    Send(QEvent::MouseButtonRelease, Qt::LeftButton, at);
    Send(QEvent::MouseButtonDblClick, Qt::LeftButton, at);
    Send(QEvent::MouseButtonRelease, Qt::LeftButton, at);
    EXPECT_EQ(Selects.size(), 1u);
    EXPECT_EQ(Releases.size(), 2u);
}

TEST_F(StringGrid, ShiftPressExtendsTheRangeAndKeepsTheCurrentRow) {
    Send(QEvent::MouseButtonPress, Qt::LeftButton, CellCentre(1, 2));
    Send(QEvent::MouseButtonRelease, Qt::LeftButton, CellCentre(1, 2));
    Send(QEvent::MouseButtonPress, Qt::LeftButton, CellCentre(1, 6), Qt::ShiftModifier);
    Send(QEvent::MouseButtonRelease, Qt::LeftButton, CellCentre(1, 6), Qt::ShiftModifier);
    EXPECT_EQ(Selects.size(), 1u);
    EXPECT_EQ(Grid->Row(), 2);
    EXPECT_EQ(Grid->SelectionTop(), 2);
    EXPECT_EQ(Grid->SelectionBottom(), 6);
}

TEST_F(StringGrid, DragRangeFollowsThePointerAndReleaseIsReportedWhereverItIs) {
    Send(QEvent::MouseButtonPress, Qt::LeftButton, CellCentre(1, 5));
    for (const int row : {6, 7, 3}) {
        Send(QEvent::MouseMove, Qt::LeftButton, CellCentre(2, row));
    }
    Send(QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(500, -20));
    EXPECT_EQ(Selects.size(), 1u);
    EXPECT_EQ(Grid->Row(), 5);
    EXPECT_EQ(Grid->SelectionTop(), 3);
    EXPECT_EQ(Grid->SelectionBottom(), 5);
    ASSERT_EQ(Releases.size(), 1u);
    EXPECT_EQ(Releases[0].second, QPoint(498, -22)) << "client coordinates";
}

struct TKeyCase {
    const char* Name;
    int FromRow;
    Qt::Key Key;
    Qt::KeyboardModifiers Mods;
    int Row, Top, Bottom;
    bool Asks;
};

class StringGridKeys : public StringGrid, public testing::WithParamInterface<TKeyCase> {};

TEST_P(StringGridKeys, MoveTheCurrentRowWithinTheDataRows) {
    const TKeyCase c = GetParam();
    Send(QEvent::MouseButtonPress, Qt::LeftButton, CellCentre(1, c.FromRow));
    Send(QEvent::MouseButtonRelease, Qt::LeftButton, CellCentre(1, c.FromRow));
    Selects.clear();
    QTest::keyClick(Grid, c.Key, c.Mods);
    EXPECT_EQ(Grid->Row(), c.Row);
    EXPECT_EQ(Grid->SelectionTop(), c.Top);
    EXPECT_EQ(Grid->SelectionBottom(), c.Bottom);
    EXPECT_EQ(Selects.size(), c.Asks ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, StringGridKeys,
    testing::Values(
        TKeyCase{"DownFromRowOne", 1, Qt::Key_Down, Qt::NoModifier, 2, 2, 2, true},
        TKeyCase{"UpFromRowThree", 3, Qt::Key_Up, Qt::NoModifier, 2, 2, 2, true},
        TKeyCase{"UpStopsAtTheFirstDataRow", 1, Qt::Key_Up, Qt::NoModifier, 1, 1, 1, false},
        TKeyCase{"DownStopsAtTheLastRow", 8, Qt::Key_Down, Qt::NoModifier, 8, 8, 8, false},
        TKeyCase{"ControlDownDoesNotMove", 3, Qt::Key_Down, Qt::ControlModifier, 3, 3, 3, false},
        TKeyCase{"LeftStaysInTheRow", 3, Qt::Key_Left, Qt::NoModifier, 3, 3, 3, false},
        TKeyCase{"RightStaysInTheRow", 3, Qt::Key_Right, Qt::NoModifier, 3, 3, 3, false},
        TKeyCase{"PageDownGoesToTheLastRow", 2, Qt::Key_PageDown, Qt::NoModifier, 8, 8, 8, true},
        TKeyCase{"PageUpGoesToTheFirstDataRow", 7, Qt::Key_PageUp, Qt::NoModifier, 1, 1, 1, true},
        TKeyCase{"HomeGoesToTheFirstDataRow", 4, Qt::Key_Home, Qt::NoModifier, 1, 1, 1, true},
        TKeyCase{"EndGoesToTheLastRow", 4, Qt::Key_End, Qt::NoModifier, 8, 8, 8, true},
        TKeyCase{"ControlHomeGoesToTheFirstDataRow", 4, Qt::Key_Home, Qt::ControlModifier, 1, 1, 1,
                 true},
        TKeyCase{"ControlEndGoesToTheLastRow", 4, Qt::Key_End, Qt::ControlModifier, 8, 8, 8, true},
        TKeyCase{"ShiftDownExtendsTheSelection", 4, Qt::Key_Down, Qt::ShiftModifier, 5, 4, 5, true},
        TKeyCase{"ShiftHomeExtendsTheSelectionUp", 4, Qt::Key_Home, Qt::ShiftModifier, 1, 1, 4,
                 true}),
    [](const testing::TestParamInfo<TKeyCase>& info) { return std::string(info.param.Name); });

TEST_F(StringGrid, WheelMovesOneRowPerNotch) {
    QSignalSpy rowChanged(Grid, &TStringGrid::CurrentRowChanged);
    Wheel(-120);
    Wheel(-60);
    Wheel(-60);
    EXPECT_EQ(Grid->Row(), 3);
    Wheel(240);
    EXPECT_EQ(Grid->Row(), 1);
    Wheel(120);
    EXPECT_EQ(Grid->Row(), 1);
    EXPECT_EQ(Selects.size(), 4u);
    EXPECT_EQ(rowChanged.count(), 4);
}

TEST_F(StringGrid, CellsHoldTextsAndObjectsAndIgnoreCellsOutsideTheGrid) {
    QObject box;
    Grid->SetCell(1, 1, "0,25");
    Grid->SetCell(4, 1, "x");
    Grid->SetCell(1, 9, "x");
    Grid->SetObject(0, 3, &box);
    EXPECT_EQ(Grid->Cell(1, 1), "0,25");
    EXPECT_EQ(Grid->Cell(4, 1), "");
    EXPECT_EQ(Grid->Object(0, 3), &box);
    EXPECT_EQ(Grid->Object(0, 4), nullptr);
    EXPECT_TRUE(Selects.empty());
}

TEST_F(StringGrid, PaintsSelectedRowsHighlightedAndCutsTextsAtTheCellEdge) {
    Grid->SetCell(1, 3, QString(40, QChar(0x2588)));
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(Grid, &down);
    const QImage image = Grid->grab().toImage();
    const QPalette& pal = Grid->palette();
    const QRect selected = Grid->CellRect(2, 2);
    EXPECT_EQ(image.pixelColor(selected.center()), pal.color(QPalette::Highlight));
    EXPECT_EQ(image.pixelColor(Grid->CellRect(2, 4).center()), pal.color(QPalette::Base));
    EXPECT_EQ(image.pixelColor(Grid->CellRect(0, 5).center()), pal.color(QPalette::Button));
    const QRect next = Grid->CellRect(2, 3);
    for (int x = next.left(); x <= next.right(); ++x) {
        EXPECT_EQ(image.pixelColor(x, next.center().y()), pal.color(QPalette::Base)) << x;
    }
}

}  // namespace
