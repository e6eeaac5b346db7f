// The 35 images of a skin, one table for the whole program. Index order is
// the order of the document's slots; bitmap-set order is the order of the
// exported files; the resource table gives each element its Palm ID in the
// order the writer adds them and the reader looks them up.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace corvane {

struct SkinElement {
    int index;
    std::string_view name;   // base name of the element's file in a bitmap set
    std::string_view label;  // shown in the image-file prompt's title
    int width;
    int height;
};

inline constexpr int kElementCount = 35;

inline constexpr std::array<SkinElement, kElementCount> kSkinElements{{
    {0, "0", "0", 102, 46},
    {1, "1", "1", 102, 46},
    {2, "2", "2", 102, 46},
    {3, "3", "3", 102, 46},
    {4, "4", "4", 102, 46},
    {5, "5", "5", 102, 46},
    {6, "6", "6", 102, 46},
    {7, "7", "7", 102, 46},
    {8, "8", "8", 102, 46},
    {9, "9", "9", 102, 46},
    {10, "#", "#", 102, 46},
    {11, "star", "Star", 102, 46},
    {12, "0pressed", "0 pressed", 102, 46},
    {13, "1pressed", "1 pressed", 102, 46},
    {14, "2pressed", "2 pressed", 102, 46},
    {15, "3pressed", "3 pressed", 102, 46},
    {16, "4pressed", "4 pressed", 102, 46},
    {17, "5pressed", "5 pressed", 102, 46},
    {18, "6pressed", "6 pressed", 102, 46},
    {19, "7pressed", "7 pressed", 102, 46},
    {20, "8pressed", "8 pressed", 102, 46},
    {21, "9pressed", "9 pressed", 102, 46},
    {22, "#pressed", "# pressed", 102, 46},
    {23, "starpressed", "Star pressed", 102, 46},
    {24, "dialbutton", "Button normal", 102, 46},
    {25, "dialbuttonpressed", "Button pressed", 102, 46},
    {26, "scempty", "Button empty", 156, 32},
    {27, "scemptypressed", "Button empty pressed", 156, 32},
    {28, "schighlighted", "Button highlighted", 156, 32},
    {29, "scnormal", "Button normal", 156, 32},
    {30, "scpressed", "Button pressed", 156, 32},
    {31, "scedge", "Speed Dial Edge", 320, 8},
    {32, "scarrow", "Speed Dial Arrow", 18, 10},
    {33, "titlebar", "Title Bar", 320, 30},
    {34, "eventbar", "Event Bar", 320, 30},
}};

// Element indexes in the order of an exported bitmap set.
inline constexpr std::array<int, kElementCount> kBitmapSetOrder{
    0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  11, 10,  // "0".."9", "star", "#"
    12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 23, 22,  // pressed labels, "starpressed", "#pressed"
    29, 26, 27, 28, 30, 31, 32, 33, 34, 24, 25,      // scnormal .. eventbar, dialbutton, dialbuttonpressed
};

struct SkinResource {
    std::uint16_t id;
    int element;  // index into kSkinElements
};

// In the order the writer adds resources and the reader looks them up.
inline constexpr std::array<SkinResource, kElementCount> kSkinResourceTable{{
    {1200, 29}, {1201, 30}, {1202, 28}, {1203, 26}, {1204, 27},                          // speed dial
    {1301, 1},  {1302, 2},  {1303, 3},  {1304, 4},  {1305, 5},  {1306, 6},  {1307, 7},   // "1".."7"
    {1308, 8},  {1309, 9},  {1310, 11}, {1311, 0},  {1312, 10},                          // "8","9","star","0","#"
    {1320, 12}, {1321, 13}, {1322, 14}, {1323, 15}, {1324, 16}, {1325, 17}, {1326, 18},  // "0pressed".."6pressed"
    {1327, 19}, {1328, 20}, {1329, 21}, {1330, 22}, {1331, 23},                          // .., "#pressed","starpressed"
    {1350, 24}, {1351, 25},                                                              // dial buttons
    {9038, 31}, {9039, 32}, {9040, 34}, {9064, 33},                                      // edge, arrow, eventbar, titlebar
}};

inline constexpr const SkinElement* ElementByIndex(int index) {
    return index >= 0 && index < kElementCount ? &kSkinElements[static_cast<std::size_t>(index)] : nullptr;
}

// Exact, case-sensitive match of the base name.
inline constexpr const SkinElement* ElementByName(std::string_view name) {
    for (const auto& e : kSkinElements)
        if (e.name == name) return &e;
    return nullptr;
}

// The IDs a skin may hold: 1200-1204, 1301-1312, 1320-1331, 1350-1351, 9038-9040, 9064.
inline constexpr bool IsSupportedSkinId(std::uint32_t id) {
    return (id >= 1200 && id <= 1204) || (id >= 1301 && id <= 1312) || (id >= 1320 && id <= 1331) ||
           (id >= 1350 && id <= 1351) || (id >= 9038 && id <= 9040) || id == 9064;
}

}  // namespace corvane
