#pragma once

#include <QSlider>

// The vertical elevation slider: position 0 at the top, 17 at the bottom, ticks on the left.
// Change() is raised on every report: each key step, page click and thumb movement, and the
// report that closes each such action (key or button released) even without a new position.
class TTrackBar : public QSlider {
    Q_OBJECT

  public:
    explicit TTrackBar(QWidget* parent = nullptr);

    int Position() const { return sliderPosition(); }
    int Max() const { return maximum(); }
    int Min() const { return minimum(); }
    // Raises nothing.
    void SetPosition(int position);

  signals:
    void Change();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    bool Quiet = false;
    bool MouseAction = false;
};
