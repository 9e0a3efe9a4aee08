#pragma once

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QPoint>
#include <QTest>
#include <QWidget>
#include <cstdlib>
#include <string>

// Real X input for the studio's end-to-end tests: xdotool sends every press, move and key
// through the X server, as a user's would.
inline void Xdotool(const std::string& args) {
    ASSERT_EQ(std::system(("xdotool " + args).c_str()), 0) << args;
}

// A screen point as xdotool takes it.
inline std::string At(QPoint p) {
    return std::to_string(p.x()) + " " + std::to_string(p.y());
}

// Lets the window take the X events xdotool queued, until the condition holds or about three
// seconds have passed.
template <typename TCondition>
bool Settle(TCondition condition) {
    for (int i = 0; i < 150 && !condition(); ++i) QTest::qWait(20);
    QTest::qWait(50);
    return condition();
}

// Shows the window at the screen's origin, at the size the tests' screen points assume, and
// waits until the X server has mapped it. The window is wider than the tests' screen, so that
// nothing the tests point at lies behind a scroll bar; the screen shows what they touch.
inline void ShowForXInput(QWidget& window) {
    ASSERT_EQ(QGuiApplication::platformName(), "xcb") << "run under an X server";
    window.move(0, 0);
    window.resize(1520, 960);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTest::qWait(200);
}
