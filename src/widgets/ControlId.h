// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The number of every window, command and control of the editors, written
// once. A menu item and a button that run the same command share its number;
// each control is named by it (its object name), which is how the window
// tests find it. Numbers repeat across windows where each window has its
// own meaning for them (1074 loads the welcome picture in the splash editor
// and opens it from the start dialog).
#pragma once

#include <QString>

namespace corvane {

enum class ControlId {
    // Buttons every dialog has: the one that accepts and the one that leaves.
    Accept = 1,
    Exit = 2,

    // Windows.
    AboutDialog = 100,
    SkinEditor = 102,
    ColourChooser = 157,
    StartDialog = 163,
    SplashEditor = 164,
    WelcomeDialog = 174,

    // The File, Import/Export and ? menus, and the buttons that repeat them.
    Reset = 57600,
    Open = 57601,
    Save = 57603,
    SaveAs = 32779,
    ImportBitmaps = 32780,
    ExportBitmaps = 32781,
    About = 32784,
    ExportPreview = 32787,
    InsertBackground = 32796,
    ImportDialpad = 32797,
    ExportDialpad = 32798,
    ExportLayered = 32810,
    ImportLayered = 32811,

    // The skin editor.
    ReleasedPreview = 1001,
    EditSpeedDial = 1002,
    EditKeypadButtons = 1003,
    EditKeypadText = 1004,
    PressedPreview = 1005,
    EditTitleBars = 1006,
    EightBits = 1071,
    SixteenBits = 1072,

    // The colour chooser.
    ChooserPicture = 1008,
    ChosenColour = 1009,

    // The splash editor.
    LoadWelcome = 1074,
    LoadGoodbye = 1075,
    SaveWelcome = 1076,
    SaveGoodbye = 1077,
    WelcomeSource = 1081,
    GoodbyeSource = 1082,

    // The start dialog.
    StartSkins = 1073,
    StartSplash = 1074,

    // The welcome dialog.
    DoNotShowAgain = 1082,
};

inline QString ObjectName(ControlId id) { return QString::number(static_cast<int>(id)); }

}  // namespace corvane
