#include <gtest/gtest.h>

#include <QDockWidget>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "app/figures.h"
#include "studio/chartview.h"
#include "studio/comparison.h"
#include "studio/controlspanel.h"
#include "studio/designer.h"
#include "studio/designpanel.h"
#include "studio/emitterstable.h"
#include "studio/figurespanel.h"
#include "studio/studiowindow.h"
#include "studio/surfaceview.h"
#include "studio/sweepview.h"
#include "xinput.h"

// The design tools as a user reaches them: xdotool's real X events into the studio's window
// on a private Xvfb.
namespace {

const std::string kExamples = ARRAYPATTERN_SOURCE_EXAMPLES;

void Click(QWidget* widget, QPoint local) {
    Xdotool("mousemove " + At(widget->mapToGlobal(local)) + " click 1");
}

void Click(QWidget* widget) {
    Click(widget, widget->rect().center());
}

std::string Bytes(const std::string& path) {
    std::stringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

// The depths of the nulls the figures list one a line, "270.00 (below -120 dB)" or
// "90.00 (-45.10 dB)", by whole bearing; below the floor reads minus infinity.
std::map<int, double> NullDepths(const QString& text) {
    std::map<int, double> depths;
    for (const QString& line : text.split('\n')) {
        const QStringList words = line.split(' ');
        if (words.size() < 3) continue;
        const auto number = [](QString word) { return word.replace(',', '.').toDouble(); };
        const int bearing = static_cast<int>(std::lround(number(words[0])));
        depths[bearing] = words[1] == "(below" ? -HUGE_VAL : number(words[1].mid(1));
    }
    return depths;
}

class StudioDesignXvfbTest : public testing::Test {
  protected:
    void SetUp() override {
        ShowForXInput(Window);
        // The design tools share the table's place under a tab: the user brings them up.
        Window.findChild<QDockWidget*>(QStringLiteral("design"))->raise();
        QTest::qWait(100);
    }

    QString Figure(const char* key) { return Window.Figures()->ValueLabel(key)->text(); }

    TStudioWindow Window;
};

TEST_F(StudioDesignXvfbTest, AChebyshevTaperOnTheLineOfEightLeavesSideLobesAtMinus30Db) {
    ASSERT_TRUE(Window.Open(QString::fromStdString(kExamples + "/broadside-line-8.txt")));
    const double before = Figure("side_lobe_db").toDouble();
    Click(Window.Design()->TaperButton());
    ASSERT_TRUE(Settle([&] { return Window.State().UndoStack().count() == 1; }));
    EXPECT_LT(before, -12);
    EXPECT_NEAR(Figure("side_lobe_db").toDouble(), -30, 0.05);
}

TEST_F(StudioDesignXvfbTest, TwoNullsPlacedByClickingTheChartAreBothDeeperThanMinus60Db) {
    Click(Window.Design()->NullsButton());
    for (const int bearing : {150, 260}) {
        const int steps = Window.State().UndoStack().count();
        Click(Window.Polar(), Window.Polar()->PointOf(bearing).toPoint());
        ASSERT_TRUE(Settle([&] { return Window.State().UndoStack().count() == steps + 1; }));
    }
    ASSERT_EQ(Window.Designer().Nulls().size(), 2U);
    const std::map<int, double> depths = NullDepths(Figure("nulls"));
    for (const double placed : Window.Designer().Nulls()) {
        const int bearing = static_cast<int>(std::lround(placed));
        ASSERT_TRUE(depths.count(bearing)) << placed << " in " << Figure("nulls").toStdString();
        EXPECT_LT(depths.at(bearing), -60) << placed;
    }
    // A second click near a null takes it away again.
    Click(Window.Polar(), Window.Polar()->PointOf(Window.Designer().Nulls()[0] + 2).toPoint());
    ASSERT_TRUE(Settle([&] { return Window.Designer().Nulls().size() == 1; }));
}

// A click lands on a pixel, a fraction of a degree from any bearing a user means: it snaps to
// half a degree, and Shift keeps the pixel's bearing.
TEST_F(StudioDesignXvfbTest, AClickedNullSnapsToHalfADegreeAndShiftPlacesItFreely) {
    Click(Window.Design()->NullsButton());
    TChartView* polar = Window.Polar();
    const QPoint snapped = polar->PointOf(150.2).toPoint();
    const QPoint free = polar->PointOf(260.3).toPoint();
    int steps = Window.State().UndoStack().count();
    Click(polar, snapped);
    ASSERT_TRUE(Settle([&] { return Window.State().UndoStack().count() == steps + 1; }));
    steps = Window.State().UndoStack().count();
    Xdotool("mousemove " + At(polar->mapToGlobal(free)) + " keydown shift click 1 keyup shift");
    ASSERT_TRUE(Settle([&] { return Window.State().UndoStack().count() == steps + 1; }));
    const std::vector<double>& nulls = Window.Designer().Nulls();
    ASSERT_EQ(nulls.size(), 2U);
    EXPECT_EQ(nulls[0], std::round(*polar->BearingAt(snapped) * 2) / 2);
    EXPECT_NEAR(nulls[0], 150, 0.5);
    EXPECT_EQ(nulls[1], *polar->BearingAt(free));
    EXPECT_NE(nulls[1], std::round(nulls[1] * 2) / 2);
}

TEST_F(StudioDesignXvfbTest, AHeldReferenceIsOverlaidByNameAndComparedFigureByFigure) {
    Click(Window.Design()->HoldButton());
    ASSERT_TRUE(Settle([&] { return Window.Designer().Reference().has_value(); }));
    Window.findChild<QDockWidget*>(QStringLiteral("emitters"))->raise();
    QTest::qWait(100);
    QWidget* phase = Window.Table()->Box(2, TEmitterField::Phase);
    Xdotool("mousemove " + At(phase->mapToGlobal(phase->rect().center())) +
            " click 1 key ctrl+a 3 0 Return");
    ASSERT_TRUE(Settle([&] { return Window.State().UndoStack().count() == 1; }));
    for (TChartView* chart : {Window.Polar(), Window.ElevationChart()}) {
        ASSERT_EQ(chart->SeriesNames().size(), 2U);
        EXPECT_NE(chart->SeriesNames()[0], chart->SeriesNames()[1]);
    }
    bool moved = false;
    for (const TComparisonRow& row : Window.Comparison()->Rows()) {
        moved = moved || (!row.Difference.empty() && row.Reference != row.Current);
    }
    EXPECT_TRUE(moved);
}

TEST_F(StudioDesignXvfbTest, APresetPickedFromItsMenuOpensTheExample) {
    QMenuBar* bar = Window.menuBar();
    Click(bar, bar->actionGeometry(Window.PresetsMenu()->menuAction()).center());
    ASSERT_TRUE(Settle([&] { return Window.PresetsMenu()->isVisible(); }));
    QAction* cardioid = nullptr;
    for (QAction* action : Window.PresetsMenu()->actions()) {
        if (action->data().toString().endsWith("cardioid.txt")) cardioid = action;
    }
    ASSERT_NE(cardioid, nullptr);
    Click(Window.PresetsMenu(), Window.PresetsMenu()->actionGeometry(cardioid).center());
    // An untitled copy: saving it must not overwrite the shipped example.
    ASSERT_TRUE(Settle([&] { return Window.State().Document().Array.Emitter(2).Phase == 0.25L; }));
    EXPECT_TRUE(Window.FileName().isEmpty());
}

TEST_F(StudioDesignXvfbTest, AnExportedPolarChartIsTheCommandLinesPictureByteForByte) {
    const std::string config = kExamples + "/four-square.txt";
    ASSERT_TRUE(Window.Open(QString::fromStdString(config)));
    const auto folder =
        std::filesystem::temp_directory_path() / ("studio-export-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    for (const char* kind : {"polar-db", "elevation"}) {
        const std::string studio = (folder / (std::string(kind) + "-studio.png")).string();
        const std::string cli = (folder / (std::string(kind) + "-cli.png")).string();
        ASSERT_TRUE(Window.ExportChart(*ValueNamed<TPlotKind>(kPlotKindNames, kind),
                                       QString::fromStdString(studio)));
        ASSERT_EQ(std::system(("LC_ALL=C LANGUAGE= " ARRAYPATTERN_CLI " plot --config '" + config +
                               "' --kind " + kind + " '" + cli + "'")
                                  .c_str()),
                  0);
        EXPECT_EQ(Bytes(studio), Bytes(cli)) << kind;
    }
    // The figures copied as text end the command line's text output, line for line.
    const std::string text = (folder / "pattern.txt").string();
    ASSERT_EQ(std::system(("LC_ALL=C LANGUAGE= " ARRAYPATTERN_CLI " pattern --config '" + config +
                           "' > '" + text + "'")
                              .c_str()),
              0);
    EXPECT_TRUE(Bytes(text).ends_with(FigureTextLines(*Window.State().Result())));
    std::filesystem::remove_all(folder);
}

TEST_F(StudioDesignXvfbTest, DraggingThe3dViewTurnsItAndRedrawsItsPixels) {
    TSurface3dView* view = Window.Surface();
    ASSERT_TRUE(Settle([&] { return view->Drawings() > 0; }));
    const QImage before = view->Image().copy();
    const double bearing = view->ViewBearing();
    const QPoint from = view->mapToGlobal(view->rect().center());
    Xdotool("mousemove " + At(from) + " mousedown 1 mousemove " + At(from + QPoint(40, 10)) +
            " mousemove " + At(from + QPoint(80, 20)) + " mouseup 1");
    ASSERT_TRUE(Settle([&] { return view->ViewBearing() != bearing; }));
    EXPECT_NE(view->Image(), before);
    EXPECT_NEAR(view->ViewBearing(), std::fmod(bearing - 40 + 360, 360), 1e-9);
}

TEST_F(StudioDesignXvfbTest, ALengthTypedIntoTheControlsShowsTheDrivesAndDrawsTheirSweep) {
    ASSERT_TRUE(Window.Open(QString::fromStdString(kExamples + "/four-square.txt")));
    QLabel* impedance = Window.Table()->ImpedanceLabel(1);
    EXPECT_TRUE(impedance->isHidden());
    Window.findChild<QDockWidget*>(QStringLiteral("tools"))->raise();
    QTest::qWait(100);
    QDoubleSpinBox* length = Window.Controls()->LengthBox();
    const std::string mark = length->locale().decimalPoint() == "," ? "comma" : "period";
    Xdotool("mousemove " + At(length->mapToGlobal(length->rect().center())) +
            " click 1 key ctrl+a 0 " + mark + " 4 8 Return");
    ASSERT_TRUE(Settle([&] { return Window.State().UndoStack().count() == 1; }));
    EXPECT_EQ(Window.State().Document().Wires.Lengths[0], 0.48);
    EXPECT_TRUE(impedance->isVisible());
    EXPECT_TRUE(impedance->text().contains(QStringLiteral(" j")))
        << impedance->text().toStdString();
    const TSweepView* sweep = Window.SweepChart();
    ASSERT_TRUE(Settle([&] { return sweep->Drawings() > 0 && !sweep->Image().isNull(); }));
    // The curves in their series colours, not only the grey frame and black text.
    int coloured = 0;
    const QImage image = sweep->Image().convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            coloured += std::max({c.red(), c.green(), c.blue()}) -
                            std::min({c.red(), c.green(), c.blue()}) >
                        60;
        }
    }
    EXPECT_GT(coloured, 200);
}

}  // namespace
