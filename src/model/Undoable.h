// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// What a window's Undo and Redo commands need of a session, whatever its
// document: the next step each way with its text, and word of every change
// to the steps so that the commands stay up to date.
#pragma once

#include <functional>
#include <string>

namespace corvane {

class Undoable {
public:
    virtual ~Undoable() = default;
    virtual bool CanUndo() const = 0;
    virtual bool CanRedo() const = 0;
    // The step's text, empty when there is none.
    virtual std::string UndoText() const = 0;
    virtual std::string RedoText() const = 0;
    // False when there is nothing to undo or redo.
    virtual bool Undo() = 0;
    virtual bool Redo() = 0;
    // Called after every change to the steps: a command recorded, an undo or
    // redo, the steps forgotten.
    virtual void OnStepsChanged(std::function<void()> listener) = 0;
};

}  // namespace corvane
