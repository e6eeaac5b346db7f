// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The welcome dialog, shown before each skin editor window until the user
// ticks "Do not show this message again" and confirms with OK.
#pragma once

#include <QDialog>

class QCheckBox;

namespace corvane {

class WelcomeMarker;

class WelcomeDialog : public QDialog {
    Q_OBJECT
public:
    explicit WelcomeDialog(QWidget* parent = nullptr);

    // Takes the check box's state only when closed with OK; Esc and the
    // close box leave it false.
    bool doNotShowAgain = false;

    void accept() override;

private:
    QCheckBox* checkBox_;
};

// Shows the welcome unless the marker exists; creates the marker when the
// user asked not to see it again.
void ShowWelcomeIfWanted(const WelcomeMarker& marker, QWidget* parent = nullptr);

}  // namespace corvane
