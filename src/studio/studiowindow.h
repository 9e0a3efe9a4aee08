#pragma once

#include <QByteArray>
#include <QMainWindow>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "plot/chartfile.h"
#include "studio/asking.h"
#include "studio/studiostate.h"

class QDockWidget;
class QLabel;
class QMenu;
class QTimer;
class TChartView;
class TComparisonPanel;
class TDesignPanel;
class TFeedPanel;
class TFeedTools;
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
    TFeedPanel* Feed() const { return FeedControls; }
    TFeedTools& FeedActions() { return *FeedSteps; }

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
    // Opens a shipped example as an untitled copy: saving it asks for a name.
    void OpenCopy(const QString& fileName);
    // The menu's steps, as the user takes them: each asks before changes are lost.
    void AskOpen();
    void AskSave(bool newName);
    // Whether the current document may be replaced: unchanged, saved, or the user lets it go.
    bool MayDiscard();
    // Who answers the studio's questions: dialogs on screen, or a test.
    void SetAsk(std::unique_ptr<TStudioAsk> ask) { Asker = std::move(ask); }
    // A panel around the charts, movable and closable, remembered between runs.
    QDockWidget* AddPanel(const QString& name, const QString& title, QWidget* content,
                          Qt::DockWidgetArea area);
    void ResetLayout();
    // Whether the window took its place from the user's last run.
    bool RestoredGeometry() const { return Restored; }
    // The charts that show a pattern, veiled when it belongs to an earlier state.
    std::vector<QWidget*> Charts() const;
    const QString& FileName() const { return CurrentFile; }
    // As large as the content wants, within the screen's room.
    void FitScreen();

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Redraw();
    void Edit(const QString& text, const TControlsPanel* source,
              const std::function<void(TStudioDocument&)>& change, bool dragging);
    void EndDrag();
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
    TFeedPanel* FeedControls = nullptr;
    TFeedTools* FeedSteps = nullptr;
    QWidget* Content = nullptr;     // the array's side, inside its scroll area
    QWidget* FigureSide = nullptr;  // the figures' scroll area
    QLabel* SweepHint = nullptr;    // in the sweep's place while there is none
    QWidget* ToolsSide = nullptr;   // the surroundings, under a tab beside the table
    std::optional<TChartSeries> ReferenceSeries;
    QString CurrentFile;
    std::unique_ptr<TStudioAsk> Asker = std::make_unique<TStudioAsk>(this);
    QByteArray FactoryLayout;
    bool Restored = false;
    int Gesture = 0;  // the drag under way, 0 when none
};
