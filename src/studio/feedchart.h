#pragma once

#include <QWidget>

#include "app/feedcase.h"

// The feed across the band: the transmitter's SWR, and each emitter's current error in dB
// and in degrees, one small panel each, against frequency.
class TFeedChart : public QWidget {
    Q_OBJECT

  public:
    explicit TFeedChart(QWidget* parent = nullptr);

    void SetSweep(TFeedSweep sweep);
    const TFeedSweep& Sweep() const { return Data; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    TFeedSweep Data;
};
