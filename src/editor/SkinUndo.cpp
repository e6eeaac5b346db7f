#include "editor/SkinUndo.h"

#include <memory>

#include "model/SkinChange.h"
#include "widgets/UndoHistory.h"

namespace corvane {

void RunRecorded(UndoHistory* history, SkinDocument& document, const QString& text,
                 const std::function<void()>& command) {
    if (!history) return command();
    const SkinState before = CaptureSkin(document);
    command();
    auto change = std::make_shared<const SkinChange>(SkinChange::Between(before, CaptureSkin(document)));
    if (change->Empty()) return;
    const bool saved = !document.IsModified();
    history->Push(text, [change, &document] { change->Undo(document); },
                  [change, &document] { change->Redo(document); });
    if (saved) history->Stack().setClean();
}

void FollowCleanState(UndoHistory& history, SkinDocument& document) {
    QObject::connect(&history.Stack(), &QUndoStack::cleanChanged, &history, [&document](bool clean) {
        if (clean)
            document.ClearModified();
        else
            document.MarkModified();
    });
}

}  // namespace corvane
