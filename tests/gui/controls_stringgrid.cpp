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
    int col, row, currentAtCall;
};

// The grid as the window holds it: at (0, 105), 260 x 156, every event recorded.
class StringGrid : public testing::Test {
  protected:
    StringGrid() {
        window.resize(400, 400);
        grid = new TStringGrid(&window);
        grid->setGeometry(0, 105, 260, 156);
        grid->OnSelectCell = [this](int col, int row, bool& canSelect) {
            selects.push_back({col, row, grid->Row()});
            canSelect = allow;
        };
        grid->OnMouseUp = [this](Qt::MouseButton button, Qt::KeyboardModifiers, int x, int y) {
            releases.push_back({button, QPoint(x, y)});
        };
        window.show();
    }

    QPoint CellCentre(int col, int row) const { return grid->CellRect(col, row).center(); }

    void Send(QEvent::Type type, Qt::MouseButton button, QPoint at,
              Qt::KeyboardModifiers mods = Qt::NoModifier) {
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : button;
        QMouseEvent event(type, at, grid->mapToGlobal(at), button, held, mods);
        QApplication::sendEvent(grid, &event);
    }

    void Wheel(int delta) {
        const QPoint at = CellCentre(1, 4);
        QWheelEvent event(at, grid->mapToGlobal(at), {}, QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(grid, &event);
    }

    QWidget window;
    TStringGrid* grid;
    bool allow = true;
    std::vector<TSelect> selects;
    std::vector<std::pair<Qt::MouseButton, QPoint>> releases;
};

TEST_F(StringGrid, CellsStartTwoPixelsInsideTheBorder) {
    EXPECT_EQ(grid->mapTo(&window, grid->CellRect(0, 0).topLeft()), QPoint(2, 107));
    EXPECT_EQ(grid->CellRect(0, 0).bottom() + 105, 122);
    for (int k = 1; k <= 8; ++k) {
        EXPECT_EQ(grid->CellRect(1, k).top() + 105, 124 + 17 * (k - 1)) << k;
    }
    EXPECT_EQ(grid->CellRect(0, 3).left(), 2);
    EXPECT_EQ(grid->CellRect(0, 3).right(), 65);
    EXPECT_EQ(grid->CellRect(3, 1).left(), 2 + 3 * 65);
    EXPECT_EQ(grid->CellRect(3, 1).size(), QSize(64, 16));
}

TEST_F(StringGrid, MouseToCellMapsClientPoints) {
    const std::pair<QPoint, std::pair<int, int>> cases[] = {
        {{0, 0}, {0, 0}},      {{64, 16}, {0, 0}},    {{65, 17}, {1, 1}},   {{-7, 40}, {0, 2}},
        {{100, -3}, {1, 0}},   {{-1, -1}, {0, 0}},    {{259, 152}, {3, 8}}, {{260, 20}, {-1, -1}},
        {{20, 153}, {-1, -1}}, {{300, 300}, {-1, -1}}};
    for (const auto& [point, cell] : cases) {
        EXPECT_EQ(grid->MouseToCell(point), cell) << point.x() << "," << point.y();
    }
}

TEST_F(StringGrid, LeftPressOnADataCellAsksBeforeMakingItCurrent) {
    QSignalSpy rowChanged(grid, &TStringGrid::CurrentRowChanged);
    Send(QEvent::MouseButtonPress, Qt::LeftButton, CellCentre(2, 5));
    ASSERT_EQ(selects.size(), 1u);
    EXPECT_EQ(selects[0].col, 2);
    EXPECT_EQ(selects[0].row, 5);
    EXPECT_EQ(selects[0].currentAtCall, 1);
    EXPECT_EQ(grid->Row(), 5);
    EXPECT_EQ(rowChanged.count(), 1);
    Send(QEvent::MouseButtonRelease, Qt::LeftButton, CellCentre(2, 5));
    Send(QEvent::MouseButtonPress, Qt::LeftButton, CellCentre(3, 5));
    EXPECT_EQ(selects.size(), 2u) << "raised also for the row already current";
    EXPECT_EQ(rowChanged.count(), 1);
}

TEST_F(StringGrid, RefusedSelectionKeepsTheCurrentRow) {
    allow = false;
    Send(QEvent::MouseButtonPress, Qt::LeftButton, CellCentre(1, 6));
    QTest::keyClick(grid, Qt::Key_Down);
    EXPECT_EQ(selects.size(), 2u);
    EXPECT_EQ(grid->Row(), 1);
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
    EXPECT_TRUE(selects.empty());
    EXPECT_EQ(grid->Row(), 1);
    EXPECT_EQ(releases.size(), 4u);
}

TEST_F(StringGrid, SecondPressOfADoubleClickDoesNotAsk) {
    const QPoint at = CellCentre(1, 3);
    Send(QEvent::MouseButtonPress, Qt::LeftButton, at);
    Send(QEvent::MouseButtonRelease, Qt::LeftButton, at);
    Send(QEvent::MouseButtonDblClick, Qt::LeftButton, at);
    Send(QEvent::MouseButtonRelease, Qt::LeftButton, at);
    EXPECT_EQ(selects.size(), 1u);
    EXPECT_EQ(releases.size(), 2u);
}

TEST_F(StringGrid, ShiftPressExtendsTheRangeAndKeepsTheCurrentRow) {
    Send(QEvent::MouseButtonPress, Qt::LeftButton, CellCentre(1, 2));
    Send(QEvent::MouseButtonRelease, Qt::LeftButton, CellCentre(1, 2));
    Send(QEvent::MouseButtonPress, Qt::LeftButton, CellCentre(1, 6), Qt::ShiftModifier);
    Send(QEvent::MouseButtonRelease, Qt::LeftButton, CellCentre(1, 6), Qt::ShiftModifier);
    EXPECT_EQ(selects.size(), 1u);
    EXPECT_EQ(grid->Row(), 2);
    EXPECT_EQ(grid->SelectionTop(), 2);
    EXPECT_EQ(grid->SelectionBottom(), 6);
}

TEST_F(StringGrid, DragRangeFollowsThePointerAndReleaseIsReportedWhereverItIs) {
    Send(QEvent::MouseButtonPress, Qt::LeftButton, CellCentre(1, 5));
    for (const int row : {6, 7, 3}) {
        Send(QEvent::MouseMove, Qt::LeftButton, CellCentre(2, row));
    }
    Send(QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(500, -20));
    EXPECT_EQ(selects.size(), 1u);
    EXPECT_EQ(grid->Row(), 5);
    EXPECT_EQ(grid->SelectionTop(), 3);
    EXPECT_EQ(grid->SelectionBottom(), 5);
    ASSERT_EQ(releases.size(), 1u);
    EXPECT_EQ(releases[0].second, QPoint(498, -22)) << "client coordinates";
}

struct TKeyCase {
    int fromRow;
    Qt::Key key;
    Qt::KeyboardModifiers mods;
    int row, top, bottom;
    bool asks;
};

class StringGridKeys : public StringGrid, public testing::WithParamInterface<TKeyCase> {};

TEST_P(StringGridKeys, MoveTheCurrentRowWithinTheDataRows) {
    const TKeyCase c = GetParam();
    Send(QEvent::MouseButtonPress, Qt::LeftButton, CellCentre(1, c.fromRow));
    Send(QEvent::MouseButtonRelease, Qt::LeftButton, CellCentre(1, c.fromRow));
    selects.clear();
    QTest::keyClick(grid, c.key, c.mods);
    EXPECT_EQ(grid->Row(), c.row);
    EXPECT_EQ(grid->SelectionTop(), c.top);
    EXPECT_EQ(grid->SelectionBottom(), c.bottom);
    EXPECT_EQ(selects.size(), c.asks ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, StringGridKeys,
    testing::Values(TKeyCase{1, Qt::Key_Down, Qt::NoModifier, 2, 2, 2, true},
                    TKeyCase{3, Qt::Key_Up, Qt::NoModifier, 2, 2, 2, true},
                    TKeyCase{1, Qt::Key_Up, Qt::NoModifier, 1, 1, 1, false},
                    TKeyCase{8, Qt::Key_Down, Qt::NoModifier, 8, 8, 8, false},
                    TKeyCase{3, Qt::Key_Down, Qt::ControlModifier, 3, 3, 3, false},
                    TKeyCase{3, Qt::Key_Left, Qt::NoModifier, 3, 3, 3, false},
                    TKeyCase{3, Qt::Key_Right, Qt::NoModifier, 3, 3, 3, false},
                    TKeyCase{2, Qt::Key_PageDown, Qt::NoModifier, 8, 8, 8, true},
                    TKeyCase{7, Qt::Key_PageUp, Qt::NoModifier, 1, 1, 1, true},
                    TKeyCase{4, Qt::Key_Home, Qt::NoModifier, 1, 1, 1, true},
                    TKeyCase{4, Qt::Key_End, Qt::NoModifier, 8, 8, 8, true},
                    TKeyCase{4, Qt::Key_Home, Qt::ControlModifier, 1, 1, 1, true},
                    TKeyCase{4, Qt::Key_End, Qt::ControlModifier, 8, 8, 8, true},
                    TKeyCase{4, Qt::Key_Down, Qt::ShiftModifier, 5, 4, 5, true},
                    TKeyCase{4, Qt::Key_Home, Qt::ShiftModifier, 1, 1, 4, true}));

TEST_F(StringGrid, WheelMovesOneRowPerNotch) {
    QSignalSpy rowChanged(grid, &TStringGrid::CurrentRowChanged);
    Wheel(-120);
    Wheel(-60);
    Wheel(-60);
    EXPECT_EQ(grid->Row(), 3);
    Wheel(240);
    EXPECT_EQ(grid->Row(), 1);
    Wheel(120);
    EXPECT_EQ(grid->Row(), 1);
    EXPECT_EQ(selects.size(), 4u);
    EXPECT_EQ(rowChanged.count(), 4);
}

TEST_F(StringGrid, CellsHoldTextsAndObjectsAndIgnoreCellsOutsideTheGrid) {
    QObject box;
    grid->SetCell(1, 1, "0,25");
    grid->SetCell(4, 1, "x");
    grid->SetCell(1, 9, "x");
    grid->SetObject(0, 3, &box);
    EXPECT_EQ(grid->Cell(1, 1), "0,25");
    EXPECT_EQ(grid->Cell(4, 1), "");
    EXPECT_EQ(grid->Object(0, 3), &box);
    EXPECT_EQ(grid->Object(0, 4), nullptr);
    EXPECT_TRUE(selects.empty());
}

TEST_F(StringGrid, PaintsSelectedRowsHighlightedAndCutsTextsAtTheCellEdge) {
    grid->SetCell(1, 3, QString(40, QChar(0x2588)));
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(grid, &down);
    const QImage image = grid->grab().toImage();
    const QPalette& pal = grid->palette();
    const QRect selected = grid->CellRect(2, 2);
    EXPECT_EQ(image.pixelColor(selected.center()), pal.color(QPalette::Highlight));
    EXPECT_EQ(image.pixelColor(grid->CellRect(2, 4).center()), pal.color(QPalette::Base));
    EXPECT_EQ(image.pixelColor(grid->CellRect(0, 5).center()), pal.color(QPalette::Button));
    const QRect next = grid->CellRect(2, 3);
    for (int x = next.left(); x <= next.right(); ++x) {
        EXPECT_EQ(image.pixelColor(x, next.center().y()), pal.color(QPalette::Base)) << x;
    }
}

}  // namespace
