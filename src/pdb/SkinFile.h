// Opening and saving skin files: the editor's Open, Save and Save as
// commands, and the pure steps beneath them that the command-line tool and
// the benchmarks call directly.
//
// A skin file is a resource database (see ResourceDatabase.h) of type 'Skn7',
// creator 'TSkn', with one bitmap per element, all at one depth, under the IDs
// of kSkinResourceTable. Opening judges a file only by its resource IDs and by
// whether each supported resource could be read; the header's type (unless
// 'logo'), its creator and the entries' type codes do not matter.
//
// Saving writes to a temporary file beside the target and replaces the target
// only when every byte is on disk, so a failed save leaves the previous file
// as it was, and the skin keeps its unsaved mark.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/SkinDocument.h"
#include "pdb/ResourceDatabase.h"

namespace corvane {

class UserInterface;

inline constexpr std::string_view kSkinFileFilter = "Skin File (*.pdb)|*.pdb|All files (*.*)|*.*||";

// ---- pure steps ---------------------------------------------------------------

// The skin file of one slot set at a depth (8 or 16), every resource with its
// slot's transparent colour and the transparency flag set. Nothing when a
// resource was refused (a depth other than 8 or 16).
std::optional<std::vector<std::uint8_t>> EncodeSkinFile(const SlotSet& set, int depth, std::string_view databaseName,
                                                        std::uint32_t now);

// What a skin file holds for the editor.
struct DecodedSkin {
    DatabaseReadOutcome outcome = DatabaseReadOutcome::Read;
    // By element index; nothing where the resource is absent, unreadable or
    // has no pixels. A picture larger than its element is cut to the
    // element's size from the top left, all the editor keeps of it.
    std::array<std::optional<FoundBitmap>, kElementCount> pictures;
    bool unsupported = false;  // a resource outside SupportedSkinIds
    int missing = 0;           // rows of kSkinResourceTable that gave no picture
    // By element index: the bits per pixel of the picture's resource (0 where
    // there is no picture), and the opaque pixels of an 8-bit picture whose
    // palette colour is the transparent colour under another index. The
    // palette holds such duplicates; once decoded to colours, or written as a
    // picture file, those pixels cannot be told from the see-through ones.
    std::array<int, kElementCount> depths{};
    std::array<int, kElementCount> opaqueInTransparentColour{};
};

DecodedSkin DecodeSkinFile(std::span<const std::uint8_t> bytes);
// The same for a database already read, with the outcome of its reading.
DecodedSkin DecodeSkin(const ResourceDatabase& database, DatabaseReadOutcome outcome);

// The depth the skin's pictures are stored at: 16 when any is, else 8 when
// any is, else 16, the depth of a new skin.
int DecodedSkinDepth(const DecodedSkin& skin);

// Every decoded picture into both slots of its element, each reduced for its
// own depth together with the picture's transparent colour. Elements without
// a picture keep what they had.
void ApplyDecodedSkin(const DecodedSkin& skin, SkinDocument& document);

// The warning after a successful open, or nothing when the file is one of ours.
std::optional<std::string> OpenWarningText(bool unsupported, int missing);

// ---- commands -----------------------------------------------------------------
// Messages are owned by the editor window and captioned with the application's name.

enum class OpenSkinOutcome {
    Cancelled,     // the user kept their unsaved changes or closed the file prompt
    CouldNotOpen,  // "Could not open file." was shown; nothing changed
    CarrierLogo,   // the carrier-logo message was shown; nothing changed
    Opened,        // the window refreshes its title and recomposes both previews
};

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

// Whether the window title may show something new. After Save as the file
// name has changed even when the write then failed.
constexpr bool TitleMayHaveChanged(SaveSkinOutcome outcome) {
    return outcome != SaveSkinOutcome::Cancelled && outcome != SaveSkinOutcome::Declined;
}

// The Save command: Save as while the skin is untitled; asks first when the
// opened file held resources that saving drops.
SaveSkinOutcome SaveSkin(SkinDocument& document, UserInterface& user);
// The Save as command.
SaveSkinOutcome SaveSkinAs(SkinDocument& document, UserInterface& user);
// Writes the current set at the target depth to the document's file.
SaveSkinOutcome WriteSkinFile(SkinDocument& document, UserInterface& user);

}  // namespace corvane
