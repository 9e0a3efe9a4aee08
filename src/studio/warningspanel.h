#pragma once

#include <QLabel>
#include <vector>

#include "app/arraywarnings.h"

// The warnings of the array beside its table, one line each naming its emitters; hidden when
// the array has none.
class TWarningsPanel : public QLabel {
    Q_OBJECT

  public:
    explicit TWarningsPanel(QWidget* parent = nullptr);

    void SetWarnings(const std::vector<TArrayWarning>& warnings);
    // The emitter numbers of each warning shown, in order, for the tests.
    const std::vector<TArrayWarning>& Shown() const { return Warnings; }

  private:
    std::vector<TArrayWarning> Warnings;
};
