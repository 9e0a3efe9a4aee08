#include "studio/studiowindow.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QScrollArea>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <stdexcept>

#include "app/arraywarnings.h"
#include "config/messages.h"
#include "model/msgid.h"
#include "model/phaseangle.h"
#include "studio/chartview.h"
#include "studio/comparison.h"
#include "studio/controlspanel.h"
#include "studio/designer.h"
#include "studio/designpanel.h"
#include "studio/emitterstable.h"
#include "studio/figurespanel.h"
#include "studio/geometrycanvas.h"
#include "studio/surfaceview.h"
#include "studio/sweepview.h"
#include "studio/warningspanel.h"

namespace {

QString Text(const char* msgid) {
    return QString::fromUtf8(Tr(msgid));
}

const char* FieldEditName(TEmitterField field) {
    switch (field) {
        case TEmitterField::X:
            return Msgid("Move an emitter west–east");
        case TEmitterField::Y:
            return Msgid("Move an emitter south–north");
        case TEmitterField::Phase:
            return Msgid("Change a phase");
        case TEmitterField::Amplitude:
            return Msgid("Change an amplitude");
        case TEmitterField::On:
            return Msgid("Switch an emitter");
    }
    return "";
}

}  // namespace

TStudioWindow::TStudioWindow(QWidget* parent) : QMainWindow(parent) {
    EmitterTable = new TEmittersTable;
    ControlPanel = new TControlsPanel;
    Geometry = new TGeometryCanvas;
    PolarChart = new TChartView(TChartView::TKind::PolarDb);
    CutChart = new TChartView(TChartView::TKind::Elevation);
    FigurePanel = new TFiguresPanel;
    Readout = new QLabel;
    Readout->setMinimumWidth(260);
    DesignTools = new TDesignPanel;
    Tools = new TStudioDesigner(Studio, *DesignTools, this);
    WarningList = new TWarningsPanel;
    Compared = new TComparisonPanel;
    Compared->hide();
    Surface3d = new TSurface3dView;
    Sweep = new TSweepView;
    SurfaceTimer = new QTimer(this);
    SurfaceTimer->setSingleShot(true);
    SurfaceTimer->setInterval(150);

    auto* left = new QWidget;
    auto* leftColumn = new QVBoxLayout(left);
    leftColumn->addWidget(EmitterTable);
    leftColumn->addWidget(WarningList);
    auto* lower = new QHBoxLayout;
    lower->addWidget(ControlPanel);
    lower->addWidget(DesignTools);
    lower->addWidget(Geometry, 1);
    leftColumn->addLayout(lower, 1);

    auto* charts = new QWidget;
    auto* chartColumn = new QVBoxLayout(charts);
    auto* chartRow = new QHBoxLayout;
    chartRow->addWidget(PolarChart, 1);
    chartRow->addWidget(CutChart, 1);
    chartRow->addWidget(Surface3d, 1);
    chartColumn->addLayout(chartRow, 1);
    chartColumn->addWidget(Readout);
    leftColumn->addWidget(charts, 2);

    auto* figureColumn = new QWidget;
    auto* figureLayout = new QVBoxLayout(figureColumn);
    figureLayout->addWidget(FigurePanel);
    figureLayout->addWidget(Sweep);
    figureLayout->addWidget(Compared);
    figureLayout->addStretch(1);
    auto* figures = new QScrollArea;
    figures->setWidget(figureColumn);
    figures->setWidgetResizable(true);
    figures->setMinimumWidth(400);

    // On a screen smaller than the content the array's side scrolls, rather than the window
    // growing past the screen and the figures falling off it.
    auto* arraySide = new QScrollArea;
    arraySide->setWidget(left);
    arraySide->setWidgetResizable(true);
    arraySide->setFrameShape(QFrame::NoFrame);
    Content = left;
    FigureSide = figures;

    auto* splitter = new QSplitter;
    splitter->addWidget(arraySide);
    splitter->addWidget(figures);
    splitter->setStretchFactor(0, 1);
    setCentralWidget(splitter);

    QMenu* file = menuBar()->addMenu(Text(Msgid("&File")));
    file->addAction(Text(Msgid("&Open…")), QKeySequence::Open, this, &TStudioWindow::AskOpen);
    file->addAction(Text(Msgid("&Save")), QKeySequence::Save, this, [this] { AskSave(false); });
    file->addAction(Text(Msgid("Save &as…")), QKeySequence::SaveAs, this,
                    [this] { AskSave(true); });
    file->addSeparator();
    file->addAction(Text(Msgid("&Quit")), QKeySequence::Quit, this, &QWidget::close);
    QMenu* edit = menuBar()->addMenu(Text(Msgid("&Edit")));
    QAction* undo = Studio.UndoStack().createUndoAction(this, Text(Msgid("&Undo")));
    undo->setShortcut(QKeySequence::Undo);
    QAction* redo = Studio.UndoStack().createRedoAction(this, Text(Msgid("&Redo")));
    redo->setShortcut(QKeySequence::Redo);
    edit->addAction(undo);
    edit->addAction(redo);
    AddDesignMenus();

    connect(&Studio, &TStudioState::Changed, this, &TStudioWindow::Redraw);
    connect(EmitterTable, &TEmittersTable::Edited, this,
            [this](int k, TEmitterField field, long double value, bool dragging) {
                Edit(
                    Text(FieldEditName(field)), nullptr,
                    [k, field, value](TStudioDocument& d) {
                        TEmitter& e = d.Array.Emitter(k);
                        switch (field) {
                            case TEmitterField::X:
                                e.X = value;
                                break;
                            case TEmitterField::Y:
                                e.Y = value;
                                break;
                            case TEmitterField::Phase:
                                e.Phase = PhaseFromDegrees(value);
                                break;
                            case TEmitterField::Amplitude:
                                e.Amplitude = value;
                                break;
                            case TEmitterField::On:
                                // One emitter always stays on, as in the classic window.
                                if (value != 0 || d.Array.EnabledCount() > 1)
                                    e.Enabled = value != 0;
                                break;
                        }
                    },
                    dragging);
            });
    connect(EmitterTable, &TEmittersTable::LengthEdited, this,
            [this](int k, std::optional<double> length) {
                Edit(
                    Text(Msgid("Change a length")), nullptr,
                    [k, length](TStudioDocument& d) {
                        d.Wires.AllLengths.reset();
                        d.Wires.Lengths[static_cast<unsigned>(k - 1)] = length;
                    },
                    false);
            });
    connect(EmitterTable, &TEmittersTable::DragFinished, this, &TStudioWindow::EndDrag);
    connect(ControlPanel, &TControlsPanel::Edited, this,
            [this](const QString& text, const TControlsPanel::TChange& change, bool dragging) {
                Edit(text, ControlPanel, change, dragging);
            });
    connect(ControlPanel, &TControlsPanel::DragFinished, this, &TStudioWindow::EndDrag);
    connect(ControlPanel, &TControlsPanel::FloorChanged, this, &TStudioWindow::Redraw);
    connect(Geometry, &TGeometryCanvas::DragStarted, this,
            [this] { Gesture = Studio.NewGesture(); });
    connect(Geometry, &TGeometryCanvas::Dragged, this, [this](int k, long double x, long double y) {
        Edit(
            Text(Msgid("Drag an emitter")), nullptr,
            [k, x, y](TStudioDocument& d) {
                d.Array.Emitter(k).X = x;
                d.Array.Emitter(k).Y = y;
            },
            true);
    });
    connect(Geometry, &TGeometryCanvas::DragFinished, this, &TStudioWindow::EndDrag);
    connect(PolarChart, &TChartView::BearingClicked, this, [this](int bearing) {
        if (DesignTools->PlacingNulls()) {
            Tools->ToggleNull(bearing);
        } else {
            Studio.SetCutBearing(bearing);
        }
    });
    for (TChartView* chart : {PolarChart, CutChart}) {
        connect(chart, &TChartView::ReadoutChanged, Readout, &QLabel::setText);
    }
    UpdateTitle();
    Redraw();
}

void TStudioWindow::Edit(const QString& text, const TControlsPanel*,
                         const std::function<void(TStudioDocument&)>& change, bool dragging) {
    if (dragging && Gesture == 0) Gesture = Studio.NewGesture();
    const TStudioDocument before = Studio.Document();
    Studio.Edit(text, change, dragging ? Gesture : 0);
    // An edit refused (the last emitter switched off) leaves the document as it was and
    // nothing is redrawn: the table shows it again rather than the refused value. An edit
    // taken is redrawn, table and all, once.
    if (Studio.Document() == before) {
        EmitterTable->SetArray(Studio.Document().Array, Studio.Document().Wires.Lengths);
    }
}

void TStudioWindow::EndDrag() {
    Gesture = 0;
}

void TStudioWindow::Redraw() {
    const TStudioDocument& d = Studio.Document();
    EmitterTable->SetArray(d.Array, d.Wires.Lengths);
    const auto& result = Studio.Result();
    EmitterTable->SetDrives(
        result ? DriveCellsOf(*result) : std::array<TDriveCells, kEmitterCount>{},
        result && result->Wires.Solved);
    if (!result || !result->Wires.Solved) {
        Sweep->SetSweep({});
        Swept.reset();
    }
    WarningList->SetWarnings(ArrayWarnings(
        d.Array, static_cast<double>(result ? result->Field.ElevationDegrees : d.ElevationDegrees),
        Tools->AskedTaper()),
        result && result->Wires.Solved ? result->Wires.Validity : TWireValidity{});
    ControlPanel->SetDocument(d, result ? result->Field.ElevationDegrees : d.ElevationDegrees);
    Geometry->SetArray(d.Array);
    if (!result) {
        FigurePanel->SetFailure(QString::fromStdString(Studio.Error()));
        return;
    }
    FigurePanel->SetFailure({});
    std::vector<TChartSeries> series{ChartSeriesOf(*result)};
    series.front().Name = CurrentName().toStdString();
    if (ReferenceSeries) series.push_back(*ReferenceSeries);
    PolarChart->SetNullMarks(Tools->Nulls());
    PolarChart->SetSeries(series, ControlPanel->FloorDb());
    CutChart->SetSeries(series, ControlPanel->FloorDb());
    FigurePanel->SetRows(FigureRowsOf(*result));
    if (const auto& reference = Tools->Reference()) {
        Compared->SetRows(QString::fromStdString(ReferenceSeries->Name), CurrentName(),
                          ComparisonRowsOf(*reference, *result));
    }
    // While a slider or an emitter is dragged the charts keep the frame rate; the 3-D view
    // follows when the drag rests.
    if (Gesture == 0) UpdateSurface(false);
    SurfaceTimer->start();
}

bool TStudioWindow::Open(const QString& fileName) {
    try {
        const TOpenedDocument opened = OpenDocument(fileName.toStdString());
        CurrentFile = fileName;
        Tools->Forget();
        Studio.Reset(opened.Document);
        Tools->FollowBeam();
        UpdateTitle();
        if (!opened.Warnings.empty()) {
            QString lines;
            for (const std::string& line : opened.Warnings)
                lines += QString::fromStdString(line) + '\n';
            statusBar()->showMessage(lines.trimmed(), 10000);
        }
        return true;
    } catch (const std::exception& e) {
        QMessageBox::warning(this, windowTitle(), QString::fromStdString(e.what()));
        return false;
    }
}

bool TStudioWindow::SaveAs(const QString& fileName) {
    try {
        SaveDocument(Studio.Document(), fileName.toStdString());
    } catch (const std::exception& e) {
        QMessageBox::warning(this, windowTitle(), QString::fromStdString(e.what()));
        return false;
    }
    CurrentFile = fileName;
    Studio.UndoStack().setClean();
    UpdateTitle();
    return true;
}

void TStudioWindow::AskOpen() {
    const QString name = QFileDialog::getOpenFileName(this, Text(Msgid("Open a configuration")));
    if (!name.isEmpty()) Open(name);
}

void TStudioWindow::AskSave(bool newName) {
    QString name = CurrentFile;
    if (newName || name.isEmpty()) {
        name = QFileDialog::getSaveFileName(this, Text(Msgid("Save the configuration")), name);
    }
    if (!name.isEmpty()) SaveAs(name);
}

void TStudioWindow::UpdateTitle() {
    const QString title = Text(Msgid("Array Pattern Studio"));
    setWindowTitle(CurrentFile.isEmpty() ? title : CurrentFile + QStringLiteral(" — ") + title);
}

void TStudioWindow::FitScreen() {
    // The room the array's side needs without scroll bars, beside the figures, with the
    // splitter's handle and a margin between.
    Content->layout()->activate();
    const QSize content = Content->sizeHint().expandedTo(Content->minimumSizeHint());
    const int figures = std::max(FigureSide->minimumWidth(), FigureSide->sizeHint().width());
    QSize wanted(content.width() + figures + 32,
                 content.height() + menuBar()->sizeHint().height() + 8);
    if (const QScreen* here = screen()) wanted = wanted.boundedTo(here->availableGeometry().size());
    resize(wanted);
}
