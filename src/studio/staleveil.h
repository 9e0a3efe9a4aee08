#pragma once

#include <QString>

class QWidget;

// A chart that still shows the last state the engine could analyse is veiled: dimmed, with the
// reason the current state has no pattern written across it, so that an old picture never
// passes for the current one. The chart's `stale` property says which it is.
void SetStale(QWidget* chart, const QString& reason);
// Clears the veil: the chart shows the current state again.
void SetCurrent(QWidget* chart);
bool IsStale(const QWidget* chart);
