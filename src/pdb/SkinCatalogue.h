// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The 35 images of a skin, one table for the whole program. `Element` names
// them; its order is the order of the document's slots. Bitmap-set order is
// the order of the exported files; the resource table gives each element its
// Palm ID in the order the writer adds them and the reader looks them up.
//
// A new element is one enumerator here and one row in each of the three
// tables below; the static_asserts name any table that was forgotten.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace corvane {

enum class Element : std::uint8_t {
    Key0, Key1, Key2, Key3, Key4, Key5, Key6, Key7, Key8, Key9, KeyHash, KeyStar,
    Key0Pressed, Key1Pressed, Key2Pressed, Key3Pressed, Key4Pressed, Key5Pressed, Key6Pressed, Key7Pressed,
    Key8Pressed, Key9Pressed, KeyHashPressed, KeyStarPressed,
    DialButton, DialButtonPressed,
    SpeedDialEmpty, SpeedDialEmptyPressed, SpeedDialHighlighted, SpeedDialNormal, SpeedDialPressed,
    SpeedDialEdge, SpeedDialArrow,
    TitleBar, EventBar,
    Count
};

inline constexpr int kElementCount = static_cast<int>(Element::Count);

// The element's position in the catalogue and in the document's slot sets.
constexpr std::size_t Index(Element element) { return static_cast<std::size_t>(element); }

struct SkinElement {
    Element element;
    std::string_view name;   // base name of the element's file in a bitmap set
    std::string_view label;  // shown in the image-file prompt's title
    int width;
    int height;
};

inline constexpr std::array<SkinElement, kElementCount> kSkinElements{{
    {Element::Key0, "0", "0", 102, 46},
    {Element::Key1, "1", "1", 102, 46},
    {Element::Key2, "2", "2", 102, 46},
    {Element::Key3, "3", "3", 102, 46},
    {Element::Key4, "4", "4", 102, 46},
    {Element::Key5, "5", "5", 102, 46},
    {Element::Key6, "6", "6", 102, 46},
    {Element::Key7, "7", "7", 102, 46},
    {Element::Key8, "8", "8", 102, 46},
    {Element::Key9, "9", "9", 102, 46},
    {Element::KeyHash, "#", "#", 102, 46},
    {Element::KeyStar, "star", "Star", 102, 46},
    {Element::Key0Pressed, "0pressed", "0 pressed", 102, 46},
    {Element::Key1Pressed, "1pressed", "1 pressed", 102, 46},
    {Element::Key2Pressed, "2pressed", "2 pressed", 102, 46},
    {Element::Key3Pressed, "3pressed", "3 pressed", 102, 46},
    {Element::Key4Pressed, "4pressed", "4 pressed", 102, 46},
    {Element::Key5Pressed, "5pressed", "5 pressed", 102, 46},
    {Element::Key6Pressed, "6pressed", "6 pressed", 102, 46},
    {Element::Key7Pressed, "7pressed", "7 pressed", 102, 46},
    {Element::Key8Pressed, "8pressed", "8 pressed", 102, 46},
    {Element::Key9Pressed, "9pressed", "9 pressed", 102, 46},
    {Element::KeyHashPressed, "#pressed", "# pressed", 102, 46},
    {Element::KeyStarPressed, "starpressed", "Star pressed", 102, 46},
    {Element::DialButton, "dialbutton", "Button normal", 102, 46},
    {Element::DialButtonPressed, "dialbuttonpressed", "Button pressed", 102, 46},
    {Element::SpeedDialEmpty, "scempty", "Button empty", 156, 32},
    {Element::SpeedDialEmptyPressed, "scemptypressed", "Button empty pressed", 156, 32},
    {Element::SpeedDialHighlighted, "schighlighted", "Button highlighted", 156, 32},
    {Element::SpeedDialNormal, "scnormal", "Button normal", 156, 32},
    {Element::SpeedDialPressed, "scpressed", "Button pressed", 156, 32},
    {Element::SpeedDialEdge, "scedge", "Speed Dial Edge", 320, 8},
    {Element::SpeedDialArrow, "scarrow", "Speed Dial Arrow", 18, 10},
    {Element::TitleBar, "titlebar", "Title Bar", 320, 30},
    {Element::EventBar, "eventbar", "Event Bar", 320, 30},
}};

// In the order of an exported bitmap set.
inline constexpr std::array<Element, kElementCount> kBitmapSetOrder{
    Element::Key0, Element::Key1, Element::Key2, Element::Key3, Element::Key4, Element::Key5,
    Element::Key6, Element::Key7, Element::Key8, Element::Key9, Element::KeyStar, Element::KeyHash,
    Element::Key0Pressed, Element::Key1Pressed, Element::Key2Pressed, Element::Key3Pressed,
    Element::Key4Pressed, Element::Key5Pressed, Element::Key6Pressed, Element::Key7Pressed,
    Element::Key8Pressed, Element::Key9Pressed, Element::KeyStarPressed, Element::KeyHashPressed,
    Element::SpeedDialNormal, Element::SpeedDialEmpty, Element::SpeedDialEmptyPressed,
    Element::SpeedDialHighlighted, Element::SpeedDialPressed, Element::SpeedDialEdge, Element::SpeedDialArrow,
    Element::TitleBar, Element::EventBar, Element::DialButton, Element::DialButtonPressed,
};

struct SkinResource {
    std::uint16_t id;
    Element element;
};

// In the order the writer adds resources and the reader looks them up. The
// released keys follow the keypad ("star", "0", "#" last) and the pressed keys
// start with "0pressed"; the event bar is 9040 and the title bar 9064.
inline constexpr std::array<SkinResource, kElementCount> kSkinResourceTable{{
    {1200, Element::SpeedDialNormal},
    {1201, Element::SpeedDialPressed},
    {1202, Element::SpeedDialHighlighted},
    {1203, Element::SpeedDialEmpty},
    {1204, Element::SpeedDialEmptyPressed},
    {1301, Element::Key1},
    {1302, Element::Key2},
    {1303, Element::Key3},
    {1304, Element::Key4},
    {1305, Element::Key5},
    {1306, Element::Key6},
    {1307, Element::Key7},
    {1308, Element::Key8},
    {1309, Element::Key9},
    {1310, Element::KeyStar},
    {1311, Element::Key0},
    {1312, Element::KeyHash},
    {1320, Element::Key0Pressed},
    {1321, Element::Key1Pressed},
    {1322, Element::Key2Pressed},
    {1323, Element::Key3Pressed},
    {1324, Element::Key4Pressed},
    {1325, Element::Key5Pressed},
    {1326, Element::Key6Pressed},
    {1327, Element::Key7Pressed},
    {1328, Element::Key8Pressed},
    {1329, Element::Key9Pressed},
    {1330, Element::KeyHashPressed},
    {1331, Element::KeyStarPressed},
    {1350, Element::DialButton},
    {1351, Element::DialButtonPressed},
    {9038, Element::SpeedDialEdge},
    {9039, Element::SpeedDialArrow},
    {9040, Element::EventBar},
    {9064, Element::TitleBar},
}};

constexpr const SkinElement& ElementInfo(Element element) { return kSkinElements[Index(element)]; }

// Exact, case-sensitive match of the base name.
inline constexpr const SkinElement* ElementByName(std::string_view name) {
    for (const auto& e : kSkinElements)
        if (e.name == name) return &e;
    return nullptr;
}

// The resource ID the element is saved under.
constexpr std::uint16_t ResourceIdOf(Element element) {
    for (const auto& row : kSkinResourceTable)
        if (row.element == element) return row.id;
    return 0;
}

// Nothing for an ID that holds no element.
constexpr const SkinElement* ElementByResourceId(std::uint32_t id) {
    for (const auto& row : kSkinResourceTable)
        if (row.id == id) return &ElementInfo(row.element);
    return nullptr;
}

// The IDs a skin may hold: those of the resource table, and no other.
constexpr bool IsSupportedSkinId(std::uint32_t id) { return ElementByResourceId(id) != nullptr; }

namespace catalogue_checks {

// Row i describes element i, and names and sizes are filled in.
constexpr bool RowsFollowTheEnumeration() {
    for (std::size_t i = 0; i < kSkinElements.size(); ++i)
        if (Index(kSkinElements[i].element) != i || kSkinElements[i].name.empty() || kSkinElements[i].width <= 0 ||
            kSkinElements[i].height <= 0)
            return false;
    return true;
}

// Every element exactly once, so a new one cannot be left out.
template <typename Row, typename ElementOf>
constexpr bool EachElementOnce(const std::array<Row, kElementCount>& rows, ElementOf elementOf) {
    std::array<int, kElementCount> seen{};
    for (const auto& row : rows) {
        const std::size_t at = Index(elementOf(row));
        if (at >= seen.size() || seen[at]++ != 0) return false;
    }
    return true;
}

constexpr bool IdsAreUnique() {
    for (std::size_t i = 0; i < kSkinResourceTable.size(); ++i)
        for (std::size_t j = i + 1; j < kSkinResourceTable.size(); ++j)
            if (kSkinResourceTable[i].id == kSkinResourceTable[j].id) return false;
    return true;
}

static_assert(RowsFollowTheEnumeration(), "kSkinElements: one row per Element, in enumeration order");
static_assert(EachElementOnce(kBitmapSetOrder, [](Element e) { return e; }),
              "kBitmapSetOrder: every Element exactly once");
static_assert(EachElementOnce(kSkinResourceTable, [](const SkinResource& r) { return r.element; }),
              "kSkinResourceTable: every Element exactly once");
static_assert(IdsAreUnique(), "kSkinResourceTable: one element per resource ID");

}  // namespace catalogue_checks

}  // namespace corvane
