#include <gtest/gtest.h>

#include <QApplication>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QScreen>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "config/cp1251.h"
#include "studio/chartview.h"
#include "studio/emitterstable.h"
#include "studio/figurespanel.h"
#include "studio/geometrycanvas.h"
#include "studio/studiowindow.h"
#include "xinput.h"

// Real X input: every press, move and key below goes through the X server by xdotool, as a
// user's would, into the studio's window on a private Xvfb.
namespace {

class StudioXvfbTest : public testing::Test {
  protected:
    void SetUp() override { ShowForXInput(Window); }

    // The screen point of the slider's handle.
    QPoint Handle(QSlider* slider) {
        QStyleOptionSlider option;
        option.initFrom(slider);
        option.orientation = slider->orientation();
        option.minimum = slider->minimum();
        option.maximum = slider->maximum();
        option.sliderPosition = slider->sliderPosition();
        option.sliderValue = slider->value();
        const QRect handle = slider->style()->subControlRect(QStyle::CC_Slider, &option,
                                                             QStyle::SC_SliderHandle, slider);
        return slider->mapToGlobal(handle.center());
    }

    void Drag(QPoint from, QPoint to) {
        Xdotool("mousemove " + At(from) + " mousedown 1 mousemove " + At((from + to) / 2) +
                " mousemove " + At(to) + " mouseup 1");
    }

    // Digits and a minus, key by key: xdotool's type would take "-90" for an option.
    void TypeInto(QWidget* box, const std::string& text) {
        std::string keys;
        for (const char c : text) keys += c == '-' ? " minus" : std::string(" ") + c;
        Xdotool("mousemove " + At(box->mapToGlobal(box->rect().center())) + " click 1 key ctrl+a" +
                keys + " Return");
    }

    TStudioWindow Window;
};

// The polar chart as the X server shows it.
QImage ScreenOf(QWidget* widget) {
    const QPoint at = widget->mapToGlobal(QPoint(0, 0));
    return QGuiApplication::primaryScreen()
        ->grabWindow(0, at.x(), at.y(), widget->width(), widget->height())
        .toImage();
}

TEST_F(StudioXvfbTest, DraggingAPhaseSliderRedrawsThePolarChartAndFrontToBackInOneStep) {
    const QImage before = ScreenOf(Window.Polar());
    const QString ratio = Window.Figures()->ValueLabel("front_to_back_db")->text();
    QSlider* slider = Window.Table()->Slider(2, TEmitterField::Phase);
    const QPoint from = Handle(slider);
    Drag(from, from + QPoint(30, 0));
    ASSERT_TRUE(Settle([&] { return Window.State().UndoStack().count() == 1; }));
    QTest::qWait(100);
    EXPECT_NE(ScreenOf(Window.Polar()), before);
    EXPECT_NE(Window.Figures()->ValueLabel("front_to_back_db")->text(), ratio);
    EXPECT_GT(Window.Polar()->Drawings(), 1);
}

TEST_F(StudioXvfbTest, ATypedPhaseIsTheCurrentsAngleExactly) {
    TypeInto(Window.Table()->Box(3, TEmitterField::Phase), "-90");
    ASSERT_TRUE(Settle([&] { return Window.State().UndoStack().count() == 1; }));
    EXPECT_EQ(Window.State().Document().Array.Emitter(3).Phase, 0.25L);
}

TEST_F(StudioXvfbTest, DraggingAnEmitterSnapsItAndUndoGivesTheExactEarlierArray) {
    const TStudioDocument start = Window.State().Document();
    TGeometryCanvas* canvas = Window.Canvas();
    const QPoint from = canvas->mapToGlobal(canvas->PointOf(1).toPoint());
    Drag(from, from + QPoint(37, -11));
    ASSERT_TRUE(Settle([&] { return Window.State().UndoStack().count() == 1; }));
    const TEmitter& moved = Window.State().Document().Array.Emitter(1);
    EXPECT_NE(moved.X, start.Array.Emitter(1).X);
    EXPECT_EQ(moved.X * 64, std::nearbyint(moved.X * 64));
    EXPECT_EQ(moved.Y * 64, std::nearbyint(moved.Y * 64));
    Xdotool("mousemove " + At(Window.mapToGlobal(QPoint(600, 10))) + " key ctrl+z");
    ASSERT_TRUE(Settle([&] { return Window.State().Document() == start; }));
    EXPECT_EQ(Window.State().UndoStack().index(), 0);
}

TEST_F(StudioXvfbTest, SavingAndReopeningKeepsTheFilesUnknownLines) {
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("studio-xvfb-" + std::to_string(::getpid()) + ".txt"))
                                 .string();
    std::ofstream(path, std::ios::binary)
        << Utf8ToCp1251(
               "; kept\r\n[Все излучатели]\r\nТип=1\r\nАнтенна=Z\r\n[Излучатель 1]\r\n"
               "Включен=1\r\nX=0\r\nY=0,25\r\nФаза=0\r\n[Излучатель 2]\r\nВключен=1\r\n"
               "X=0\r\nY=-0,25\r\nФаза=0\r\n[Прочее]\r\nключ=значение\r\n")
               .value();
    ASSERT_TRUE(Window.Open(QString::fromStdString(path)));
    TypeInto(Window.Table()->Box(2, TEmitterField::Phase), "-90");
    ASSERT_TRUE(Settle([&] { return Window.State().UndoStack().count() == 1; }));
    Xdotool("key ctrl+s");
    ASSERT_TRUE(Settle([&] { return Window.State().UndoStack().isClean(); }));
    std::stringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    for (const char* kept : {"; kept", "Антенна=Z", "[Прочее]", "ключ=значение"}) {
        EXPECT_NE(text.str().find(Utf8ToCp1251(kept).value()), std::string::npos) << kept;
    }
    ASSERT_TRUE(Window.Open(QString::fromStdString(path)));
    EXPECT_EQ(Window.State().Document().Array.Emitter(2).Phase, 0.25L);
    EXPECT_EQ(Window.State().Document().Array.EmitterType, etVerticalDipole);
    std::filesystem::remove(path);
}

}  // namespace
