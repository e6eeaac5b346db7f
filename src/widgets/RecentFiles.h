// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// What the editor remembers between runs, in the user's settings: the files
// last opened or saved, one list for each kind of file.
#pragma once

#include <QString>
#include <QStringList>

namespace corvane {

// The settings file of the editor, ~/.config/Corvane/corvane-desktop.conf.
inline constexpr const char* kSettingsOrganisation = "Corvane";
inline constexpr const char* kSettingsApplication = "corvane-desktop";

class RecentFiles {
public:
    static constexpr int kMaxFiles = 8;

    // kind: the settings key of the list, e.g. "recent/skins".
    explicit RecentFiles(QString kind) : kind_(std::move(kind)) {}

    // Most recent first.
    QStringList Files() const;
    // Puts the path in front, once, dropping what falls off the end.
    void Add(const QString& path) const;
    void Remove(const QString& path) const;
    void Clear() const;

private:
    QString kind_;
};

}  // namespace corvane
