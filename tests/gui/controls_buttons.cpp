#include <gtest/gtest.h>

#include <QImage>
#include <QSignalSpy>
#include <QTest>

#include "ui/checkbox.h"
#include "ui/speedbutton.h"

namespace {

bool HasColour(const QImage& image, const std::function<bool(QColor)>& match) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (match(image.pixelColor(x, y))) {
                return true;
            }
        }
    }
    return false;
}

bool Yellow(QColor c) {
    return c.red() > 200 && c.green() > 200 && c.blue() < 60;
}
bool Blue(QColor c) {
    return c.blue() > 120 && c.red() < 60 && c.green() < 60;
}
bool Red(QColor c) {
    return c.red() > 150 && c.green() < 60 && c.blue() < 60;
}
bool White(QColor c) {
    return c.red() == 255 && c.green() == 255 && c.blue() == 255;
}

TEST(SpeedButton, PicturesShowTheirSubjectsOnATransparentFace) {
    const struct {
        TSpeedButton::TPicture Picture;
        std::vector<bool (*)(QColor)> Present, Absent;
    } cases[] = {{TSpeedButton::TPicture::Load, {Yellow, Blue}, {Red}},
                 {TSpeedButton::TPicture::Save, {Blue, White}, {Red, Yellow}},
                 {TSpeedButton::TPicture::Export, {Red, Blue, White}, {Yellow}}};
    for (const auto& c : cases) {
        TSpeedButton button(c.Picture);
        QImage image(button.size(), QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        button.render(&image, {}, {}, QWidget::DrawChildren);
        for (const auto& match : c.Present) {
            EXPECT_TRUE(HasColour(image, match)) << static_cast<int>(c.Picture);
        }
        for (const auto& match : c.Absent) {
            EXPECT_FALSE(HasColour(image, match)) << static_cast<int>(c.Picture);
        }
        EXPECT_EQ(image.pixelColor(1, 11).alpha(), 0) << "face left of the picture";
    }
}

TEST(SpeedButton, ClickIsReportedWithoutTakingFocus) {
    QWidget window;
    TSpeedButton button(TSpeedButton::TPicture::Save, &window);
    window.show();
    QSignalSpy clicked(&button, &TSpeedButton::clicked);
    QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(12, 11));
    EXPECT_EQ(clicked.count(), 1);
    EXPECT_FALSE(button.hasFocus());
    EXPECT_EQ(button.size(), QSize(24, 23));
}

TEST(CheckBox, TextOnTheLeftKeepsTheWholeControlClickable) {
    QWidget window;
    TCheckBox box("        1", &window);
    box.setGeometry(3, 124, 60, 16);
    box.SetTextLeft(true);
    window.show();
    QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(4, 8));
    EXPECT_TRUE(box.isChecked());
    QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(55, 8));
    EXPECT_FALSE(box.isChecked());
}

TEST(CheckBox, TextOnTheLeftPutsTheBoxAtTheRightEdge) {
    TCheckBox box("        1");
    box.resize(60, 16);
    box.SetTextLeft(true);
    box.setChecked(false);
    const QImage unchecked = box.grab().toImage();
    box.setChecked(true);
    const QImage checked = box.grab().toImage();
    int leftmostDifference = box.width();
    for (int y = 0; y < checked.height(); ++y) {
        for (int x = 0; x < checked.width(); ++x) {
            if (checked.pixel(x, y) != unchecked.pixel(x, y)) {
                leftmostDifference = std::min(leftmostDifference, x);
            }
        }
    }
    EXPECT_GT(leftmostDifference, box.width() / 2);
    EXPECT_LT(leftmostDifference, box.width());
}

}  // namespace
