#pragma once

#include <QMainWindow>
#include <QString>

#include "studio/studiostate.h"

class QLabel;
class TChartView;
class TControlsPanel;
class TEmittersTable;
class TFiguresPanel;
class TGeometryCanvas;

// The studio's window: the emitters' table, the surroundings, the geometry, the two charts and
// the figures, all redrawn from one analysis whenever the document changes.
class TStudioWindow : public QMainWindow {
    Q_OBJECT

  public:
    explicit TStudioWindow(QWidget* parent = nullptr);

    TStudioState& State() { return Studio; }
    TEmittersTable* Table() const { return EmitterTable; }
    TControlsPanel* Controls() const { return ControlPanel; }
    TGeometryCanvas* Canvas() const { return Geometry; }
    TChartView* Polar() const { return PolarChart; }
    TChartView* ElevationChart() const { return CutChart; }
    TFiguresPanel* Figures() const { return FigurePanel; }

    // Opens the file into the document (one undo history a file); false with a message shown
    // when it cannot be read.
    bool Open(const QString& fileName);
    bool SaveAs(const QString& fileName);
    const QString& FileName() const { return CurrentFile; }

  private:
    void Redraw();
    void Edit(const QString& text, const TControlsPanel* source,
              const std::function<void(TStudioDocument&)>& change, bool dragging);
    void EndDrag();
    void AskOpen();
    void AskSave(bool newName);
    void UpdateTitle();

    TStudioState Studio;
    TEmittersTable* EmitterTable = nullptr;
    TControlsPanel* ControlPanel = nullptr;
    TGeometryCanvas* Geometry = nullptr;
    TChartView* PolarChart = nullptr;
    TChartView* CutChart = nullptr;
    TFiguresPanel* FigurePanel = nullptr;
    QLabel* Readout = nullptr;
    QString CurrentFile;
    int Gesture = 0;  // the drag under way, 0 when none
};
