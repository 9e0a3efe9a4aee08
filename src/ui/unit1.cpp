#include "ui/unit1.h"

#include <QCoreApplication>
#include <QImage>
#include <QPainter>

#include "app/version.h"
#include "config/errors.h"
#include "config/numtext.h"
#include "form/clientsize.h"
#include "plot/exportpicture.h"
#include "plot/qt/qtfonts.h"
#include "plot/qt/qtwindowdiagram.h"
#include "ui/checkbox.h"
#include "ui/dialogs.h"
#include "ui/label.h"
#include "ui/radiogroup.h"
#include "ui/stringgrid.h"
#include "ui/trackbar.h"
#include "ui/updown.h"

TImage::TImage(QWidget* parent) : QWidget(parent) {}

TImage::~TImage() = default;

TExportPicture& TImage::Picture() {
    if (!ExportPicture) ExportPicture = std::make_unique<TExportPicture>();
    return *ExportPicture;
}

TForm1::TForm1(TDialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      Dialogs(dialogs) {
    setObjectName(QStringLiteral("Form1"));
    setFont(SansSerif11());
    setFixedSize(kClientWidth, kClientHeight);
    move(200, 225);
    CreateControls();
    WireEvents();
    FormCreate();
    // The slider is first in the tab order, so it has the keys when the window first activates.
    TrackBar1->setFocus();
}

TForm1::~TForm1() = default;

void TForm1::FormCreate() {
    setWindowTitle(QString::fromUtf8("Диаграмма направленности антенной решетки (v. " +
                                     FormatInteger(kVersionMajor) + "." +
                                     FormatInteger(kVersionMinor) + ")"));

    StringGrid1->SetCell(0, 0, QString::fromUtf8("   №, сост."));
    StringGrid1->SetCell(1, 0, QStringLiteral(" X"));
    StringGrid1->SetCell(2, 0, QStringLiteral(" Y"));
    StringGrid1->SetCell(3, 0, QString::fromUtf8(" Фаза"));

    for (int k = 1; k <= kEmitterCount; ++k) StringGrid1->SetObject(0, k, EmitterBox(k));

    Rules.Create();
}

long double TForm1::ElevationDegrees() const {
    return ::ElevationDegrees(TrackBar1->Max(), TrackBar1->Position());
}

void TForm1::PaintDiagram(QPainter& painter) {
    Model.EmitterType = RadioGroup1->ItemIndex();
    // The export picture comes into being with the first drawing and lives until exit.
    Image1->Picture();
    const long double elevation = ElevationDegrees();
    const TPattern& pattern = Rules.ComputeDiagram(elevation);
    ShowLabels(DrawWindowDiagram(painter, size(), palette().color(QPalette::Button), Model,
                                 pattern, elevation));
}

void TForm1::FormPaint() {
    QPainter painter(this);
    PaintDiagram(painter);
}

// A failure while painting cannot travel through Qt's paint dispatch: it is kept and raised
// again in Redraw, or, for a paint the platform asked for, shown once the paint is over.
void TForm1::paintEvent(QPaintEvent*) {
    ++PaintCount;
    try {
        FormPaint();
    } catch (...) {
        PaintError = std::current_exception();
        if (!InRedraw) {
            QMetaObject::invokeMethod(
                this, [this] { Handle([this] { RaisePaintError(); }); }, Qt::QueuedConnection);
        }
    }
}

void TForm1::RaisePaintError() {
    if (!PaintError) return;
    std::exception_ptr error = std::exchange(PaintError, nullptr);
    std::rethrow_exception(error);
}

void TForm1::Redraw() {
    ++RedrawCount;
    const int paintsBefore = PaintCount;
    InRedraw = true;
    repaint();
    InRedraw = false;
    if (PaintCount == paintsBefore) {
        // Not on screen (hidden or not yet shown): the labels and the pattern still follow
        // the table, so draw once on a scratch surface of the window's size.
        QImage scratch(size(), QImage::Format_RGB32);
        QPainter painter(&scratch);
        PaintDiagram(painter);
    }
    RaisePaintError();
}

void TForm1::ShowLabels(const TDiagramLabels& labels) {
    Label1->SetText(QString::fromUtf8(labels.Elevation));
    Label4->SetText(QString::fromUtf8(labels.Gain));
    Label5->SetText(QString::fromUtf8(labels.Bearing));
}

void TForm1::ShowOneEmitterMessage() {
    Dialogs.Information(this, QString::fromUtf8(kOneEmitterTitle),
                        QString::fromUtf8(kOneEmitterMessage));
}

bool TForm1::EmitterChecked(int k) const {
    return EmitterBox(k)->isChecked();
}

// Loading finds a row's check box through the reference the grid holds in column 0.
void TForm1::SetEmitterChecked(int k, bool checked) {
    if (auto* box = qobject_cast<TCheckBox*>(StringGrid1->Object(0, k))) box->setChecked(checked);
}

void TForm1::SetGridCell(int col, int row, const std::string& text) {
    StringGrid1->SetCell(col, row, QString::fromUtf8(text));
}

int TForm1::EmitterTypeIndex() const {
    return RadioGroup1->ItemIndex();
}

void TForm1::SetEmitterTypeIndex(int index) {
    RadioGroup1->SetItemIndex(index);
}

void TForm1::SetSpinPositions(int x, int y, int phase) {
    UpDown1->SetPosition(x);
    UpDown2->SetPosition(y);
    UpDown3->SetPosition(phase);
}

void TForm1::Handle(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& error) {
        ShowError(error.what());
    }
}

void TForm1::ShowError(const std::string& message) {
    Dialogs.ErrorBox(this, QCoreApplication::applicationName(),
                     QString::fromUtf8(ErrorBoxText(message)));
}
