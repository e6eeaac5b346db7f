#include "editor/SkinUndo.h"

#include <memory>

namespace corvane {

SkinHistory::SkinHistory(SkinDocument& document, QObject* parent)
    : UndoHistory(parent), document_(document), saved_(CaptureSkin(document)) {}

void SkinHistory::MarkSaved() {
    saved_ = CaptureSkin(document_);
    reset_.reset();
    FollowContent();
}

void SkinHistory::MarkReset() {
    reset_ = CaptureSkin(document_);
    FollowContent();
}

void SkinHistory::Run(const QString& text, const std::function<void()>& command) {
    const SkinState before = CaptureSkin(document_);
    command();
    const SkinState after = CaptureSkin(document_);
    auto change = std::make_shared<const SkinChange>(SkinChange::Between(before, after));
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

void SkinHistory::FollowContent() {
    const SkinState now = CaptureSkin(document_);
    if (now == saved_ || (reset_ && now == *reset_))
        document_.ClearModified();
    else
        document_.MarkModified();
}

void RunRecorded(SkinHistory* history, const QString& text, const std::function<void()>& command) {
    if (!history) return command();
    history->Run(text, command);
}

}  // namespace corvane
