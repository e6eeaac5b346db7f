// Skin commands made undoable in one place: the state is taken before and
// after the command, and only a command that changed something is recorded.
#pragma once

#include <QString>
#include <functional>

namespace corvane {

class SkinDocument;
class UndoHistory;

// Runs the command and records its change under the text; without a history
// it only runs the command. A command that leaves the skin unmodified, as
// Reset does, makes its result the state that counts as saved.
void RunRecorded(UndoHistory* history, SkinDocument& document, const QString& text,
                 const std::function<void()>& command);

// The document's modified flag from the history's clean state, from now on.
void FollowCleanState(UndoHistory& history, SkinDocument& document);

}  // namespace corvane
