#include "studio/studiostate.h"

#include <stdexcept>

#include "app/feedcase.h"
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

void TStudioState::SetNetwork(const QString& text, std::shared_ptr<const TNetwork> network) {
    Stack.push(new TNetworkCommand(text, Feed, std::move(network),
                                   [this](const auto& n) { ApplyNetwork(n); }));
}

void TStudioState::ApplyNetwork(const std::shared_ptr<const TNetwork>& network) {
    Feed = network;
    Analyse();
    emit Changed();
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
        const TArrayCase arrayCase = CaseOf(Doc, Bearing);
        const auto fault = Feed ? CheckNetworkPorts(*Feed, arrayCase.Array) : std::nullopt;
        if (fault) {
            Analysis.reset();
            Failure = TrFormat("feed network:%s: %s", {std::to_string(fault->Line), fault->Reason});
            return;
        }
        // Fed through a network only where the wires are solved: the panel says what it needs.
        const double hz = static_cast<double>(DesignFrequencyMhz(Doc)) * 1e6;
        TAnalysisOutcome outcome =
            Feed && HasWires(Doc) ? AnalyseThrough(arrayCase, *Feed, hz, hz) : ::Analyse(arrayCase);
        Analysis = std::move(outcome.Result);
        if (outcome.Fault) Failure = StudioReasonText(*outcome.Fault);
    } catch (const std::exception& e) {
        // Out of memory, say: the studio goes on without an analysis.
        Analysis.reset();
        Failure = e.what();
    }
}
