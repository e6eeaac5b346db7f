// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/UndoHistory.h"

#include <QAction>
#include <QKeySequence>
#include <QUndoCommand>
#include <QWidget>

namespace corvane {
namespace {

class DoneCommand : public QUndoCommand {
public:
    DoneCommand(const QString& text, std::function<void()> undo, std::function<void()> redo, UndoHistory& history)
        : QUndoCommand(text), undo_(std::move(undo)), redo_(std::move(redo)), history_(history) {}

    void undo() override {
        undo_();
        emit history_.Restored();
    }
    void redo() override {
        // The push itself: the change is already made and shown.
        if (std::exchange(pushing_, false)) return;
        redo_();
        emit history_.Restored();
    }

private:
    std::function<void()> undo_;
    std::function<void()> redo_;
    UndoHistory& history_;
    bool pushing_ = true;
};

}  // namespace

UndoHistory::UndoHistory(QObject* parent) : QObject(parent), stack_(this) {}

// The stack says it is clean again while it is destroyed, when the window
// and the document its receivers update are already gone.
UndoHistory::~UndoHistory() { stack_.disconnect(); }

void UndoHistory::Push(const QString& text, std::function<void()> undo, std::function<void()> redo) {
    stack_.push(new DoneCommand(text, std::move(undo), std::move(redo), *this));
}

QAction* UndoHistory::CreateUndoAction(QObject* parent) {
    QAction* action = stack_.createUndoAction(parent, "&Undo");
    action->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Z)});
    return action;
}

QAction* UndoHistory::CreateRedoAction(QObject* parent) {
    QAction* action = stack_.createRedoAction(parent, "&Redo");
    action->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    return action;
}

void UndoHistory::AddShortcutsTo(QWidget* window) {
    window->addAction(CreateUndoAction(window));
    window->addAction(CreateRedoAction(window));
}

}  // namespace corvane
