#include "editor/SkinUndo.h"

#include "model/SkinChange.h"
#include "widgets/UndoHistory.h"

namespace corvane {

void RunRecorded(UndoHistory* history, SkinDocument& document, const QString& text,
                 const std::function<void()>& command) {
    RunRecorded<SkinChange>(history, document, text, command);
}

}  // namespace corvane
