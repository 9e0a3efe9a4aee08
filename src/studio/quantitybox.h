#pragma once

#include <QString>
#include <optional>

#include "app/bounds.h"

class QDoubleSpinBox;
class QSpinBox;
class QSlider;

// Controls of a physical quantity that take the command line's range from the one table: a
// closed end is the control's own, an open one its nearest step inside. The tooltip gives the
// range in words after any description; the object name is the quantity's.
QDoubleSpinBox* QuantityBox(TQuantity quantity, int decimals, double step,
                            const QString& description = {});
// A wire length for every emitter or for one: the box's lowest value, 0, reads "none" (ideal
// emitters), and WireLengthOf takes a value short of the shortest wire as the shortest.
QDoubleSpinBox* WireLengthBox(const QString& description = {});
std::optional<double> WireLengthOf(double value);
void ApplyRange(QSpinBox* box, TQuantity quantity);
void ApplyRange(QSlider* slider, TQuantity quantity);
