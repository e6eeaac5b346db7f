// The undo stack of one editor window. A command is done first and pushed
// afterwards with the two ways of restoring it; the history only calls them
// back on Undo and Redo and then says that the document changed under the
// window, so that every window showing it repaints.
#pragma once

#include <QObject>
#include <QUndoStack>
#include <functional>
#include <memory>

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

// Runs a command on a document and records what it changed under the text:
// the Change (SkinChange, SplashChange) between the document's state before
// and after. Without a history it only runs the command; a command that
// changed nothing is not recorded, and one that leaves the document
// unmodified, as a reset does, makes its result the state that counts as saved.
template <typename Change, typename Document>
void RunRecorded(UndoHistory* history, Document& document, const QString& text, const std::function<void()>& command) {
    if (!history) return command();
    const auto before = Change::Capture(document);
    command();
    auto change = std::make_shared<const Change>(Change::Between(before, Change::Capture(document)));
    if (change->Empty()) return;
    const bool saved = !document.IsModified();
    history->Push(text, [change, &document] { change->Undo(document); },
                  [change, &document] { change->Redo(document); });
    if (saved) history->Stack().setClean();
}

// The document's modified flag from the history's clean state, from now on.
template <typename Document>
void FollowCleanState(UndoHistory& history, Document& document) {
    QObject::connect(&history.Stack(), &QUndoStack::cleanChanged, &history, [&document](bool clean) {
        if (clean)
            document.ClearModified();
        else
            document.MarkModified();
    });
}

}  // namespace corvane
