#pragma once

#include <QLabel>

// A caption that takes no focus; Clicked() follows a left press and release over it.
class TStaticText : public QLabel {
    Q_OBJECT

  public:
    explicit TStaticText(const QString& text, QWidget* parent = nullptr);

  signals:
    void Clicked();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    bool Pressed = false;
};
