#include "editor/SkinUndo.h"

namespace corvane {

void RunRecorded(SkinHistory* history, const QString& text, const std::function<void()>& command) {
    if (!history) return command();
    history->Run(text, command);
}

}  // namespace corvane
