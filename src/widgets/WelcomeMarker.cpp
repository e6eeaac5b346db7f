// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "widgets/WelcomeMarker.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace corvane {
namespace {

bool CreateEmpty(const QString& folder) {
    if (folder.isEmpty() || !QDir().mkpath(folder)) return false;
    QFile file(QDir(folder).filePath(WelcomeMarker::kFileName));
    if (!file.open(QIODevice::WriteOnly)) return false;
    file.close();
    return true;
}

bool Readable(const QString& folder) {
    if (folder.isEmpty()) return false;
    QFile file(QDir(folder).filePath(WelcomeMarker::kFileName));
    return file.open(QIODevice::ReadOnly);
}

}  // namespace

WelcomeMarker WelcomeMarker::ForThisProgram() {
    return WelcomeMarker(QCoreApplication::applicationDirPath(),
                         QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation));
}

bool WelcomeMarker::Exists() const { return Readable(programFolder_) || Readable(configFolder_); }

void WelcomeMarker::Create() const {
    if (!CreateEmpty(programFolder_)) CreateEmpty(configFolder_);
}

}  // namespace corvane
