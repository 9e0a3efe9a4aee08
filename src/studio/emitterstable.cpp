#include "studio/emitterstable.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>
#include <algorithm>
#include <cmath>

#include "config/messages.h"
#include "config/numtext.h"
#include "model/msgid.h"
#include "model/phaseangle.h"
#include "studio/document.h"
#include "studio/quantitybox.h"

namespace {

// Each field's box and slider: the quantity whose range the box takes, decimals, and how many
// slider steps make one unit. A phase is an angle of any size: its box shows -180..180.
struct TFieldControl {
    TEmitterField Field;
    std::optional<TQuantity> Quantity;
    int Decimals;
    double StepsPerUnit;
    double SliderLow, SliderHigh;
};

// Positions in 1/64 wavelength on the slider, as the window's arrows move them; phases in
// whole degrees; currents in hundredths.
constexpr int kLevelColumn = 6;
constexpr int kLengthColumn = 7;  // then the drive impedance and the SWR

constexpr TFieldControl kControls[TEmittersTable::kFields] = {
    {TEmitterField::X, TQuantity::Position, 6, 64, -2, 2},
    {TEmitterField::Y, TQuantity::Position, 6, 64, -2, 2},
    {TEmitterField::Phase, std::nullopt, 3, 1, -180, 180},
    {TEmitterField::Amplitude, TQuantity::Amplitude, 4, 100, 0, 2},
};

QDoubleSpinBox* FieldBox(const TFieldControl& c) {
    if (c.Quantity) return QuantityBox(*c.Quantity, c.Decimals, 1 / c.StepsPerUnit);
    auto* box = new QDoubleSpinBox;
    box->setRange(c.SliderLow, c.SliderHigh);
    box->setDecimals(c.Decimals);
    box->setSingleStep(1 / c.StepsPerUnit);
    box->setKeyboardTracking(false);
    return box;
}

int ColumnOf(TEmitterField field) {
    for (int i = 0; i < TEmittersTable::kFields; ++i) {
        if (kControls[i].Field == field) return i;
    }
    return 0;
}

long double ValueOf(const TEmitter& e, TEmitterField field) {
    switch (field) {
        case TEmitterField::X:
            return e.X;
        case TEmitterField::Y:
            return e.Y;
        case TEmitterField::Phase:
            return PhaseDegrees(e.Phase);
        case TEmitterField::Amplitude:
            return e.Amplitude;
        case TEmitterField::On:
            return e.Enabled ? 1 : 0;
    }
    return 0;
}

}  // namespace

TEmittersTable::TEmittersTable(QWidget* parent) : QWidget(parent) {
    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(2);
    const char* heads[] = {Msgid("On"), Msgid("X, λ"), Msgid("Y, λ"), Msgid("Phase, deg"),
                           Msgid("Amplitude")};
    grid->addWidget(new QLabel(QStringLiteral("#")), 0, 0);
    for (int i = 0; i < 5; ++i) {
        auto* head = new QLabel(QString::fromUtf8(Tr(heads[i])));
        if (i > 0) FieldHeads[static_cast<unsigned>(i - 1)] = head->text();
        grid->addWidget(head, 0, i + 1);
    }
    grid->addWidget(new QLabel(QString::fromUtf8(Tr("dB"))), 0, kLevelColumn);
    LengthHead = new QLabel(QString::fromUtf8(Tr("Length, λ")));
    LengthHead->hide();
    grid->addWidget(LengthHead, 0, kLengthColumn);
    DriveHeads = {new QLabel(QString::fromUtf8(Tr("Z in, ohms"))),
                  new QLabel(QString::fromUtf8(Tr("SWR")))};
    DriveHeads[0]->setToolTip(QString::fromUtf8(Tr("Drive impedance, ohms")));
    for (std::size_t i = 0; i < DriveHeads.size(); ++i) {
        grid->addWidget(DriveHeads[i], 0, kLengthColumn + 1 + static_cast<int>(i));
        DriveHeads[i]->hide();
    }
    for (int k = 1; k <= kEmitterCount; ++k) AddRow(k);
    // The columns keep their own widths in a wide panel; the room left is at the right.
    grid->setColumnStretch(kLengthColumn + 3, 1);
    // One slider for the cell last chosen keeps the table narrow enough to leave the charts
    // and the geometry their room; every number is still typed in its box.
    SharedCaption = new QLabel(this);
    SharedCaption->setObjectName(QStringLiteral("sliderCaption"));
    SharedSlider = new QSlider(Qt::Horizontal, this);
    SharedSlider->setObjectName(QStringLiteral("sharedSlider"));
    auto* dragRow = new QHBoxLayout;
    dragRow->addWidget(SharedCaption);
    dragRow->addWidget(SharedSlider, 1);
    grid->addLayout(dragRow, kEmitterCount + 1, 0, 1, kLengthColumn + 3);
    connect(SharedSlider, &QSlider::valueChanged, this, [this](int position) {
        const TFieldControl& c = kControls[static_cast<unsigned>(SelectedColumn)];
        emit Edited(SelectedEmitter, c.Field, position / static_cast<long double>(c.StepsPerUnit),
                    SharedSlider->isSliderDown());
    });
    connect(SharedSlider, &QSlider::sliderReleased, this, &TEmittersTable::DragFinished);
    Select(1, 0);
}

void TEmittersTable::AddRow(int emitter) {
    auto* grid = static_cast<QGridLayout*>(layout());
    TRow& row = Rows[static_cast<unsigned>(emitter - 1)];
    grid->addWidget(new QLabel(QString::number(emitter)), emitter, 0);
    row.On = new QCheckBox(this);
    grid->addWidget(row.On, emitter, 1);
    connect(row.On, &QCheckBox::toggled, this, [this, emitter](bool on) {
        emit Edited(emitter, TEmitterField::On, on ? 1 : 0, false);
    });
    for (int i = 0; i < kFields; ++i) {
        const TFieldControl& c = kControls[i];
        QDoubleSpinBox* box = FieldBox(c);
        box->setMinimumWidth(84);
        box->installEventFilter(this);
        row.Boxes[static_cast<unsigned>(i)] = box;
        grid->addWidget(box, emitter, 2 + i);
        connect(box, &QDoubleSpinBox::valueChanged, this, [this, emitter, c](double value) {
            emit Edited(emitter, c.Field, static_cast<long double>(value), false);
        });
    }
    row.Level = new QLabel(this);
    row.Level->setMinimumWidth(56);
    grid->addWidget(row.Level, emitter, kLevelColumn);
    row.Length = WireLengthBox();
    row.Length->hide();
    grid->addWidget(row.Length, emitter, kLengthColumn);
    connect(row.Length, &QDoubleSpinBox::valueChanged, this,
            [this, emitter](double value) { emit LengthEdited(emitter, WireLengthOf(value)); });
    row.Impedance = new QLabel(this);
    row.Impedance->setMinimumWidth(110);
    row.Swr = new QLabel(this);
    row.Swr->setMinimumWidth(40);
    for (QLabel* label : {row.Impedance, row.Swr}) {
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->hide();
    }
    grid->addWidget(row.Impedance, emitter, kLengthColumn + 1);
    grid->addWidget(row.Swr, emitter, kLengthColumn + 2);
}

bool TEmittersTable::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        for (int k = 1; k <= kEmitterCount; ++k) {
            const TRow& row = Rows[static_cast<unsigned>(k - 1)];
            for (int i = 0; i < kFields; ++i) {
                if (row.Boxes[static_cast<unsigned>(i)] == watched) Select(k, i);
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TEmittersTable::Select(int emitter, int column) {
    if (SharedSlider->isSliderDown() && (emitter != SelectedEmitter || column != SelectedColumn))
        return;
    SelectedEmitter = emitter;
    SelectedColumn = column;
    const TFieldControl& c = kControls[static_cast<unsigned>(column)];
    SharedCaption->setText(QString::fromStdString(
        TrFormat("Emitter %s, %s", {std::to_string(emitter),
                                    FieldHeads[static_cast<unsigned>(column)].toStdString()})));
    const QSignalBlocker block(SharedSlider);
    SharedSlider->setRange(static_cast<int>(c.SliderLow * c.StepsPerUnit),
                           static_cast<int>(c.SliderHigh * c.StepsPerUnit));
    SharedSlider->setValue(static_cast<int>(std::lround(
        Rows[static_cast<unsigned>(emitter - 1)].Boxes[static_cast<unsigned>(column)]->value() *
        c.StepsPerUnit)));
}

void TEmittersTable::SetDrives(const std::array<TDriveCells, kEmitterCount>& cells, bool shown) {
    for (QLabel* head : DriveHeads) head->setVisible(shown);
    for (std::size_t i = 0; i < Rows.size(); ++i) {
        const TRow& row = Rows[i];
        row.Impedance->setVisible(shown);
        row.Swr->setVisible(shown);
        row.Impedance->setText(QString::fromStdString(cells[i].Impedance));
        row.Swr->setText(QString::fromStdString(cells[i].Swr));
        row.Impedance->setToolTip(QString::fromStdString(cells[i].ImpedanceReason));
        row.Swr->setToolTip(QString::fromStdString(cells[i].SwrReason));
    }
}

void TEmittersTable::SetArray(const TArray& array,
                              const std::array<std::optional<double>, kEmitterCount>& lengths) {
    // The lengths show once one is set (the controls' length sets them all).
    const bool wires =
        std::any_of(lengths.begin(), lengths.end(), [](const auto& l) { return l.has_value(); });
    LengthHead->setVisible(wires);
    for (int k = 1; k <= kEmitterCount; ++k) {
        const TEmitter& e = array.Emitter(k);
        TRow& row = Rows[static_cast<unsigned>(k - 1)];
        row.Length->setVisible(wires);
        {
            const QSignalBlocker block(row.On);
            row.On->setChecked(e.Enabled);
        }
        for (int i = 0; i < kFields; ++i) {
            const TFieldControl& c = kControls[i];
            const long double value = ValueOf(e, c.Field);
            QDoubleSpinBox* box = row.Boxes[static_cast<unsigned>(i)];
            const QSignalBlocker blockBox(box);
            box->setValue(static_cast<double>(value));
            // A slider being dragged is where the value comes from: it is left alone.
            if (k == SelectedEmitter && i == SelectedColumn && !SharedSlider->isSliderDown()) {
                const QSignalBlocker blockSlider(SharedSlider);
                SharedSlider->setValue(static_cast<int>(std::lround(value * c.StepsPerUnit)));
            }
        }
        {
            const QSignalBlocker block(row.Length);
            row.Length->setValue(lengths[static_cast<unsigned>(k - 1)].value_or(0));
        }
        row.Level->setText(e.Amplitude > 0 ? QString::fromStdString(
                                                 FormatFixed(20 * std::log10(e.Amplitude), 18, 2))
                                           : QStringLiteral("\u2212\u221e"));
    }
}

QSlider* TEmittersTable::Slider(int emitter, TEmitterField field) {
    Select(emitter, ColumnOf(field));
    return SharedSlider;
}

QDoubleSpinBox* TEmittersTable::Box(int emitter, TEmitterField field) const {
    return Rows[static_cast<unsigned>(emitter - 1)].Boxes[static_cast<unsigned>(ColumnOf(field))];
}

QCheckBox* TEmittersTable::OnBox(int emitter) const {
    return Rows[static_cast<unsigned>(emitter - 1)].On;
}

QDoubleSpinBox* TEmittersTable::LengthBox(int emitter) const {
    return Rows[static_cast<unsigned>(emitter - 1)].Length;
}

QLabel* TEmittersTable::ImpedanceLabel(int emitter) const {
    return Rows[static_cast<unsigned>(emitter - 1)].Impedance;
}

QLabel* TEmittersTable::SwrLabel(int emitter) const {
    return Rows[static_cast<unsigned>(emitter - 1)].Swr;
}
