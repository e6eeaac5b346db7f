// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Opening and saving skin files: the editor's Open, Save and Save as
// commands, the steps beneath them that the command-line tool shares, and
// the skin file of a document's slots.
//
// Saving writes to a temporary file beside the target and replaces the target
// only when every byte is on disk, so a failed save leaves the previous file
// as it was, and the skin keeps its unsaved mark.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "io/FileAccess.h"
#include "model/SkinDocument.h"
#include "pdb/SkinCodec.h"

namespace corvane {

class UserInterface;

inline constexpr std::string_view kLeaveSkinQuestion =
    "You changed the current skin. Do you want to save your changes before exiting?";
inline constexpr std::string_view kSkinFileFilter = "Skin File (*.pdb)|*.pdb|All files (*.*)|*.*||";

// The skin file of one slot set at a depth; see the pdb overload.
std::optional<std::vector<std::uint8_t>> EncodeSkinFile(const SlotSet& set, Depth depth, std::string_view databaseName,
                                                        std::uint32_t now);

// Every decoded picture into both slots of its element, each reduced for its
// own depth together with the picture's transparent colour. Elements without
// a picture keep what they had.
void ApplyDecodedSkin(const DecodedSkin& skin, SkinDocument& document);

// The warning after a successful open, or nothing when the file is one of ours.
std::optional<std::string> OpenWarningText(bool unsupported, int missing);

// Reading a skin file into a document, as Open does after its prompt and as
// the command-line tool does: a file that reads and is no carrier logo gives
// its pictures to the document's slots, and becomes its file, unmodified.
struct LoadedSkin {
    ReadProblem problem = ReadProblem::None;  // why the file could not be read
    std::error_code error;                    // and the system's reason, where it gave one
    DecodedSkin skin;

    bool Loaded() const { return problem == ReadProblem::None && skin.outcome == DatabaseReadOutcome::Read; }
};
LoadedSkin LoadSkinFile(const std::string& path, SkinDocument& document);

// ---- commands -----------------------------------------------------------------
// Messages are owned by the editor window and captioned with the application's name.

enum class OpenSkinOutcome {
    Cancelled,     // the user kept their unsaved changes or closed the file prompt
    CouldNotOpen,  // "Could not open file." was shown; nothing changed
    CarrierLogo,   // the carrier-logo message was shown; nothing changed
    Opened,        // the window refreshes its title and recomposes both previews
};
const char* Name(OpenSkinOutcome outcome);

// The Open command. With unsaved changes it asks first, as Reset does. A
// path given (a file dropped on the window, say) takes the file prompt's place.
OpenSkinOutcome OpenSkin(SkinDocument& document, UserInterface& user,
                         const std::optional<std::string>& chosen = std::nullopt);

enum class SaveSkinOutcome {
    Cancelled,     // the user kept their unsaved changes or closed the file prompt: nothing changed
    Declined,      // "No" to the unsupported-resources question: nothing changed
    CouldNotOpen,  // "Could not open file for writing."
    WriteFailed,   // "Error writing skin file."; the previous file is intact
    Saved,         // "Skin saved successfully."; the modified flag is clear
};
const char* Name(SaveSkinOutcome outcome);

// Whether the window title may show something new. After Save as the file
// name has changed even when the write then failed.
constexpr bool TitleMayHaveChanged(SaveSkinOutcome outcome) {
    return outcome != SaveSkinOutcome::Cancelled && outcome != SaveSkinOutcome::Declined;
}

// The Save command: Save as while the skin is untitled or came from a file
// that gave no picture; asks first when the opened file held resources that
// saving drops.
SaveSkinOutcome SaveSkin(SkinDocument& document, UserInterface& user);
// The Save as command.
SaveSkinOutcome SaveSkinAs(SkinDocument& document, UserInterface& user);
// Writes the current set at the target depth to the document's file.
SaveSkinOutcome WriteSkinFile(SkinDocument& document, UserInterface& user);

}  // namespace corvane
