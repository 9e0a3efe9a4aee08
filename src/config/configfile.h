#pragma once

#include <string>

#include "config/safefile.h"
#include "model/emitters.h"

// The window's controls that loading a configuration reaches. Setting a control to a new
// state raises its handler exactly as a user's change would.
class TConfigWindow {
  public:
    virtual ~TConfigWindow() = default;
    // Check box k (1..8): setting a different state runs CheckBoxkClick.
    virtual void SetEmitterChecked(int k, bool checked) = 0;
    // Grid cell (col 1..3, row 1..8); raises nothing.
    virtual void SetGridCell(int col, int row, const std::string& text) = 0;
    // Item index of the type radio group, limited to -1..3; a change to 0..3 runs
    // RadioGroup1Click, a change to -1 runs nothing.
    virtual void SetEmitterTypeIndex(int index) = 0;
    virtual void Redraw() = 0;
};

// Saves the table and the type index into the file (other sections, keys and comments of an
// existing file stay). Throws EHandlerError "Unable to write to <fileName>" on failure, in
// which case the earlier file is unchanged.
void SaveConfiguration(const std::string& fileName, const TArrayModel& model, int typeIndex,
                       const TWriteFn& write = {});

// Loads the file into the table and the window's controls, then redraws. The whole file is
// read and checked first: on an error (EHandlerError "Floating point overflow") nothing is
// changed, the window is redrawn and the error is thrown on.
void LoadConfiguration(const std::string& fileName, TArrayModel& model, TConfigWindow& window);
