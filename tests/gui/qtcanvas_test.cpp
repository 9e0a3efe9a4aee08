#include "plot/qt/qtcanvas.h"

#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <functional>
#include <set>

#include "plot/qt/qtfonts.h"

namespace {

constexpr TColor kFace{240, 240, 240};
constexpr TColor kRed{255, 0, 0};
const QRgb kFaceRgb = qRgb(240, 240, 240);
const QRgb kRedRgb = qRgb(255, 0, 0);
const QRgb kWhiteRgb = qRgb(255, 255, 255);

// Draws on a white 200 x 200 picture through a canvas clipped to clip.
QImage Paint(const std::function<void(TQtCanvas&)>& draw, TRect clip = {0, 0, 200, 200}) {
    QImage image(200, 200, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    {
        TQtCanvas canvas(painter, clip);
        draw(canvas);
    }
    painter.end();
    return image;
}

// The smallest rectangle holding every pixel that is not white; Right and Bottom inclusive.
QRect Painted(const QImage& image) {
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != kWhiteRgb) box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

std::set<QRgb> Colours(const QImage& image) {
    std::set<QRgb> colours;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) colours.insert(image.pixel(x, y));
    }
    return colours;
}

TEST(QtCanvasTest, FillRectLeavesTheRightColumnAndBottomRowOut) {
    const QImage image = Paint([](TQtCanvas& c) {
        c.SetBrushColor(kFace);
        c.FillRect({10, 20, 30, 50});
        c.FillRect({60, 60, 60, 90});
    });
    EXPECT_EQ(Painted(image), QRect(10, 20, 20, 30));
    EXPECT_EQ(image.pixel(29, 49), kFaceRgb);
}

TEST(QtCanvasTest, EllipseIsCentredOnItsRectangleWithThePenAboutTheOutline) {
    for (const int width : {1, 3, 5}) {
        for (const int d : {8, 40}) {
            const QImage image = Paint([&](TQtCanvas& c) {
                c.SetBrushColor(kFace);
                c.SetPenColor(kRed);
                c.SetPenWidth(width);
                c.Ellipse(100 + d, 100 + d, 100 - d, 100 - d);
            });
            const int reach = d + width / 2;
            EXPECT_EQ(Painted(image),
                      QRect(QPoint(100 - reach, 100 - reach), QPoint(100 + reach, 100 + reach)))
                << "pen " << width << ", radius " << d;
            EXPECT_EQ(image.pixel(100 + d, 100), kRedRgb);
            EXPECT_EQ(image.pixel(100, 100), kFaceRgb);
        }
    }
}

TEST(QtCanvasTest, LinesRunFromTheCurrentPositionInTheSolidPenColour) {
    const QImage image = Paint([](TQtCanvas& c) {
        c.SetPenColor(kRed);
        c.SetPenWidth(3);
        c.MoveTo(20, 20);
        c.LineTo(120, 70);
        c.LineTo(120, 150);
    });
    EXPECT_EQ(Colours(image), (std::set<QRgb>{kWhiteRgb, kRedRgb}));
    EXPECT_EQ(image.pixel(70, 45), kRedRgb);
    EXPECT_EQ(image.pixel(120, 110), kRedRgb);
    EXPECT_EQ(image.pixel(121, 110), kRedRgb);
    EXPECT_EQ(image.pixel(123, 110), kWhiteRgb);
}

TEST(QtCanvasTest, TextCellIsOpaqueInTheBrushWithGlyphsInTheFontColour) {
    int width = 0;
    int height = 0;
    const QImage image = Paint([&](TQtCanvas& c) {
        c.SetBrushColor(kFace);
        c.SetFontColor(kRed);
        width = c.TextWidth("8");
        height = c.TextHeight("8");
        c.TextOut(50, 60, "8");
    });
    EXPECT_EQ(Painted(image), QRect(50, 60, width, height));
    EXPECT_EQ(Colours(image), (std::set<QRgb>{kWhiteRgb, kFaceRgb, kRedRgb}));
}

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

TEST(QtCanvasTest, NothingIsDrawnOutsideTheClipRectangle) {
    const TRect clip{50, 50, 150, 150};
    const QImage image = Paint(
        [&](TQtCanvas& c) {
            EXPECT_EQ(c.ClipRect(), clip);
            c.SetBrushColor(kFace);
            c.FillRect({0, 0, 200, 200});
            c.SetPenWidth(5);
            c.MoveTo(0, 100);
            c.LineTo(200, 100);
            c.Ellipse(0, 0, 200, 200);
        },
        clip);
    EXPECT_EQ(Painted(image), QRect(50, 50, 100, 100));
}

}  // namespace
