#pragma once

#include <QCheckBox>

// A check box that can put its text on the left and its box on the right edge.
class TCheckBox : public QCheckBox {
    Q_OBJECT

  public:
    explicit TCheckBox(const QString& text, QWidget* parent = nullptr);

    void SetTextLeft(bool textLeft);
    bool TextLeft() const { return TextOnLeft; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override;

  private:
    bool TextOnLeft = false;
};
