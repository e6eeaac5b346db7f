// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/EditorApp.h"

#include <utility>

#include "editor/SkinEditorWindow.h"
#include "io/FileAccess.h"
#include "pdb/DatabaseKind.h"
#include "splash/SplashEditorWindow.h"

namespace corvane {

void RunStartDialog(const EditorRunner& runEditor) {
    StartDialog start(runEditor);
    start.exec();
}

void StartWithFile(const std::string& file) {
    bool first = true;
    StartDialog start([&](EditorKind kind) { return RunEditor(kind, std::exchange(first, false) ? file : std::string()); });
    start.StartEditors(EditorKindForFile(file));
}

bool RunEditor(EditorKind kind, const std::string& file) {
    // Each run gets a new window and with it a new document; nothing outlives the run.
    if (kind == EditorKind::Skin) {
        SkinEditorWindow editor;
        if (!file.empty()) editor.OpenWhenShown(file);
        return editor.exec() == QDialog::Accepted;
    }
    SplashEditorWindow editor;
    if (!file.empty()) editor.OpenWhenShown(file);
    return editor.exec() == QDialog::Accepted;
}

EditorKind EditorKindForFile(const std::string& file) {
    return OpensInSplashEditor(file) ? EditorKind::Splash : EditorKind::Skin;
}

}  // namespace corvane
