// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A window's Undo and Redo commands over its session's steps: menu items and
// shortcuts that name the step they take back or bring back, enabled while
// there is one, and word after every undo and redo that the document
// changed under the window, so that every window showing it repaints.
#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

#include "model/Undoable.h"

class QAction;
class QWidget;

namespace corvane {

class UndoHistory : public QObject {
    Q_OBJECT
public:
    explicit UndoHistory(Undoable& steps, QObject* parent = nullptr);
    ~UndoHistory() override;

    // "&Undo ACTION" (Ctrl+Z) and "&Redo ACTION" (Ctrl+Shift+Z, Ctrl+Y), enabled
    // while there is something to undo or redo.
    QAction* CreateUndoAction(QObject* parent);
    QAction* CreateRedoAction(QObject* parent);
    // Both, with their shortcuts, on a window without a menu (a modal dialog
    // takes the keyboard from its owner's menu).
    void AddShortcutsTo(QWidget* window);

    void Undo();
    void Redo();

signals:
    // After every Undo and Redo.
    void Restored();

private:
    void Update();

    Undoable& steps_;
    QList<QPointer<QAction>> undoActions_;
    QList<QPointer<QAction>> redoActions_;
};

}  // namespace corvane
