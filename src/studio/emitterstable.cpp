#include "studio/emitterstable.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>
#include <cmath>

#include "config/messages.h"
#include "config/numtext.h"
#include "model/msgid.h"
#include "studio/document.h"

namespace {

// Each field's box and slider: range, decimals, and how many slider steps make one unit.
struct TFieldControl {
    TEmitterField Field;
    double Low, High;
    int Decimals;
    double StepsPerUnit;
    double SliderLow, SliderHigh;
};

// Positions in 1/64 wavelength on the slider, as the window's arrows move them; phases in
// whole degrees; currents in hundredths.
constexpr TFieldControl kControls[TEmittersTable::kFields] = {
    {TEmitterField::X, -1e6, 1e6, 6, 64, -2, 2},
    {TEmitterField::Y, -1e6, 1e6, 6, 64, -2, 2},
    {TEmitterField::Phase, -180, 180, 3, 1, -180, 180},
    {TEmitterField::Amplitude, 0, 1e6, 4, 100, 0, 2},
};

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
        grid->addWidget(new QLabel(QString::fromUtf8(Tr(heads[i]))), 0, i == 0 ? 1 : 2 * i, 1,
                        i == 0 ? 1 : 2);
    }
    grid->addWidget(new QLabel(QString::fromUtf8(Tr("dB"))), 0, 10);
    for (int k = 1; k <= kEmitterCount; ++k) AddRow(k);
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
        auto* box = new QDoubleSpinBox(this);
        box->setRange(c.Low, c.High);
        box->setDecimals(c.Decimals);
        box->setSingleStep(1 / c.StepsPerUnit);
        // A typed number is one edit when it is complete, not one a keystroke.
        box->setKeyboardTracking(false);
        box->setMinimumWidth(84);
        auto* slider = new QSlider(Qt::Horizontal, this);
        slider->setRange(static_cast<int>(c.SliderLow * c.StepsPerUnit),
                         static_cast<int>(c.SliderHigh * c.StepsPerUnit));
        slider->setFixedWidth(90);
        row.Boxes[static_cast<unsigned>(i)] = box;
        row.Sliders[static_cast<unsigned>(i)] = slider;
        grid->addWidget(box, emitter, 2 + 2 * i);
        grid->addWidget(slider, emitter, 3 + 2 * i);
        connect(box, &QDoubleSpinBox::valueChanged, this, [this, emitter, c](double value) {
            emit Edited(emitter, c.Field, static_cast<long double>(value), false);
        });
        connect(slider, &QSlider::valueChanged, this, [this, emitter, c, slider](int position) {
            emit Edited(emitter, c.Field, position / static_cast<long double>(c.StepsPerUnit),
                        slider->isSliderDown());
        });
        connect(slider, &QSlider::sliderReleased, this, &TEmittersTable::DragFinished);
    }
    row.Level = new QLabel(this);
    row.Level->setMinimumWidth(56);
    grid->addWidget(row.Level, emitter, 10);
}

void TEmittersTable::SetArray(const TArray& array) {
    for (int k = 1; k <= kEmitterCount; ++k) {
        const TEmitter& e = array.Emitter(k);
        TRow& row = Rows[static_cast<unsigned>(k - 1)];
        {
            const QSignalBlocker block(row.On);
            row.On->setChecked(e.Enabled);
        }
        for (int i = 0; i < kFields; ++i) {
            const TFieldControl& c = kControls[i];
            const long double value = ValueOf(e, c.Field);
            QDoubleSpinBox* box = row.Boxes[static_cast<unsigned>(i)];
            QSlider* slider = row.Sliders[static_cast<unsigned>(i)];
            const QSignalBlocker blockBox(box);
            box->setValue(static_cast<double>(value));
            // A slider being dragged is where the value comes from: it is left alone.
            if (!slider->isSliderDown()) {
                const QSignalBlocker blockSlider(slider);
                slider->setValue(static_cast<int>(std::lround(value * c.StepsPerUnit)));
            }
        }
        row.Level->setText(e.Amplitude > 0 ? QString::fromStdString(
                                                 FormatFixed(20 * std::log10(e.Amplitude), 18, 2))
                                           : QStringLiteral("\u2212\u221e"));
    }
}

QSlider* TEmittersTable::Slider(int emitter, TEmitterField field) const {
    return Rows[static_cast<unsigned>(emitter - 1)].Sliders[static_cast<unsigned>(ColumnOf(field))];
}

QDoubleSpinBox* TEmittersTable::Box(int emitter, TEmitterField field) const {
    return Rows[static_cast<unsigned>(emitter - 1)].Boxes[static_cast<unsigned>(ColumnOf(field))];
}

QCheckBox* TEmittersTable::OnBox(int emitter) const {
    return Rows[static_cast<unsigned>(emitter - 1)].On;
}
