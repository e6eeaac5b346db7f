// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A welcome marker that exists, so that no welcome interrupts a skin editor test.
#pragma once

#include <QFile>
#include <QTemporaryDir>

#include "widgets/WelcomeMarker.h"

namespace corvane::testing {

struct NoWelcome {
    QTemporaryDir dir;
    NoWelcome() { QFile(dir.filePath("no.welcome")).open(QIODevice::WriteOnly); }
    WelcomeMarker Marker() const { return WelcomeMarker(dir.path(), dir.path()); }
};

}  // namespace corvane::testing
