#pragma once

#include <QFileDialog>
#include <QImage>

class QLabel;
class QToolButton;

// SavePictureDialog1: Qt's own save dialog with a pane beside the file list that shows the
// picture held by the file under the cursor, and a button that opens it in a window.
class TSavePictureDialog : public QFileDialog {
    Q_OBJECT

  public:
    explicit TSavePictureDialog(QWidget* parent = nullptr);

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void ShowPictureOf(const QString& path);
    void OpenPreview();

    QLabel* PictureLabel;
    QLabel* ImagePane;
    QToolButton* PreviewButton;
    QImage Picture;
};
