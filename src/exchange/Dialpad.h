// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The previews and the dial pad as pictures: Export Preview, Export Dialpad
// Bitmaps, Insert Background Image and Import Dialpad Bitmaps.
//
// The dial pad is the keypad grid of the dial screen (see DialScreen.h), cut
// out of a preview: its cells sit at (102 c, 46 r) of a dial-pad picture,
// 306 x 184 in all, the pressed keys alike.
//
// A dial-pad picture exported from the previews imports back into the same
// cells. Once the key pictures carry the button faces, both dial buttons are
// made white and see-through, so the phone draws no second face under them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "exchange/BitmapSet.h"
#include "imaging/Image.h"
#include "model/DialScreen.h"

namespace corvane {

class SkinDocument;
class UserInterface;

inline constexpr int kDialpadLeft = kKeypadLeft;
inline constexpr int kDialpadTop = kKeypadTop;
inline constexpr int kDialpadWidth = kKeyColumns * kKeyCellWidth;
inline constexpr int kDialpadHeight = kKeyRows * kKeyCellHeight;

inline constexpr std::string_view kBackupWarning =
    "This function will modify all of the loaded images. Please make sure to have a backup available. For details "
    "and instructions on this functionality, please refer to the manual.";

// The 306 x 184 dial-pad rectangle of a preview canvas.
Image DialpadOfPreview(const Image& canvas);

// What Export Preview writes: the skin's base name (NameCut::AtFirstDot) + "-preview", the released canvas as last composed.
std::vector<NamedPicture> PreviewPictures(const SkinDocument& document);
// What Export Dialpad Bitmaps writes: the dial pads of the released and the
// pressed canvas as "-dial-unpressed" and "-dial-pressed".
std::vector<NamedPicture> DialpadPictures(const SkinDocument& document);

// Export Preview and Export Dialpad Bitmaps: ask for a folder and write the
// pictures above with the overwrite question, all of them attempted; one
// warning when any could not be written. Change nothing in the document.
ExportOutcome ExportPreview(const SkinDocument& document, UserInterface& user);
ExportOutcome ExportDialpadBitmaps(const SkinDocument& document, UserInterface& user);

// Draws the 16-bit set's dial buttons and then its key labels, each with its
// own transparent colour, onto the grid of both pictures: the released ones
// onto released, the pressed ones onto pressed. Clipped at the pictures' edges.
void ComposeDialpad(Image& released, Image& pressed, const SkinDocument& document);

// Cuts the 24 key pictures out of the grid of both pictures into both sets,
// each slot keeping its transparent colour reduced for its depth (with the
// document's dithering), then makes
// both dial buttons white and see-through at both depths. Where a picture
// does not reach, a key keeps its previous pixels.
void CutDialpad(const Image& released, const Image& pressed, SkinDocument& document);

// The pure steps of the two commands: rework the keys, mark the skin
// modified and compose both previews from the 16-bit set, whatever the target
// depth. A background smaller than the grid is widened with white, the
// screen behind the dial pad, so keys it does not reach keep their look.
void InsertBackgroundPicture(SkinDocument& document, const Image& background);
void ApplyDialpadPictures(SkinDocument& document, const Image& released, const Image& pressed);

enum class DialpadOutcome {
    Cancelled,     // the warning or a file prompt was cancelled: nothing changed
    CouldNotOpen,  // "Could not open file PATH for reading." was shown: nothing changed
    Changed,       // the previews were composed at 16 bits: the window repaints them
};
const char* Name(DialpadOutcome outcome);

// Insert Background Image and Import Dialpad Bitmaps. Neither refreshes the
// window title; the modified mark shows at its next refresh.
DialpadOutcome InsertBackground(SkinDocument& document, UserInterface& user);
DialpadOutcome ImportDialpadBitmaps(SkinDocument& document, UserInterface& user);

}  // namespace corvane
