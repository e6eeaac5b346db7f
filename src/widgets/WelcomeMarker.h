// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The "no.welcome" marker that turns the welcome dialog off. An installed
// program usually cannot write beside itself, so the marker is looked for
// beside the program and in the user's configuration folder, and created
// beside the program or, where that fails, in the configuration folder.
#pragma once

#include <QString>

namespace corvane {

class WelcomeMarker {
public:
    WelcomeMarker(QString programFolder, QString configFolder)
        : programFolder_(std::move(programFolder)), configFolder_(std::move(configFolder)) {}

    // Beside this program and in its AppConfigLocation.
    static WelcomeMarker ForThisProgram();

    bool Exists() const;
    // Failures are not reported: the welcome simply shows again next time.
    void Create() const;

    static constexpr const char* kFileName = "no.welcome";

private:
    QString programFolder_;
    QString configFolder_;
};

}  // namespace corvane
