#pragma once

#include <QObject>
#include <QUndoStack>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/analysis.h"
#include "model/network.h"
#include "studio/document.h"

// The studio's owner of the document: every change goes through the undo stack, and each one
// is analysed at once, before anyone draws. The charts and the figures read the result.
class TStudioState : public QObject {
    Q_OBJECT

  public:
    explicit TStudioState(QObject* parent = nullptr);

    const TStudioDocument& Document() const { return Doc; }
    QUndoStack& UndoStack() { return Stack; }

    // Changes the document as one undo step named text. Edits of one gesture (from
    // NewGesture, the same for every step of a drag) merge into a single step.
    void Edit(const QString& text, const std::function<void(TStudioDocument&)>& change,
              int gesture = 0);
    int NewGesture() { return ++LastGesture; }

    // Replaces the document without an undo step (a file just opened); the stack is cleared.
    void Reset(const TStudioDocument& document);

    // The feed network the emitters are fed through; none: the document's own currents. A new
    // one (designed, opened, a part changed) is one undo step named text.
    const std::shared_ptr<const TNetwork>& Network() const { return Feed; }
    void SetNetwork(const QString& text, std::shared_ptr<const TNetwork> network);

    // The bearing of the elevation cut (degrees), or the maximum's when none.
    void SetCutBearing(std::optional<int> bearing);
    std::optional<int> CutBearing() const { return Bearing; }

    // The analysis of the current document, or none with the reason in Error().
    const std::optional<TPatternResult>& Result() const { return Analysis; }
    const std::string& Error() const { return Failure; }

  signals:
    // The document or the cut changed and has been analysed.
    void Changed();

  private:
    void Apply(const TStudioDocument& document);
    void ApplyNetwork(const std::shared_ptr<const TNetwork>& network);
    void Analyse();

    TStudioDocument Doc = InitialDocument();
    QUndoStack Stack;
    int LastGesture = 0;
    std::optional<int> Bearing;
    std::shared_ptr<const TNetwork> Feed;
    std::optional<TPatternResult> Analysis;
    std::string Failure;
};
