// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// One change to a skin, kept so that it can be taken back and done again.
//
// A change is found by comparing the document before and after a command:
// only the slots that differ are kept (a picture load keeps two slots, not
// seventy), together with the file name and the unsupported-resources flag
// when the command changed them, as Reset does, and the target depth.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "model/SkinDocument.h"

namespace corvane {

// Everything one command can change in a skin.
struct SkinState {
    SlotSet set8;
    SlotSet set16;
    std::string filePath;
    bool hasUnsupportedResources = false;
    bool mustSaveAs = false;
    Depth targetDepth = Depth::Sixteen;

    friend bool operator==(const SkinState&, const SkinState&) = default;
};

SkinState CaptureSkin(const SkinDocument& document);

class SkinChange {
public:
    static SkinState Capture(const SkinDocument& document) { return CaptureSkin(document); }
    // What differs between two states of one document.
    static SkinChange Between(const SkinState& before, const SkinState& after);

    bool Empty() const { return slots_.empty() && !filePath_ && !unsupported_ && !mustSaveAs_ && !depth_; }

    // Puts the document back as it was before, or as it was after. The
    // modified flag and the previews are the caller's.
    void Undo(SkinDocument& document) const { Apply(document, false); }
    void Redo(SkinDocument& document) const { Apply(document, true); }

private:
    struct SlotChange {
        Depth depth;
        Element element;
        ImageSlot before;
        ImageSlot after;
    };
    void Apply(SkinDocument& document, bool after) const;

    std::vector<SlotChange> slots_;
    std::optional<std::pair<std::string, std::string>> filePath_;
    std::optional<std::pair<bool, bool>> unsupported_;
    std::optional<std::pair<bool, bool>> mustSaveAs_;
    std::optional<std::pair<Depth, Depth>> depth_;
};

}  // namespace corvane
