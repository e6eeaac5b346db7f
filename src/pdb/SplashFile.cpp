#include "pdb/SplashFile.h"

#include <limits>
#include <utility>

#include "pdb/BigEndianFile.h"
#include "pdb/FileAccess.h"
#include "pdb/PalmText.h"
#include "pdb/PathNames.h"

namespace corvane {
namespace {

constexpr std::size_t kNameFieldSize = 32;
constexpr std::uint16_t kResourceDatabase = 0x0001;
constexpr std::uint16_t kResourceCount = 2;
constexpr std::uint32_t kEntriesEnd = 98;  // an image may start no earlier
constexpr std::uint16_t kSplashSide = 320;
constexpr std::string_view kType = "spl3";
constexpr std::string_view kCreator = "TSkn";
constexpr std::string_view kJpegType = "jpeg";

constexpr std::uint16_t kStartOfImage = 0xFFD8;
constexpr std::uint8_t kMarkerPrefix = 0xFF;

bool IsCountedFrame(std::uint8_t marker) { return marker >= 0xC0 && marker <= 0xC3; }

constexpr const char* kJpegFilter = "Jpeg Image (*.jpg)|*.jpg|All files (*.*)|*.*||";
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

// ---- codecs ----------------------------------------------------------------

JpegCheck CheckJpeg(std::span<const std::uint8_t> bytes) {
    BigEndianReader in(bytes);
    if (in.U16() != kStartOfImage) return JpegCheck::NotJpeg;
    while (!in.AtEnd()) {
        while (in.Ok() && in.U8() != kMarkerPrefix) {
            // up to the next marker prefix
        }
        // A marker may be preceded by any number of fill bytes 0xFF.
        std::uint8_t marker = kMarkerPrefix;
        while (in.Ok() && marker == kMarkerPrefix) marker = in.U8();
        if (!in.Ok()) return JpegCheck::NotJpeg;

        if (IsCountedFrame(marker)) {
            in.Skip(3);  // segment length and sample precision
            const std::uint16_t height = in.U16();
            const std::uint16_t width = in.U16();
            if (!in.Ok()) return JpegCheck::NotJpeg;
            return height == kSplashSide && width == kSplashSide ? JpegCheck::Ok : JpegCheck::WrongSize;
        }
        // The length counts its own two bytes; a shorter one would step backwards.
        const std::uint16_t length = in.U16();
        if (!in.Ok() || length < 2) return JpegCheck::NotJpeg;
        in.Skip(length - 2u);
        if (!in.Ok()) return JpegCheck::NotJpeg;
    }
    return JpegCheck::NotJpeg;
}

std::optional<SplashContent> ParseSplashFile(std::span<const std::uint8_t> bytes) {
    BigEndianReader in(bytes);
    SplashContent content;
    const auto nameField = in.Bytes(kNameFieldSize);
    for (std::uint8_t c : nameField) {
        if (c == 0) break;
        content.name += static_cast<char>(c);
    }
    in.Skip(28);
    const bool typeOk = in.FourCC() == kType;
    const bool creatorOk = in.FourCC() == kCreator;
    in.Skip(10);  // unique-ID seed, next record list, and a count we do not trust
    const std::string welcomeType = in.FourCC();
    const std::uint16_t welcomeId = in.U16();
    content.welcomeOffset = in.U32();
    const std::string goodbyeType = in.FourCC();
    const std::uint16_t goodbyeId = in.U16();
    content.goodbyeOffset = in.U32();
    if (!in.Ok() || !typeOk || !creatorOk || welcomeType != kJpegType || welcomeId != kSplashWelcomeId ||
        goodbyeType != kJpegType || goodbyeId != kSplashGoodbyeId) {
        return std::nullopt;
    }

    const std::uint32_t o1 = content.welcomeOffset;
    const std::uint32_t o2 = content.goodbyeOffset;
    // An image of no bytes is as bad as one outside the file: there is nothing to show.
    if (o1 < kEntriesEnd || o2 <= o1 || o2 >= bytes.size()) return std::nullopt;
    content.welcome = bytes.subspan(o1, o2 - o1);
    content.goodbye = bytes.subspan(o2);
    return content;
}

std::optional<std::vector<std::uint8_t>> BuildSplashFile(std::string_view name, std::span<const std::uint8_t> welcome,
                                                         std::span<const std::uint8_t> goodbye, std::uint32_t palmDate) {
    if (welcome.size() > std::numeric_limits<std::uint32_t>::max() - kSplashHeaderSize) return std::nullopt;
    const auto goodbyeOffset = static_cast<std::uint32_t>(kSplashHeaderSize + welcome.size());

    BigEndianWriter out;
    const std::string_view stored = name.substr(0, kNameFieldSize - 1);
    for (char c : stored) out.U8(static_cast<std::uint8_t>(c));
    out.Zeros(kNameFieldSize - stored.size());
    out.U16(kResourceDatabase);
    out.U16(0);  // version
    out.U32(palmDate);  // created
    out.U32(palmDate);  // modified
    out.Zeros(16);      // last backup, modification number, app info, sort info
    out.FourCC(kType);
    out.FourCC(kCreator);
    out.Zeros(8);  // unique-ID seed, next record list
    out.U16(kResourceCount);
    out.FourCC(kJpegType);
    out.U16(kSplashWelcomeId);
    out.U32(kSplashHeaderSize);
    out.FourCC(kJpegType);
    out.U16(kSplashGoodbyeId);
    out.U32(goodbyeOffset);
    out.Zeros(2);  // gap
    out.Bytes(welcome);
    out.Bytes(goodbye);
    return out.Take();
}

std::string ExtractedImageName(std::string_view splashFileName, std::uint16_t id) {
    const std::size_t keep = splashFileName.size() >= 4 ? splashFileName.size() - 4 : 0;
    return std::string(splashFileName.substr(0, keep)) + (id == kSplashWelcomeId ? "-welcome.jpg" : "-goodbye.jpg");
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
