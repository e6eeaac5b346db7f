// Skin commands made undoable in one place, as the splash's are: through
// RunRecorded of UndoHistory.h with the skin's SkinChange.
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

}  // namespace corvane
