#include "model/SplashFile.h"

#include <utility>

#include "io/FileAccess.h"
#include "io/PathNames.h"
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

}  // namespace

std::string ExtractedImageName(std::string_view splashFileName, std::uint16_t id) {
    return BaseName(splashFileName, NameCut::LastFourCharacters) + (id == kSplashWelcomeId ? "-welcome.jpg" : "-goodbye.jpg");
}

// ---- SplashFile --------------------------------------------------------------

SplashFile::SplashFile(UserInterface& ui, std::function<std::uint32_t()> clock) : ui_(ui), clock_(std::move(clock)) {}

SplashFile::Image* SplashFile::ImageFor(std::uint16_t id) {
    return const_cast<Image*>(std::as_const(*this).ImageFor(id));
}

const SplashFile::Image* SplashFile::ImageFor(std::uint16_t id) const {
    if (id == WelcomeId) return &welcome_;
    if (id == GoodbyeId) return &goodbye_;
    return nullptr;
}

bool SplashFile::HasImage(std::uint16_t id) const {
    const Image* image = ImageFor(id);
    return image && !image->bytes.empty();
}

const std::string& SplashFile::Source(std::uint16_t id) const {
    static const std::string none;
    const Image* image = ImageFor(id);
    return image ? image->source : none;
}

void SplashFile::Tell(const std::string& text, bool captioned, MessageIcon icon) {
    Message message;
    message.text = text;
    if (captioned) message.caption = "Corvane Desktop";
    message.icon = icon;
    message.ownedByWindow = false;
    ui_.ShowMessage(message);
}

SplashFile::Images SplashFile::CurrentImages() const {
    return Images{welcome_.bytes, goodbye_.bytes, welcome_.source, goodbye_.source};
}

void SplashFile::RestoreImages(const Images& images) {
    welcome_ = {images.welcome, images.welcomeSource};
    goodbye_ = {images.goodbye, images.goodbyeSource};
}

SplashFile::LoadOutcome SplashFile::LoadSplashImage(std::uint16_t id, const std::string& path) {
    // An image larger than a whole splash file may be could never be saved in one.
    FileRead read = ReadFileAtMost(path, kDatabaseFileLimit);
    if (!read.Ok()) {
        Tell("Could not open file " + path + " for reading.", false, MessageIcon::Warning);
        return LoadOutcome::CouldNotOpen;
    }
    switch (CheckJpeg(read.bytes)) {
        case JpegCheck::NotJpeg:
            Tell("File " + path + " is not a Jpeg image.", false, MessageIcon::Warning);
            return LoadOutcome::NotJpeg;
        case JpegCheck::WrongSize:
            Tell("File " + path + " does not have dimension 320x320.", false, MessageIcon::Warning);
            return LoadOutcome::WrongSize;
        case JpegCheck::Ok:
            break;
    }
    Image* image = ImageFor(id);
    if (!image) return LoadOutcome::UnknownId;
    image->bytes = std::move(read.bytes);
    image->source = path;
    modified_ = true;
    return LoadOutcome::Ok;
}

SplashFile::LoadOutcome SplashFile::ChooseSplashImage(std::uint16_t id) {
    FilePrompt prompt;
    prompt.filter = kJpegFilter;
    prompt.mustExist = true;
    prompt.ownedByWindow = false;
    const auto path = ui_.AskOpenFile(prompt);
    if (!path) return LoadOutcome::Cancelled;
    return LoadSplashImage(id, *path);
}

SplashFile::SaveImageOutcome SplashFile::SaveSplashImage(std::uint16_t id, const std::string& path) {
    // An unknown id is refused before the file is touched: opening it first
    // would truncate whatever the user had there.
    const Image* image = ImageFor(id);
    if (!image) return SaveImageOutcome::UnknownId;
    if (image->bytes.empty()) return SaveImageOutcome::ImageMissing;
    switch (WriteFileReplacing(path, image->bytes)) {
        case WriteOutcome::CouldNotOpen:
            Tell(kCouldNotWrite, true, MessageIcon::Warning);
            return SaveImageOutcome::CouldNotOpen;
        case WriteOutcome::WriteFailed:
            Tell(kJpegWriteFailed, true, MessageIcon::Warning);
            return SaveImageOutcome::WriteFailed;
        case WriteOutcome::Ok:
            break;
    }
    Tell("Jpeg image saved successfully.", true, MessageIcon::Information);
    return SaveImageOutcome::Ok;
}

SplashFile::SaveImageOutcome SplashFile::ExtractSplashImage(std::uint16_t id) {
    if (!ImageFor(id)) return SaveImageOutcome::UnknownId;
    FilePrompt prompt;
    prompt.filter = kJpegFilter;
    prompt.defaultExtension = "jpg";
    prompt.proposedName = ExtractedImageName(fileName_, id);
    prompt.confirmOverwrite = true;
    prompt.ownedByWindow = false;
    const auto path = ui_.AskSaveFile(prompt);
    if (!path) return SaveImageOutcome::Cancelled;
    return SaveSplashImage(id, *path);
}

SplashFile::SaveOutcome SplashFile::WriteSplash() {
    if (!HasBothImages()) return SaveOutcome::ImageMissing;
    const std::string name = DatabaseNameFromPath(fileName_);
    const auto bytes = BuildSplashFile(name, welcome_.bytes, goodbye_.bytes, clock_());
    const WriteOutcome written = bytes ? WriteFileReplacing(fileName_, *bytes) : WriteOutcome::WriteFailed;
    switch (written) {
        case WriteOutcome::CouldNotOpen:
            Tell(kCouldNotWrite, true, MessageIcon::Warning);
            return SaveOutcome::CouldNotOpen;
        case WriteOutcome::WriteFailed:
            Tell(kSplashWriteFailed, true, MessageIcon::Warning);
            return SaveOutcome::WriteFailed;
        case WriteOutcome::Ok:
            break;
    }
    name_ = name;
    modified_ = false;
    Tell("Splash saved successfully.", true, MessageIcon::Information);
    return SaveOutcome::Ok;
}

SplashFile::SaveOutcome SplashFile::SaveSplash() {
    return fileName_ == UntitledName ? SaveSplashAs() : WriteSplash();
}

SplashFile::SaveOutcome SplashFile::SaveSplashAs() {
    FilePrompt prompt;
    prompt.filter = kSplashFilter;
    prompt.defaultExtension = "pdb";
    prompt.proposedName = fileName_;
    prompt.confirmOverwrite = true;
    prompt.ownedByWindow = false;
    const auto path = ui_.AskSaveFile(prompt);
    if (!path) return SaveOutcome::Cancelled;
    fileName_ = *path;
    return WriteSplash();
}

SplashFile::ReadOutcome SplashFile::ReadSplash(const std::optional<std::string>& chosen) {
    if (modified_) {
        if (corvane::Tell(ui_, kOpenQuestion, MessageIcon::Question, MessageButtons::YesNo, Answer::No) != Answer::Yes)
            return ReadOutcome::Cancelled;
    }
    FilePrompt prompt;
    prompt.filter = kSplashFilter;
    prompt.mustExist = true;
    prompt.ownedByWindow = false;
    const auto path = chosen ? chosen : ui_.AskOpenFile(prompt);
    if (!path) return ReadOutcome::Cancelled;
    return ReadSplashFile(*path);
}

SplashFile::ReadOutcome SplashFile::ReadSplashFile(const std::string& path) {
    const FileRead read = ReadFileAtMost(path, kDatabaseFileLimit);
    if (!read.Ok()) {
        Tell("Could not open file " + path + " for reading.", false, MessageIcon::Warning);
        return ReadOutcome::CouldNotOpen;
    }
    const auto content = ParseSplashFile(read.bytes);
    if (!content) {
        Tell("This is not a splash image file.", false, MessageIcon::Warning);
        return ReadOutcome::NotSplashFile;
    }
    welcome_.bytes.assign(content->welcome.begin(), content->welcome.end());
    goodbye_.bytes.assign(content->goodbye.begin(), content->goodbye.end());
    name_ = content->name;
    welcome_.source = SourceFromSplash("welcome", name_);
    goodbye_.source = SourceFromSplash("goodbye", name_);
    fileName_ = path;
    modified_ = false;
    return ReadOutcome::Ok;
}

}  // namespace corvane
