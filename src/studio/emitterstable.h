#pragma once

#include <QWidget>
#include <array>

#include "app/session.h"
#include "model/emitters.h"
#include "studio/figurerows.h"

class QCheckBox;
class QDoubleSpinBox;
class QLabel;
class QSlider;

// One row an emitter: on, X and Y in wavelengths, the phase in degrees (the current's angle)
// and the amplitude with its level in dB, the wire's length, and with wires the drive
// impedance and SWR the coupling gives. Each number is typed exactly in its box, or dragged
// with the one slider under the table, which takes the cell last chosen.
class TEmittersTable : public QWidget {
    Q_OBJECT

  public:
    // The fields in their columns; Phase in degrees here.
    static constexpr int kFields = 4;

    explicit TEmittersTable(QWidget* parent = nullptr);

    // The array, and each emitter's wire length (wavelengths) where it has one: the lengths'
    // column shows while one has.
    void SetArray(const TArray& array,
                  const std::array<std::optional<double>, kEmitterCount>& lengths = {});
    // The wires' drive impedance and SWR, columns shown only while there are wires.
    void SetDrives(const std::array<TDriveCells, kEmitterCount>& cells, bool shown);

    // The slider, made the one of that cell.
    QSlider* Slider(int emitter, TEmitterField field);
    QDoubleSpinBox* Box(int emitter, TEmitterField field) const;
    QCheckBox* OnBox(int emitter) const;
    QDoubleSpinBox* LengthBox(int emitter) const;
    QLabel* ImpedanceLabel(int emitter) const;
    QLabel* SwrLabel(int emitter) const;

  signals:
    // A value the user set: wavelengths, degrees of phase, a relative current, or 0 / 1 for
    // on. dragging while a slider is held down.
    void Edited(int emitter, TEmitterField field, long double value, bool dragging);
    // A wire length typed: wavelengths, none for an ideal emitter.
    void LengthEdited(int emitter, std::optional<double> length);
    void DragFinished();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct TRow {
        QCheckBox* On = nullptr;
        std::array<QDoubleSpinBox*, kFields> Boxes{};
        QLabel* Level = nullptr;
        QDoubleSpinBox* Length = nullptr;  // 0 reads "none"
        QLabel* Impedance = nullptr;
        QLabel* Swr = nullptr;
    };

    void AddRow(int emitter);
    void Select(int emitter, int column);

    std::array<TRow, kEmitterCount> Rows;
    QLabel* LengthHead = nullptr;
    std::array<QLabel*, 2> DriveHeads{};
    std::array<QString, kFields> FieldHeads;
    QLabel* SharedCaption = nullptr;
    QSlider* SharedSlider = nullptr;
    int SelectedEmitter = 1;
    int SelectedColumn = 0;
};
