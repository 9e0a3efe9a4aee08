#pragma once

#include <QImage>
#include <QWidget>
#include <vector>

#include "app/frequencysweep.h"
#include "plot/sweepchart.h"

// The wires' drive across frequency around the design frequency: each emitter's SWR (its
// drive resistance where it has none at the design frequency) in a panel of its own, drawn by the
// plot layer's sweep chart, the one `sweep --plot` writes, into an image the paint event only
// copies.
class TSweepView : public QWidget {
    Q_OBJECT

  public:
    explicit TSweepView(QWidget* parent = nullptr);

    // The sweep to draw; one without a panel to draw hides the view.
    void SetSweep(TDriveSweep sweep);
    const TDriveSweep& Sweep() const { return Data; }
    const QImage& Image() const { return Picture; }
    int Drawings() const { return DrawCount; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void Render();

    TDriveSweep Data;
    std::vector<TSweepSeries> Shown;  // the panels drawn
    QImage Picture;
    int DrawCount = 0;
};
