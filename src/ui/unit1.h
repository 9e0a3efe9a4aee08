#pragma once

#include <QWidget>
#include <array>
#include <exception>
#include <functional>
#include <memory>

#include "form/formrules.h"
#include "model/emitters.h"
#include "plot/diagram.h"

class QLineEdit;
class QPainter;
class TCheckBox;
class TDialogs;
class TExportPicture;
class TLabel;
class TRadioGroup;
class TSpeedButton;
class TStaticText;
class TStringGrid;
class TTrackBar;
class TUpDown;

// The hidden picture control: it only owns the 880 x 880 export picture, created on first use.
class TImage : public QWidget {
  public:
    explicit TImage(QWidget* parent);
    ~TImage() override;
    TExportPicture& Picture();
    bool HasPicture() const { return ExportPicture != nullptr; }

  private:
    std::unique_ptr<TExportPicture> ExportPicture;
};

// The program's one window: the emitter table on the left, the diagram on its own surface.
class TForm1 : public QWidget, public TFormControls {
    Q_OBJECT

  public:
    explicit TForm1(TDialogs& dialogs, QWidget* parent = nullptr);
    ~TForm1() override;

    TTrackBar* TrackBar1 = nullptr;
    TLabel* Label1 = nullptr;
    TStringGrid* StringGrid1 = nullptr;
    TCheckBox* CheckBox1 = nullptr;
    TCheckBox* CheckBox2 = nullptr;
    TCheckBox* CheckBox3 = nullptr;
    TCheckBox* CheckBox4 = nullptr;
    TCheckBox* CheckBox5 = nullptr;
    TCheckBox* CheckBox6 = nullptr;
    TCheckBox* CheckBox7 = nullptr;
    TCheckBox* CheckBox8 = nullptr;
    TUpDown* UpDown1 = nullptr;
    TUpDown* UpDown2 = nullptr;
    TUpDown* UpDown3 = nullptr;
    QWidget* Panel1 = nullptr;
    TLabel* Label4 = nullptr;
    TLabel* Label5 = nullptr;
    TStaticText* StaticText5 = nullptr;
    TStaticText* StaticText6 = nullptr;
    TRadioGroup* RadioGroup1 = nullptr;
    TUpDown* UpDown4 = nullptr;
    QLineEdit* Edit1 = nullptr;
    TImage* Image1 = nullptr;
    TStaticText* StaticText4 = nullptr;
    TCheckBox* CheckBox9 = nullptr;
    TSpeedButton* SpeedButton4 = nullptr;
    TSpeedButton* SpeedButton5 = nullptr;
    TSpeedButton* SpeedButton6 = nullptr;
    TStaticText* StaticText7 = nullptr;
    TStaticText* StaticText8 = nullptr;
    TStaticText* StaticText9 = nullptr;
    TStaticText* StaticText1 = nullptr;
    TStaticText* StaticText2 = nullptr;
    TStaticText* StaticText3 = nullptr;
    TStaticText* StaticText10 = nullptr;
    TStaticText* StaticText11 = nullptr;
    TStaticText* StaticText12 = nullptr;

    TArrayModel Model;
    TFormRules Rules{Model, *this};
    int RedrawCount = 0;

    void FormCreate();
    void TrackBar1Change();
    void StringGrid1MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void UpDown1MouseUp();
    void UpDown2MouseUp();
    void UpDown3MouseUp();
    void CheckBox1Click() { EmitterBoxClick(1); }
    void CheckBox2Click() { EmitterBoxClick(2); }
    void CheckBox3Click() { EmitterBoxClick(3); }
    void CheckBox4Click() { EmitterBoxClick(4); }
    void CheckBox5Click() { EmitterBoxClick(5); }
    void CheckBox6Click() { EmitterBoxClick(6); }
    void CheckBox7Click() { EmitterBoxClick(7); }
    void CheckBox8Click() { EmitterBoxClick(8); }
    void StringGrid1SelectCell(int acol, int arow, bool& canSelect);
    void RadioGroup1Click();
    void BitBtn2Click() { SaveCommand(); }
    void BitBtn1Click() { LoadCommand(); }
    void FormPaint();
    void BitBtn3Click() { ExportCommand(); }
    void SpeedButton1Click() { LoadCommand(); }
    void SpeedButton2Click() { SaveCommand(); }
    void SpeedButton3Click() { ExportCommand(); }
    void CheckBox9Click();

    // Check box k of emitter k (1..8).
    TCheckBox* EmitterBox(int k) const { return EmitterBoxes[static_cast<unsigned>(k - 1)]; }
    long double ElevationDegrees() const;

    bool EmitterChecked(int k) const override;
    void SetEmitterChecked(int k, bool checked) override;
    void SetGridCell(int col, int row, const std::string& text) override;
    int EmitterTypeIndex() const override;
    void SetEmitterTypeIndex(int index) override;
    void SetSpinPositions(int x, int y, int phase) override;
    void Redraw() override;
    void ShowOneEmitterMessage() override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void CreateControls();
    void CreatePanelControls();
    void SetTabOrder();
    void WireEvents();

    void StringGrid1RowChanged(int row);
    void EmitterBoxClick(int k);
    void SpinMouseUp(TUpDown* spin, int column);
    void LoadCommand();
    void SaveCommand();
    void ExportCommand();
    void ShowLabels(const TDiagramLabels& labels);
    void PaintDiagram(QPainter& painter);
    void RaisePaintError();

    // Runs one event handler; an error that ends it is shown in the standard error box.
    void Handle(const std::function<void()>& handler);
    void ShowError(const std::string& message);

    TDialogs& Dialogs;
    std::array<TCheckBox*, kEmitterCount> EmitterBoxes{};
    int PaintCount = 0;
    bool InRedraw = false;
    std::exception_ptr PaintError;
};
