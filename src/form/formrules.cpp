#include "form/formrules.h"

#include "config/errors.h"
#include "config/numtext.h"
#include "model/focus.h"
#include "model/gridcolumns.h"

void TFormRules::Create() {
    Model.SelectedRow = 1;
    FillInitialTable(Model);
    for (int k = 1; k <= kEmitterCount; ++k) ShowRow(k);
    ShowSpinsFor(1);
    for (int k = 1; k <= kEmitterCount; ++k) Model.Emitter(k).Enabled = Controls.EmitterChecked(k);
}

// A refused switch-off checks the box again, which runs this handler once more, nested: it
// finds the one emitter on and redraws.
void TFormRules::EmitterBoxClick(int k) {
    Model.Emitter(k).Enabled = Controls.EmitterChecked(k);
    if (Model.EnabledCount() != 0) {
        Controls.Redraw();
        return;
    }
    Controls.ShowOneEmitterMessage();
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
        if (Model.Emitter(k).Enabled) ShowCell(kColumnPhase, k);
    }
    ShowSpinsFor(Model.SelectedRow);
    Controls.Redraw();
}

void TFormRules::ShowSpinsFor(int row) {
    const TEmitter& e = Model.Emitter(row);
    Controls.SetSpinPositions(ValueToSpin(e.X), ValueToSpin(e.Y), ValueToSpin(e.Phase));
}

void TFormRules::SpinReleased(int col, int position) {
    ColumnValue(Model.Emitter(Model.SelectedRow), col) = SpinToValue(position);
    ShowCell(col, Model.SelectedRow);
    Controls.Redraw();
}

void TFormRules::SetValue(int row, int col, long double value) {
    ColumnValue(Model.Emitter(row), col) = value;
    ShowCell(col, row);
    if (row == Model.SelectedRow) ShowSpinsFor(row);
}

void TFormRules::ShowCell(int col, int row) {
    Controls.SetGridCell(col, row, FormatGeneral(ColumnValue(Model.Emitter(row), col)));
}

void TFormRules::ShowRow(int row) {
    for (const int col : {kColumnX, kColumnY, kColumnPhase}) ShowCell(col, row);
}

const TPattern& TFormRules::ComputeDiagram(long double elevationDegrees) {
    LastPattern =
        ComputePattern(Model, {TFieldModel::Window, elevationDegrees}, LastPattern.MaxGainAngle);
    return LastPattern;
}
