#include "studio/commands.h"

#include <utility>

TEditCommand::TEditCommand(const QString& text, const TStudioDocument& before,
                           const TStudioDocument& after, int gesture, TApply apply)
    : BeforeState(before), AfterState(after), Gesture(gesture), Apply(std::move(apply)) {
    setText(text);
}

void TEditCommand::undo() {
    Apply(BeforeState);
}

void TEditCommand::redo() {
    Apply(AfterState);
}

bool TEditCommand::mergeWith(const QUndoCommand* other) {
    const auto* edit = static_cast<const TEditCommand*>(other);
    if (Gesture == 0 || edit->Gesture != Gesture) return false;
    AfterState = edit->AfterState;
    return true;
}

TNetworkCommand::TNetworkCommand(const QString& text, TNetworkPtr before, TNetworkPtr after,
                                 TApply apply)
    : BeforeState(std::move(before)), AfterState(std::move(after)), Apply(std::move(apply)) {
    setText(text);
}
