#include "form/arraymodel.h"
#include "form/formrules.h"

#include <gtest/gtest.h>

#include "app/headlesswindow.h"
#include "config/numtext.h"
#include "decimalmark_scope.h"
#include "model/emitters.h"

namespace {

// Headless controls that also note the count of emitters on while the message is open.
class TWatchedWindow : public THeadlessWindow {
  public:
    explicit TWatchedWindow(TArrayModel& model) : THeadlessWindow(model), Model(model) {
        Rules().Create();
    }
    void ShowOneEmitterMessage() override {
        CountDuringMessage = Model.EnabledCount();
        THeadlessWindow::ShowOneEmitterMessage();
    }

    const TArrayModel& Model;
    int CountDuringMessage = -1;
};

class FormRulesTest : public testing::Test {
  protected:
    TDecimalMarkScope Comma;
    TArrayModel Model = MakeInitialModel();
    TWatchedWindow Window{Model};
};

TEST_F(FormRulesTest, StartShowsTheInitialTableAndRowOne) {
    EXPECT_EQ(Window.GridCell(1, 2), "-0,25");
    EXPECT_EQ(Window.GridCell(3, 4), "-0,707106781186548");
    EXPECT_EQ(Window.GridCell(1, 8), "0");
    EXPECT_EQ(Window.SpinPositions(), (std::array<int, 3>{16, 16, 0}));
    EXPECT_EQ(Model.EnabledCount(), kInitialEnabledCount);
    EXPECT_EQ(Window.RedrawCount(), 0);
}

TEST_F(FormRulesTest, EachBoxClickRecountsAndRedrawsOnce) {
    Window.SetEmitterChecked(2, false);
    Window.SetEmitterChecked(8, true);
    Window.SetEmitterChecked(3, false);
    EXPECT_EQ(Model.EnabledCount(), 3);
    EXPECT_EQ(Window.RedrawCount(), 3);
    EXPECT_TRUE(Window.Messages().empty());
    EXPECT_TRUE(Model.Emitter(8).Enabled);
    EXPECT_FALSE(Model.Emitter(3).Enabled);
}

// The refused switch-off checks the box again, which runs the same click once more, nested.
TEST_F(FormRulesTest, LastBoxSwitchedOffIsRefusedAndCheckedAgain) {
    int seen = 0;
    Window.SetOnRedraw([&] { seen = Model.EnabledCount(); });
    for (int k = 1; k <= 3; ++k) Window.SetEmitterChecked(k, false);
    EXPECT_EQ(Window.RedrawCount(), 3);
    EXPECT_TRUE(Window.Messages().empty());
    Window.SetEmitterChecked(4, false);
    ASSERT_EQ(Window.Messages().size(), 1u);
    EXPECT_EQ(Window.Messages()[0], kOneEmitterMessage);
    EXPECT_EQ(Window.CountDuringMessage, 0);
    EXPECT_TRUE(Window.EmitterChecked(4));
    EXPECT_TRUE(Model.Emitter(4).Enabled);
    EXPECT_EQ(Model.EnabledCount(), 1);
    EXPECT_EQ(Window.RedrawCount(), 4);
    EXPECT_EQ(seen, 1);
}

TEST_F(FormRulesTest, RadioGroupRunsItsClickOnlyOnAChangeToAnItem) {
    const struct {
        int Set;
        int Index;
        int Redraws;
    } steps[] = {{0, 0, 0}, {7, 3, 1}, {3, 3, 1}, {-5, -1, 1}, {-1, -1, 1}, {1, 1, 2}};
    for (const auto& s : steps) {
        Window.Rules().SetEmitterType(s.Set);
        EXPECT_EQ(Window.EmitterTypeIndex(), s.Index) << s.Set;
        EXPECT_EQ(Model.EmitterType, s.Index) << s.Set;
        EXPECT_EQ(Window.RedrawCount(), s.Redraws) << s.Set;
    }
}

// Focusing rewrites the phase cells of the emitters that are on and leaves the others' texts.
TEST_F(FormRulesTest, FocusingRewritesThePhaseCellsOfTheEmittersOn) {
    Window.SetEmitterChecked(2, false);
    Model.Emitter(6) = TEmitter{0.5L, -0.75L, 0.3L, false};
    Window.SetGridCell(3, 6, "kept");
    Model.SelectedRow = 3;
    Window.Rules().Focus(90);
    EXPECT_EQ(Window.GridCell(3, 1), "0,5");
    EXPECT_EQ(Window.GridCell(3, 2), "-0,353553390593274");
    EXPECT_EQ(Window.GridCell(3, 3), "0,5");
    EXPECT_EQ(Window.GridCell(3, 4), "0");
    EXPECT_EQ(Window.GridCell(3, 6), "kept");
    EXPECT_EQ(Window.SpinPositions(), (std::array<int, 3>{16, -16, 32}));
    EXPECT_EQ(Window.RedrawCount(), 2);
}

TEST_F(FormRulesTest, ReleasedSpinSetsTheEditedEmitterAndItsCell) {
    Model.SelectedRow = 5;
    Window.Rules().SpinReleased(2, -3);
    EXPECT_EQ(Model.Emitter(5).Y, -0.046875L);
    EXPECT_EQ(Window.GridCell(2, 5), "-0,046875");
    EXPECT_EQ(Window.RedrawCount(), 1);
}

}  // namespace
