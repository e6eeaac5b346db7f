// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The user manual: HTML pages installed with the editor, opened in the
// system's browser from "Corvane Desktop &Manual" (F1).
#pragma once

#include <QString>
#include <QStringList>

#include "model/UserInterface.h"

namespace corvane {

// Where the manual's first page may be, in the order they are tried: where
// the package installs it beside the program's folder, then beside the
// program itself (a build).
QStringList ManualCandidates(const QString& programFolder);

// The first candidate that exists; empty when none does.
QString FindManual(const QString& programFolder);

// Opens the manual in the system's browser; says why when it cannot.
void OpenManual(UserInterface& user);

}  // namespace corvane
