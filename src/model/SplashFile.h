// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The splash editor's commands: loading a JPEG into the welcome or goodbye
// image, writing an image back out, opening and saving splash files. Like the
// skin's commands they are free functions over the window's document that ask
// and tell through the UserInterface and return what happened, so a window
// only forwards the command and refreshes. The bytes go in and out of files
// through the codec of SplashCodec.h.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "model/SplashDocument.h"
#include "model/UserInterface.h"
#include "pdb/PalmDate.h"
#include "pdb/SplashCodec.h"

namespace corvane {

// The name proposed for an extracted image: the splash file name without its
// last four characters (its ".pdb"), then "-welcome.jpg" or "-goodbye.jpg".
std::string ExtractedImageName(std::string_view splashFileName, std::uint16_t id);

// Why a JPEG is no splash picture for its size, with the size its frame
// declares: "does not have dimension 320x320 (it has 320x240)". The editor's
// message and the tool's error both say it.
std::string WrongJpegSizeText(JpegFrameSize size);

inline constexpr std::string_view kNeedBothImages =
    "You need to select both a welcome and a goodbye image prior to saving.";
// Saving one image that is not there.
inline constexpr std::string_view kNeedWelcomeImage = "You need to select a welcome image prior to saving.";
inline constexpr std::string_view kNeedGoodbyeImage = "You need to select a goodbye image prior to saving.";
// Leaving for the skin editor, and leaving the program.
inline constexpr std::string_view kLeaveSplashQuestion =
    "You changed the current splash. Do you want to save your changes before exiting?";
inline constexpr std::string_view kExitSplashQuestion =
    "You changed the current splash file. Do you want to save your changes before exiting?";

enum class SplashLoadOutcome { Loaded, Cancelled, CouldNotOpen, NotJpeg, WrongSize, UnknownId };
enum class SplashImageSaveOutcome { Saved, Cancelled, ImageMissing, CouldNotOpen, WriteFailed, UnknownId };
enum class SplashSaveOutcome { Saved, Cancelled, ImageMissing, CouldNotOpen, WriteFailed };
enum class SplashReadOutcome { Opened, Cancelled, CouldNotOpen, NotSplashFile };

// Each outcome's name, the same word for the same outcome as the skin's.
const char* Name(SplashLoadOutcome outcome);
const char* Name(SplashImageSaveOutcome outcome);
const char* Name(SplashSaveOutcome outcome);
const char* Name(SplashReadOutcome outcome);

// Reads one JPEG file into the image named by id.
SplashLoadOutcome LoadSplashImage(SplashDocument& splash, UserInterface& user, std::uint16_t id,
                                  const std::string& path);
// Asks for a JPEG file, then LoadSplashImage.
SplashLoadOutcome ChooseSplashImage(SplashDocument& splash, UserInterface& user, std::uint16_t id);
// Writes the bytes of the image named by id, unchanged, to path.
SplashImageSaveOutcome SaveSplashImage(const SplashDocument& splash, UserInterface& user, std::uint16_t id,
                                       const std::string& path);
// Asks where to save the image named by id, then SaveSplashImage.
SplashImageSaveOutcome ExtractSplashImage(const SplashDocument& splash, UserInterface& user, std::uint16_t id);

// Writes the splash file to FileName(), both of its dates `now`.
SplashSaveOutcome WriteSplash(SplashDocument& splash, UserInterface& user, std::uint32_t now = PalmNow());
// SaveSplashAs while the splash is still untitled, WriteSplash otherwise.
SplashSaveOutcome SaveSplash(SplashDocument& splash, UserInterface& user, std::uint32_t now = PalmNow());
// Asks for a file name (kept even when the write then fails), then WriteSplash.
SplashSaveOutcome SaveSplashAs(SplashDocument& splash, UserInterface& user, std::uint32_t now = PalmNow());

// Which editor a file given from outside (a file manager, a drop) opens in:
// the splash editor for a splash file, the skin editor for anything else,
// unreadable files too, where the skin editor says what is wrong.
bool OpensInSplashEditor(const std::string& path);

// Asks for a splash file, then ReadSplashFile. With unsaved changes it asks
// first; any answer but Yes is Cancelled. A path given takes the file
// prompt's place.
SplashReadOutcome ReadSplash(SplashDocument& splash, UserInterface& user,
                             const std::optional<std::string>& chosen = std::nullopt);
// Replaces both images with those of the splash file at path.
SplashReadOutcome ReadSplashFile(SplashDocument& splash, UserInterface& user, const std::string& path);

}  // namespace corvane
