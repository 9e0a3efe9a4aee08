#pragma once

#include <QUndoCommand>
#include <functional>
#include <memory>

#include "model/network.h"
#include "studio/document.h"

// One edit of the document: the whole document before and after, so that undo gives back
// the earlier one bit for bit. Edits of one drag share a gesture number and merge into one
// step; a typed value starts a gesture of its own.
class TEditCommand : public QUndoCommand {
  public:
    using TApply = std::function<void(const TStudioDocument&)>;

    TEditCommand(const QString& text, const TStudioDocument& before, const TStudioDocument& after,
                 int gesture, TApply apply);

    void undo() override;
    void redo() override;
    int id() const override { return kId; }
    bool mergeWith(const QUndoCommand* other) override;

    const TStudioDocument& Before() const { return BeforeState; }
    const TStudioDocument& After() const { return AfterState; }

  private:
    static constexpr int kId = 1;
    TStudioDocument BeforeState;
    TStudioDocument AfterState;
    int Gesture;  // 0: never merges
    TApply Apply;
};

// A new feed network (designed, opened, a part's value changed, or none), the whole network
// before and after: parts are few, and undo gives back the earlier values bit for bit.
class TNetworkCommand : public QUndoCommand {
  public:
    using TNetworkPtr = std::shared_ptr<const TNetwork>;
    using TApply = std::function<void(const TNetworkPtr&)>;

    TNetworkCommand(const QString& text, TNetworkPtr before, TNetworkPtr after, TApply apply);

    void undo() override { Apply(BeforeState); }
    void redo() override { Apply(AfterState); }

  private:
    TNetworkPtr BeforeState;
    TNetworkPtr AfterState;
    TApply Apply;
};
