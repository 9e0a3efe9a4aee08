#pragma once

#include <QLabel>
#include <vector>

#include "app/arraywarnings.h"
#include "model/wirevalidity.h"

// The warnings of the array beside its table, one line each naming its emitters, after the
// solved wires' modes; hidden when there is neither.
class TWarningsPanel : public QLabel {
    Q_OBJECT

  public:
    explicit TWarningsPanel(QWidget* parent = nullptr);

    // The solved wires' modes lead; their broken validity rules follow the array's warnings.
    void SetWarnings(const std::vector<TArrayWarning>& warnings,
                     const TWireValidity& validity = {});
    // The emitter numbers of each warning shown, in order, for the tests.
    const std::vector<TArrayWarning>& Shown() const { return Warnings; }
    // The lines as read, without their colours.
    const QString& PlainText() const { return Plain; }

  private:
    std::vector<TArrayWarning> Warnings;
    QString Plain;
};
