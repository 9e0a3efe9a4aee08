#pragma once

#include <QImage>
#include <QWidget>
#include <optional>

#include "plot/charts.h"

// One of the plot layer's charts on screen: the series it is handed are drawn by the same
// cairo code that draws the picture files, into an image the paint event only copies.
class TChartView : public QWidget {
    Q_OBJECT

  public:
    enum class TKind { PolarDb, Elevation };

    explicit TChartView(TKind kind, QWidget* parent = nullptr);

    // The series to draw, levels below floorDb (negative) drawn at it.
    void SetSeries(const TChartSeries& series, double floorDb);
    // The level at the cursor's bearing or elevation, in the reader's words; empty off the chart.
    const QString& Readout() const { return Cursor; }
    // The bearing (polar) or elevation (elevation chart) under a point, in whole degrees.
    std::optional<int> AngleAt(QPointF point) const;
    const QImage& Image() const { return Picture; }
    // Counts the drawings made, for the benchmark and the tests.
    int Drawings() const { return DrawCount; }

  signals:
    void ReadoutChanged(const QString& text);
    void BearingClicked(int bearing);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    void Render();
    void UpdateReadout(QPointF point);
    TChartBox Box() const;

    TKind Kind;
    std::optional<TChartSeries> Series;
    double FloorDb = -40;
    QImage Picture;
    QString Cursor;
    int DrawCount = 0;
};
