// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The undo history of one editor window's document on the window's undo
// stack: ChangeRecorder (model/ChangeHistory.h) records each command's change
// and keeps the modified flag, UndoHistory offers the steps to the menus.
#pragma once

#include <QString>
#include <functional>

#include "model/ChangeHistory.h"
#include "widgets/UndoHistory.h"

namespace corvane {

template <class Document, class Change>
class DocumentHistory : public UndoHistory {
public:
    // Takes the document as it is now as what its file holds.
    explicit DocumentHistory(Document& document, QObject* parent = nullptr) : UndoHistory(parent), recorder_(document) {}

    // The document is now what its file holds: after Open and Save.
    void MarkSaved() { recorder_.MarkSaved(); }
    // The document as a reset left it also counts as unmodified.
    void MarkReset() { recorder_.MarkReset(); }
    // Forgets every step, as after opening another file.
    void Forget() { Stack().clear(); }

    // Runs the command and records its change under the text.
    void Run(const QString& text, const std::function<void()>& command) {
        auto change = recorder_.Run(command);
        if (!change) return;
        Push(
            text, [this, change] { recorder_.Undo(*change); }, [this, change] { recorder_.Redo(*change); });
    }

private:
    ChangeRecorder<Document, Change> recorder_;
};

}  // namespace corvane
