#pragma once

#include <QImage>
#include <QWidget>
#include <optional>
#include <string>
#include <vector>

#include "plot/charts.h"

// One of the plot layer's charts on screen: the series it is handed are drawn
// by the same cairo code that draws the picture files, into an image the paint
// event only copies.
class TChartView : public QWidget {
    Q_OBJECT

  public:
    enum class TKind { PolarDb, Elevation };

    explicit TChartView(TKind kind, QWidget* parent = nullptr);

    // The series to draw, the first the current design's, overlaid on one dBi
    // axis where each has a directivity; levels below floorDb (negative) drawn at
    // it.
    void SetSeries(std::vector<TChartSeries> series, double floorDb);
    // The null bearings placed on the polar chart, marked on its rim (degrees).
    void SetNullMarks(const std::vector<double>& bearings);
    std::vector<std::string> SeriesNames() const;
    // The series as drawn: on the dBi axis, with each legend's figure.
    const std::vector<TChartSeries>& Shown() const { return Series; }
    // The point of the polar chart at a bearing, inside its rim.
    QPointF PointOf(double bearing) const;
    // The level at the cursor's bearing or elevation, in the reader's words;
    // empty off the chart.
    const QString& Readout() const { return Cursor; }
    // The bearing (polar) or elevation (elevation chart) under a point, in whole
    // degrees.
    std::optional<int> AngleAt(QPointF point) const;
    // The polar chart's bearing under a point as the pixel gives it, 0 to below 360 degrees.
    std::optional<double> BearingAt(QPointF point) const;
    const QImage& Image() const { return Picture; }
    // Counts the drawings made, for the benchmark and the tests.
    int Drawings() const { return DrawCount; }

  signals:
    void ReadoutChanged(const QString& text);
    // On the polar chart; snapped to half a degree unless Shift was held.
    void BearingClicked(double bearing);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    void Render();
    void DrawNullMarks(cairo_t* cr) const;
    std::optional<double> RimAngle(QPointF point) const;
    void UpdateReadout(QPointF point);
    TChartBox Box() const;

    TKind Kind;
    std::vector<TChartSeries> Series;
    std::vector<double> NullMarks;
    double FloorDb = -40;
    QImage Picture;
    QString Cursor;
    int DrawCount = 0;
};
