#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "form/formrules.h"
#include "form/itemindex.h"
#include "model/emitters.h"
#include "model/gridcolumns.h"

// The window's controls without a window toolkit: the eight emitter check boxes, the grid's
// data cells, the type radio group and the three spins, driven by the window's own rules.
// Like the window's controls they raise their handlers on a change. Redraws and one-emitter
// messages are counted instead of shown.
class THeadlessWindow : public TFormControls {
  public:
    // The check boxes and the radio group start as the model has them; the grid and the
    // spins start empty, as the window's do before Rules().Create().
    explicit THeadlessWindow(TArrayModel& model);

    TFormRules& Rules() { return FormRules; }

    bool EmitterChecked(int k) const override { return Checked[Index(k)]; }
    void SetEmitterChecked(int k, bool checked) override;
    void SetGridCell(int col, int row, const std::string& text) override;
    int EmitterTypeIndex() const override { return TypeIndex.Value(); }
    void SetEmitterTypeIndex(int index) override;
    void SetSpinPositions(int x, int y, int phase) override;
    void Redraw() override;
    void ShowOneEmitterMessage() override;

    const std::string& GridCell(int col, int row) const { return Cells[Index(row)][Index(col)]; }
    // X, Y and Phase spin positions.
    const std::array<int, 3>& SpinPositions() const { return Spins; }
    int RedrawCount() const { return Redraws; }
    const std::vector<std::string>& Messages() const { return MessageTexts; }
    // Called at every redraw, after the count has gone up.
    void SetOnRedraw(std::function<void()> onRedraw) { OnRedraw = std::move(onRedraw); }

  private:
    static unsigned Index(int oneBased) { return static_cast<unsigned>(oneBased - 1); }

    TFormRules FormRules;
    std::array<bool, kEmitterCount> Checked{};
    std::array<std::array<std::string, kGridDataColumns>, kEmitterCount> Cells;
    TItemIndex TypeIndex;
    std::array<int, 3> Spins{};
    int Redraws = 0;
    std::vector<std::string> MessageTexts;
    std::function<void()> OnRedraw;
};
