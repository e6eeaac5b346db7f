// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The undo history of one document, the same for the skin and the splash and
// for every program that edits them: a command is recorded as the Change
// (SkinChange, SplashChange) between the document's state before and after
// it, and only a command that changed something is recorded.
//
// The history also decides the "*": the document counts as unmodified exactly
// when it is as the file last opened or saved holds it, or as a reset left
// it, whatever way it got back there (an undo, a redo, a depth chosen and
// chosen back).
//
// Change has static Capture(const Document&) giving a comparable state,
// static Between(before, after), Empty(), Undo(Document&) and Redo(Document&).
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace corvane {

// The saved and reset states and the changes commands make: what a window's
// own undo stack needs below it.
template <class Document, class Change>
class ChangeRecorder {
public:
    // Takes the document as it is now as what its file holds.
    explicit ChangeRecorder(Document& document) : document_(document), saved_(Change::Capture(document)) {}

    // The document is now what its file holds: after Open and Save.
    void MarkSaved() {
        saved_ = Change::Capture(document_);
        reset_.reset();
        FollowContent();
    }
    // The document as a reset left it also counts as unmodified.
    void MarkReset() {
        reset_ = Change::Capture(document_);
        FollowContent();
    }

    // Runs the command: the change it made, or nothing when it changed
    // nothing, and then the flag stays as the command left it (Import Bitmaps
    // marks the skin even when its folder browser was closed).
    std::shared_ptr<const Change> Run(const std::function<void()>& command) {
        const auto before = Change::Capture(document_);
        command();
        auto change = std::make_shared<const Change>(Change::Between(before, Change::Capture(document_)));
        if (change->Empty()) return nullptr;
        FollowContent();
        return change;
    }

    void Undo(const Change& change) {
        change.Undo(document_);
        FollowContent();
    }
    void Redo(const Change& change) {
        change.Redo(document_);
        FollowContent();
    }

private:
    // The modified flag from the document's content.
    void FollowContent() {
        const auto now = Change::Capture(document_);
        if (now == saved_ || (reset_ && now == *reset_))
            document_.ClearModified();
        else
            document_.MarkModified();
    }

    using State = decltype(Change::Capture(std::declval<const Document&>()));
    Document& document_;
    State saved_;
    std::optional<State> reset_;
};

// A recorder with its own stack of named steps, for a program without one.
template <class Document, class Change>
class ChangeHistory : public ChangeRecorder<Document, Change> {
public:
    using ChangeRecorder<Document, Change>::ChangeRecorder;

    // Runs the command and records its change under the text; a new step
    // drops the steps that were undone.
    void Run(std::string text, const std::function<void()>& command) {
        auto change = ChangeRecorder<Document, Change>::Run(command);
        if (!change) return;
        steps_.resize(done_);
        steps_.push_back({std::move(text), std::move(change)});
        done_ = steps_.size();
        Changed();
    }
    // Forgets every step, as after opening another file.
    void Forget() {
        steps_.clear();
        done_ = 0;
        Changed();
    }

    // Called whenever the steps or the one to undo next change, so that a
    // window can keep its Undo and Redo commands up to date.
    void OnChange(std::function<void()> listener) { listener_ = std::move(listener); }

    bool CanUndo() const { return done_ > 0; }
    bool CanRedo() const { return done_ < steps_.size(); }
    // The step's text, empty when there is none.
    std::string UndoText() const { return CanUndo() ? steps_[done_ - 1].text : std::string(); }
    std::string RedoText() const { return CanRedo() ? steps_[done_].text : std::string(); }

    // False when there is nothing to undo or redo.
    bool Undo() {
        if (!CanUndo()) return false;
        ChangeRecorder<Document, Change>::Undo(*steps_[--done_].change);
        Changed();
        return true;
    }
    bool Redo() {
        if (!CanRedo()) return false;
        ChangeRecorder<Document, Change>::Redo(*steps_[done_++].change);
        Changed();
        return true;
    }

private:
    struct Step {
        std::string text;
        std::shared_ptr<const Change> change;
    };
    void Changed() {
        if (listener_) listener_();
    }

    std::vector<Step> steps_;
    std::size_t done_ = 0;
    std::function<void()> listener_;
};

}  // namespace corvane
