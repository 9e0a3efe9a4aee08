#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDockWidget>
#include <QLabel>
#include <QMainWindow>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

#include "config/messages.h"
#include "speak_language.h"
#include "studio/chartview.h"
#include "studio/studiowindow.h"

// The studio as it opens on the X server's screen, with empty settings: the charts in view and
// large, and nothing cut or overlapping, in either language.
namespace {

QRect OnScreen(const QWidget* widget) {
    return QRect(widget->mapToGlobal(QPoint(0, 0)), widget->size());
}

// Texts that do not fit their widget, and visible siblings that overlap.
std::vector<std::string> LayoutFaults(const QMainWindow* window) {
    const QWidget* root = window;
    std::vector<std::string> faults;
    for (const QWidget* w : root->findChildren<QWidget*>()) {
        if (!w->isVisible()) continue;
        QString text;
        if (const auto* label = qobject_cast<const QLabel*>(w); label && !label->wordWrap())
            text = label->text();
        if (const auto* button = qobject_cast<const QAbstractButton*>(w)) text = button->text();
        if (!text.isEmpty() && !text.contains('\n') && !text.contains('<') &&
            w->fontMetrics().horizontalAdvance(QString(text).remove('&')) > w->width()) {
            faults.push_back("text wider than its widget: " + text.toStdString());
        }
        const QObjectList& siblings = w->parent() ? w->parent()->children() : QObjectList{};
        for (const QObject* o : siblings) {
            const auto* other = qobject_cast<const QWidget*>(o);
            if (!other || other <= w || !other->isVisible() || other->isWindow() ||
                w->isWindow() || other->objectName() == "staleVeil" ||
                w->objectName() == "staleVeil" || other->objectName().startsWith("qt_") ||
                w->objectName().startsWith("qt_")) {
                continue;
            }
            // Panels stacked under tabs share their place by design.
            const auto* dock = qobject_cast<const QDockWidget*>(w);
            const auto* otherDock = qobject_cast<const QDockWidget*>(other);
            if (dock && otherDock &&
                window->tabifiedDockWidgets(const_cast<QDockWidget*>(dock))
                    .contains(const_cast<QDockWidget*>(otherDock))) {
                continue;
            }
            if (w->geometry().intersects(other->geometry())) {
                faults.push_back("overlapping: " + std::string(w->metaObject()->className()) +
                                 " and " + other->metaObject()->className());
            }
        }
    }
    return faults;
}

// A language, and the file opened (none: the starting array of ideal emitters).
class StudioLayoutTest : public testing::TestWithParam<std::tuple<TLanguage, const char*>> {};

TEST_P(StudioLayoutTest, TheChartsOpenInViewAndLargeAndNothingIsCutOrOverlaps) {
    ASSERT_EQ(QGuiApplication::platformName(), "xcb") << "run under an X server";
    SpeakLanguage(std::get<0>(GetParam()));
    TStudioWindow window;
    if (const std::string file = std::get<1>(GetParam()); !file.empty()) {
        ASSERT_TRUE(window.Open(QString::fromStdString(ARRAYPATTERN_SOURCE_EXAMPLES "/" + file)));
    }
    window.FitScreen();
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTest::qWait(300);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    for (const QWidget* chart : {static_cast<QWidget*>(window.Polar()),
                                 static_cast<QWidget*>(window.ElevationChart())}) {
        const QRect at = OnScreen(chart);
        EXPECT_TRUE(screen.contains(at)) << at.x() << "," << at.y() << " " << at.width() << "x"
                                         << at.height();
        EXPECT_GE(std::min(at.width(), at.height()), 300);
    }
    if (screen.width() >= 1920) {
        EXPECT_GE(std::min(window.Polar()->width(), window.Polar()->height()), 500);
    }
    // The sweep's panel draws the wires' sweep, or says what it is for.
    const auto* hint = window.findChild<QLabel*>(QStringLiteral("sweepHint"));
    if (std::get<1>(GetParam())[0] != '\0') {
        EXPECT_TRUE(QTest::qWaitFor([&] { return window.Charts().back()->isVisible(); }, 5000));
    }
    EXPECT_NE(hint->isVisible(), window.Charts().back()->isVisible());
    for (const std::string& fault : LayoutFaults(&window)) ADD_FAILURE() << fault;
    // Each panel, brought to the front in turn, shows its whole width: a panel that scrolls
    // sideways hides its values or its canvas at the right.
    for (QDockWidget* dock : window.findChildren<QDockWidget*>()) {
        dock->raise();
        QTest::qWait(50);
        const auto* scroll = qobject_cast<const QScrollArea*>(dock->widget());
        if (!scroll || !scroll->widget()->isVisibleTo(scroll)) continue;
        EXPECT_FALSE(scroll->horizontalScrollBar()->isVisible())
            << dock->objectName().toStdString() << " scrolls sideways: "
            << scroll->widget()->minimumSizeHint().width() << " in " << scroll->width();
    }
    SpeakLanguage(TLanguage::English);
}

// Wires widen the table by their lengths, drive impedances and SWRs.
INSTANTIATE_TEST_SUITE_P(BothLanguages, StudioLayoutTest,
                         testing::Combine(testing::Values(TLanguage::English, TLanguage::Russian),
                                          testing::Values("", "four-square-monopoles.txt")));

}  // namespace
