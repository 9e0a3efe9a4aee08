#include "studio/studiostate.h"

#include <stdexcept>

#include "config/messages.h"
#include "studio/commands.h"

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
    if (NeedsPolarisedEmitters(Doc)) {
        Analysis.reset();
        Failure =
            Tr("Over ground the emitters need a polarisation: choose vertical or "
               "horizontal dipoles.");
        return;
    }
    try {
        Analysis = ::Analyse(AnalysisRequestOf(Doc, Bearing));
    } catch (const std::exception& e) {
        Analysis.reset();
        Failure = e.what();
    }
}
