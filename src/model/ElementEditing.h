// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// What the element editors do to a skin: load a picture file into both of an
// element's slots, and hand one element's transparent colour to others. The
// editors' windows only show pictures and forward their buttons here.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "pdb/SkinCatalogue.h"

namespace corvane {

class SkinDocument;
class UserInterface;

enum class ElementLoadOutcome { Cancelled, Loaded, Failed };
const char* Name(ElementLoadOutcome outcome);

inline constexpr std::string_view kErrorLoadingBitmap = "Error loading bitmap.";

// "Load Image": asks for a picture file titled after the element's label,
// then loads it as LoadElementImageFile does. Cancelled changes nothing.
ElementLoadOutcome LoadElementImage(SkinDocument& document, UserInterface& user, Element element);

// Loads the file into the element's 8-bit slot, then into its 16-bit slot;
// the second load is tried even when the first failed, and a slot that loaded
// keeps its new picture. Only when both loaded is the skin marked modified;
// otherwise the user is warned "Error loading bitmap.".
ElementLoadOutcome LoadElementImageFile(SkinDocument& document, UserInterface& user, Element element,
                                        const std::string& path);

// Gives the current-depth slots of `to` the transparent colour of the
// current-depth slot of `from`. The other depth and the pictures stay as they are.
void ShareTransparentColour(SkinDocument& document, Element from, std::span<const Element> to);

}  // namespace corvane
