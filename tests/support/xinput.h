#pragma once

#include <gtest/gtest.h>

#include <QPoint>
#include <QTest>
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
