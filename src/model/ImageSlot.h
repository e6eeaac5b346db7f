// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// One skin element's picture at one depth, with its transparent colour.
//
// A slot's size is fixed by its first default picture and never changes
// after: pictures from files and cut-outs are fitted into it by a plain
// top-left rectangle copy, and every picture that enters from outside is
// reduced at once to what the phone shows at the slot's depth, so the
// previews and the colour chooser show what the phone will show. The
// reduction takes the nearest colours or diffuses (Dither.h), as the caller
// says; a default picture and a picture from a skin file are always exact.
#pragma once

#include <span>
#include <string>
#include <utility>
#include <string_view>

#include "imaging/Depth.h"
#include "imaging/Dither.h"
#include "imaging/Image.h"
#include "imaging/ImageFile.h"

namespace corvane {

class UserInterface;

class ImageSlot {
public:
    ImageSlot() = default;
    // Holds the picture and its transparent colour as they are, unreduced:
    // for pictures that were reduced before, or that a test starts from.
    ImageSlot(Image picture, Colour transparent) : image_(std::move(picture)), transparent_(transparent) {}
    // Takes the element's built-in picture, records its size, makes pure
    // green the transparent colour and reduces both to the depth, as any
    // picture entering a slot is: a new skin's previews show what its saved
    // file will.
    void LoadDefault(Image picture, Depth depth);

    // Reads the picture file and copies its top-left part into the slot, then
    // reduces the slot to the depth. False, with the slot unchanged, when the
    // file is not a readable picture. Where a smaller picture does not reach, the slot keeps its
    // previous pixels.
    bool LoadFromFile(const std::string& path, Depth depth, Dither dither = Dither::None);

    // Copies the slot-sized rectangle at (x, y) of the picture onto the slot at
    // (0, 0) and reduces the slot to the depth. Slot pixels whose source lies
    // outside the picture keep their values. False when there is nothing to
    // copy into or from (the slot is then unchanged).
    bool CopyFrom(const Image& picture, int x, int y, Depth depth, Dither dither = Dither::None);

    void ReduceToDepth(Depth depth, Dither dither = Dither::None);

    // Everything white, and white transparent: the whole slot is see-through.
    void FillWhite();

    const Image& Picture() const { return image_; }
    Colour Transparent() const { return transparent_; }
    // The colour chooser's confirmation: the picture is not reduced again.
    void SetTransparent(Colour colour) { transparent_ = colour; }

    int Width() const { return image_.Width(); }
    int Height() const { return image_.Height(); }

    friend bool operator==(const ImageSlot&, const ImageSlot&) = default;

private:
    bool CopyRectangle(const Image& picture, int x, int y);

    Image image_;
    Colour transparent_ = kPureGreen;
};

// Which of an element's two slots took a picture.
struct ElementLoad {
    bool eightBit = false;
    bool sixteenBit = false;
    // Why the file gave no picture, for messages that say more than the
    // editor's; the picture itself is not kept here.
    ImageFileResult file;

    bool Both() const { return eightBit && sixteenBit; }
};

// Why a load took no picture into a slot, in one line without the file's name.
std::string ElementLoadProblemText(const ElementLoad& load);

// What LoadFromFile(path, Depth::Eight) on the element's 8-bit slot and
// LoadFromFile(path, Depth::Sixteen) on its 16-bit slot do, with the file read and
// decoded once for both.
ElementLoad LoadElementFromFile(ImageSlot& eightBit, ImageSlot& sixteenBit, const std::string& path,
                                Dither dither = Dither::None);
// The same from a picture file's bytes (an archive's entry), decoded by the core.
ElementLoad LoadElementFromBytes(ImageSlot& eightBit, ImageSlot& sixteenBit, std::span<const std::uint8_t> bytes,
                                 Dither dither = Dither::None);

// The image-file prompt of the element editors: the chosen file's full path,
// or an empty text when the user cancelled.
std::string ChooseImageFile(UserInterface& user, std::string_view label);

// Every format the editor reads first; the Windows bitmap, its first format, still offered alone.
inline constexpr std::string_view kImageFileFilter =
    "Pictures (*.bmp *.png *.jpg *.jpeg *.pbm *.pgm *.ppm *.pam)|*.bmp;*.png;*.jpg;*.jpeg;*.pbm;*.pgm;*.ppm;*.pam|"
    "Windows Bitmap (*.bmp)|*.bmp|All files (*.*)|*.*||";

}  // namespace corvane
