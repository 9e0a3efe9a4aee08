#pragma once

#include <QAbstractButton>

// A 24 x 23 picture button that takes no focus; flat ones show their border only under the
// mouse. The 20 x 20 pictures are drawn by code on a transparent background.
class TSpeedButton : public QAbstractButton {
    Q_OBJECT

  public:
    enum class TPicture { Load, Save, Export };

    TSpeedButton(TPicture picture, QWidget* parent = nullptr);

    void SetFlat(bool flat);
    bool Flat() const { return IsFlat; }
    TPicture Picture() const { return Kind; }
    QSize sizeHint() const override { return {24, 23}; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    TPicture Kind;
    bool IsFlat = false;
};
