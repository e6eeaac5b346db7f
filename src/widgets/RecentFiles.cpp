// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/RecentFiles.h"

#include <QSettings>

namespace corvane {

QStringList RecentFiles::Files() const {
    const QSettings settings(kSettingsOrganisation, kSettingsApplication);
    return settings.value(kind_).toStringList().mid(0, kMaxFiles);
}

void RecentFiles::Add(const QString& path) const {
    QStringList files = Files();
    files.removeAll(path);
    files.prepend(path);
    QSettings settings(kSettingsOrganisation, kSettingsApplication);
    settings.setValue(kind_, files.mid(0, kMaxFiles));
}

void RecentFiles::Remove(const QString& path) const {
    QStringList files = Files();
    files.removeAll(path);
    QSettings settings(kSettingsOrganisation, kSettingsApplication);
    settings.setValue(kind_, files);
}

void RecentFiles::Clear() const {
    QSettings settings(kSettingsOrganisation, kSettingsApplication);
    settings.remove(kind_);
}

}  // namespace corvane
