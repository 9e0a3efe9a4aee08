#include "studio/controlspanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QSlider>
#include <cmath>

#include "app/figures.h"
#include "config/messages.h"
#include "model/msgid.h"
#include "studio/quantitybox.h"

namespace {

const char* const kTypeNames[kEmitterTypeCount] = {Msgid("isotropic"), Msgid("vertical dipoles"),
                                                   Msgid("horizontal dipoles, wire west–east"),
                                                   Msgid("horizontal dipoles, wire south–north")};
const char* const kGroundNames[] = {Msgid("free space"), Msgid("perfect ground"),
                                    Msgid("real ground")};
const char* const kSoilNames[std::size(kSoils)] = {Msgid("average"),   Msgid("poor"),
                                                   Msgid("good"),      Msgid("very poor"),
                                                   Msgid("sea water"), Msgid("fresh water")};

QString Text(const char* msgid) {
    return QString::fromUtf8(Tr(msgid));
}

QDoubleSpinBox* NumberBox(double low, double high, int decimals, double step) {
    auto* box = new QDoubleSpinBox;
    box->setRange(low, high);
    box->setDecimals(decimals);
    box->setSingleStep(step);
    box->setKeyboardTracking(false);
    return box;
}

}  // namespace

TControlsPanel::TControlsPanel(QWidget* parent) : QWidget(parent) {
    // The surroundings in one column and the wires in the next: the panel stays short enough
    // for a laptop's screen under the charts.
    auto* columns = new QHBoxLayout(this);
    auto* form = new QFormLayout;
    auto* wires = new QFormLayout;
    columns->addLayout(form);
    columns->addLayout(wires);
    Type = new QComboBox;
    for (const char* name : kTypeNames) Type->addItem(Text(name));
    Model = new QComboBox;
    Model->addItem(Text(Msgid("the window's formula")));
    Model->addItem(Text(Msgid("free space")));
    GroundKind = new QComboBox;
    for (const char* name : kGroundNames) GroundKind->addItem(Text(name));
    Soil = new QComboBox;
    for (const char* name : kSoilNames) Soil->addItem(Text(name));
    Soil->addItem(Text(Msgid("the file's")));
    Height = QuantityBox(TQuantity::Height, 4, 0.01);
    Frequency = QuantityBox(TQuantity::Frequency, 4, 0.1);
    ElevationBox = QuantityBox(TQuantity::Elevation, 3, 1);
    Elevation = new QSlider(Qt::Horizontal);
    ApplyRange(Elevation, TQuantity::Elevation);
    AtTakeoff = new QCheckBox(Text(Msgid("at the take-off angle")));
    Floor = NumberBox(-100, -3, 0, 5);
    Floor->setValue(-40);
    Length =
        WireLengthBox(Text(Msgid("Every emitter a thin wire of this length, fed at its "
                                 "centre; none: ideal emitters")));
    Radius = QuantityBox(TQuantity::WireRadius, 10, 0.0001);
    Feed = new QComboBox;
    Feed->addItem(Text(Msgid("current")));
    Feed->addItem(Text(Msgid("voltage")));
    Feed->setToolTip(
        Text(Msgid("What the amplitudes and phases set: the feed currents, or the "
                   "source voltages (0 shorts a feed: a parasitic element)")));
    Z0 = QuantityBox(TQuantity::Z0, 2, 1);
    GroundModel = new QComboBox;
    GroundModel->addItem(Text(Msgid("Sommerfeld")));
    GroundModel->addItem(Text(Msgid("reflection")));
    GroundModel->setToolTip(
        Text(Msgid("How the wires' currents see real ground: the earth's field as Sommerfeld's "
                   "integrals give it, or images weighted by Fresnel coefficients, sound only "
                   "0.2 wavelength up or more")));

    auto* elevationRow = new QHBoxLayout;
    elevationRow->addWidget(ElevationBox);
    elevationRow->addWidget(Elevation, 1);
    elevationRow->addWidget(AtTakeoff);
    form->addRow(Text(Msgid("Emitters")), Type);
    form->addRow(Text(Msgid("Model")), Model);
    form->addRow(Text(Msgid("Ground")), GroundKind);
    form->addRow(Text(Msgid("Soil")), Soil);
    form->addRow(Text(Msgid("Height, λ")), Height);
    form->addRow(Text(Msgid("Frequency, MHz")), Frequency);
    form->addRow(Text(Msgid("Elevation, deg")), elevationRow);
    wires->addRow(Text(Msgid("Chart floor, dB")), Floor);
    wires->addRow(Text(Msgid("Length, λ")), Length);
    wires->addRow(Text(Msgid("Radius, λ")), Radius);
    wires->addRow(Text(Msgid("Feed")), Feed);
    wires->addRow(Text(Msgid("Z0, ohms")), Z0);
    wires->addRow(Text(Msgid("Ground model")), GroundModel);

    const auto edit = [this](const char* text, const TChange& change, bool dragging = false) {
        emit Edited(Text(text), change, dragging);
    };
    connect(Type, &QComboBox::activated, this, [edit](int index) {
        edit(Msgid("Change the type"),
             [index](TStudioDocument& d) { d.Array.EmitterType = index; });
    });
    connect(Model, &QComboBox::activated, this, [edit](int index) {
        edit(Msgid("Change the model"), [index](TStudioDocument& d) {
            d.FreeSpaceModel = index == 0 ? TFieldModel::Window : TFieldModel::FreeSpace;
        });
    });
    connect(GroundKind, &QComboBox::activated, this, [edit](int index) {
        edit(Msgid("Change the ground"),
             [index](TStudioDocument& d) { d.Ground.Kind = static_cast<TGroundKind>(index); });
    });
    connect(Soil, &QComboBox::activated, this, [edit](int index) {
        if (index >= static_cast<int>(std::size(kSoils))) return;
        edit(Msgid("Change the soil"), [index](TStudioDocument& d) {
            d.Soil = index;
            d.Ground.Permittivity = kSoils[index].Permittivity;
            d.Ground.Conductivity = kSoils[index].Conductivity;
        });
    });
    connect(Height, &QDoubleSpinBox::valueChanged, this, [edit](double value) {
        edit(Msgid("Change the height"),
             [value](TStudioDocument& d) { d.Ground.HeightWavelengths = value; });
    });
    connect(Frequency, &QDoubleSpinBox::valueChanged, this, [edit](double value) {
        edit(Msgid("Change the frequency"),
             [value](TStudioDocument& d) { d.Ground.FrequencyMhz = value; });
    });
    const auto setElevation = [](long double value) {
        return [value](TStudioDocument& d) {
            d.ElevationDegrees = value;
            d.ElevationAtTakeoff = false;
        };
    };
    connect(ElevationBox, &QDoubleSpinBox::valueChanged, this, [edit, setElevation](double v) {
        edit(Msgid("Change the elevation"), setElevation(v));
    });
    connect(Elevation, &QSlider::valueChanged, this, [this, edit, setElevation](int v) {
        edit(Msgid("Change the elevation"), setElevation(v), Elevation->isSliderDown());
    });
    connect(Elevation, &QSlider::sliderReleased, this, &TControlsPanel::DragFinished);
    connect(AtTakeoff, &QCheckBox::toggled, this, [edit](bool on) {
        edit(Msgid("Change the elevation"),
             [on](TStudioDocument& d) { d.ElevationAtTakeoff = on; });
    });
    connect(Floor, &QDoubleSpinBox::valueChanged, this, &TControlsPanel::FloorChanged);
    connect(Length, &QDoubleSpinBox::valueChanged, this, [edit](double value) {
        edit(Msgid("Change the length"), [value](TStudioDocument& d) {
            d.Wires.AllLengths.reset();
            for (auto& length : d.Wires.Lengths) length = WireLengthOf(value);
        });
    });
    connect(Radius, &QDoubleSpinBox::valueChanged, this, [edit](double value) {
        edit(Msgid("Change the radius"), [value](TStudioDocument& d) { d.Wires.Radius = value; });
    });
    connect(Feed, &QComboBox::activated, this, [edit](int index) {
        edit(Msgid("Change the feed"), [index](TStudioDocument& d) {
            d.Wires.Feed = index == 0 ? TFeed::Current : TFeed::Voltage;
        });
    });
    connect(GroundModel, &QComboBox::activated, this, [edit](int index) {
        edit(Msgid("Change the ground model"), [index](TStudioDocument& d) {
            d.Wires.GroundModel = index == 0 ? TGroundModel::Sommerfeld : TGroundModel::Reflection;
        });
    });
    connect(Z0, &QDoubleSpinBox::valueChanged, this, [edit](double value) {
        edit(Msgid("Change the line impedance"),
             [value](TStudioDocument& d) { d.Wires.Z0 = value; });
    });
}

double TControlsPanel::FloorDb() const {
    return Floor->value();
}

void TControlsPanel::SetDocument(const TStudioDocument& d, long double shownElevation) {
    const QSignalBlocker blocks[] = {
        QSignalBlocker(Type),         QSignalBlocker(Model),     QSignalBlocker(GroundKind),
        QSignalBlocker(Soil),         QSignalBlocker(Height),    QSignalBlocker(Frequency),
        QSignalBlocker(ElevationBox), QSignalBlocker(AtTakeoff), QSignalBlocker(Length),
        QSignalBlocker(Radius),       QSignalBlocker(Feed),      QSignalBlocker(Z0),
        QSignalBlocker(GroundModel)};
    Type->setItemText(etVerticalDipole,
                      Text(EmitterKindName(etVerticalDipole, HasWires(d), d.Ground)));
    Type->setCurrentIndex(d.Array.EmitterType);
    // Wires have no window's formula: they are shown in the free space they are solved in.
    Model->setCurrentIndex(d.FreeSpaceModel == TFieldModel::Window && !HasWires(d) ? 0 : 1);
    GroundKind->setCurrentIndex(static_cast<int>(d.Ground.Kind));
    Soil->setCurrentIndex(d.Soil >= 0 ? d.Soil : static_cast<int>(std::size(kSoils)));
    Height->setValue(static_cast<double>(d.Ground.HeightWavelengths));
    Frequency->setValue(static_cast<double>(d.Ground.FrequencyMhz));
    ElevationBox->setValue(static_cast<double>(shownElevation));
    if (!Elevation->isSliderDown()) {
        const QSignalBlocker block(Elevation);
        Elevation->setValue(static_cast<int>(std::lround(shownElevation)));
    }
    AtTakeoff->setChecked(d.ElevationAtTakeoff);
    const bool ground = d.Ground.Kind != TGroundKind::None;
    const bool real = d.Ground.Kind == TGroundKind::Real;
    Model->setEnabled(!ground && !HasWires(d));
    Soil->setEnabled(real);
    Height->setEnabled(ground);
    AtTakeoff->setEnabled(ground);
    // The length shown is the first emitter's switched on: one length sets them all.
    std::optional<double> length;
    for (int k = kEmitterCount; k >= 1; --k) {
        if (d.Array.Emitter(k).Enabled) length = d.Wires.Lengths[static_cast<unsigned>(k - 1)];
    }
    const TWireSettings defaults;
    Length->setValue(length.value_or(0));
    Radius->setValue(d.Wires.Radius.value_or(defaults.Radius));
    Feed->setCurrentIndex(d.Wires.Feed.value_or(defaults.Feed) == TFeed::Voltage ? 1 : 0);
    Z0->setValue(d.Wires.Z0.value_or(defaults.Z0));
    const bool wires = HasWires(d);
    Radius->setEnabled(wires);
    Feed->setEnabled(wires);
    Z0->setEnabled(wires);
    GroundModel->setCurrentIndex(d.Wires.GroundModel == TGroundModel::Reflection ? 1 : 0);
    GroundModel->setEnabled(wires && real);
    // A wire's frequency is the design frequency a sweep scales, in free space too.
    Frequency->setEnabled(real || wires);
}
