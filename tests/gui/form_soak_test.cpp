#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <cstdlib>
#include <random>
#include <string>

#include "form/clientsize.h"
#include "form_fixture.h"
#include "recordingcanvas.h"
#include "ui/checkbox.h"
#include "ui/label.h"
#include "ui/radiogroup.h"
#include "ui/speedbutton.h"
#include "ui/statictext.h"
#include "ui/trackbar.h"

namespace {

// Section and key names of the configuration file, in Windows-1251.
const QByteArray kAllSection("\xC2\xF1\xE5\x20\xE8\xE7\xEB\xF3\xF7\xE0\xF2\xE5\xEB\xE8");
const QByteArray kTypeKey("\xD2\xE8\xEF");
const QByteArray kEmitterSection("\xC8\xE7\xEB\xF3\xF7\xE0\xF2\xE5\xEB\xFC\x20");
const QByteArray kEnabledKey("\xC2\xEA\xEB\xFE\xF7\xE5\xED");
const QByteArray kPhaseKey("\xD4\xE0\xE7\xE0");

// Events per run: ARRAYPATTERN_SOAK_EVENTS when set; otherwise 20,000 under CI (CI=true) and a
// developer's 2,000.
int SoakEventCount() {
    const char* count = std::getenv("ARRAYPATTERN_SOAK_EVENTS");
    if (count != nullptr && *count != '\0') return std::stoi(count);
    const char* ci = std::getenv("CI");
    return ci != nullptr && std::string(ci) == "true" ? 20000 : 2000;
}

class FormSoakTest : public FormTest {
  protected:
    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(Random); }
    bool Chance(int percent) { return Pick(1, 100) <= percent; }

    QByteArray RandomValue() {
        switch (Pick(0, 5)) {
            case 0:
                return "0";
            case 1:
                return "garbage";
            default:
                return QByteArray::fromStdString(FormatGeneral(Pick(-100, 100) / 64.0L));
        }
    }

    // A file with some emitter sections and keys missing and some values that do not parse.
    QString RandomConfigFile() {
        const QString path = Dir.filePath(QStringLiteral("random%1.txt").arg(Pick(0, 3)));
        QByteArray text;
        if (Chance(80)) {
            text += "[" + kAllSection + "]\r\n" + kTypeKey + "=" + QByteArray::number(Pick(-3, 5)) +
                    "\r\n";
        }
        for (int n = 1; n <= kEmitterCount; ++n) {
            if (Chance(30)) continue;
            text += "[" + kEmitterSection + QByteArray::number(n) + "]\r\n";
            text += kEnabledKey + "=" + QByteArray::number(Chance(40) ? 1 : 0) + "\r\n";
            text += "X=" + RandomValue() + "\r\nY=" + RandomValue() + "\r\n";
            text += kPhaseKey + "=" + RandomValue() + "\r\n";
        }
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
        return path;
    }

    void RandomEvent() {
        switch (Pick(0, 13)) {
            case 0:
            case 1:
                ClickCell(Pick(0, 3), Pick(0, 8), Chance(80) ? Qt::LeftButton : Qt::RightButton,
                          Chance(15) ? Qt::ShiftModifier : Qt::NoModifier);
                break;
            case 2:
                ClickCentre(Form->EmitterBox(Pick(1, kEmitterCount)));
                break;
            case 3:
            case 4: {
                TUpDown* spins[] = {Form->UpDown1, Form->UpDown2, Form->UpDown3, Form->UpDown4};
                TUpDown* spin = spins[Pick(0, 3)];
                if (spin->isVisible()) {
                    ClickArrow(spin, Chance(50) ? 1 : -1,
                               Chance(85) ? Qt::LeftButton : Qt::RightButton);
                }
                break;
            }
            case 5: {
                const Qt::Key keys[] = {Qt::Key_Up,       Qt::Key_Down, Qt::Key_PageUp,
                                        Qt::Key_PageDown, Qt::Key_Home, Qt::Key_End};
                QTest::keyClick(Form->StringGrid1, keys[Pick(0, 5)],
                                Chance(20) ? Qt::ShiftModifier : Qt::NoModifier);
                break;
            }
            case 6: {
                const QPointF at(Pick(70, 250), Pick(20, 150));
                QWheelEvent wheel(at, Form->StringGrid1->mapToGlobal(at), QPoint(),
                                  QPoint(0, Chance(50) ? 120 : -120), Qt::NoButton, Qt::NoModifier,
                                  Qt::NoScrollPhase, false);
                QApplication::sendEvent(Form->StringGrid1, &wheel);
                break;
            }
            case 7: {
                const Qt::Key keys[] = {Qt::Key_Up,       Qt::Key_Down, Qt::Key_PageUp,
                                        Qt::Key_PageDown, Qt::Key_Home, Qt::Key_End};
                QTest::keyClick(Form->TrackBar1, keys[Pick(0, 5)]);
                break;
            }
            case 8:
                ClickCentre(Form->RadioGroup1->Button(Pick(0, 3)));
                break;
            case 9:
                ClickCentre(Form->CheckBox9);
                break;
            case 10: {
                const Qt::Key keys[] = {Qt::Key_0, Qt::Key_1, Qt::Key_3,         Qt::Key_5,
                                        Qt::Key_9, Qt::Key_A, Qt::Key_Backspace, Qt::Key_Minus};
                QTest::keyClick(Form->Edit1, keys[Pick(0, 7)]);
                break;
            }
            case 11:
                Dialogs.OpenReplies.push_back(Chance(50) ? RandomConfigFile() : SavedFile);
                ClickCentre(Chance(50) ? static_cast<QWidget*>(Form->SpeedButton4)
                                       : static_cast<QWidget*>(Form->StaticText7));
                break;
            case 12:
                // A save flushes the file to disk: rarer, so the run stays short.
                if (Chance(30)) {
                    Dialogs.SaveReplies.push_back(SavedFile);
                    ClickCentre(Form->SpeedButton5);
                }
                break;
            case 13:
                if (Chance(10)) ClickCentre(Form->SpeedButton6);
                break;
        }
    }

    void CheckInvariants(int event) {
        const TArrayModel& model = Form->Model;
        int on = 0;
        for (const TEmitter& e : model.Emitters) on += e.Enabled ? 1 : 0;
        ASSERT_GE(on, 1) << event;
        ASSERT_EQ(model.EnabledCount(), on) << event;
        for (int k = 1; k <= kEmitterCount; ++k) {
            const TEmitter& e = model.Emitter(k);
            ASSERT_EQ(Form->EmitterBox(k)->isChecked(), e.Enabled) << event;
            ASSERT_EQ(CellText(1, k), FormatGeneral(e.X)) << event;
            ASSERT_EQ(CellText(2, k), FormatGeneral(e.Y)) << event;
            ASSERT_EQ(CellText(3, k), FormatGeneral(e.Phase)) << event;
        }
        ASSERT_EQ(model.SelectedRow, Form->StringGrid1->Row()) << event;
        const TEmitter& edited = model.Emitter(model.SelectedRow);
        ASSERT_EQ(Form->UpDown1->Position(), ValueToSpin(edited.X)) << event;
        ASSERT_EQ(Form->UpDown2->Position(), ValueToSpin(edited.Y)) << event;
        ASSERT_EQ(Form->UpDown3->Position(), ValueToSpin(edited.Phase)) << event;

        TArrayModel fresh = model;
        fresh.EmitterType = Form->RadioGroup1->ItemIndex();
        TRecordingCanvas canvas(TRect{0, 0, kClientWidth, kClientHeight});
        const long double elevation = Form->ElevationDegrees();
        const TPattern pattern = ComputePattern(fresh, {TFieldModel::Window, elevation},
                                                Form->Rules.Pattern().MaxGainAngle);
        const TDiagramLabels labels = DrawDiagram(canvas, dtWindow, fresh, pattern, elevation);
        ASSERT_EQ(Form->Label1->Text().toStdString(), labels.Elevation) << event;
        ASSERT_EQ(Form->Label4->Text().toStdString(), labels.Gain) << event;
        ASSERT_EQ(Form->Label5->Text().toStdString(), labels.Bearing) << event;
    }

    std::mt19937 Random{20261208};
    QTemporaryDir Dir;
    QString SavedFile = Dir.filePath(QStringLiteral("saved.txt"));
};

}  // namespace

TEST_F(FormSoakTest, RandomEventsKeepTableGridSpinsAndReadOutsConsistent) {
    const int count = SoakEventCount();
    ASSERT_GT(count, 0) << "ARRAYPATTERN_SOAK_EVENTS must be a positive count";
    for (int event = 0; event < count; ++event) {
        RandomEvent();
        CheckInvariants(event);
        if (HasFatalFailure()) return;
    }
    EXPECT_EQ(Dialogs.Count(TFakeDialogs::TKind::ErrorBox), 0);
    EXPECT_GT(Dialogs.Count(TFakeDialogs::TKind::Information), 0);
}
