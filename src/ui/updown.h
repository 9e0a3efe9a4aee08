#pragma once

#include <QWidget>
#include <cstdint>

class QLineEdit;
class QTimer;

// A spin control of two arrows only. One step is 1; the right (horizontal) or upper (vertical)
// arrow increases the position. It takes no keyboard focus of its own.
class TUpDown : public QWidget {
    Q_OBJECT

  public:
    TUpDown(Qt::Orientation orientation, QWidget* parent = nullptr);

    void SetRange(int min, int max);
    int Min() const { return Lowest; }
    int Max() const { return Highest; }
    int Position() const { return Current; }
    // A position set by the program is a 16-bit signed number: the low 16 bits of the value,
    // then the nearer end of the range when outside it. Raises nothing.
    void SetPosition(std::int64_t position);
    void SetWrap(bool wrap) { Wraps = wrap; }
    bool Wrap() const { return Wraps; }
    Qt::Orientation Orientation() const { return ArrowOrientation; }

    // The associated text box shows the position as a decimal integer after every step, and
    // its Up and Down keys step the control.
    void SetAssociate(QLineEdit* edit);
    QLineEdit* Associate() const { return AssociateEdit; }
    // Takes the position from the associate's text when it is a whole decimal number within
    // the range; any other text leaves the position as it is.
    void SyncFromAssociate();
    // One user step (+1 or -1), wrapping or stopping at the ends; emits Changed.
    void Step(int delta);

    QSize sizeHint() const override;

  signals:
    void Changed(int position);
    // Release of a button that was pressed on the control, wherever the pointer is then.
    void MouseUp(Qt::MouseButton button);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    int ArrowAt(QPoint point) const;
    QRect ArrowRect(int direction) const;
    void RepeatStep();

    Qt::Orientation ArrowOrientation;
    int Lowest = 0;
    int Highest = 100;
    int Current = 0;
    bool Wraps = false;
    QLineEdit* AssociateEdit = nullptr;
    QTimer* RepeatTimer = nullptr;
    int PressedArrow = 0;  // +1, -1, or 0 when no arrow is held
    bool PointerOnPressedArrow = false;
    Qt::MouseButtons PressedButtons;
};
