#include "studio/quantitybox.h"

#include <QDoubleSpinBox>
#include <QSlider>
#include <QSpinBox>
#include <algorithm>
#include <cmath>

#include "config/messages.h"

namespace {

QString Tip(const TQuantityRange& range, const QString& description) {
    const QString text = QString::fromStdString(RangeText(range));
    return description.isEmpty() ? text : description + QStringLiteral("\n") + text;
}

// The double nearest an end, a step of the box's last decimal inside where the end is open,
// that the range holds: a long double end may lie just inside its nearest double.
double Stop(const TQuantityRange& range, const TBound& end, double unit, double inwards) {
    double v = static_cast<double>(end.Value) + (end.Open ? inwards * unit : 0);
    while (!range.Contains(v)) v = std::nextafter(v, inwards * HUGE_VAL);
    return v;
}

// The lowest and highest whole values a range holds.
int WholeLow(const TQuantityRange& r) {
    const auto low = static_cast<int>(std::ceil(r.Low.Value));
    return r.Low.Open && low == r.Low.Value ? low + 1 : low;
}

int WholeHigh(const TQuantityRange& r) {
    const auto high = static_cast<int>(std::floor(r.High.Value));
    return r.High.Open && high == r.High.Value ? high - 1 : high;
}

}  // namespace

QDoubleSpinBox* QuantityBox(TQuantity quantity, int decimals, double step,
                            const QString& description) {
    const TQuantityRange& range = RangeOf(quantity);
    const double unit = std::pow(10.0, -decimals);
    auto* box = new QDoubleSpinBox;
    box->setObjectName(QString::fromUtf8(range.Name));
    box->setDecimals(decimals);
    box->setRange(Stop(range, range.Low, unit, 1), Stop(range, range.High, unit, -1));
    box->setSingleStep(step);
    // A typed number is one edit when it is complete, not one a keystroke.
    box->setKeyboardTracking(false);
    box->setToolTip(Tip(range, description));
    return box;
}

QDoubleSpinBox* WireLengthBox(const QString& description) {
    QDoubleSpinBox* box = QuantityBox(TQuantity::WireLength, 4, 0.01, description);
    box->setMinimum(0);
    box->setSpecialValueText(QString::fromUtf8(Tr("none")));
    return box;
}

std::optional<double> WireLengthOf(double value) {
    const auto shortest = static_cast<double>(RangeOf(TQuantity::WireLength).Low.Value);
    return value > 0 ? std::optional(std::max(value, shortest)) : std::nullopt;
}

void ApplyRange(QSpinBox* box, TQuantity quantity) {
    const TQuantityRange& range = RangeOf(quantity);
    box->setObjectName(QString::fromUtf8(range.Name));
    box->setRange(WholeLow(range), WholeHigh(range));
    box->setToolTip(Tip(range, {}));
}

void ApplyRange(QSlider* slider, TQuantity quantity) {
    const TQuantityRange& range = RangeOf(quantity);
    slider->setObjectName(QString::fromUtf8(range.Name));
    slider->setRange(WholeLow(range), WholeHigh(range));
    slider->setToolTip(Tip(range, {}));
}
