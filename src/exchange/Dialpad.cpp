// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "exchange/Dialpad.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "exchange/BitmapSet.h"
#include "imaging/ImageFile.h"
#include "io/PathNames.h"
#include "model/DialScreen.h"
#include "model/PreviewComposition.h"
#include "model/SkinDocument.h"
#include "model/UserInterface.h"

namespace corvane {
namespace {

// Calls visit(released label, pressed label, x, y) for every key cell of a dial-pad picture.
template <typename Visit>
void ForEachCell(Visit visit) {
    ForEachKeyCell([&](int row, int column, int x, int y) {
        visit(KeyLabel(row, column, false), KeyLabel(row, column, true), x, y);
    });
}

void DrawSlot(Image& canvas, const ImageSlot& slot, int x, int y) {
    DrawTransparent(canvas, slot.Picture(), x, y, slot.Transparent());
}

bool ConfirmBackupWarning(UserInterface& user) {
    return Tell(user, std::string(kBackupWarning), MessageIcon::Information, MessageButtons::OkCancel) == Answer::Ok;
}

// The chosen picture, or nothing: cancelled (path left empty) or unreadable (reported).
std::optional<Image> AskPicture(UserInterface& user, std::string_view label, std::string& path) {
    path = ChooseImageFile(user, label);
    if (path.empty()) return std::nullopt;
    ImageFileResult read = ReadImageFile(path, kDialpadWidth, kDialpadHeight);
    if (!read.image)
        TellWithDetails(user, "Could not open file " + path + " for reading.", path + ": " + ImageFileProblemText(read),
                        MessageIcon::Warning);
    return std::move(read.image);
}

void FinishDialpadChange(SkinDocument& document) {
    document.MarkModified();
    ComposePreviews(document, Depth::Sixteen);
}

}  // namespace

Image DialpadOfPreview(const Image& canvas) {
    Image pad(kDialpadWidth, kDialpadHeight);
    for (int y = 0; y < kDialpadHeight; ++y)
        for (int x = 0; x < kDialpadWidth; ++x)
            if (canvas.Contains(kDialpadLeft + x, kDialpadTop + y))
                pad.Set(x, y, canvas.At(kDialpadLeft + x, kDialpadTop + y));
    return pad;
}

std::vector<NamedPicture> PreviewPictures(const SkinDocument& document) {
    return {{BaseName(document.FilePath(), NameCut::AtFirstDot) + "-preview", document.ReleasedPreview()}};
}

std::vector<NamedPicture> DialpadPictures(const SkinDocument& document) {
    const std::string base = BaseName(document.FilePath(), NameCut::AtFirstDot);
    return {{base + "-dial-unpressed", DialpadOfPreview(document.ReleasedPreview())},
            {base + "-dial-pressed", DialpadOfPreview(document.PressedPreview())}};
}

ExportOutcome ExportPreview(const SkinDocument& document, UserInterface& user) {
    return ExportPictures(user, PreviewPictures(document));
}

ExportOutcome ExportDialpadBitmaps(const SkinDocument& document, UserInterface& user) {
    return ExportPictures(user, DialpadPictures(document));
}

void ComposeDialpad(Image& released, Image& pressed, const SkinDocument& document) {
    const SlotSet& set = document.Set(Depth::Sixteen);
    const auto slot = [&set](Element element) -> const ImageSlot& { return set[Index(element)]; };
    ForEachCell([&](Element, Element, int x, int y) {
        DrawSlot(released, slot(Element::DialButton), x, y);
        DrawSlot(pressed, slot(Element::DialButtonPressed), x, y);
    });
    ForEachCell([&](Element key, Element pressedKey, int x, int y) {
        DrawSlot(released, slot(key), x, y);
        DrawSlot(pressed, slot(pressedKey), x, y);
    });
}

void CutDialpad(const Image& released, const Image& pressed, SkinDocument& document) {
    ForEachCell([&](Element key, Element, int x, int y) {
        for (const Depth depth : kDepths) document.Slot(depth, key).CopyFrom(released, x, y, depth, document.Dithering());
    });
    ForEachCell([&](Element, Element pressedKey, int x, int y) {
        for (const Depth depth : kDepths)
            document.Slot(depth, pressedKey).CopyFrom(pressed, x, y, depth, document.Dithering());
    });
    for (const Element button : {Element::DialButton, Element::DialButtonPressed})
        for (const Depth depth : kDepths) document.Slot(depth, button).FillWhite();
}

void InsertBackgroundPicture(SkinDocument& document, const Image& background) {
    // Only the grid is ever cut out, so the rest of a large picture is left behind.
    Image released(kDialpadWidth, kDialpadHeight, kWhite);
    for (int y = 0; y < std::min(background.Height(), kDialpadHeight); ++y)
        for (int x = 0; x < std::min(background.Width(), kDialpadWidth); ++x) released.Set(x, y, background.At(x, y));
    Image pressed = released;
    ComposeDialpad(released, pressed, document);
    CutDialpad(released, pressed, document);
    FinishDialpadChange(document);
}

void ApplyDialpadPictures(SkinDocument& document, const Image& released, const Image& pressed) {
    CutDialpad(released, pressed, document);
    FinishDialpadChange(document);
}

DialpadOutcome InsertBackground(SkinDocument& document, UserInterface& user) {
    if (!ConfirmBackupWarning(user)) return DialpadOutcome::Cancelled;
    std::string path;
    const auto background = AskPicture(user, "background to be inserted", path);
    if (!background) return path.empty() ? DialpadOutcome::Cancelled : DialpadOutcome::CouldNotOpen;
    InsertBackgroundPicture(document, *background);
    return DialpadOutcome::Changed;
}

DialpadOutcome ImportDialpadBitmaps(SkinDocument& document, UserInterface& user) {
    if (!ConfirmBackupWarning(user)) return DialpadOutcome::Cancelled;
    std::string path;
    const auto released = AskPicture(user, "background with unpressed buttons", path);
    if (!released) return path.empty() ? DialpadOutcome::Cancelled : DialpadOutcome::CouldNotOpen;
    const auto pressed = AskPicture(user, "background with pressed buttons", path);
    if (!pressed) return path.empty() ? DialpadOutcome::Cancelled : DialpadOutcome::CouldNotOpen;
    ApplyDialpadPictures(document, *released, *pressed);
    return DialpadOutcome::Changed;
}

const char* Name(DialpadOutcome outcome) {
    switch (outcome) {
        case DialpadOutcome::Cancelled: return "Cancelled";
        case DialpadOutcome::CouldNotOpen: return "CouldNotOpen";
        case DialpadOutcome::Changed: return "Changed";
    }
    return "";
}

}  // namespace corvane
