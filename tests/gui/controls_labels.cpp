#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "ui/label.h"
#include "ui/statictext.h"

namespace {

TEST(Label, RightAlignedKeepsItsRightEdgeAndLeftAlignedItsLeftEdge) {
    QWidget window;
    TLabel right("Угол места", &window);
    right.setGeometry(797, 589, 59, 13);
    right.SetAlignRight(true);
    TLabel left("0", &window);
    left.setGeometry(151, 585, 6, 13);
    for (const char* text : {"Угол места 5 град.", "Угол места 85 град.", "Угол места 0 град."}) {
        right.SetText(QString::fromUtf8(text));
        EXPECT_EQ(right.geometry().right(), 855) << text;
        EXPECT_EQ(right.width(), right.fontMetrics().horizontalAdvance(right.text())) << text;
    }
    int lastWidth = 0;
    for (const char* text : {"45", "315", "0"}) {
        left.SetText(text);
        EXPECT_EQ(left.x(), 151) << text;
        EXPECT_NE(left.width(), lastWidth) << text;
        lastWidth = left.width();
    }
}

TEST(Label, UnchangedTextIsANoOp) {
    TLabel label("4,000");
    label.setGeometry(10, 10, 100, 13);
    label.SetText("4,000");
    EXPECT_EQ(label.width(), 100);
}

TEST(StaticText, ReportsALeftClickCompletedOverIt) {
    QWidget window;
    TStaticText text("Загрузить", &window);
    text.setGeometry(0, 0, 100, 17);
    window.show();
    QSignalSpy clicked(&text, &TStaticText::Clicked);
    QTest::mouseClick(&text, Qt::LeftButton, {}, QPoint(10, 8));
    EXPECT_EQ(clicked.count(), 1);
    QTest::mouseClick(&text, Qt::RightButton, {}, QPoint(10, 8));
    QTest::mousePress(&text, Qt::LeftButton, {}, QPoint(10, 8));
    QTest::mouseRelease(&text, Qt::LeftButton, {}, QPoint(150, 8));
    EXPECT_EQ(clicked.count(), 1);
    EXPECT_EQ(text.focusPolicy(), Qt::NoFocus);
}

}  // namespace
