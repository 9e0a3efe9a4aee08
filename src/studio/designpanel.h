#pragma once

#include <QWidget>

#include "app/designpolicy.h"
#include "model/taper.h"

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QSpinBox;

// The design tools: steering to a bearing, a taper with its level, the closed-form and
// front-to-back designs towards the bearing, placing nulls on the polar chart, and holding the
// design as a reference. Each asks; the window applies it as one undo step.
class TDesignPanel : public QWidget {
    Q_OBJECT

  public:
    explicit TDesignPanel(QWidget* parent = nullptr);

    int Bearing() const;
    void SetBearing(int bearing);
    bool PlacingNulls() const;
    // What the last action reached or why it was refused; its sensitivity in dB when known.
    void SetOutcome(const QString& message);
    void SetReferenceHeld(bool held);

    QComboBox* TaperBox() const { return TaperKind; }
    QDoubleSpinBox* LevelBox() const { return Level; }
    QPushButton* TaperButton() const { return ApplyTaper; }
    QComboBox* GoalBox() const { return Goal; }
    QPushButton* DesignButton() const { return ApplyDesign; }
    QPushButton* NullsButton() const { return Nulls; }
    QPushButton* HoldButton() const { return Hold; }
    const QString& Outcome() const { return OutcomeText; }

  signals:
    void SteerAsked(int bearing);
    void TaperAsked(const TTaper& taper);
    void DesignAsked(TDesignGoal goal, int bearing);
    void NullModeChanged(bool on);
    void HoldAsked(bool hold);

  private:
    QSpinBox* BearingBox = nullptr;
    QComboBox* TaperKind = nullptr;
    QDoubleSpinBox* Level = nullptr;
    QPushButton* ApplyTaper = nullptr;
    QComboBox* Goal = nullptr;
    QPushButton* ApplyDesign = nullptr;
    QPushButton* Nulls = nullptr;
    QPushButton* Hold = nullptr;
    QLabel* OutcomeLabel = nullptr;
    QString OutcomeText;
};
