#pragma once

#include <QWidget>
#include <vector>

#include "studio/figurerows.h"

class QGridLayout;
class QLabel;

// Every figure of the analysis as a caption and its value; a figure that does not exist reads
// "none" and tells why in its tooltip.
class TFiguresPanel : public QWidget {
    Q_OBJECT

  public:
    explicit TFiguresPanel(QWidget* parent = nullptr);

    void SetRows(const std::vector<TFigureRow>& rows);
    // Why there are no figures at all (the document cannot be analysed); empty clears it.
    void SetFailure(const QString& text);

    // The value label of the figure with the JSON key, or null.
    QLabel* ValueLabel(const QString& key) const;

  private:
    QGridLayout* Grid = nullptr;
    QLabel* Failure = nullptr;
    std::vector<std::pair<QLabel*, QLabel*>> Lines;
    std::vector<QString> Keys;
};
