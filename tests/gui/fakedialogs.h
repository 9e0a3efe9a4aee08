#pragma once

#include <QString>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "ui/dialogs.h"

// Answers the window's modal boxes from queued replies (an empty queue cancels), records every
// call, and can run a callback while a box is "open", as a nested event loop would.
class TFakeDialogs : public TDialogs {
  public:
    enum class TKind { OpenConfig, SaveConfig, SavePicture, Information, ErrorBox };
    struct TCall {
        TKind Kind;
        QString Title;
        QString Text;
    };

    std::deque<std::optional<QString>> OpenReplies;
    std::deque<std::optional<QString>> SaveReplies;
    std::deque<std::optional<QString>> PictureReplies;
    std::vector<TCall> Calls;
    std::function<void()> WhileModal;

    std::optional<QString> OpenConfigFile(QWidget*) override {
        return Answer(TKind::OpenConfig, OpenReplies);
    }
    std::optional<QString> SaveConfigFile(QWidget*) override {
        return Answer(TKind::SaveConfig, SaveReplies);
    }
    std::optional<QString> SavePictureFile(QWidget*) override {
        return Answer(TKind::SavePicture, PictureReplies);
    }
    void Information(QWidget*, const QString& title, const QString& text) override {
        Record({TKind::Information, title, text});
    }
    void ErrorBox(QWidget*, const QString& title, const QString& text) override {
        Record({TKind::ErrorBox, title, text});
    }

    int Count(TKind kind) const {
        int n = 0;
        for (const TCall& call : Calls) n += call.Kind == kind ? 1 : 0;
        return n;
    }
    void Clear() { Calls.clear(); }

  private:
    std::optional<QString> Answer(TKind kind, std::deque<std::optional<QString>>& replies) {
        Record({kind, {}, {}});
        if (replies.empty()) return std::nullopt;
        const bool chosen = replies.front().has_value();
        const QString name = chosen ? *replies.front() : QString();
        replies.pop_front();
        if (!chosen) return std::nullopt;
        return name;
    }
    void Record(const TCall& call) {
        Calls.push_back(call);
        if (WhileModal) WhileModal();
    }
};
