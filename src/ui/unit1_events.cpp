#include "config/numtext.h"
#include "model/focus.h"
#include "ui/checkbox.h"
#include "ui/statictext.h"
#include "ui/stringgrid.h"
#include "ui/unit1.h"
#include "ui/updown.h"

void TForm1::ShowSpinsFor(int row) {
    const TEmitter& e = Model.Emitter(row);
    UpDown1->SetPosition(ValueToSpin(e.X));
    UpDown2->SetPosition(ValueToSpin(e.Y));
    UpDown3->SetPosition(ValueToSpin(e.Phase));
}

void TForm1::StringGrid1SelectCell(int, int arow, bool& canSelect) {
    Handle([&] { ShowSpinsFor(arow); });
    canSelect = true;
}

// The spins edit the emitter whose row the grid highlights, however that row was reached
// (click, keys, wheel), so a step always starts from the value the grid shows; the spins
// already show that row, as StringGrid1SelectCell runs before every move.
void TForm1::StringGrid1RowChanged(int row) {
    Model.SelectedRow = row;
}

// A release over a data cell confirms the pick; the edited emitter stays the highlighted one,
// also after a drag, a Shift-click or a right-click that leaves the current row in place.
void TForm1::StringGrid1MouseUp(Qt::MouseButton, Qt::KeyboardModifiers, int x, int y) {
    Handle([&] {
        const auto [col, row] = StringGrid1->MouseToCell(QPoint(x, y));
        if (col >= 1 && row >= 1) Model.SelectedRow = StringGrid1->Row();
    });
}

void TForm1::SpinMouseUp(TUpDown* spin, long double TEmitter::*field, int column) {
    Handle([&] {
        const long double value = SpinToValue(spin->Position());
        Model.Emitter(Model.SelectedRow).*field = value;
        SetGridCell(column, Model.SelectedRow, FormatGeneral(value));
        Redraw();
    });
}

void TForm1::UpDown1MouseUp() {
    SpinMouseUp(UpDown1, &TEmitter::X, 1);
}

void TForm1::UpDown2MouseUp() {
    SpinMouseUp(UpDown2, &TEmitter::Y, 2);
}

void TForm1::UpDown3MouseUp() {
    SpinMouseUp(UpDown3, &TEmitter::Phase, 3);
}

// A refused switch-off checks the box again, which runs this handler once more, nested: it
// finds the one emitter on and redraws.
void TForm1::EmitterBoxClick(int k) {
    Handle([&] {
        TCheckBox* box = EmitterBox(k);
        Model.Emitter(k).Enabled = box->isChecked();
        if (CheckEnabledCount(Model, *this)) return;
        box->setChecked(true);
        Model.Emitter(k).Enabled = true;
    });
}

void TForm1::RadioGroup1Click() {
    Handle([this] { Redraw(); });
}

void TForm1::TrackBar1Change() {
    Handle([this] { Redraw(); });
}

void TForm1::CheckBox9Click() {
    Handle([this] {
        const bool focusing = CheckBox9->isChecked();
        UpDown3->setVisible(!focusing);
        StaticText11->setVisible(!focusing);
        StaticText12->setVisible(!focusing);
        if (!focusing) return;

        UpDown4->SyncFromAssociate();
        const auto rewritten = FocusBeam(Model, UpDown4->Position());
        for (int k = 1; k <= kEmitterCount; ++k) {
            if (rewritten[static_cast<unsigned>(k - 1)]) {
                SetGridCell(3, k, FormatGeneral(Model.Emitter(k).Phase));
            }
        }
        ShowSpinsFor(Model.SelectedRow);
        Redraw();
    });
}
