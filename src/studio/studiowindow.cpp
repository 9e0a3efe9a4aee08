#include "studio/studiowindow.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QCloseEvent>
#include <QDockWidget>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QScrollArea>
#include <QSettings>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
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
#include "studio/feedpanel.h"
#include "studio/feedtools.h"
#include "studio/figurespanel.h"
#include "studio/geometrycanvas.h"
#include "studio/staleveil.h"
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

    // The charts are what the studio is for: they take the middle and most of the window at
    // every size; the tables and tools sit in panels around them that the user can resize,
    // close, float or move, and the arrangement is kept between runs.
    auto* charts = new QWidget;
    charts->setObjectName(QStringLiteral("charts"));
    auto* chartGrid = new QGridLayout(charts);
    chartGrid->setContentsMargins(4, 4, 4, 4);
    chartGrid->addWidget(PolarChart, 0, 0);
    chartGrid->addWidget(CutChart, 0, 1);
    chartGrid->addWidget(Surface3d, 0, 2);
    chartGrid->addWidget(Readout, 1, 0, 1, 3);
    for (int column = 0; column < 3; ++column) chartGrid->setColumnStretch(column, 1);
    chartGrid->setRowStretch(0, 1);
    setCentralWidget(charts);
    setDockNestingEnabled(true);
    // The status bar is there from the start: one that appeared with the first message would
    // move every panel under the user's pointer.
    statusBar();

    auto* arrayPanel = new QWidget;
    auto* arrayColumn = new QVBoxLayout(arrayPanel);
    arrayColumn->setContentsMargins(0, 0, 0, 0);
    arrayColumn->addWidget(EmitterTable);
    arrayColumn->addWidget(WarningList);
    arrayColumn->addStretch(1);
    auto* figureColumn = new QWidget;
    auto* figureLayout = new QVBoxLayout(figureColumn);
    figureLayout->addWidget(FigurePanel);
    figureLayout->addWidget(Compared);
    figureLayout->addStretch(1);
    Content = arrayPanel;
    FigureSide = figureColumn;
    ToolsSide = ControlPanel;

    QDockWidget* figures = AddPanel(QStringLiteral("figures"), Text(Msgid("Figures")),
                                    figureColumn, Qt::RightDockWidgetArea);
    // Without wires there is no sweep to draw: the panel says what it is for instead of
    // standing empty.
    auto* sweepColumn = new QWidget;
    auto* sweepLayout = new QVBoxLayout(sweepColumn);
    SweepHint = new QLabel(Text(Msgid("The drive impedance of each wire from 0.95 to 1.05 times "
                                      "the frequency. Give the emitters a length to see it.")));
    SweepHint->setObjectName(QStringLiteral("sweepHint"));
    SweepHint->setWordWrap(true);
    sweepLayout->addWidget(SweepHint);
    sweepLayout->addWidget(Sweep);
    sweepLayout->addStretch(1);
    Sweep->installEventFilter(this);
    QDockWidget* sweep = AddPanel(QStringLiteral("sweep"), Text(Msgid("Sweep")), sweepColumn,
                                  Qt::RightDockWidgetArea);
    splitDockWidget(figures, sweep, Qt::Vertical);
    QDockWidget* emitters = AddPanel(QStringLiteral("emitters"), Text(Msgid("Emitters")),
                                     arrayPanel, Qt::BottomDockWidgetArea);
    QDockWidget* tools = AddPanel(QStringLiteral("tools"), Text(Msgid("Surroundings")),
                                  ControlPanel, Qt::BottomDockWidgetArea);
    QDockWidget* design = AddPanel(QStringLiteral("design"), Text(Msgid("Design tools")),
                                   DesignTools, Qt::BottomDockWidgetArea);
    QDockWidget* geometry = AddPanel(QStringLiteral("geometry"), Text(Msgid("Geometry")),
                                     Geometry, Qt::BottomDockWidgetArea);
    // The geometry beside the table, where a drag on it shows in the table's numbers; the
    // surroundings and the design tools share the table's place under tabs.
    splitDockWidget(emitters, geometry, Qt::Horizontal);
    tabifyDockWidget(emitters, tools);
    tabifyDockWidget(tools, design);
    FeedControls = new TFeedPanel;
    FeedSteps = new TFeedTools(Studio, *FeedControls, this);
    tabifyDockWidget(design, AddPanel(QStringLiteral("feed"), Text(Msgid("Feed")), FeedControls,
                                      Qt::BottomDockWidgetArea));
    emitters->raise();
    FactoryLayout = saveState();

    QMenu* file = menuBar()->addMenu(Text(Msgid("&File")));
    file->addAction(Text(Msgid("&Open…")), QKeySequence::Open, this, &TStudioWindow::AskOpen);
    file->addAction(Text(Msgid("&Save")), QKeySequence::Save, this, [this] { AskSave(false); });
    file->addAction(Text(Msgid("Save &as…")), QKeySequence::SaveAs, this,
                    [this] { AskSave(true); });
    file->addSeparator();
    file->addAction(Text(Msgid("&Quit")), QKeySequence::Quit, this, &QWidget::close);
    QMenu* view = menuBar()->addMenu(Text(Msgid("&View")));
    for (QDockWidget* dock : findChildren<QDockWidget*>()) view->addAction(dock->toggleViewAction());
    view->addSeparator();
    view->addAction(Text(Msgid("&Reset layout")), this, &TStudioWindow::ResetLayout);
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
    connect(PolarChart, &TChartView::BearingClicked, this, [this](double bearing) {
        if (DesignTools->PlacingNulls()) {
            Tools->ToggleNull(bearing);
        } else {
            Studio.SetCutBearing(static_cast<int>(std::lround(bearing)) % 360);
        }
    });
    for (TChartView* chart : {PolarChart, CutChart}) {
        connect(chart, &TChartView::ReadoutChanged, Readout, &QLabel::setText);
    }
    connect(&Studio.UndoStack(), &QUndoStack::cleanChanged, this,
            [this](bool clean) { setWindowModified(!clean); });
    // A spin box turns with the wheel only once it has the focus: scrolling a panel past one
    // must not edit the document.
    for (QAbstractSpinBox* box : findChildren<QAbstractSpinBox*>()) {
        box->setFocusPolicy(Qt::StrongFocus);
        box->installEventFilter(this);
    }
    UpdateTitle();
    Redraw();
    QSettings settings;
    Restored = restoreGeometry(settings.value(QStringLiteral("studio/geometry")).toByteArray());
    restoreState(settings.value(QStringLiteral("studio/layout")).toByteArray());
}

QDockWidget* TStudioWindow::AddPanel(const QString& name, const QString& title, QWidget* content,
                                     Qt::DockWidgetArea area) {
    auto* dock = new QDockWidget(title, this);
    dock->setObjectName(name);
    auto* scroll = new QScrollArea;
    scroll->setWidget(content);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    dock->setWidget(scroll);
    addDockWidget(area, dock);
    return dock;
}

void TStudioWindow::ResetLayout() {
    restoreState(FactoryLayout);
    for (QDockWidget* dock : findChildren<QDockWidget*>()) dock->show();
    if (auto* emitters = findChild<QDockWidget*>(QStringLiteral("emitters"))) emitters->raise();
    FitScreen();
}

bool TStudioWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Sweep && (event->type() == QEvent::Show || event->type() == QEvent::Hide))
        SweepHint->setVisible(event->type() == QEvent::Hide);
    if (event->type() == QEvent::Wheel) {
        if (const auto* box = qobject_cast<QAbstractSpinBox*>(watched); box && !box->hasFocus()) {
            event->ignore();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

bool TStudioWindow::MayDiscard() {
    if (!isWindowModified()) return true;
    switch (Asker->Discard(CurrentName())) {
        case TStudioAsk::TAnswer::Save:
            AskSave(false);
            return !isWindowModified();
        case TStudioAsk::TAnswer::Discard:
            return true;
        case TStudioAsk::TAnswer::Cancel:
            break;
    }
    return false;
}

void TStudioWindow::closeEvent(QCloseEvent* event) {
    if (!MayDiscard()) {
        event->ignore();
        return;
    }
    QSettings settings;
    settings.setValue(QStringLiteral("studio/layout"), saveState());
    settings.setValue(QStringLiteral("studio/geometry"), saveGeometry());
    event->accept();
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
    if (result && !result->Wires.Solved) {
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
        const QString reason = QString::fromStdString(Studio.Error());
        FigurePanel->SetFailure(reason);
        for (QWidget* chart : Charts()) SetStale(chart, reason);
        return;
    }
    FigurePanel->SetFailure({});
    for (QWidget* chart : Charts()) SetCurrent(chart);
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
    if (!MayDiscard()) return;
    const QString name = Asker->OpenName(Text(Msgid("Open a configuration")));
    if (!name.isEmpty()) Open(name);
}

void TStudioWindow::OpenCopy(const QString& fileName) {
    if (!MayDiscard()) return;
    if (Open(fileName)) {
        // A preset is a shipped example: the user's changes must not land on it.
        CurrentFile.clear();
        UpdateTitle();
    }
}

void TStudioWindow::AskSave(bool newName) {
    QString name = CurrentFile;
    if (newName || name.isEmpty()) {
        name = Asker->SaveName(Text(Msgid("Save the configuration")), name);
    }
    if (!name.isEmpty()) SaveAs(name);
}

void TStudioWindow::UpdateTitle() {
    const QString title = Text(Msgid("Array Pattern Studio"));
    const QString name = CurrentFile.isEmpty() ? Text(Msgid("untitled")) : CurrentFile;
    setWindowTitle(name + QStringLiteral("[*] — ") + title);
}

std::vector<QWidget*> TStudioWindow::Charts() const {
    return {PolarChart, CutChart, Surface3d, Sweep};
}

void TStudioWindow::FitScreen() {
    // The whole screen: a window manager may not maximise the window on its own.
    const QScreen* here = screen();
    if (!here) return;
    const QRect room = here->availableGeometry();
    setGeometry(room);
    // The charts keep the middle: the figures take a column at the right, above the sweep
    // chart and twice its height, and the table's eight rows stay in view below.
    // The table's rows and its slider in view, up to 45 % of the height; the geometry takes the
    // width the table leaves.
    EmitterTable->layout()->activate();
    Content->layout()->activate();
    ToolsSide->layout()->activate();
    const QSize wanted = Content->sizeHint().expandedTo(ToolsSide->sizeHint());
    const int table = std::clamp(wanted.height() + 84, 260, room.height() * 45 / 100);
    const int tableWidth = std::min(wanted.width() + 40, room.width() - 320);
    const int beside = room.height() - table - menuBar()->sizeHint().height();
    auto* figures = findChild<QDockWidget*>(QStringLiteral("figures"));
    auto* sweep = findChild<QDockWidget*>(QStringLiteral("sweep"));
    auto* emitters = findChild<QDockWidget*>(QStringLiteral("emitters"));
    auto* geometry = findChild<QDockWidget*>(QStringLiteral("geometry"));
    if (!figures || !sweep || !emitters || !geometry) return;
    resizeDocks({figures}, {std::clamp(room.width() / 5, 320, 520)}, Qt::Horizontal);
    resizeDocks({figures, sweep}, {beside * 2 / 3, beside / 3}, Qt::Vertical);
    resizeDocks({emitters}, {table}, Qt::Vertical);
    resizeDocks({emitters, geometry}, {tableWidth, room.width() - tableWidth}, Qt::Horizontal);
}
