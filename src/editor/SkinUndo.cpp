// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "editor/SkinUndo.h"

namespace corvane {

void RunRecorded(SkinHistory* history, const QString& text, const std::function<void()>& command) {
    if (!history) return command();
    history->Run(text, command);
}

}  // namespace corvane
