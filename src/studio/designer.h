#pragma once

#include <QObject>
#include <QString>
#include <optional>
#include <vector>

#include "app/designpolicy.h"
#include "model/taper.h"
#include "studio/designactions.h"
#include "studio/studiostate.h"

class TDesignPanel;

// The design tools' owner: turns the panel's requests into undo steps of the state, keeps the
// null bearings placed on the polar chart and the design held as a reference.
class TStudioDesigner : public QObject {
    Q_OBJECT

  public:
    TStudioDesigner(TStudioState& state, TDesignPanel& panel, QObject* parent = nullptr);

    void Steer(int bearing);
    void Taper(const TTaper& taper);
    void Design(TDesignGoal goal, int bearing);
    // A click of the polar chart in "place nulls" mode: adds a null there, or removes the one
    // within a few degrees, and designs for the nulls at once.
    void ToggleNull(double bearing);
    const std::vector<double>& Nulls() const { return NullBearings; }
    // The taper last asked for, which the warnings check against the geometry.
    const std::optional<TTaper>& AskedTaper() const { return LastTaper; }
    // A new file: its nulls and taper are its own.
    void Forget();

    // Holds the current design (its analysis and name) as the reference, or drops it.
    void Hold(bool hold, const QString& name);
    const std::optional<TPatternResult>& Reference() const { return Held; }
    const QString& ReferenceName() const { return HeldName; }

    // The panel's bearing follows the main beam (a file just opened).
    void FollowBeam();

  signals:
    void ReferenceChanged();

  private:
    void Apply(const QString& text, const TActionOutcome& outcome);
    // The outcome line speaks of one document: any other clears it.
    void DocumentChanged();

    TStudioState& State;
    TDesignPanel& Panel;
    std::vector<double> NullBearings;  // degrees
    std::optional<TTaper> LastTaper;
    std::optional<TStudioDocument> Described;
    std::optional<TPatternResult> Held;
    QString HeldName;
};
