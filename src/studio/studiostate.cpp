#include "studio/studiostate.h"

#include <stdexcept>

#include "config/messages.h"
#include "studio/commands.h"
#include "studio/reasons.h"

TStudioState::TStudioState(QObject* parent) : QObject(parent) {
    Analyse();
}

void TStudioState::Edit(const QString& text, const std::function<void(TStudioDocument&)>& change,
                        int gesture) {
    TStudioDocument after = Doc;
    change(after);
    if (after == Doc) return;
    Stack.push(new TEditCommand(text, Doc, after, gesture,
                                [this](const TStudioDocument& d) { Apply(d); }));
}

void TStudioState::Reset(const TStudioDocument& document) {
    Stack.clear();
    Bearing.reset();
    Apply(document);
}

void TStudioState::SetCutBearing(std::optional<int> bearing) {
    Bearing = bearing;
    Analyse();
    emit Changed();
}

void TStudioState::Apply(const TStudioDocument& document) {
    Doc = document;
    Analyse();
    emit Changed();
}

void TStudioState::Analyse() {
    Failure.clear();
    try {
        TAnalysisOutcome outcome = ::Analyse(CaseOf(Doc, Bearing));
        Analysis = std::move(outcome.Result);
        if (outcome.Fault) Failure = StudioReasonText(*outcome.Fault);
    } catch (const std::exception& e) {
        // Out of memory, say: the studio goes on without an analysis.
        Analysis.reset();
        Failure = e.what();
    }
}
