// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A window test fails on any prompt its script did not expect: a surprise
// dialog is a fault, not a warning to scroll past.
#pragma once

#include <QTest>
#include <string>

#include "support/ScriptedUser.h"

namespace corvane::testing {

inline void FailOnUnexpectedPrompts() {
    ScriptedUser::onUnexpected = [](const std::string& what) { QTest::qFail(what.c_str(), __FILE__, __LINE__); };
}

}  // namespace corvane::testing
