// The four element editors as data: which elements each shows, under which
// caption, and the command IDs of each element's picture, "Load Image" and
// "Transparent Color" controls. One generic window walks these tables, so a
// new row here is all a new element needs.
#pragma once

#include <array>
#include <span>
#include <string_view>

namespace corvane {

struct ElementRow {
    int element;               // index into the skin catalogue
    std::string_view caption;  // the group box the element sits in
    int picture;
    int load;
    int transparent;
};

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
    int shareSource;
    std::span<const int> shareTargets;
};

inline constexpr int kShareButtonId = 1068;

inline constexpr std::array<ElementRow, 2> kKeypadButtonRows{{
    {24, "Button normal", 1013, 1023, 1027},
    {25, "Button pressed", 1020, 1024, 1028},
}};
inline constexpr std::array<int, 1> kKeypadButtonShare{25};

// In keypad order, each key's normal label before its pressed one.
inline constexpr std::array<ElementRow, 24> kKeypadTextRows{{
    {1, "1", 1032, 1037, 1061},     {13, "1", 1053, 1080, 1081},
    {2, "2", 1033, 1038, 1062},     {14, "2", 1069, 1087, 1088},
    {3, "3", 1034, 1039, 1063},     {15, "3", 1070, 1089, 1090},
    {4, "4", 1035, 1040, 1064},     {16, "4", 1071, 1091, 1092},
    {5, "5", 1041, 1042, 1065},     {17, "5", 1072, 1093, 1094},
    {6, "6", 1043, 1044, 1066},     {18, "6", 1073, 1095, 1096},
    {7, "7", 1045, 1046, 1059},     {19, "7", 1074, 1097, 1098},
    {8, "8", 1047, 1048, 1060},     {20, "8", 1075, 1099, 1100},
    {9, "9", 1049, 1050, 1067},     {21, "9", 1076, 1101, 1102},
    {11, "Star", 1051, 1052, 1056}, {23, "Star", 1077, 1103, 1104},
    {0, "0", 1031, 1036, 1057},     {12, "0", 1078, 1105, 1106},
    {10, "#", 1054, 1055, 1058},    {22, "#", 1079, 1107, 1108},
}};
inline constexpr std::array<int, 23> kKeypadTextShare{1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12,
                                                      13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23};

inline constexpr std::array<ElementRow, 7> kSpeedDialRows{{
    {29, "Button normal", 1007, 1005, 1006},
    {30, "Button pressed", 1008, 1009, 1010},
    {26, "Button empty", 1014, 1015, 1016},
    {27, "Button empty pressed", 1017, 1018, 1019},
    {28, "Button selected", 1020, 1021, 1022},
    {32, "Speed Dial Arrow", 1026, 1027, 1028},
    {31, "Speed Dial Edge", 1023, 1024, 1025},
}};
inline constexpr std::array<int, 6> kSpeedDialShare{30, 26, 27, 28, 31, 32};

inline constexpr std::array<ElementRow, 2> kTitleRows{{
    {33, "Title Bar", 1078, 1079, 1080},
    {34, "Event bar", 1081, 1082, 1083},
}};

inline constexpr ElementDialogTable kKeypadButtonsTable{
    1003, 158, "Edit Keypad Buttons", ElementLayout::SideBySide, kKeypadButtonRows,
    "Choose Transparent Color for both Images", 24, kKeypadButtonShare};
inline constexpr ElementDialogTable kKeypadTextTable{
    1004, 159, "Edit Keypad Text", ElementLayout::Keypad, kKeypadTextRows,
    "Choose Transparent Color for all Images", 0, kKeypadTextShare};
inline constexpr ElementDialogTable kSpeedDialTable{
    1002, 156, "Edit Speed Dial Buttons", ElementLayout::Stacked, kSpeedDialRows,
    "Choose Transparent Color for all Images", 29, kSpeedDialShare};
inline constexpr ElementDialogTable kTitleTable{
    1006, 173, "Edit Title and Event Bar", ElementLayout::StackedWide, kTitleRows, {}, -1, {}};

}  // namespace corvane
