#include "studio/designer.h"

#include <QApplication>
#include <algorithm>
#include <cmath>

#include "config/messages.h"
#include "config/numtext.h"
#include "model/angles.h"
#include "model/msgid.h"
#include "studio/designactions.h"
#include "studio/designpanel.h"

namespace {

// A click this near (degrees) to a placed null removes it rather than adding another.
constexpr double kNullGrabDegrees = 5;

QString Text(const char* msgid) {
    return QString::fromUtf8(Tr(msgid));
}

double Separation(double a, double b) {
    const double d = std::fmod(std::fmod(a - b, 360.0) + 360, 360.0);
    return std::min(d, 360 - d);
}

}  // namespace

TStudioDesigner::TStudioDesigner(TStudioState& state, TDesignPanel& panel, QObject* parent)
    : QObject(parent), State(state), Panel(panel) {
    FollowBeam();
    connect(&State, &TStudioState::Changed, this, &TStudioDesigner::DocumentChanged);
}

void TStudioDesigner::Apply(const QString& text, const TActionOutcome& outcome) {
    QString message = QString::fromStdString(outcome.Message);
    if (outcome.SensitivityDb && outcome.Message.empty()) {
        message = QString::fromStdString(
            TrFormat("sensitivity: %s dB against a uniform excitation",
                     {FormatFixed(static_cast<long double>(*outcome.SensitivityDb), 18, 2)}));
    }
    Panel.SetOutcome(message);
    Described = outcome.Document ? *outcome.Document : State.Document();
    if (!outcome.Document) return;
    const TStudioDocument designed = *outcome.Document;
    State.Edit(text, [&designed](TStudioDocument& d) { d = designed; });
}

void TStudioDesigner::DocumentChanged() {
    if (!Described || State.Document() == *Described) return;
    Described.reset();
    Panel.SetOutcome({});
}

void TStudioDesigner::Steer(int bearing) {
    Apply(Text(Msgid("Steer the beam")), SteerTo(State.Document(), bearing));
}

void TStudioDesigner::Taper(const TTaper& taper) {
    LastTaper = taper;
    Apply(Text(Msgid("Taper the amplitudes")), TaperWith(State.Document(), taper));
}

void TStudioDesigner::Design(TDesignGoal goal, int bearing) {
    if (!State.Result()) return;
    const bool search = goal == TDesignGoal::FrontToBack || goal == TDesignGoal::FrontToRear;
    // The front-to-back search takes a noticeable moment; the closed forms do not.
    if (search) QApplication::setOverrideCursor(Qt::WaitCursor);
    std::vector<long double> nulls(NullBearings.begin(), NullBearings.end());
    const TActionOutcome outcome =
        DesignFor(State.Document(), *State.Result(), goal, bearing, nulls);
    Apply(Text(Msgid("Design the excitation")), outcome);
    if (search) QApplication::restoreOverrideCursor();
}

void TStudioDesigner::ToggleNull(double bearing) {
    const auto near = std::find_if(NullBearings.begin(), NullBearings.end(), [bearing](double b) {
        return Separation(b, bearing) <= kNullGrabDegrees;
    });
    if (near != NullBearings.end()) {
        NullBearings.erase(near);
    } else {
        NullBearings.push_back(bearing);
    }
    Design(NullBearings.empty() ? TDesignGoal::MaxDirectivity : TDesignGoal::Nulls,
           Panel.Bearing());
}

void TStudioDesigner::Hold(bool hold, const QString& name) {
    if (hold && State.Result()) {
        Held = State.Result();
        HeldName = name;
    } else {
        Held.reset();
        HeldName.clear();
    }
    Panel.SetReferenceHeld(Held.has_value());
    emit ReferenceChanged();
}

void TStudioDesigner::Forget() {
    NullBearings.clear();
    LastTaper.reset();
}

void TStudioDesigner::FollowBeam() {
    if (const auto& result = State.Result()) {
        Panel.SetBearing(DisplayedBearing(result->Session.Pattern.MaxGainAngle));
    }
}
