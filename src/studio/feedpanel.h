#pragma once

#include <QWidget>
#include <memory>

#include "app/feedcase.h"
#include "app/feeddesign.h"

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QTableWidget;
class TFeedChart;
class TFeedSchematic;

// The feed network's controls: the design's method, line impedance, velocity factor and
// transmitter resistance; the parts table, whose values the user edits; the schematic; the
// feed across the band. It shows what it is given and asks for the rest by its signals.
class TFeedPanel : public QWidget {
    Q_OBJECT

  public:
    explicit TFeedPanel(QWidget* parent = nullptr);

    TFeedDesignRequest Request() const;
    // The network shown, its reactances and lines' lengths at hz; none empties the table.
    void SetNetwork(std::shared_ptr<const TNetwork> network, double hz);
    void SetSweep(TFeedSweep sweep);
    void SetStatus(const QString& text);

    QTableWidget* Parts() const { return Table; }
    TFeedSchematic* Schematic() const { return Drawing; }
    TFeedChart* Chart() const { return Band; }
    QComboBox* Method() const { return MethodBox; }
    QString Status() const;

    // The column of a part's editable value: µH, pF, ohms or a line's degrees.
    static constexpr int kValueColumn = 2;

  signals:
    void DesignAsked(const TFeedDesignRequest& request);
    // A part's new value in the table's unit.
    void PartEdited(int part, double value);
    void OpenAsked();
    void SaveAsked();
    void RemoveAsked();

  private:
    void CellChanged(int row, int column);

    QComboBox* MethodBox = nullptr;
    QDoubleSpinBox* LineZ0 = nullptr;
    QDoubleSpinBox* Velocity = nullptr;
    QDoubleSpinBox* Transmitter = nullptr;
    QTableWidget* Table = nullptr;
    TFeedSchematic* Drawing = nullptr;
    TFeedChart* Band = nullptr;
    QLabel* StatusLine = nullptr;
    bool Filling = false;  // the table is being filled, not edited
};

// A part's value in the unit the table shows it in (µH, pF, ohms, a line's degrees at hz),
// and back to the part.
double ShownValue(const TPart& part, double hz);
void SetShownValue(TPart& part, double value, double hz);
