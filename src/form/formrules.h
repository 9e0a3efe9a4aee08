#pragma once

#include <functional>
#include <string>

#include "config/configfile.h"
#include "form/arraymodel.h"
#include "model/pattern.h"

inline constexpr const char* kOneEmitterMessage = "Один излучатель необходимо оставить включенным!";
inline constexpr const char* kOneEmitterTitle = "Information";

// The window's controls that its rules reach, whatever toolkit shows them. Setting a control
// to a different state raises its handler, as a user's change would.
class TFormControls {
  public:
    virtual ~TFormControls() = default;
    // Check box k (1..8) of emitter k; a different state runs CheckBoxkClick.
    virtual bool EmitterChecked(int k) const = 0;
    virtual void SetEmitterChecked(int k, bool checked) = 0;
    // Grid data cell (col 1..3 for X, Y, Phase; row 1..8); raises nothing.
    virtual void SetGridCell(int col, int row, const std::string& text) = 0;
    // Item index of the type radio group, limited to -1 .. kEmitterTypeCount - 1; a move to
    // an item runs RadioGroup1Click.
    virtual int EmitterTypeIndex() const = 0;
    virtual void SetEmitterTypeIndex(int index) = 0;
    // Positions (-64..64) of the X, Y and Phase spins; raises nothing.
    virtual void SetSpinPositions(int x, int y, int phase) = 0;
    virtual void Redraw() = 0;
    // Modal information box kOneEmitterMessage.
    virtual void ShowOneEmitterMessage() = 0;
};

// What the window does when a control changes or a command runs, written once for the window
// and for the command line, which drives headless controls through the same steps.
class TFormRules {
  public:
    TFormRules(TArrayModel& model, TFormControls& controls) : Model(model), Controls(controls) {}

    // Start-up: the initial table into the grid, the spins on row 1, Enabled from the boxes.
    void Create();
    // CheckBoxkClick: the emitter follows its box; the last one switched off is refused with
    // the one-emitter message and checked again. One redraw either way.
    void EmitterBoxClick(int k);
    // RadioGroup1Click: the model takes the selected type and the diagram is redrawn.
    void RadioGroupClick();
    // The radio group limits the index and runs its click on a move to an item.
    void SetEmitterType(int index);
    // Loads the file into the table and the controls, then redraws; on an error (EHandlerError
    // "Floating point overflow") nothing changes, the diagram is redrawn and the error thrown
    // on. Either way the spins show the edited emitter afresh.
    void Load(const std::string& fileName);
    // The same for a configuration file's text read beforehand (a pipe can be read only once).
    void LoadText(std::string text);
    // Steers the beam to a whole bearing (degrees) and shows the rewritten phases.
    void Focus(int bearing);
    // The spins show the X, Y and Phase of emitter `row`.
    void ShowSpinsFor(int row);
    // Emitter `row` takes the value in column col (1..3) and the grid shows it; nothing is
    // redrawn (a script's setting before its drawing).
    void SetValue(int row, int col, long double value);
    // A spin of column col (1..3) released at `position`: the edited emitter takes its value.
    void SpinReleased(int col, int position);
    // A drawing's pattern, computed afresh from the array at the elevation (degrees) in the
    // window's formula; the index of the maximum carries over from the previous drawing when
    // no sample exceeds 0.
    const TPattern& ComputeDiagram(long double elevationDegrees);
    const TPattern& Pattern() const { return LastPattern; }

  private:
    void LoadWith(const std::function<TConfiguration()>& read);
    void LoadTable(const std::function<TConfiguration()>& read);
    void ShowCell(int col, int row);
    void ShowRow(int row);

    TArrayModel& Model;
    TFormControls& Controls;
    TPattern LastPattern;
};
