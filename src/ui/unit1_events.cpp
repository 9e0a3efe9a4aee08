#include "ui/checkbox.h"
#include "ui/statictext.h"
#include "ui/stringgrid.h"
#include "ui/unit1.h"
#include "ui/updown.h"

void TForm1::StringGrid1SelectCell(int, int arow, bool& canSelect) {
    Handle([&] { Rules.ShowSpinsFor(arow); });
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

void TForm1::SpinMouseUp(TUpDown* spin, int column) {
    Handle([&] { Rules.SpinReleased(column, spin->Position()); });
}

void TForm1::UpDown1MouseUp() {
    SpinMouseUp(UpDown1, 1);
}

void TForm1::UpDown2MouseUp() {
    SpinMouseUp(UpDown2, 2);
}

void TForm1::UpDown3MouseUp() {
    SpinMouseUp(UpDown3, 3);
}

void TForm1::EmitterBoxClick(int k) {
    Handle([&] { Rules.EmitterBoxClick(k); });
}

void TForm1::RadioGroup1Click() {
    Handle([this] { Rules.RadioGroupClick(); });
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
        Rules.Focus(UpDown4->Position());
    });
}
