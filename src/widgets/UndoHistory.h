// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The undo stack of one editor window. A command is done first and pushed
// afterwards with the two ways of restoring it; the history only calls them
// back on Undo and Redo and then says that the document changed under the
// window, so that every window showing it repaints.
#pragma once

#include <QObject>
#include <QUndoStack>
#include <functional>

class QAction;
class QWidget;

namespace corvane {

class UndoHistory : public QObject {
    Q_OBJECT
public:
    explicit UndoHistory(QObject* parent = nullptr);
    ~UndoHistory() override;

    QUndoStack& Stack() { return stack_; }

    // Records a change that has already been made.
    void Push(const QString& text, std::function<void()> undo, std::function<void()> redo);

    // "&Undo ACTION" (Ctrl+Z) and "&Redo ACTION" (Ctrl+Shift+Z, Ctrl+Y), enabled
    // while there is something to undo or redo.
    QAction* CreateUndoAction(QObject* parent);
    QAction* CreateRedoAction(QObject* parent);
    // Both, with their shortcuts, on a window without a menu (a modal dialog
    // takes the keyboard from its owner's menu).
    void AddShortcutsTo(QWidget* window);

signals:
    // After every Undo and Redo.
    void Restored();

private:
    QUndoStack stack_;
};

}  // namespace corvane
