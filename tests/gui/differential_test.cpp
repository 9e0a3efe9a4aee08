#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTemporaryDir>
#include <array>
#include <fstream>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "app/session.h"
#include "config/cp1251.h"
#include "config/errors.h"
#include "decimalmark_scope.h"
#include "fakedialogs.h"
#include "form/formrules.h"
#include "plot/diagram.h"
#include "ui/checkbox.h"
#include "ui/label.h"
#include "ui/radiogroup.h"
#include "ui/stringgrid.h"
#include "ui/trackbar.h"
#include "ui/unit1.h"

namespace {

constexpr int kCaseCount = 400;

// The steps of one case: a configuration file, perhaps a type and a focusing bearing, at one
// slider position.
struct TSteps {
    char Mark = ',';
    std::string File;
    int SliderPosition = 0;
    std::optional<int> Type;
    std::optional<int> Bearing;
};

// Draws from a seeded engine by plain modulo, so every run and library builds the same cases.
class TDraw {
  public:
    explicit TDraw(unsigned seed) : Engine(seed) {}
    unsigned Below(unsigned n) { return static_cast<unsigned>(Engine() % n); }
    bool Chance(unsigned percent) { return Below(100) < percent; }
    template <typename T, std::size_t N>
    T Pick(const std::array<T, N>& items) {
        return items[Below(N)];
    }

  private:
    std::mt19937 Engine;
};

// A real as the file may hold it: plain, with the other decimal mark, beyond any spin, beyond
// the double range (rarely, since it stops the load), or no number at all.
std::string ValueText(TDraw& draw, char mark) {
    const char other = mark == ',' ? '.' : ',';
    const unsigned kind = draw.Below(100);
    if (kind < 3) return draw.Chance(50) ? "1E400" : std::string("-1") + mark + "8E308";
    if (kind < 10) return draw.Pick(std::array{"", "NaN", "abc", "0x10", "1,2,3", "  "});
    if (kind < 18) return draw.Pick(std::array{"1E300", "-7E12", "600", "1E-400", "3"});
    std::string text = draw.Chance(40) ? "-" : "";
    text += std::to_string(draw.Below(2));
    text += draw.Chance(20) ? other : mark;
    const unsigned digits = 1 + draw.Below(17);
    for (unsigned d = 0; d < digits; ++d) text += static_cast<char>('0' + draw.Below(10));
    if (draw.Chance(10)) text += "E-" + std::to_string(draw.Below(3));
    return text;
}

std::string RandomFile(TDraw& draw, char mark) {
    std::string file;
    if (draw.Chance(80)) {
        file.append("[").append(kAllEmittersSection).append("]\r\n");
        file.append(kTypeKey).append("=");
        file +=
            draw.Pick(std::array{"0", "1", "2", "3", "-1", "-5", "4", "7", "x", "", "99999999999"});
        file += "\r\n";
    }
    const bool allOff = draw.Chance(25);
    for (int k = 1; k <= kEmitterCount; ++k) {
        if (draw.Chance(25)) continue;
        file.append("[").append(kEmitterSectionPrefix).append(std::to_string(k)).append("]\r\n");
        const char* enabled = allOff ? draw.Pick(std::array{"0", "", "no"})
                                     : draw.Pick(std::array{"1", "0", "2", ""});
        file.append(kEnabledKey).append("=").append(enabled).append("\r\n");
        for (const std::string_view key : {kXKey, kYKey, kPhaseKey}) {
            if (draw.Chance(15)) continue;
            file.append(key).append("=").append(ValueText(draw, mark)).append("\r\n");
        }
    }
    return file;
}

TSteps RandomSteps(unsigned seed, int sliderMax) {
    TDraw draw(seed);
    TSteps steps;
    steps.Mark = draw.Chance(50) ? ',' : '.';
    steps.File = RandomFile(draw, steps.Mark);
    steps.SliderPosition = static_cast<int>(draw.Below(static_cast<unsigned>(sliderMax) + 1));
    if (draw.Chance(50)) {
        steps.Type = draw.Pick(std::array{-1000000, -2, -1, 0, 1, 2, 3, 4, 123456789});
    }
    if (draw.Chance(40)) steps.Bearing = static_cast<int>(draw.Below(360));
    return steps;
}

// What a user sees of the run: table, boxes, grid, type, read-outs, boxes shown, in order.
struct TOutcome {
    std::array<TEmitter, kEmitterCount> Emitters{};
    int EnabledCount = 0;
    std::array<bool, kEmitterCount> Checked{};
    TGridTexts Grid;
    int Type = 0;
    TDiagramLabels Labels;
    TPattern Pattern;
    std::vector<std::string> Messages;
};

// The window: loading through its command and fake file dialog, the type set on its radio
// group, focusing by typing the bearing and checking the focusing box.
TOutcome RunWindow(const TSteps& steps, const std::string& path) {
    TFakeDialogs dialogs;
    TForm1 form(dialogs);
    TOutcome outcome;
    form.TrackBar1->SetPosition(steps.SliderPosition);
    form.Redraw();  // the first paint
    dialogs.OpenReplies.push_back(QString::fromStdString(path));
    form.BitBtn1Click();
    const bool loaded = dialogs.Count(TFakeDialogs::TKind::ErrorBox) == 0;
    if (loaded && steps.Type) form.RadioGroup1->SetItemIndex(*steps.Type);
    if (loaded && steps.Bearing) {
        form.Edit1->setText(QString::number(*steps.Bearing));
        form.CheckBox9->setChecked(true);
    }
    for (const auto& call : dialogs.Calls) {
        if (call.Kind == TFakeDialogs::TKind::Information) {
            EXPECT_EQ(call.Title.toStdString(), kOneEmitterTitle);
            outcome.Messages.push_back(call.Text.toStdString());
        } else if (call.Kind == TFakeDialogs::TKind::ErrorBox) {
            outcome.Messages.push_back(call.Text.toStdString());
        }
    }
    outcome.Emitters = form.Model.Emitters;
    outcome.EnabledCount = form.Model.EnabledCount();
    for (int k = 1; k <= kEmitterCount; ++k) {
        outcome.Checked[static_cast<unsigned>(k - 1)] = form.EmitterBox(k)->isChecked();
        for (int col = 1; col <= 3; ++col) {
            outcome.Grid[static_cast<unsigned>(k - 1)][static_cast<unsigned>(col - 1)] =
                form.StringGrid1->Cell(col, k).toStdString();
        }
    }
    outcome.Type = form.RadioGroup1->ItemIndex();
    outcome.Labels = {form.Label1->Text().toStdString(), form.Label4->Text().toStdString(),
                      form.Label5->Text().toStdString()};
    outcome.Pattern = form.Rules.Pattern();
    return outcome;
}

// The command line's session, as `pattern --config FILE [--type N] [--focus B]` runs it; a
// failed load ends the command with the error box's text.
std::optional<TOutcome> RunSession(const TSteps& steps, const std::string& path, int sliderMax,
                                   std::string& error) {
    TSessionSteps run;
    run.ConfigFile = path;
    run.EmitterType = steps.Type;
    run.FocusBearing = steps.Bearing;
    run.Field.ElevationDegrees = ElevationDegrees(sliderMax, steps.SliderPosition);
    try {
        const TArraySession session = BuildSession(run);
        TOutcome outcome;
        outcome.Emitters = session.Model.Emitters;
        outcome.EnabledCount = session.Model.EnabledCount();
        outcome.Checked = session.Checked;
        outcome.Grid = session.Grid;
        outcome.Type = session.Model.EmitterType;
        outcome.Labels = session.Labels;
        outcome.Pattern = session.Pattern;
        outcome.Messages = session.Messages;
        return outcome;
    } catch (const EHandlerError& e) {
        error = ErrorBoxText(e.what());
        return std::nullopt;
    }
}

void ExpectSameEmitters(const TOutcome& window, const TOutcome& session) {
    for (int k = 1; k <= kEmitterCount; ++k) {
        SCOPED_TRACE(k);
        const auto i = static_cast<unsigned>(k - 1);
        EXPECT_EQ(window.Emitters[i].X, session.Emitters[i].X);
        EXPECT_EQ(window.Emitters[i].Y, session.Emitters[i].Y);
        EXPECT_EQ(window.Emitters[i].Phase, session.Emitters[i].Phase);
        EXPECT_EQ(window.Emitters[i].Enabled, session.Emitters[i].Enabled);
        EXPECT_EQ(window.Checked[i], session.Checked[i]);
        EXPECT_EQ(window.Grid[i], session.Grid[i]);
    }
}

// The window and the command line run the same rules on the same steps; every case must end
// alike in all that either shows.
TEST(Differential, WindowAndCommandLineAgreeOnRandomConfigurations) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string path = dir.filePath(QStringLiteral("case.txt")).toStdString();
    int sliderMax = 0;
    {
        TFakeDialogs dialogs;
        sliderMax = TForm1(dialogs).TrackBar1->Max();
    }
    int refusals = 0;
    int failures = 0;
    for (unsigned seed = 1; seed <= kCaseCount; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        const TSteps steps = RandomSteps(seed, sliderMax);
        const TDecimalMarkScope mark(steps.Mark);
        std::ofstream(path, std::ios::binary) << steps.File;

        const TOutcome window = RunWindow(steps, path);
        std::string error;
        const std::optional<TOutcome> session = RunSession(steps, path, sliderMax, error);
        if (!session) {
            ++failures;
            ASSERT_FALSE(window.Messages.empty());
            EXPECT_EQ(window.Messages.back(), error);
            continue;
        }
        ExpectSameEmitters(window, *session);
        EXPECT_EQ(window.EnabledCount, session->EnabledCount);
        EXPECT_EQ(window.Type, session->Type);
        EXPECT_EQ(window.Labels.Elevation, session->Labels.Elevation);
        EXPECT_EQ(window.Labels.Gain, session->Labels.Gain);
        EXPECT_EQ(window.Labels.Bearing, session->Labels.Bearing);
        EXPECT_EQ(window.Pattern.Samples, session->Pattern.Samples);
        EXPECT_EQ(window.Pattern.MaxGainAngle, session->Pattern.MaxGainAngle);
        EXPECT_EQ(window.Messages, session->Messages);
        refusals += session->Messages.empty() ? 0 : 1;
        if (HasFailure()) return;
    }
    // The cases reach both the refused switch-off and the failed load.
    EXPECT_GT(refusals, kCaseCount / 20);
    EXPECT_GT(failures, 0);
}

}  // namespace
