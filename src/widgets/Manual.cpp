// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/Manual.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace corvane {

QStringList ManualCandidates(const QString& programFolder) {
    const QDir folder(programFolder);
    return {QDir::cleanPath(folder.filePath("../share/doc/corvane-desktop/manual/index.html")),
            QDir::cleanPath(folder.filePath("docs/manual/index.html"))};
}

QString FindManual(const QString& programFolder) {
    for (const QString& candidate : ManualCandidates(programFolder))
        if (QFileInfo(candidate).isFile()) return candidate;
    return {};
}

void OpenManual(UserInterface& user) {
    const QString folder = QCoreApplication::applicationDirPath();
    const QString manual = FindManual(folder);
    if (manual.isEmpty()) {
        TellWithDetails(user, "The manual could not be found.",
                        ("Looked for:\n" + ManualCandidates(folder).join("\n")).toStdString(), MessageIcon::Warning);
        return;
    }
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(manual)))
        TellWithDetails(user, "The manual could not be opened in a browser.", manual.toStdString(),
                        MessageIcon::Warning);
}

}  // namespace corvane
