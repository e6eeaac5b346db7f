// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Every window test keeps what the editor remembers (recent files, last
// folders, the welcome marker in the configuration folder) in the toolkit's
// test folders, away from the user's own settings.
#include <QStandardPaths>

namespace {

const bool kTestMode = [] {
    QStandardPaths::setTestModeEnabled(true);
    return true;
}();

}  // namespace
