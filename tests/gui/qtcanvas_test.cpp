#include "plot/qt/qtcanvas.h"

#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include "plot/qt/qtfonts.h"

namespace {

TEST(QtCanvasTest, NumbersAreMeasuredInTheElevenPixelSansSerif) {
    const QFont font = SansSerif11();
    EXPECT_EQ(QFontInfo(font).family(), "Liberation Sans");
    EXPECT_EQ(QFontInfo(font).pixelSize(), 11);
    const QFontMetrics metrics(font);
    QImage image(10, 10, QImage::Format_RGB32);
    QPainter painter(&image);
    TQtCanvas canvas(painter, {0, 0, 10, 10});
    const int width = canvas.TextWidth("7");
    EXPECT_EQ(width, metrics.horizontalAdvance("7"));
    EXPECT_EQ(canvas.TextHeight("7"), metrics.height());
    canvas.SetFont("MS Sans Serif", 11);
    EXPECT_EQ(canvas.TextWidth("7"), width);
    EXPECT_EQ(canvas.TextWidth("Угол"), metrics.horizontalAdvance(QString::fromUtf8("Угол")));
}

}  // namespace
