// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The splash editor: a welcome and a goodbye JPEG, the splash file they
// make, and the way back to the skin editor. Both pictures are shown beside
// their labels as the phone will show them.
#pragma once

#include <QLabel>

#include "model/SplashSession.h"
#include "widgets/EditorWindow.h"

namespace corvane {

class UndoHistory;

class SplashEditorWindow : public EditorWindow {
    Q_OBJECT
public:
    explicit SplashEditorWindow(UserInterface* user = nullptr);
    ~SplashEditorWindow() override;

    SplashSession& Session() { return session_; }
    const SplashDocument& Splash() const { return session_.Document(); }
    UndoHistory& History() { return *history_; }

    // Title, the two source labels and the availability of the save commands, from the splash.
    void RefreshSplashWindow();

    // "&Work on Phone Application Skins": leave for the skin editor.
    void accept() override;
    // "Exit", "E&xit\tEsc", Esc and the close box: leave the program.
    void reject() override;

    void OpenPath(const std::string& path) override;

private:
    void LoadImage(std::uint16_t id);
    void ShowSource(QLabel* label, std::uint16_t id);
    void SaveImage(std::uint16_t id);
    void OpenSplash();
    void ShowOpened(SplashReadOutcome outcome);
    void ShowPicture(QLabel* picture, const std::vector<std::uint8_t>& jpeg);
    void SaveSplashFile(bool saveAs);
    void ShowSaved(SplashSaveOutcome outcome);
    void Leave(Leaving why, int result);

    SplashSession session_;
    // After the session, so that it goes first: it stops listening to the session.
    std::unique_ptr<UndoHistory> history_;
    QLabel* welcomeLabel_;
    QLabel* goodbyeLabel_;
    QLabel* welcomePicture_;
    QLabel* goodbyePicture_;
    QPushButton* saveWelcome_;
    QPushButton* saveGoodbye_;
    QPushButton* saveSplash_;
    QAction* saveAction_;
    QAction* saveAsAction_;
};

}  // namespace corvane
