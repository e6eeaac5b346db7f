// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The skin an editor window works on: every element twice (reduced for an
// 8-bit and for a 16-bit skin file), the two preview canvases, the file the
// skin came from and the flags that decide the questions on save, reset and exit.
//
// There is no global document: the window owns one, and every command
// (open, save, import, the element dialogs) takes it as an argument.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "model/ImageSlot.h"
#include "model/ProgramText.h"
#include "pdb/SkinCatalogue.h"

namespace corvane {

class UserInterface;

using SlotSet = std::array<ImageSlot, kElementCount>;

class SkinDocument {
public:
    // Default pictures in both sets, the preview background in all three
    // canvases, "untitled.pdb", both flags clear and a target depth of 16.
    SkinDocument();

    SlotSet& Set(Depth depth) { return depth == Depth::Eight ? set8_ : set16_; }
    const SlotSet& Set(Depth depth) const { return depth == Depth::Eight ? set8_ : set16_; }
    ImageSlot& Slot(Depth depth, Element element) { return Set(depth)[Index(element)]; }
    const ImageSlot& Slot(Depth depth, Element element) const { return Set(depth)[Index(element)]; }
    // By catalogue index, for walks over every element.
    ImageSlot& Slot(Depth depth, int index) { return Set(depth)[static_cast<std::size_t>(index)]; }
    const ImageSlot& Slot(Depth depth, int index) const { return Set(depth)[static_cast<std::size_t>(index)]; }
    SlotSet& CurrentSet() { return Set(targetDepth_); }
    const SlotSet& CurrentSet() const { return Set(targetDepth_); }

    Image& ReleasedPreview() { return releasedPreview_; }
    const Image& ReleasedPreview() const { return releasedPreview_; }
    Image& PressedPreview() { return pressedPreview_; }
    const Image& PressedPreview() const { return pressedPreview_; }
    // Never drawn on: every composition starts from it.
    const Image& PreviewBackground() const { return previewBackground_; }

    const std::string& FilePath() const { return filePath_; }
    void SetFilePath(std::string path) { filePath_ = std::move(path); }
    bool IsUntitled() const { return filePath_ == kUntitledPath; }

    bool IsModified() const { return modified_; }
    void MarkModified() { modified_ = true; }
    void ClearModified() { modified_ = false; }

    bool HasUnsupportedResources() const { return hasUnsupportedResources_; }
    void SetHasUnsupportedResources(bool value) { hasUnsupportedResources_ = value; }

    // The file the skin came from gave no picture at all (no skin, or cut
    // short): Save asks for a name, with the file prompt's overwrite question,
    // before anything replaces it.
    bool MustSaveAs() const { return mustSaveAs_; }
    void SetMustSaveAs(bool value) { mustSaveAs_ = value; }

    Depth TargetDepth() const { return targetDepth_; }
    void SetTargetDepth(Depth depth) { targetDepth_ = depth; }

    // How every picture that enters a slot from outside from now on is
    // reduced: Load Image, Import Bitmaps, Import Layered Image, Insert
    // Background Image and Import Dialpad Bitmaps. A setting of the editor,
    // not of the skin: the file does not hold it, and undo leaves it (the
    // pictures it reduced are undone like any load).
    Dither Dithering() const { return dithering_; }
    void SetDithering(Dither dither) { dithering_ = dither; }

    // Every slot of both sets gets its element's default picture with a pure
    // green transparent colour, both reduced to the set's depth. Nothing else changes.
    void ResetToDefaults();

private:
    SlotSet set8_;
    SlotSet set16_;
    Image releasedPreview_;
    Image pressedPreview_;
    Image previewBackground_;
    std::string filePath_{kUntitledPath};
    bool hasUnsupportedResources_ = false;
    bool modified_ = false;
    bool mustSaveAs_ = false;
    Depth targetDepth_ = Depth::Sixteen;
    Dither dithering_ = Dither::None;
};

inline constexpr std::string_view kResetQuestion =
    "You changed the current skin and did not save your changes. Reset all bitmaps anyway?";

// The "&Reset" command. Asks first when the skin is modified; true when the
// skin was reset, and the window then refreshes its title and recomposes and
// repaints both previews at the unchanged target depth.
bool ResetSkin(SkinDocument& document, UserInterface& user);

}  // namespace corvane
