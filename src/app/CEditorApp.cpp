#include "app/CEditorApp.h"

#include "editor/CSkinEditorDlg.h"
#include "splash/CCarrierDlg.h"

namespace corvane {

void CEditorApp::InitInstance(const EditorRunner& runEditor) {
    CStartDlg start(runEditor);
    start.exec();
}

bool CEditorApp::RunEditor(EditorKind kind) {
    // Each run gets a new window and with it a new document; nothing outlives the run.
    if (kind == EditorKind::Skin) {
        CSkinEditorDlg editor;
        return editor.exec() == QDialog::Accepted;
    }
    CCarrierDlg editor;
    return editor.exec() == QDialog::Accepted;
}

}  // namespace corvane
