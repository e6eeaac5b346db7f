// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Every test program reads picture files as the editor and the tool do:
// through the toolkit's reader. A test that needs another installs a fake.
#include "platform/QtPictureReader.h"

namespace {

const bool kInstalled = [] {
    corvane::QtPictureReader::Install();
    return true;
}();

}  // namespace
