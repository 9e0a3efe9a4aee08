#pragma once

#include <QMainWindow>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

#include "plot/chartfile.h"
#include "studio/studiostate.h"

class QLabel;
class QMenu;
class QTimer;
class TChartView;
class TComparisonPanel;
class TDesignPanel;
class TStudioDesigner;
class TSurface3dView;
class TSweepView;
class TWarningsPanel;
class TControlsPanel;
class TEmittersTable;
class TFiguresPanel;
class TGeometryCanvas;

// The studio's window: the emitters' table, the surroundings, the geometry, the
// two charts and the figures, all redrawn from one analysis whenever the
// document changes.
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
    TDesignPanel* Design() const { return DesignTools; }
    TStudioDesigner& Designer() { return *Tools; }
    TWarningsPanel* Warnings() const { return WarningList; }
    TComparisonPanel* Comparison() const { return Compared; }
    TSurface3dView* Surface() const { return Surface3d; }
    TSweepView* SweepChart() const { return Sweep; }
    QMenu* PresetsMenu() const { return Presets; }

    // Writes the chart as `arraypattern-cli plot` writes it for the saved
    // document, the held reference overlaid; false with a message shown when it
    // cannot be written.
    bool ExportChart(TPlotKind kind, const QString& fileName);
    // The HTML report of the current design, and of the reference when one is
    // held.
    bool ExportReport(const QString& fileName);

    // Opens the file into the document (one undo history a file); false with a
    // message shown when it cannot be read.
    bool Open(const QString& fileName);
    bool SaveAs(const QString& fileName);
    const QString& FileName() const { return CurrentFile; }
    // As large as the content wants, within the screen's room.
    void FitScreen();

  private:
    void Redraw();
    void Edit(const QString& text, const TControlsPanel* source,
              const std::function<void(TStudioDocument&)>& change, bool dragging);
    void EndDrag();
    void AskOpen();
    void AskSave(bool newName);
    void UpdateTitle();
    void UpdateReference();
    void UpdateSurface(bool fullGrid);
    void UpdateSweep();
    void AddDesignMenus();
    void AskExport(TPlotKind kind);
    void CopyFigures();
    bool Write(const QString& fileName, const std::function<std::string()>& bytes);
    std::vector<TChartArray> ExportArrays(bool surface) const;
    QString CurrentName() const;

    TStudioState Studio;
    TEmittersTable* EmitterTable = nullptr;
    TControlsPanel* ControlPanel = nullptr;
    TGeometryCanvas* Geometry = nullptr;
    TChartView* PolarChart = nullptr;
    TChartView* CutChart = nullptr;
    TFiguresPanel* FigurePanel = nullptr;
    QLabel* Readout = nullptr;
    TDesignPanel* DesignTools = nullptr;
    TStudioDesigner* Tools = nullptr;
    TWarningsPanel* WarningList = nullptr;
    TComparisonPanel* Compared = nullptr;
    TSurface3dView* Surface3d = nullptr;
    TSweepView* Sweep = nullptr;
    std::optional<TStudioDocument> Swept;  // the document the sweep shows
    QTimer* SurfaceTimer = nullptr;  // the full 3-D grid and the sweep once the document rests
    QMenu* Presets = nullptr;
    QWidget* Content = nullptr;     // the array's side, inside its scroll area
    QWidget* FigureSide = nullptr;  // the figures' scroll area
    std::optional<TChartSeries> ReferenceSeries;
    QString CurrentFile;
    int Gesture = 0;  // the drag under way, 0 when none
};
