#include <QLineEdit>
#include <QRadioButton>

#include "form_fixture.h"
#include "model/focus.h"
#include "ui/checkbox.h"
#include "ui/label.h"
#include "ui/radiogroup.h"
#include "ui/statictext.h"
#include "ui/trackbar.h"

namespace {

const std::string kPhase45[] = {"0,707106781186548", "0,353553390593274", "0,353553390593274", "0"};

}  // namespace

TEST_F(FormTest, SpinStepWritesTheSelectedEmitterAndRedraws) {
    ClickArrow(Form->UpDown1, +1);
    EXPECT_EQ(Form->UpDown1->Position(), 17);
    EXPECT_EQ(Form->Model.Emitter(1).X, 17.0L / 64);
    EXPECT_EQ(CellText(1, 1), "0,265625");
    EXPECT_EQ(Form->RedrawCount, 1);
}

TEST_F(FormTest, SpinsWrapAtTheEndsOfTheirRange) {
    struct TCase {
        TUpDown* Spin;
        int Start, Direction, End;
        long double TEmitter::*Field;
        int Column;
        const char* Text;
    } cases[] = {
        {Form->UpDown1, 64, +1, -64, &TEmitter::X, 1, "-1"},
        {Form->UpDown2, -64, -1, 64, &TEmitter::Y, 2, "1"},
        {Form->UpDown3, 64, +1, -64, &TEmitter::Phase, 3, "-1"},
    };
    for (const TCase& c : cases) {
        c.Spin->SetPosition(c.Start);
        ClickArrow(c.Spin, c.Direction);
        EXPECT_EQ(c.Spin->Position(), c.End) << c.Column;
        EXPECT_EQ(Form->Model.Emitter(1).*c.Field, c.End / 64.0L) << c.Column;
        EXPECT_EQ(CellText(c.Column, 1), c.Text);
    }
}

TEST_F(FormTest, RightButtonReleaseOnSpinRewritesTheSameValueAndRedraws) {
    ClickArrow(Form->UpDown2, -1, Qt::RightButton);
    EXPECT_EQ(Form->UpDown2->Position(), 16);
    EXPECT_EQ(Form->Model.Emitter(1).Y, 0.25L);
    EXPECT_EQ(CellText(2, 1), "0,25");
    EXPECT_EQ(Form->RedrawCount, 1);
}

TEST_F(FormTest, ClickOnARowMakesItTheEditedEmitter) {
    ClickCell(2, 3);
    EXPECT_EQ(Form->StringGrid1->Row(), 3);
    EXPECT_EQ(Form->Model.SelectedRow, 3);
    EXPECT_EQ(Form->UpDown1->Position(), 16);
    EXPECT_EQ(Form->UpDown2->Position(), -16);
    EXPECT_EQ(Form->UpDown3->Position(), -23);
    EXPECT_EQ(Form->RedrawCount, 0);

    ClickCentre(Form->CheckBox3);
    EXPECT_EQ(Form->Model.SelectedRow, 3);
    EXPECT_EQ(Form->StringGrid1->Row(), 3);
    EXPECT_FALSE(Form->Model.Emitter(3).Enabled);
    EXPECT_FALSE(Form->CheckBox3->isChecked());
}

// Whichever way the highlighted row moves, the spins show it and a step edits it, starting
// from the value the grid shows.
TEST_F(FormTest, SpinsFollowTheHighlightedRowWhateverMovesIt) {
    Form->StringGrid1->setFocus();
    QTest::keyClick(Form->StringGrid1, Qt::Key_Down);
    EXPECT_EQ(Form->StringGrid1->Row(), 2);
    EXPECT_EQ(Form->Model.SelectedRow, 2);
    EXPECT_EQ(Form->UpDown1->Position(), -16);
    EXPECT_EQ(Form->UpDown2->Position(), 16);
    EXPECT_EQ(Form->UpDown3->Position(), -23);
    ClickArrow(Form->UpDown1, +1);
    EXPECT_EQ(Form->Model.Emitter(2).X, -15.0L / 64);
    EXPECT_EQ(CellText(1, 2), "-0,234375");
    EXPECT_EQ(Form->Model.Emitter(1).X, 0.25L);

    QTest::keyClick(Form->StringGrid1, Qt::Key_End);
    EXPECT_EQ(Form->Model.SelectedRow, 8);
    EXPECT_EQ(Form->UpDown1->Position(), 0);

    // A right click and a Shift click leave the current row, and with it the edited emitter.
    ClickCell(1, 4, Qt::RightButton);
    EXPECT_EQ(Form->Model.SelectedRow, Form->StringGrid1->Row());
    ClickCell(1, 5, Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(Form->Model.SelectedRow, Form->StringGrid1->Row());
    EXPECT_EQ(Form->UpDown1->Position(),
              ValueToSpin(Form->Model.Emitter(Form->Model.SelectedRow).X));

    ClickCell(1, 3);
    QWheelEvent wheel(QPointF(100, 60), Form->StringGrid1->mapToGlobal(QPointF(100, 60)), QPoint(),
                      QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(Form->StringGrid1, &wheel);
    EXPECT_EQ(Form->StringGrid1->Row(), 4);
    EXPECT_EQ(Form->Model.SelectedRow, 4);
    EXPECT_EQ(Form->UpDown2->Position(), -16);
}

TEST_F(FormTest, ReleaseOutsideTheDataCellsKeepsTheEditedEmitter) {
    ClickCell(1, 3);
    Click(Form->StringGrid1, Form->StringGrid1->CellRect(2, 0).center());
    EXPECT_EQ(Form->Model.SelectedRow, 3);
    // Column 0 shows between the check box and the first grid line.
    Click(Form.get(), QPoint(64, Form->CheckBox5->geometry().center().y()));
    EXPECT_EQ(Form->Model.SelectedRow, 3);
    Form->StringGrid1MouseUp(Qt::LeftButton, {}, 100, 400);
    EXPECT_EQ(Form->Model.SelectedRow, 3);
    EXPECT_EQ(Form->StringGrid1->Row(), 3);
}

TEST_F(FormTest, LastEmitterCannotBeSwitchedOff) {
    for (TCheckBox* box : {Form->CheckBox1, Form->CheckBox2, Form->CheckBox3}) {
        const int before = Form->RedrawCount;
        ClickCentre(box);
        EXPECT_FALSE(box->isChecked());
        EXPECT_EQ(Form->RedrawCount, before + 1);
    }
    EXPECT_EQ(Dialogs.Count(TFakeDialogs::TKind::Information), 0);
    EXPECT_EQ(Form->Model.EnabledCount(), 1);

    int countWhileOpen = -1;
    Dialogs.WhileModal = [&] {
        countWhileOpen = Form->Model.EnabledCount();
        Form->repaint();
    };
    ClickCentre(Form->CheckBox4);
    EXPECT_EQ(countWhileOpen, 0);
    ASSERT_EQ(Dialogs.Count(TFakeDialogs::TKind::Information), 1);
    EXPECT_EQ(Dialogs.Calls[0].Title.toStdString(), "Information");
    EXPECT_EQ(Dialogs.Calls[0].Text.toStdString(),
              "Один излучатель необходимо оставить включенным!");
    EXPECT_TRUE(Form->CheckBox4->isChecked());
    EXPECT_TRUE(Form->Model.Emitter(4).Enabled);
    EXPECT_EQ(Form->Model.EnabledCount(), 1);
    EXPECT_EQ(Form->RedrawCount, 4);
    EXPECT_EQ(Form->Label4->Text().toStdString(), "1,000  (0,00 дБ)");
}

TEST_F(FormTest, FocusingSteersTheBeamAndHidesThePhaseSpin) {
    Form->Edit1->setText(QStringLiteral("45"));
    EXPECT_EQ(Form->RedrawCount, 0);
    ClickCentre(Form->CheckBox9);
    ASSERT_TRUE(Form->CheckBox9->isChecked());
    for (int k = 1; k <= 4; ++k) EXPECT_EQ(CellText(3, k), kPhase45[k - 1]) << k;
    EXPECT_EQ(CellText(3, 5), "0");
    EXPECT_TRUE(Form->UpDown3->isHidden());
    EXPECT_TRUE(Form->StaticText11->isHidden());
    EXPECT_TRUE(Form->StaticText12->isHidden());
    EXPECT_EQ(Form->RedrawCount, 1);
    EXPECT_EQ(Form->Label5->Text().toStdString(), "45");
    EXPECT_EQ(Form->UpDown3->Position(), ValueToSpin(Form->Model.Emitter(1).Phase));

    // Leaving focusing brings the spin back and keeps the steered phases, without a redraw.
    ClickCentre(Form->CheckBox9);
    EXPECT_FALSE(Form->UpDown3->isHidden());
    EXPECT_FALSE(Form->StaticText11->isHidden());
    EXPECT_FALSE(Form->StaticText12->isHidden());
    EXPECT_EQ(Form->RedrawCount, 1);
    for (int k = 1; k <= 4; ++k) EXPECT_EQ(CellText(3, k), kPhase45[k - 1]) << k;
}

TEST_F(FormTest, EveryTypedCharacterFocusesAtTheLastValidBearing) {
    ClickCentre(Form->CheckBox9);
    Form->Edit1->setFocus();
    Form->Edit1->selectAll();
    struct TStep {
        Qt::Key Key;
        const char* Text;
        int Bearing;
    } steps[] = {{Qt::Key_4, "4", 4}, {Qt::Key_0, "40", 40}, {Qt::Key_0, "400", 40}};
    for (const TStep& step : steps) {
        const int before = Form->RedrawCount;
        QTest::keyClick(Form->Edit1, step.Key);
        EXPECT_EQ(Form->Edit1->text().toStdString(), step.Text);
        EXPECT_EQ(Form->RedrawCount, before + 1);
        TArrayModel expected = MakeInitialModel();
        FocusBeam(expected, step.Bearing);
        for (int k = 1; k <= 8; ++k) {
            EXPECT_EQ(Form->Model.Emitter(k).Phase, expected.Emitter(k).Phase) << step.Text;
        }
        EXPECT_EQ(Form->Label5->Text().toStdString(), std::to_string(step.Bearing));
    }
}

TEST_F(FormTest, BearingSpinWrapsAndRewritesTheBox) {
    ClickCentre(Form->CheckBox9);
    ClickArrow(Form->UpDown4, -1);
    EXPECT_EQ(Form->Edit1->text().toStdString(), "359");
    EXPECT_EQ(Form->UpDown4->Position(), 359);
    TArrayModel expected = MakeInitialModel();
    FocusBeam(expected, 359);
    for (int k = 1; k <= 4; ++k) EXPECT_EQ(Form->Model.Emitter(k).Phase, expected.Emitter(k).Phase);
    EXPECT_EQ(Form->Label5->Text().toStdString(), "359");
}

TEST_F(FormTest, SliderFromBottomToTopRaisesTheElevationInStepsOfFive) {
    Form->TrackBar1->setFocus();
    for (int step = 1; step <= 17; ++step) {
        const int before = Form->RedrawCount;
        QTest::keyClick(Form->TrackBar1, Qt::Key_Up);
        EXPECT_EQ(Form->TrackBar1->Position(), 17 - step);
        EXPECT_EQ(Form->Label1->Text().toStdString(),
                  "Угол места " + std::to_string(5 * step) + " град.");
        EXPECT_EQ(Form->RedrawCount, before + 2) << "a key step reports on press and release";
    }
}

TEST_F(FormTest, ChoosingAnotherEmitterTypeRedrawsOnce) {
    ClickCentre(Form->RadioGroup1->Button(0));
    EXPECT_EQ(Form->RedrawCount, 0);
    ClickCentre(Form->RadioGroup1->Button(2));
    EXPECT_EQ(Form->RadioGroup1->ItemIndex(), 2);
    EXPECT_EQ(Form->RedrawCount, 1);
    EXPECT_EQ(Form->Model.EmitterType, etHorizontalDipoleNS);
    EXPECT_EQ(Form->Label5->Text().toStdString(), "31");
}
