// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Skin commands made undoable in one place, the way the splash's are: through
// the document history of DocumentHistory.h with the skin's SkinChange.
#pragma once

#include <QString>
#include <functional>

#include "model/SkinChange.h"
#include "widgets/DocumentHistory.h"

namespace corvane {

class SkinHistory : public DocumentHistory<SkinDocument, SkinChange> {
public:
    using DocumentHistory::DocumentHistory;
};

// Runs the command and records its change under the text; without a history
// it only runs the command.
void RunRecorded(SkinHistory* history, const QString& text, const std::function<void()>& command);

}  // namespace corvane
