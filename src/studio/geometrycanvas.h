#pragma once

#include <QWidget>
#include <optional>
#include <string>

#include "model/emitters.h"

// The emitters on the plane, north up: each a disc coloured by its phase and sized by its
// amplitude, a horizontal dipole with its wire. An emitter dragged with the mouse moves in
// steps of 1/64 wavelength, freely while Shift is held.
class TGeometryCanvas : public QWidget {
    Q_OBJECT

  public:
    explicit TGeometryCanvas(QWidget* parent = nullptr);

    void SetArray(const TArray& array);
    // The widget point where emitter k (1..8) is drawn.
    QPointF PointOf(int k) const;

  signals:
    void DragStarted(int emitter);
    // The emitter's new place in wavelengths.
    void Dragged(int emitter, long double x, long double y);
    void DragFinished();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    double PixelsPerWavelength() const;
    std::optional<int> EmitterAt(QPointF point) const;

    TArray Array;
    double Span = 1;   // wavelengths from the centre to the nearest edge; held while dragging
    int Dragging = 0;  // the emitter being dragged, 0 for none
};

// The label drawn beside emitter k: its number, or the numbers of every emitter in its place
// ("5–8", "1,3") beside the one drawn on top of them, the last; empty beside the others.
std::string PlaceLabel(const TArray& array, int k);
