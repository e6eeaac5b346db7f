// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The start dialog: the choice between the two editors, and the frame that
// alternates them. Hidden for good after the first choice.
#pragma once

#include <QDialog>
#include <functional>

namespace corvane {

enum class EditorKind { Skin, Splash };

// Runs a fresh editor of the kind modally and destroys it; true when the user
// asked for the other editor, false when they left the program.
using EditorRunner = std::function<bool(EditorKind)>;

class StartDialog : public QDialog {
    Q_OBJECT
public:
    explicit StartDialog(EditorRunner runEditor, QWidget* parent = nullptr);

    // Hides this dialog, runs the editors in turn from the first, and ends
    // this dialog's run when one of them ends the program.
    void StartEditors(EditorKind first);

private:
    EditorRunner runEditor_;
};

}  // namespace corvane
