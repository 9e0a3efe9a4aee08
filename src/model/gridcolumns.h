#pragma once

#include "model/emitters.h"

// The emitter table's data columns as the grid shows them; column 0 holds the check boxes.
inline constexpr int kColumnX = 1;
inline constexpr int kColumnY = 2;
inline constexpr int kColumnPhase = 3;

inline constexpr int kGridDataColumns = 3;

// The emitter's value a data column shows and the spins of that column edit.
inline long double& ColumnValue(TEmitter& emitter, int col) {
    return col == kColumnX ? emitter.X : col == kColumnY ? emitter.Y : emitter.Phase;
}
inline long double ColumnValue(const TEmitter& emitter, int col) {
    return col == kColumnX ? emitter.X : col == kColumnY ? emitter.Y : emitter.Phase;
}
