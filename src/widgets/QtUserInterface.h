// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The user, answered with real Qt dialogs.
#pragma once

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

#include "model/UserInterface.h"

namespace corvane {

class QtUserInterface : public UserInterface {
public:
    // Messages and prompts marked as owned by a window are parented to owner.
    explicit QtUserInterface(QWidget* owner = nullptr) : owner_(owner) {}

    std::string ApplicationName() const override;
    Answer ShowMessage(const Message& message) override;
    std::optional<std::string> AskOpenFile(const FilePrompt& prompt) override;
    std::optional<std::string> AskSaveFile(const FilePrompt& prompt) override;
    std::optional<std::string> AskFolder(const std::string& title) override;

private:
    // The window's own boxes sit on whatever dialog of it is open at the time
    // (an element editor, say), as that dialog is the one the user works in.
    QWidget* OwnerFor(bool owned) const;
    QPointer<QWidget> owner_;
};

// "Skin File (*.pdb)|*.pdb|All files (*.*)|*.*||" as Qt name filters. On this
// platform "*.*" would hide files without an extension, so it becomes "*".
QStringList QtNameFilters(const std::string& filter);

// "Corvane Desktop", for window titles.
QString ProgramCaptionText();

}  // namespace corvane
