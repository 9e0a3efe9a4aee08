#pragma once

#include <QLabel>

// An opaque label sized to its text. Opaque so that replacing its text while the window
// paints does not repaint the window beneath it. Use SetText, not setText, to keep the size.
class TLabel : public QLabel {
    Q_OBJECT

  public:
    explicit TLabel(const QString& text, QWidget* parent = nullptr);

    // Right-aligned labels keep their right edge when the text changes; others their left.
    void SetAlignRight(bool alignRight);
    bool AlignRight() const { return RightAligned; }
    // An unchanged text is a no-op.
    void SetText(const QString& text);
    QString Text() const { return text(); }

  private:
    void FitToText();

    bool RightAligned = false;
};
