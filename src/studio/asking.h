#pragma once

#include <QString>

class QWidget;

// Everything the studio asks of its user goes through one object, so that a test can answer
// in its place and drive every handler without a dialog on screen.
class TStudioAsk {
  public:
    enum class TAnswer { Save, Discard, Cancel };

    explicit TStudioAsk(QWidget* parent) : Parent(parent) {}
    virtual ~TStudioAsk() = default;

    // Whether the changes to the named document are saved first, thrown away, or the step that
    // would lose them is cancelled.
    virtual TAnswer Discard(const QString& name);
    // A configuration file to open or to save to; empty when the user cancels.
    virtual QString OpenName(const QString& caption);
    virtual QString SaveName(const QString& caption, const QString& suggested);

  protected:
    QWidget* Parent;
};
