// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Texts both editors show, each written once.
#pragma once

#include <string>
#include <string_view>

#include "io/PathNames.h"

namespace corvane {

// The name of a document that was never opened or saved; saving it asks for a name.
inline constexpr std::string_view kUntitledPath = "untitled.pdb";

// The program's own name: the start dialog's and the splash editor's title, and
// the caption of the messages that name the program rather than their window.
inline constexpr std::string_view kProgramCaption = "Corvane Desktop";

// An editor window's title: the file's name, "*" while it has unsaved changes, and the program.
inline std::string WindowTitle(std::string_view filePath, bool modified) {
    return LastPathComponent(filePath) + (modified ? "*" : "") + " - Corvane Desktop for Treo 650/700p";
}

}  // namespace corvane
