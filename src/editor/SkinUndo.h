// Skin commands made undoable in one place: the state is taken before and
// after the command, and only a command that changed something is recorded.
//
// The history also decides the "*": the skin counts as unmodified exactly
// when it is as the file last opened or saved holds it, or as Reset left it,
// whatever way it got back there (an undo, a redo, a depth chosen and chosen
// back).
#pragma once

#include <QString>
#include <functional>
#include <optional>

#include "model/SkinChange.h"
#include "widgets/UndoHistory.h"

namespace corvane {

class SkinDocument;

class SkinHistory : public UndoHistory {
public:
    // Takes the document as it is now as what its file holds.
    SkinHistory(SkinDocument& document, QObject* parent = nullptr);

    // The document is now what its file holds: after Open and Save.
    void MarkSaved();
    // The document as Reset left it also counts as unmodified.
    void MarkReset();
    // Forgets every step, as after opening another file.
    void Forget() { Stack().clear(); }

    // Runs the command and records its change under the text.
    void Run(const QString& text, const std::function<void()>& command);

private:
    // The modified flag from the document's content.
    void FollowContent();

    SkinDocument& document_;
    SkinState saved_;
    std::optional<SkinState> reset_;
};

// Runs the command and records its change under the text; without a history
// it only runs the command.
void RunRecorded(SkinHistory* history, const QString& text, const std::function<void()>& command);

}  // namespace corvane
