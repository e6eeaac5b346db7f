// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The four element editors as data: which elements each shows, under which
// caption, and the command IDs of each element's picture, "Load Image" and
// "Transparent Color" controls. One generic window walks these tables, so a
// new row here is all a new element needs.
#pragma once

#include <array>
#include <span>
#include <string_view>

#include "pdb/SkinCatalogue.h"

namespace corvane {

struct ElementRow {
    Element element;
    int picture;
    int load;
    int transparent;
    // The group box's caption where the editor shows another text than the
    // element's label; a keypad group takes its released label's.
    std::string_view captionOverride = {};
};

constexpr std::string_view Caption(const ElementRow& row) {
    return row.captionOverride.empty() ? ElementInfo(row.element).label : row.captionOverride;
}

enum class ElementLayout {
    SideBySide,  // one group per element, in a row
    Keypad,      // groups of a normal and a pressed label, three to a row
    Stacked,     // one group per element, picture left, buttons right
    StackedWide, // one group per element, buttons below a wide picture
};

struct ElementDialogTable {
    int command;  // of the main window's button that opens the editor
    int resource;
    std::string_view title;
    ElementLayout layout;
    std::span<const ElementRow> rows;
    // Button 1068 runs the chooser on `shareSource`, then hands its colour to
    // `shareTargets`; the editor has no such button when the text is empty.
    std::string_view shareText;
    Element shareSource;
    std::span<const Element> shareTargets;
};

inline constexpr int kShareButtonId = 1068;

inline constexpr std::array<ElementRow, 2> kKeypadButtonRows{{
    {Element::DialButton, 1013, 1023, 1027},
    {Element::DialButtonPressed, 1020, 1024, 1028},
}};
inline constexpr std::array<Element, 1> kKeypadButtonShare{Element::DialButtonPressed};

// In keypad order, each key's normal label before its pressed one.
inline constexpr std::array<ElementRow, 24> kKeypadTextRows{{
    {Element::Key1, 1032, 1037, 1061},    {Element::Key1Pressed, 1053, 1080, 1081},
    {Element::Key2, 1033, 1038, 1062},    {Element::Key2Pressed, 1069, 1087, 1088},
    {Element::Key3, 1034, 1039, 1063},    {Element::Key3Pressed, 1070, 1089, 1090},
    {Element::Key4, 1035, 1040, 1064},    {Element::Key4Pressed, 1071, 1091, 1092},
    {Element::Key5, 1041, 1042, 1065},    {Element::Key5Pressed, 1072, 1093, 1094},
    {Element::Key6, 1043, 1044, 1066},    {Element::Key6Pressed, 1073, 1095, 1096},
    {Element::Key7, 1045, 1046, 1059},    {Element::Key7Pressed, 1074, 1097, 1098},
    {Element::Key8, 1047, 1048, 1060},    {Element::Key8Pressed, 1075, 1099, 1100},
    {Element::Key9, 1049, 1050, 1067},    {Element::Key9Pressed, 1076, 1101, 1102},
    {Element::KeyStar, 1051, 1052, 1056}, {Element::KeyStarPressed, 1077, 1103, 1104},
    {Element::Key0, 1031, 1036, 1057},    {Element::Key0Pressed, 1078, 1105, 1106},
    {Element::KeyHash, 1054, 1055, 1058}, {Element::KeyHashPressed, 1079, 1107, 1108},
}};
// Every key label but "0", which gives its colour.
inline constexpr std::array<Element, 23> kKeypadTextShare{
    Element::Key1,        Element::Key2,        Element::Key3,          Element::Key4,        Element::Key5,
    Element::Key6,        Element::Key7,        Element::Key8,          Element::Key9,        Element::KeyHash,
    Element::KeyStar,     Element::Key0Pressed, Element::Key1Pressed,   Element::Key2Pressed, Element::Key3Pressed,
    Element::Key4Pressed, Element::Key5Pressed, Element::Key6Pressed,   Element::Key7Pressed, Element::Key8Pressed,
    Element::Key9Pressed, Element::KeyHashPressed, Element::KeyStarPressed,
};

inline constexpr std::array<ElementRow, 7> kSpeedDialRows{{
    {Element::SpeedDialNormal, 1007, 1005, 1006},
    {Element::SpeedDialPressed, 1008, 1009, 1010},
    {Element::SpeedDialEmpty, 1014, 1015, 1016},
    {Element::SpeedDialEmptyPressed, 1017, 1018, 1019},
    {Element::SpeedDialHighlighted, 1020, 1021, 1022, "Button selected"},
    {Element::SpeedDialArrow, 1026, 1027, 1028},
    {Element::SpeedDialEdge, 1023, 1024, 1025},
}};
inline constexpr std::array<Element, 6> kSpeedDialShare{
    Element::SpeedDialPressed,     Element::SpeedDialEmpty, Element::SpeedDialEmptyPressed,
    Element::SpeedDialHighlighted, Element::SpeedDialEdge,  Element::SpeedDialArrow,
};

inline constexpr std::array<ElementRow, 2> kTitleRows{{
    {Element::TitleBar, 1078, 1079, 1080},
    {Element::EventBar, 1081, 1082, 1083, "Event bar"},
}};

inline constexpr ElementDialogTable kKeypadButtonsTable{
    1003, 158, "Edit Keypad Buttons", ElementLayout::SideBySide, kKeypadButtonRows,
    "Choose Transparent Color for both Images", Element::DialButton, kKeypadButtonShare};
inline constexpr ElementDialogTable kKeypadTextTable{
    1004, 159, "Edit Keypad Text", ElementLayout::Keypad, kKeypadTextRows,
    "Choose Transparent Color for all Images", Element::Key0, kKeypadTextShare};
inline constexpr ElementDialogTable kSpeedDialTable{
    1002, 156, "Edit Speed Dial Buttons", ElementLayout::Stacked, kSpeedDialRows,
    "Choose Transparent Color for all Images", Element::SpeedDialNormal, kSpeedDialShare};
inline constexpr ElementDialogTable kTitleTable{
    1006, 173, "Edit Title and Event Bar", ElementLayout::StackedWide, kTitleRows, {}, Element::TitleBar, {}};

}  // namespace corvane
