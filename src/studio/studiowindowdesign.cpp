#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenuBar>
#include <QMessageBox>
#include <QTimer>

#include "app/figures.h"
#include "config/messages.h"
#include "model/msgid.h"
#include "plot/picturefile.h"
#include "studio/comparison.h"
#include "studio/designer.h"
#include "studio/designpanel.h"
#include "studio/exporter.h"
#include "studio/presets.h"
#include "studio/studiowindow.h"
#include "studio/surfaceview.h"
#include "studio/sweepview.h"

// The design tools' part of the window: their menus, the reference, the 3-D view and export.
namespace {

QString Text(const char* msgid) {
    return QString::fromUtf8(Tr(msgid));
}

}  // namespace

void TStudioWindow::AddDesignMenus() {
    Presets = menuBar()->addMenu(Text(Msgid("&Presets")));
    for (const TPreset& preset :
         FindPresets(PresetFolders(QCoreApplication::applicationDirPath().toStdString()))) {
        QAction* action = Presets->addAction(QString::fromStdString(preset.Title));
        action->setData(QString::fromStdString(preset.Path));
        connect(action, &QAction::triggered, this,
                [this, action] { OpenCopy(action->data().toString()); });
    }
    QMenu* exports = menuBar()->addMenu(Text(Msgid("E&xport")));
    const std::pair<TPlotKind, const char*> charts[] = {
        {TPlotKind::PolarDb, Msgid("The &polar chart…")},
        {TPlotKind::Elevation, Msgid("The &elevation cut…")},
        {TPlotKind::RectDb, Msgid("The &rectangular chart…")},
        {TPlotKind::Surface3d, Msgid("The &3-D picture…")},
        {TPlotKind::Diagram, Msgid("The window's &diagram…")}};
    for (const auto& [kind, title] : charts) {
        exports->addAction(Text(title), this, [this, kind = kind] { AskExport(kind); });
    }
    exports->addAction(Text(Msgid("The HTML &report…")), this,
                       [this] { AskExport(TPlotKind::Report); });
    exports->addAction(Text(Msgid("&Copy the figures as text")), QKeySequence::Copy, this,
                       &TStudioWindow::CopyFigures);

    connect(SurfaceTimer, &QTimer::timeout, this, [this] {
        UpdateSurface(true);
        UpdateSweep();
    });
    connect(DesignTools, &TDesignPanel::SteerAsked, Tools, &TStudioDesigner::Steer);
    connect(DesignTools, &TDesignPanel::TaperAsked, Tools, &TStudioDesigner::Taper);
    connect(DesignTools, &TDesignPanel::DesignAsked, Tools, &TStudioDesigner::Design);
    connect(DesignTools, &TDesignPanel::NullModeChanged, this, [this](bool on) {
        if (!on) Tools->Forget();
        Redraw();
    });
    connect(DesignTools, &TDesignPanel::HoldAsked, this,
            [this](bool hold) { Tools->Hold(hold, CurrentName()); });
    connect(Tools, &TStudioDesigner::ReferenceChanged, this, &TStudioWindow::UpdateReference);
}

QString TStudioWindow::CurrentName() const {
    return CurrentFile.isEmpty() ? Text(Msgid("the array")) : QFileInfo(CurrentFile).fileName();
}

void TStudioWindow::UpdateReference() {
    ReferenceSeries.reset();
    if (const auto& reference = Tools->Reference()) {
        ReferenceSeries = ChartSeriesOf(*reference);
        ReferenceSeries->Name = TrFormat("%s (reference)", {Tools->ReferenceName().toStdString()});
    }
    Compared->setVisible(ReferenceSeries.has_value());
    Redraw();
}

void TStudioWindow::UpdateSurface(bool fullGrid) {
    const auto& result = Studio.Result();
    if (!result) return;
    auto coarse = SampleSurface(*result, kDragSurfaceStepDegrees);
    auto full = fullGrid ? SampleSurface(*result, kSurfaceStepDegrees) : coarse;
    const TChartArray chart = ExportChartArray(*result, CurrentFile.toStdString());
    Surface3d->SetMarker(result->CutBearing, static_cast<double>(result->Field.ElevationDegrees));
    Surface3d->SetSurface(full, coarse, chart.Array, chart.View, CurrentName().toStdString(),
                          chart.Caption);
}

// The wires' drive around the design frequency: 41 solves of the wires, so only once the
// document rests, and not again for the same document (a new cut or floor).
void TStudioWindow::UpdateSweep() {
    constexpr int kSweepSteps = 41;
    constexpr long double kSweepSpan = 0.05L;  // either side, of the design frequency
    const TStudioDocument& d = Studio.Document();
    const auto& result = Studio.Result();
    if (!result || !result->Wires.Solved || (Swept && *Swept == d)) return;
    Swept = d;
    try {
        Sweep->SetSweep(
            SweepDrive(CaseOf(d, std::nullopt), DesignFrequencyMhz(d), kSweepSpan, kSweepSteps));
    } catch (const std::exception&) {
        // A step the wires cannot take (two grown wires touching) leaves no sweep to show.
        Sweep->SetSweep({});
    }
}

std::vector<TChartArray> TStudioWindow::ExportArrays(bool surface) const {
    std::vector<TChartArray> arrays;
    const auto add = [&](const TPatternResult& result, const std::string& name) {
        arrays.push_back(ExportChartArray(
            result, name, surface ? SampleSurface(result, kSurfaceStepDegrees) : nullptr));
    };
    add(*Studio.Result(), CurrentFile.toStdString());
    if (const auto& reference = Tools->Reference()) {
        add(*reference, ReferenceSeries->Name);
    }
    return arrays;
}

bool TStudioWindow::Write(const QString& fileName, const std::function<std::string()>& bytes) {
    try {
        WritePictureFile(fileName.toStdString(), bytes());
        return true;
    } catch (const std::exception& e) {
        QMessageBox::warning(this, windowTitle(), QString::fromStdString(e.what()));
        return false;
    }
}

bool TStudioWindow::ExportChart(TPlotKind kind, const QString& fileName) {
    const auto format = PictureFormatOf(fileName.toStdString());
    if (!Studio.Result() || !format) return false;
    return Write(fileName, [&] {
        return ChartExportBytes(kind, ExportArrays(kind == TPlotKind::Surface3d), *format);
    });
}

bool TStudioWindow::ExportReport(const QString& fileName) {
    if (!Studio.Result()) return false;
    return Write(fileName, [&] { return ReportExportBytes(ExportArrays(true)); });
}

void TStudioWindow::AskExport(TPlotKind kind) {
    const bool report = kind == TPlotKind::Report;
    const QString name = QFileDialog::getSaveFileName(
        this, Text(Msgid("Export")), {},
        report ? QStringLiteral("HTML (*.html)")
               : QStringLiteral("PNG (*.png);;SVG (*.svg);;PDF (*.pdf);;BMP (*.bmp)"));
    if (name.isEmpty()) return;
    if (report) {
        ExportReport(name);
    } else {
        ExportChart(kind, name);
    }
}

void TStudioWindow::CopyFigures() {
    if (const auto& result = Studio.Result()) {
        QApplication::clipboard()->setText(QString::fromStdString(FigureTextLines(*result)));
    }
}
