#pragma once

#include "model/emitters.h"

// The emitter table's data columns as the grid shows them; column 0 holds the check boxes.
enum TGridColumn : int {
    gcX = 1,
    gcY = 2,
    gcPhase = 3,
};

inline constexpr int kGridDataColumns = 3;

// The emitter's value a data column shows and the spins of that column edit.
inline long double& ColumnValue(TEmitter& emitter, int col) {
    return col == gcX ? emitter.X : col == gcY ? emitter.Y : emitter.Phase;
}
inline long double ColumnValue(const TEmitter& emitter, int col) {
    return col == gcX ? emitter.X : col == gcY ? emitter.Y : emitter.Phase;
}
