#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "config/configfile.h"
#include "model/emitters.h"

// The controls a configuration load reaches, without a window toolkit: the eight emitter
// check boxes, the grid's data cells and the type radio group. They raise their handlers by
// the window's rules, so a load redraws and refuses an all-off table exactly as the window
// does. Redraws and one-emitter messages are counted instead of shown.
class THeadlessWindow : public TConfigWindow, public TModelObserver {
  public:
    // The controls start as a mirror of the model: boxes from Enabled, cells from the values,
    // the radio group from EmitterType.
    explicit THeadlessWindow(TArrayModel& model);

    // Check box k (1..8): a new state runs the box's click handler.
    void SetEmitterChecked(int k, bool checked) override;
    void SetGridCell(int col, int row, const std::string& text) override;
    // Limited to -1..3; a change to an item 0..3 runs the radio group's click (a redraw).
    void SetEmitterTypeIndex(int index) override;
    void Redraw() override;
    void ShowOneEmitterMessage() override;

    bool EmitterChecked(int k) const { return Checked[Index(k)]; }
    const std::string& GridCell(int col, int row) const { return Cells[Index(row)][Index(col)]; }
    int EmitterTypeIndex() const { return TypeIndex; }
    int RedrawCount() const { return Redraws; }
    const std::vector<std::string>& Messages() const { return MessageTexts; }
    // Called at every redraw, after the count has gone up.
    void SetOnRedraw(std::function<void()> onRedraw) { OnRedraw = std::move(onRedraw); }

  private:
    static unsigned Index(int oneBased) { return static_cast<unsigned>(oneBased - 1); }
    void CheckBoxClick(int k);

    TArrayModel& Model;
    std::array<bool, kEmitterCount> Checked{};
    std::array<std::array<std::string, 3>, kEmitterCount> Cells;
    int TypeIndex = etOmni;
    int Redraws = 0;
    std::vector<std::string> MessageTexts;
    std::function<void()> OnRedraw;
};
