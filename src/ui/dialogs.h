#pragma once

#include <QString>
#include <optional>

class QWidget;

// The window's modal dialogs and message boxes, behind one seam so that tests answer them.
class TDialogs {
  public:
    virtual ~TDialogs() = default;
    // OpenDialog1 / SaveDialog1: the chosen full path, or nullopt when cancelled.
    virtual std::optional<QString> OpenConfigFile(QWidget* parent) = 0;
    virtual std::optional<QString> SaveConfigFile(QWidget* parent) = 0;
    // SavePictureDialog1, with its preview pane.
    virtual std::optional<QString> SavePictureFile(QWidget* parent) = 0;
    // Information icon, one OK button.
    virtual void Information(QWidget* parent, const QString& title, const QString& text) = 0;
    // The standard error box: error icon, one OK button; text already carries its full stop.
    virtual void ErrorBox(QWidget* parent, const QString& title, const QString& text) = 0;
};
