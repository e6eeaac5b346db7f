// The splash of one editor window: the welcome and goodbye JPEG bytes, where
// each came from, the file they belong to, and the commands behind the
// splash editor's menu. The bytes go in and out of files through the codec
// of SplashCodec.h.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "model/UserInterface.h"
#include "pdb/PalmDate.h"
#include "pdb/SplashCodec.h"

namespace corvane {

// The name proposed for an extracted image: the splash file name without its
// last four characters (its ".pdb"), then "-welcome.jpg" or "-goodbye.jpg".
std::string ExtractedImageName(std::string_view splashFileName, std::uint16_t id);

// The commands ask and tell through the UserInterface; each returns what
// happened, so a window only forwards the command and refreshes from the state.
class SplashFile {
public:
    static constexpr std::uint16_t WelcomeId = kSplashWelcomeId;
    static constexpr std::uint16_t GoodbyeId = kSplashGoodbyeId;
    static constexpr std::string_view UntitledName = "untitled.pdb";

    enum class LoadOutcome { Ok, Cancelled, CouldNotOpen, NotJpeg, WrongSize, UnknownId };
    enum class SaveImageOutcome { Ok, Cancelled, ImageMissing, CouldNotOpen, WriteFailed, UnknownId };
    enum class SaveOutcome { Ok, Cancelled, ImageMissing, CouldNotOpen, WriteFailed };
    enum class ReadOutcome { Ok, Cancelled, CouldNotOpen, NotSplashFile };

    // The clock gives the Palm date written into saved files.
    explicit SplashFile(UserInterface& ui, std::function<std::uint32_t()> clock = PalmNow);

    const std::vector<std::uint8_t>& WelcomeBytes() const { return welcome_.bytes; }
    const std::vector<std::uint8_t>& GoodbyeBytes() const { return goodbye_.bytes; }
    // Where each image came from: the JPEG's path, or "(welcome image from NAME splash file)"
    // with the name decoded from the phone's character set.
    const std::string& WelcomeSource() const { return welcome_.source; }
    const std::string& GoodbyeSource() const { return goodbye_.source; }
    bool HasImage(std::uint16_t id) const;
    bool HasBothImages() const { return HasImage(WelcomeId) && HasImage(GoodbyeId); }
    // The source of the image named by id; empty for any other id.
    const std::string& Source(std::uint16_t id) const;
    // The database name as stored, in the phone's character set.
    const std::string& Name() const { return name_; }
    const std::string& FileName() const { return fileName_; }
    bool IsModified() const { return modified_; }
    // For the editor's history, whose clean state decides it.
    void SetModified(bool modified) { modified_ = modified; }

    // Both images with where they came from: what loading one changes.
    struct Images {
        std::vector<std::uint8_t> welcome, goodbye;
        std::string welcomeSource, goodbyeSource;
        friend bool operator==(const Images&, const Images&) = default;
    };
    Images CurrentImages() const;
    void RestoreImages(const Images& images);

    // Reads one JPEG file into the image named by id.
    LoadOutcome LoadSplashImage(std::uint16_t id, const std::string& path);
    // Asks for a JPEG file, then LoadSplashImage.
    LoadOutcome ChooseSplashImage(std::uint16_t id);
    // Writes the bytes of the image named by id, unchanged, to path.
    SaveImageOutcome SaveSplashImage(std::uint16_t id, const std::string& path);
    // Asks where to save the image named by id, then SaveSplashImage.
    SaveImageOutcome ExtractSplashImage(std::uint16_t id);

    // Writes the splash file to FileName().
    SaveOutcome WriteSplash();
    // SaveSplashAs while the splash is still untitled, WriteSplash otherwise.
    SaveOutcome SaveSplash();
    // Asks for a file name (kept even when the write then fails), then WriteSplash.
    SaveOutcome SaveSplashAs();

    // Asks for a splash file, then ReadSplashFile. With unsaved changes it
    // asks first; any answer but Yes is Cancelled. A path given takes the
    // file prompt's place.
    ReadOutcome ReadSplash(const std::optional<std::string>& chosen = std::nullopt);
    // Replaces both images with those of the splash file at path.
    ReadOutcome ReadSplashFile(const std::string& path);

private:
    struct Image {
        std::vector<std::uint8_t> bytes;
        std::string source;
    };
    Image* ImageFor(std::uint16_t id);
    const Image* ImageFor(std::uint16_t id) const;
    void Tell(const std::string& text, bool captioned, MessageIcon icon);

    UserInterface& ui_;
    std::function<std::uint32_t()> clock_;
    Image welcome_;
    Image goodbye_;
    std::string name_;
    std::string fileName_{UntitledName};
    bool modified_ = false;
};

}  // namespace corvane
