// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/UndoHistory.h"

#include <QAction>
#include <QKeySequence>
#include <QWidget>

namespace corvane {
namespace {

QString Named(const char* command, const std::string& step) {
    return step.empty() ? QString(command) : QString("%1 %2").arg(command, QString::fromStdString(step));
}

}  // namespace

UndoHistory::UndoHistory(Undoable& steps, QObject* parent) : QObject(parent), steps_(steps) {
    steps_.OnStepsChanged([this] { Update(); });
}

// The session outlives the window's commands only by the order of destruction.
UndoHistory::~UndoHistory() { steps_.OnStepsChanged({}); }

QAction* UndoHistory::CreateUndoAction(QObject* parent) {
    auto* action = new QAction(parent);
    action->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Z)});
    connect(action, &QAction::triggered, this, &UndoHistory::Undo);
    undoActions_.append(action);
    Update();
    return action;
}

QAction* UndoHistory::CreateRedoAction(QObject* parent) {
    auto* action = new QAction(parent);
    action->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    connect(action, &QAction::triggered, this, &UndoHistory::Redo);
    redoActions_.append(action);
    Update();
    return action;
}

void UndoHistory::AddShortcutsTo(QWidget* window) {
    window->addAction(CreateUndoAction(window));
    window->addAction(CreateRedoAction(window));
}

void UndoHistory::Undo() {
    if (steps_.Undo()) emit Restored();
}

void UndoHistory::Redo() {
    if (steps_.Redo()) emit Restored();
}

void UndoHistory::Update() {
    for (QAction* action : undoActions_) {
        if (!action) continue;
        action->setEnabled(steps_.CanUndo());
        action->setText(Named("&Undo", steps_.UndoText()));
    }
    for (QAction* action : redoActions_) {
        if (!action) continue;
        action->setEnabled(steps_.CanRedo());
        action->setText(Named("&Redo", steps_.RedoText()));
    }
}

}  // namespace corvane
