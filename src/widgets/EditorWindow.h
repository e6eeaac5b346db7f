// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// What the two editor windows share: a dialog with a menu bar above a client
// area laid out in dialog units, commands shared by buttons and menu items,
// and the title rule "NAME[*] - Corvane Desktop for Treo 650/700p". A .pdb
// file dropped on the window, or chosen under "Open &Recent", is handed to
// the editor's OpenPath.
#pragma once

#include <QAction>
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <functional>
#include <memory>
#include <string>

#include "model/UserInterface.h"
#include "widgets/ControlId.h"

namespace corvane {

class EditorWindow : public QDialog {
    Q_OBJECT
public:
    // user: who answers the window's questions; nullptr for real Qt dialogs.
    EditorWindow(UserInterface* user, ControlId window, int widthDlu, int heightDlu);

    // The client area below the menu bar, where controls are placed. Where
    // the screen is smaller than the window it scrolls.
    QWidget* Client() const { return client_; }
    // Below the client area: where the pointer is, and what the last command did.
    QStatusBar* Status() const { return status_; }
    // The result of a command, shown for a few seconds.
    void ShowResult(const QString& text);
    // Where the pointer is and the colour under it; empty when it is over no picture.
    void ShowPointer(const QString& text);
    UserInterface& User() { return *user_; }

    // The window title for a document: the file name behind the last folder
    // separator, "*" when modified, then the program's suffix.
    static QString TitleFor(const std::string& filePath, bool modified);

    // Opens the file as Open does after its file prompt, asking first about
    // unsaved changes.
    virtual void OpenPath(const std::string& path) = 0;
    // OpenPath once the window has shown, so that its messages have a window to sit on.
    void OpenWhenShown(std::string path) { openWhenShown_ = std::move(path); }

protected:
    QPushButton* AddButton(const char* text, ControlId id, int x, int y, int w, int h);
    // A text "NAME\tKEY" gives the item NAME with the shortcut KEY.
    QAction* AddAction(QMenu* menu, const char* text, ControlId id);
    // "E&xit\tEsc": Ctrl+Q leaves as Esc does.
    QAction* AddExitAction(QMenu* menu);
    // "&?": "Corvane Desktop &Manual" (F1), then "&About Corvane Desktop".
    void AddHelpMenu();
    // Fits the window to the screen once its controls are placed.
    void FitClientToScreen();
    // "Open &Recent": the files last opened or saved in this kind of editor.
    void AddRecentMenu(QMenu* menu, const QString& kind);
    void RememberRecent(const std::string& path);
    QMenu* AddMenu(const char* title) { return menuBar_->addMenu(title); }
    void ShowWarning(const std::string& text);

    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<UserInterface> ownUser_;
    UserInterface* user_;
    QMenuBar* menuBar_;
    QWidget* client_;
    QStatusBar* status_;
    QLabel* pointer_;
    QString recentKind_;
    std::string openWhenShown_;
};

}  // namespace corvane
