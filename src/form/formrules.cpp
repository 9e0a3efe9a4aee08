#include "form/formrules.h"

#include "config/errors.h"
#include "config/numtext.h"
#include "model/focus.h"

namespace {

// Grid column col (1..3) holds X, Y and Phase.
long double& Field(TEmitter& emitter, int col) {
    return col == 1 ? emitter.X : col == 2 ? emitter.Y : emitter.Phase;
}

}  // namespace

void TFormRules::Create() {
    Model.SelectedRow = 1;
    FillInitialTable(Model);
    for (int k = 1; k <= kEmitterCount; ++k) ShowRow(k);
    ShowSpinsFor(1);
    for (int k = 1; k <= kEmitterCount; ++k) Model.Emitter(k).Enabled = Controls.EmitterChecked(k);
    Model.EnabledCount = CountEnabled(Model);
}

// A refused switch-off checks the box again, which runs this handler once more, nested: it
// finds the one emitter on and redraws.
void TFormRules::EmitterBoxClick(int k) {
    Model.Emitter(k).Enabled = Controls.EmitterChecked(k);
    Model.EnabledCount = CountEnabled(Model);
    if (Model.EnabledCount != 0) {
        Controls.Redraw();
        return;
    }
    Controls.ShowOneEmitterMessage();
    Model.EnabledCount = 1;
    Controls.SetEmitterChecked(k, true);
    Model.Emitter(k).Enabled = true;
}

void TFormRules::RadioGroupClick() {
    Model.EmitterType = Controls.EmitterTypeIndex();
    Controls.Redraw();
}

// A move to no item runs no click, yet the model takes it too.
void TFormRules::SetEmitterType(int index) {
    Controls.SetEmitterTypeIndex(index);
    Model.EmitterType = Controls.EmitterTypeIndex();
}

void TFormRules::Load(const std::string& fileName) {
    LoadWith([&fileName] { return ReadConfiguration(fileName); });
}

void TFormRules::LoadText(std::string text) {
    LoadWith([&text] { return ReadConfiguration(TIniFile::FromText(std::move(text))); });
}

void TFormRules::LoadWith(const std::function<TConfiguration()>& read) {
    try {
        LoadTable(read);
    } catch (...) {
        ShowSpinsFor(Model.SelectedRow);
        throw;
    }
    ShowSpinsFor(Model.SelectedRow);
}

// The whole file is read and checked before anything changes.
void TFormRules::LoadTable(const std::function<TConfiguration()>& read) {
    TConfiguration file;
    try {
        file = read();
    } catch (const EHandlerError&) {
        Controls.Redraw();
        throw;
    }
    Model.Emitters = file.Emitters;
    for (int k = 1; k <= kEmitterCount; ++k) {
        Controls.SetEmitterChecked(k, Model.Emitter(k).Enabled);
        ShowRow(k);
    }
    SetEmitterType(file.TypeIndex);
    Controls.Redraw();
}

void TFormRules::Focus(int bearing) {
    FocusBeam(Model, bearing);
    for (int k = 1; k <= kEmitterCount; ++k) {
        if (Model.Emitter(k).Enabled) ShowCell(3, k);
    }
    ShowSpinsFor(Model.SelectedRow);
    Controls.Redraw();
}

void TFormRules::ShowSpinsFor(int row) {
    const TEmitter& e = Model.Emitter(row);
    Controls.SetSpinPositions(ValueToSpin(e.X), ValueToSpin(e.Y), ValueToSpin(e.Phase));
}

void TFormRules::SpinReleased(int col, int position) {
    Field(Model.Emitter(Model.SelectedRow), col) = SpinToValue(position);
    ShowCell(col, Model.SelectedRow);
    Controls.Redraw();
}

void TFormRules::ShowCell(int col, int row) {
    Controls.SetGridCell(col, row, FormatGeneral(Field(Model.Emitter(row), col)));
}

void TFormRules::ShowRow(int row) {
    for (int col = 1; col <= 3; ++col) ShowCell(col, row);
}
