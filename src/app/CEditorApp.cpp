// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/CEditorApp.h"

#include <utility>

#include "editor/CSkinEditorDlg.h"
#include "io/FileAccess.h"
#include "pdb/DatabaseKind.h"
#include "splash/CCarrierDlg.h"

namespace corvane {

void CEditorApp::InitInstance(const EditorRunner& runEditor) {
    CStartDlg start(runEditor);
    start.exec();
}

void CEditorApp::InitInstanceWithFile(const std::string& file) {
    bool first = true;
    CStartDlg start([&](EditorKind kind) { return RunEditor(kind, std::exchange(first, false) ? file : std::string()); });
    start.StartEditors(EditorKindForFile(file));
}

bool CEditorApp::RunEditor(EditorKind kind, const std::string& file) {
    // Each run gets a new window and with it a new document; nothing outlives the run.
    if (kind == EditorKind::Skin) {
        CSkinEditorDlg editor;
        if (!file.empty()) editor.OpenWhenShown(file);
        return editor.exec() == QDialog::Accepted;
    }
    CCarrierDlg editor;
    if (!file.empty()) editor.OpenWhenShown(file);
    return editor.exec() == QDialog::Accepted;
}

EditorKind CEditorApp::EditorKindForFile(const std::string& file) {
    const FileRead read = ReadFileAtMost(file, kDatabaseFileLimit);
    return read.Ok() && KindOfDatabase(read.bytes) == DatabaseKind::Splash ? EditorKind::Splash : EditorKind::Skin;
}

}  // namespace corvane
