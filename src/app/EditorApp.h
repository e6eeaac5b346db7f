// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The program: the start dialog, then the editors in turn, then the end.
#pragma once

#include <string>

#include "app/StartDialog.h"

namespace corvane {

// Runs the start dialog to its end; the program ends when it returns.
void RunStartDialog(const EditorRunner& runEditor);
// A file named on the command line: no start dialog, the editor its
// database type names opens it, and the editors then alternate as usual.
void StartWithFile(const std::string& file);
// The real editors: a fresh skin editor (with a fresh document) or a
// fresh splash editor for every run, destroyed when its run ends; the
// file, if any, opened as soon as the window shows.
bool RunEditor(EditorKind kind, const std::string& file = {});
// The editor for a file: splash files by their type, everything else,
// unreadable files too, in the skin editor, which says what is wrong.
EditorKind EditorKindForFile(const std::string& file);

}  // namespace corvane
