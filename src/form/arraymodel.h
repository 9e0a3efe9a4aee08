#pragma once

#include "model/emitters.h"

// The window's array and the one piece of form state that goes with it: the grid row whose
// emitter the spins edit.
struct TArrayModel : TArray {
    int SelectedRow = 1;  // grid row 1..8
};

// The start state: the initial array, SelectedRow 1.
inline TArrayModel MakeInitialModel() {
    TArrayModel model;
    static_cast<TArray&>(model) = MakeInitialArray();
    return model;
}
