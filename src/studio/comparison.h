#pragma once

#include <QWidget>
#include <string>
#include <vector>

#include "app/analysis.h"

class QGridLayout;

// One figure of the held reference beside the current design's, and how far it moved.
struct TComparisonRow {
    std::string Key;  // the figure's JSON key
    std::string Caption;
    std::string Reference;
    std::string Current;
    std::string Difference;  // current minus reference, signed; empty where either has none
};

// Every figure of the catalogue both analyses can have, in its order.
std::vector<TComparisonRow> ComparisonRowsOf(const TPatternResult& reference,
                                             const TPatternResult& current);

// The comparison under the figures while a reference is held: the two designs by name and the
// difference of each figure.
class TComparisonPanel : public QWidget {
    Q_OBJECT

  public:
    explicit TComparisonPanel(QWidget* parent = nullptr);

    void SetRows(const QString& referenceName, const QString& currentName,
                 const std::vector<TComparisonRow>& rows);
    const std::vector<TComparisonRow>& Rows() const { return Shown; }

  private:
    QGridLayout* Grid = nullptr;
    std::vector<TComparisonRow> Shown;
};
