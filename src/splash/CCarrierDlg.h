// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The splash editor: a welcome and a goodbye JPEG, the splash file they
// make, and the way back to the skin editor. Both pictures are shown beside
// their labels as the phone will show them.
#pragma once

#include <QLabel>

#include "model/SplashDocument.h"
#include "model/SplashChange.h"
#include "model/SplashFile.h"
#include "widgets/DocumentHistory.h"
#include "widgets/EditorWindow.h"

namespace corvane {

class SplashHistory : public DocumentHistory<SplashDocument, SplashChange> {
public:
    using DocumentHistory::DocumentHistory;
};

class CCarrierDlg : public EditorWindow {
    Q_OBJECT
public:
    explicit CCarrierDlg(UserInterface* user = nullptr);

    const SplashDocument& Splash() const { return splash_; }
    SplashHistory& History() { return *history_; }

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
    void SaveImage(std::uint16_t id, const char* missingMessage);
    void OpenSplash();
    void ShowOpened(SplashReadOutcome outcome);
    void ShowPicture(QLabel* picture, const std::vector<std::uint8_t>& jpeg);
    void SaveSplashFile(bool saveAs);
    SplashSaveOutcome ShowSaved(SplashSaveOutcome outcome);
    void Leave(std::string_view question, int result);

    SplashDocument splash_;
    SplashHistory* history_;
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
