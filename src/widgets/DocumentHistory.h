// The undo history of one document, the same for the skin and the splash: a
// command is recorded as the Change (SkinChange, SplashChange) between the
// document's state before and after it, and only a command that changed
// something is recorded.
//
// The history also decides the "*": the document counts as unmodified exactly
// when it is as the file last opened or saved holds it, or as a reset left
// it, whatever way it got back there (an undo, a redo, a depth chosen and
// chosen back).
#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

#include "widgets/UndoHistory.h"

namespace corvane {

// Change has static Capture(const Document&) giving a comparable state,
// static Between(before, after), Empty(), Undo(Document&) and Redo(Document&).
template <class Document, class Change>
class DocumentHistory : public UndoHistory {
public:
    // Takes the document as it is now as what its file holds.
    explicit DocumentHistory(Document& document, QObject* parent = nullptr)
        : UndoHistory(parent), document_(document), saved_(Change::Capture(document)) {}

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
    // Forgets every step, as after opening another file.
    void Forget() { Stack().clear(); }

    // Runs the command and records its change under the text.
    void Run(const QString& text, const std::function<void()>& command) {
        const auto before = Change::Capture(document_);
        command();
        auto change = std::make_shared<const Change>(Change::Between(before, Change::Capture(document_)));
        // Nothing changed: the flag stays as the command left it (Import Bitmaps
        // marks the skin even when its folder browser was closed).
        if (change->Empty()) return;
        Push(
            text,
            [this, change] {
                change->Undo(document_);
                FollowContent();
            },
            [this, change] {
                change->Redo(document_);
                FollowContent();
            });
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

    Document& document_;
    decltype(Change::Capture(std::declval<const Document&>())) saved_;
    std::optional<decltype(Change::Capture(std::declval<const Document&>()))> reset_;
};

}  // namespace corvane
