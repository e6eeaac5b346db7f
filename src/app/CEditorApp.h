// The program: the start dialog, then the editors in turn, then the end.
#pragma once

#include "app/CStartDlg.h"

namespace corvane {

class CEditorApp {
public:
    // Runs the start dialog to its end; the program ends when it returns.
    static void InitInstance(const EditorRunner& runEditor);

    // The real editors: a fresh skin editor (with a fresh document) or a
    // fresh splash editor for every run, destroyed when its run ends.
    static bool RunEditor(EditorKind kind);
};

}  // namespace corvane
