#pragma once

#include <QWidget>
#include <functional>

#include "studio/document.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QSlider;

// The array's surroundings: the emitters' type, the formula in free space, the ground (kind,
// soil, height, frequency), the elevation of the azimuth cut, the charts' dB floor, and the
// wires (one length for every emitter, radius, feed and the line's impedance). Every control
// takes effect as it moves.
class TControlsPanel : public QWidget {
    Q_OBJECT

  public:
    using TChange = std::function<void(TStudioDocument&)>;

    explicit TControlsPanel(QWidget* parent = nullptr);

    // The document's values; the elevation shown is the analysis' (over ground by default the
    // take-off angle).
    void SetDocument(const TStudioDocument& document, long double shownElevation);
    double FloorDb() const;

    QSlider* ElevationSlider() const { return Elevation; }
    QDoubleSpinBox* LengthBox() const { return Length; }
    QComboBox* FeedBox() const { return Feed; }
    QComboBox* TypeBox() const { return Type; }

  signals:
    // A change of the document named text; dragging while a slider is held down.
    void Edited(const QString& text, const TChange& change, bool dragging);
    void DragFinished();
    void FloorChanged(double floorDb);

  private:
    QComboBox* Type = nullptr;
    QComboBox* Model = nullptr;
    QComboBox* GroundKind = nullptr;
    QComboBox* Soil = nullptr;
    QDoubleSpinBox* Height = nullptr;
    QDoubleSpinBox* Frequency = nullptr;
    QDoubleSpinBox* ElevationBox = nullptr;
    QSlider* Elevation = nullptr;
    QCheckBox* AtTakeoff = nullptr;
    QDoubleSpinBox* Floor = nullptr;
    QDoubleSpinBox* Length = nullptr;  // wavelengths; 0 reads "none": ideal emitters
    QDoubleSpinBox* Radius = nullptr;  // wavelengths
    QComboBox* Feed = nullptr;
    QDoubleSpinBox* Z0 = nullptr;  // ohms
};
