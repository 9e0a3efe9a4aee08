#include "app/headlesswindow.h"

THeadlessWindow::THeadlessWindow(TArrayModel& model)
    : FormRules(model, *this), TypeIndex(kEmitterTypeCount, model.EmitterType) {
    for (int k = 1; k <= kEmitterCount; ++k) Checked[Index(k)] = model.Emitter(k).Enabled;
}

void THeadlessWindow::SetEmitterChecked(int k, bool checked) {
    if (Checked[Index(k)] == checked) return;
    Checked[Index(k)] = checked;
    FormRules.EmitterBoxClick(k);
}

void THeadlessWindow::SetGridCell(int col, int row, const std::string& text) {
    Cells[Index(row)][Index(col)] = text;
}

void THeadlessWindow::SetEmitterTypeIndex(int index) {
    if (TypeIndex.Select(index)) FormRules.RadioGroupClick();
}

void THeadlessWindow::SetSpinPositions(int x, int y, int phase) {
    Spins = {x, y, phase};
}

void THeadlessWindow::Redraw() {
    ++Redraws;
    if (OnRedraw) OnRedraw();
}

void THeadlessWindow::ShowOneEmitterMessage() {
    MessageTexts.emplace_back(kOneEmitterMessage);
}
