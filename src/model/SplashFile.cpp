// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/SplashFile.h"

#include <utility>

#include "model/ProgramText.h"

#include "io/FileAccess.h"
#include "io/PathNames.h"
#include "pdb/DatabaseKind.h"
#include "pdb/PalmText.h"

namespace corvane {
namespace {

constexpr const char* kJpegFilter = "Jpeg Image (*.jpg *.jpeg)|*.jpg;*.jpeg|All files (*.*)|*.*||";
constexpr const char* kSplashFilter = "Splash File (*.pdb)|*.pdb|All files (*.*)|*.*||";
constexpr const char* kCouldNotWrite = "Could not open file for writing.";
// A write that started but did not finish; the previous file is still there.
constexpr const char* kJpegWriteFailed = "Error writing Jpeg image.";
constexpr const char* kSplashWriteFailed = "Error writing splash file.";
constexpr const char* kOpenQuestion =
    "You changed the current splash file and did not save your changes. Open another splash file anyway?";

std::string SourceFromSplash(std::string_view which, std::string_view name) {
    return "(" + std::string(which) + " image from " + PalmTextToUtf8(name) + " splash file)";
}

// What failed a read, in the message's details: a file refused for its size
// says so and names the limit.
void SayCouldNotRead(UserInterface& user, const std::string& path, const FileRead& read) {
    Message message;
    message.text = "Could not open file " + path + " for reading.";
    message.details =
        path + ": " + ReadProblemText(read.problem, kDatabaseFileLimit, "splash files and their images", read.error);
    message.icon = MessageIcon::Warning;
    message.ownedByWindow = false;
    user.ShowMessage(message);
}

}  // namespace

std::string WrongJpegSizeText(JpegFrameSize size) {
    return "does not have dimension 320x320 (it has " + std::to_string(size.width) + "x" + std::to_string(size.height) +
           ")";
}

std::string ExtractedImageName(std::string_view splashFileName, std::uint16_t id) {
    return BaseName(splashFileName, NameCut::LastFourCharacters) + (id == kSplashWelcomeId ? "-welcome.jpg" : "-goodbye.jpg");
}

namespace {

// The splash editor's messages stand apart from its window, and some name the program.
void Say(UserInterface& user, const std::string& text, bool captioned, MessageIcon icon) {
    Message message;
    message.text = text;
    if (captioned) message.caption = std::string(kProgramCaption);
    message.icon = icon;
    message.ownedByWindow = false;
    user.ShowMessage(message);
}

FilePrompt SplashPrompt(const char* filter) {
    FilePrompt prompt;
    prompt.filter = filter;
    prompt.ownedByWindow = false;
    return prompt;
}

}  // namespace

SplashLoadOutcome LoadSplashImage(SplashDocument& splash, UserInterface& user, std::uint16_t id,
                                  const std::string& path) {
    // An image larger than a whole splash file may be could never be saved in one.
    FileRead read = ReadFileAtMost(path, kDatabaseFileLimit);
    if (!read.Ok()) {
        SayCouldNotRead(user, path, read);
        return SplashLoadOutcome::CouldNotOpen;
    }
    switch (CheckJpeg(read.bytes)) {
        case JpegCheck::NotJpeg:
            Say(user, "File " + path + " is not a Jpeg image.", false, MessageIcon::Warning);
            return SplashLoadOutcome::NotJpeg;
        case JpegCheck::WrongSize:
            Say(user, "File " + path + " " + WrongJpegSizeText(*FirstJpegFrame(read.bytes)) + ".", false,
                MessageIcon::Warning);
            return SplashLoadOutcome::WrongSize;
        case JpegCheck::Ok:
            break;
    }
    SplashPicture* picture = splash.Picture(id);
    if (!picture) return SplashLoadOutcome::UnknownId;
    *picture = {std::move(read.bytes), path};
    splash.MarkModified();
    return SplashLoadOutcome::Loaded;
}

SplashLoadOutcome ChooseSplashImage(SplashDocument& splash, UserInterface& user, std::uint16_t id) {
    FilePrompt prompt = SplashPrompt(kJpegFilter);
    prompt.mustExist = true;
    const auto path = user.AskOpenFile(prompt);
    if (!path) return SplashLoadOutcome::Cancelled;
    return LoadSplashImage(splash, user, id, *path);
}

SplashImageSaveOutcome SaveSplashImage(const SplashDocument& splash, UserInterface& user, std::uint16_t id,
                                       const std::string& path) {
    // An unknown id is refused before the file is touched: opening it first
    // would truncate whatever the user had there.
    const SplashPicture* picture = splash.Picture(id);
    if (!picture) return SplashImageSaveOutcome::UnknownId;
    if (picture->bytes.empty()) return SplashImageSaveOutcome::ImageMissing;
    switch (WriteFileWithReason(path, picture->bytes).outcome) {
        case WriteOutcome::CouldNotOpen:
            Say(user, kCouldNotWrite, true, MessageIcon::Warning);
            return SplashImageSaveOutcome::CouldNotOpen;
        case WriteOutcome::WriteFailed:
            Say(user, kJpegWriteFailed, true, MessageIcon::Warning);
            return SplashImageSaveOutcome::WriteFailed;
        case WriteOutcome::Ok:
            break;
    }
    Say(user, "Jpeg image saved successfully.", true, MessageIcon::Information);
    return SplashImageSaveOutcome::Saved;
}

SplashImageSaveOutcome ExtractSplashImage(const SplashDocument& splash, UserInterface& user, std::uint16_t id) {
    if (!splash.Picture(id)) return SplashImageSaveOutcome::UnknownId;
    FilePrompt prompt = SplashPrompt(kJpegFilter);
    prompt.defaultExtension = "jpg";
    prompt.proposedName = ExtractedImageName(splash.FileName(), id);
    prompt.confirmOverwrite = true;
    const auto path = user.AskSaveFile(prompt);
    if (!path) return SplashImageSaveOutcome::Cancelled;
    return SaveSplashImage(splash, user, id, *path);
}

SplashSaveOutcome WriteSplash(SplashDocument& splash, UserInterface& user, std::uint32_t now) {
    if (!splash.HasBothImages()) return SplashSaveOutcome::ImageMissing;
    const std::string name = DatabaseNameFromPath(splash.FileName());
    const auto bytes = BuildSplashFile(name, splash.WelcomeBytes(), splash.GoodbyeBytes(), now);
    const WriteOutcome written = bytes ? WriteFileWithReason(splash.FileName(), *bytes).outcome : WriteOutcome::WriteFailed;
    switch (written) {
        case WriteOutcome::CouldNotOpen:
            Say(user, kCouldNotWrite, true, MessageIcon::Warning);
            return SplashSaveOutcome::CouldNotOpen;
        case WriteOutcome::WriteFailed:
            Say(user, kSplashWriteFailed, true, MessageIcon::Warning);
            return SplashSaveOutcome::WriteFailed;
        case WriteOutcome::Ok:
            break;
    }
    splash.SetName(name);
    splash.ClearModified();
    Say(user, "Splash saved successfully.", true, MessageIcon::Information);
    return SplashSaveOutcome::Saved;
}

SplashSaveOutcome SaveSplash(SplashDocument& splash, UserInterface& user, std::uint32_t now) {
    return splash.IsUntitled() ? SaveSplashAs(splash, user, now) : WriteSplash(splash, user, now);
}

SplashSaveOutcome SaveSplashAs(SplashDocument& splash, UserInterface& user, std::uint32_t now) {
    FilePrompt prompt = SplashPrompt(kSplashFilter);
    prompt.defaultExtension = "pdb";
    prompt.proposedName = splash.FileName();
    prompt.confirmOverwrite = true;
    const auto path = user.AskSaveFile(prompt);
    if (!path) return SplashSaveOutcome::Cancelled;
    splash.SetFileName(*path);
    return WriteSplash(splash, user, now);
}

SplashReadOutcome ReadSplash(SplashDocument& splash, UserInterface& user, const std::optional<std::string>& chosen) {
    if (splash.IsModified() &&
        Tell(user, kOpenQuestion, MessageIcon::Question, MessageButtons::YesNo, Answer::No) != Answer::Yes)
        return SplashReadOutcome::Cancelled;
    FilePrompt prompt = SplashPrompt(kSplashFilter);
    prompt.mustExist = true;
    const auto path = chosen ? chosen : user.AskOpenFile(prompt);
    if (!path) return SplashReadOutcome::Cancelled;
    return ReadSplashFile(splash, user, *path);
}

SplashReadOutcome ReadSplashFile(SplashDocument& splash, UserInterface& user, const std::string& path) {
    const FileRead read = ReadFileAtMost(path, kDatabaseFileLimit);
    if (!read.Ok()) {
        SayCouldNotRead(user, path, read);
        return SplashReadOutcome::CouldNotOpen;
    }
    const auto content = ParseSplashFile(read.bytes);
    if (!content) {
        Say(user, "This is not a splash image file.", false, MessageIcon::Warning);
        return SplashReadOutcome::NotSplashFile;
    }
    splash.SetName(content->name);
    *splash.Picture(SplashDocument::WelcomeId) = {{content->welcome.begin(), content->welcome.end()},
                                                  SourceFromSplash("welcome", content->name)};
    *splash.Picture(SplashDocument::GoodbyeId) = {{content->goodbye.begin(), content->goodbye.end()},
                                                  SourceFromSplash("goodbye", content->name)};
    splash.SetFileName(path);
    splash.ClearModified();
    return SplashReadOutcome::Opened;
}

bool OpensInSplashEditor(const std::string& path) {
    const FileRead read = ReadFileAtMost(path, kDatabaseFileLimit);
    return read.Ok() && KindOfDatabase(read.bytes) == DatabaseKind::Splash;
}

const char* Name(SplashLoadOutcome outcome) {
    switch (outcome) {
        case SplashLoadOutcome::Loaded: return "Loaded";
        case SplashLoadOutcome::Cancelled: return "Cancelled";
        case SplashLoadOutcome::CouldNotOpen: return "CouldNotOpen";
        case SplashLoadOutcome::NotJpeg: return "NotJpeg";
        case SplashLoadOutcome::WrongSize: return "WrongSize";
        case SplashLoadOutcome::UnknownId: return "UnknownId";
    }
    return "";
}

const char* Name(SplashImageSaveOutcome outcome) {
    switch (outcome) {
        case SplashImageSaveOutcome::Saved: return "Saved";
        case SplashImageSaveOutcome::Cancelled: return "Cancelled";
        case SplashImageSaveOutcome::ImageMissing: return "ImageMissing";
        case SplashImageSaveOutcome::CouldNotOpen: return "CouldNotOpen";
        case SplashImageSaveOutcome::WriteFailed: return "WriteFailed";
        case SplashImageSaveOutcome::UnknownId: return "UnknownId";
    }
    return "";
}

const char* Name(SplashSaveOutcome outcome) {
    switch (outcome) {
        case SplashSaveOutcome::Saved: return "Saved";
        case SplashSaveOutcome::Cancelled: return "Cancelled";
        case SplashSaveOutcome::ImageMissing: return "ImageMissing";
        case SplashSaveOutcome::CouldNotOpen: return "CouldNotOpen";
        case SplashSaveOutcome::WriteFailed: return "WriteFailed";
    }
    return "";
}

const char* Name(SplashReadOutcome outcome) {
    switch (outcome) {
        case SplashReadOutcome::Opened: return "Opened";
        case SplashReadOutcome::Cancelled: return "Cancelled";
        case SplashReadOutcome::CouldNotOpen: return "CouldNotOpen";
        case SplashReadOutcome::NotSplashFile: return "NotSplashFile";
    }
    return "";
}

}  // namespace corvane
