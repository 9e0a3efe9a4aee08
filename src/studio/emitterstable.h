#pragma once

#include <QWidget>
#include <array>

#include "app/session.h"
#include "model/emitters.h"

class QCheckBox;
class QDoubleSpinBox;
class QLabel;
class QSlider;

// One row an emitter: on, X and Y in wavelengths, the phase in degrees (the current's angle)
// and the amplitude with its level in dB. Each number is typed exactly in its box or dragged
// with the slider beside it.
class TEmittersTable : public QWidget {
    Q_OBJECT

  public:
    // The fields in their columns; Phase in degrees here.
    static constexpr int kFields = 4;

    explicit TEmittersTable(QWidget* parent = nullptr);

    void SetArray(const TArray& array);

    QSlider* Slider(int emitter, TEmitterField field) const;
    QDoubleSpinBox* Box(int emitter, TEmitterField field) const;
    QCheckBox* OnBox(int emitter) const;

  signals:
    // A value the user set: wavelengths, degrees of phase, a relative current, or 0 / 1 for
    // on. dragging while a slider is held down.
    void Edited(int emitter, TEmitterField field, long double value, bool dragging);
    void DragFinished();

  private:
    struct TRow {
        QCheckBox* On = nullptr;
        std::array<QDoubleSpinBox*, kFields> Boxes{};
        std::array<QSlider*, kFields> Sliders{};
        QLabel* Level = nullptr;
    };

    void AddRow(int emitter);

    std::array<TRow, kEmitterCount> Rows;
};
