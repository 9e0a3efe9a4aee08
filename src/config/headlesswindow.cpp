#include "config/headlesswindow.h"

#include <algorithm>

#include "config/numtext.h"

THeadlessWindow::THeadlessWindow(TArrayModel& model) : Model(model) {
    for (int k = 1; k <= kEmitterCount; ++k) {
        const TEmitter& e = Model.Emitter(k);
        Checked[Index(k)] = e.Enabled;
        Cells[Index(k)] = {FormatGeneral(e.X), FormatGeneral(e.Y), FormatGeneral(e.Phase)};
    }
    TypeIndex = std::clamp(Model.EmitterType, -1, 3);
}

void THeadlessWindow::SetEmitterChecked(int k, bool checked) {
    if (Checked[Index(k)] == checked) return;
    Checked[Index(k)] = checked;
    CheckBoxClick(k);
}

// A refused switch-off checks the box again, which runs this handler nested and redraws.
void THeadlessWindow::CheckBoxClick(int k) {
    Model.Emitter(k).Enabled = Checked[Index(k)];
    if (CheckEnabledCount(Model, *this)) return;
    SetEmitterChecked(k, true);
    Model.Emitter(k).Enabled = true;
}

void THeadlessWindow::SetGridCell(int col, int row, const std::string& text) {
    Cells[Index(row)][Index(col)] = text;
}

void THeadlessWindow::SetEmitterTypeIndex(int index) {
    const int limited = std::clamp(index, -1, 3);
    if (limited == TypeIndex) return;
    TypeIndex = limited;
    Model.EmitterType = limited;
    if (limited >= 0) Redraw();
}

void THeadlessWindow::Redraw() {
    ++Redraws;
    if (OnRedraw) OnRedraw();
}

void THeadlessWindow::ShowOneEmitterMessage() {
    MessageTexts.emplace_back(kOneEmitterMessage);
}
