// Splash files: the two pictures a Treo shows when it is switched on (the
// welcome image) and off (the goodbye image). A Palm resource database of type
// 'spl3' and creator 'TSkn' holding two 'jpeg' resources, each a complete JPEG
// file of 320x320 pixels kept byte for byte: the JPEGs are checked, never
// decoded or re-encoded.
//
// All numbers big-endian; four-character codes as their four ASCII bytes.
//
//   offset  size  field
//        0    32  database name, zero-filled behind its terminator
//       32     2  attributes: 0x0001 (resource database)
//       34     2  version: 0
//       36     4  creation date (a Palm date, see PalmDate.h)
//       40     4  modification date: the same value
//       44    16  last backup, modification number, app info, sort info: 0
//       60     4  type 'spl3'                 } the reader insists on these
//       64     4  creator 'TSkn'              }
//       68     8  unique-ID seed, next record list: 0
//       76     2  number of resources: 2 (the reader ignores it)
//       78    10  entry 1: 'jpeg', id 6852, offset of the welcome JPEG (100)
//       88    10  entry 2: 'jpeg', id 6863, offset of the goodbye JPEG
//       98     2  gap: 0
//      100     .  welcome JPEG bytes, then goodbye JPEG bytes up to the end
//
// The welcome image is everything from entry 1's offset to entry 2's, the
// goodbye image everything from entry 2's offset to the end of the file, so
// a file whose count says 3 still reads. Offsets that run backwards, point
// into the header or its two entries, lie past the end or leave an image
// without bytes make the file unreadable.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/UserInterface.h"
#include "pdb/PalmDate.h"

namespace corvane {

// ---- codecs: bytes in, values out, and back ------------------------------------

enum class JpegCheck { Ok, NotJpeg, WrongSize };

// Looks for the JPEG start-of-image marker and the first start-of-frame
// segment (baseline, extended, progressive or lossless: 0xC0 to 0xC3) and
// accepts a frame of exactly 320x320. Other frame types are skipped like any
// segment. Every step moves forward, so the scan ends on any input.
JpegCheck CheckJpeg(std::span<const std::uint8_t> bytes);

inline constexpr std::uint16_t kSplashWelcomeId = 6852;
inline constexpr std::uint16_t kSplashGoodbyeId = 6863;
inline constexpr std::uint32_t kSplashHeaderSize = 100;  // header, two entries and the gap

struct SplashContent {
    std::string name;  // the name field up to its first zero byte
    std::uint32_t welcomeOffset = 0;
    std::uint32_t goodbyeOffset = 0;
    std::span<const std::uint8_t> welcome;  // views into the parsed bytes
    std::span<const std::uint8_t> goodbye;
};

// The two images of a splash file, or nothing when the bytes are not one.
std::optional<SplashContent> ParseSplashFile(std::span<const std::uint8_t> bytes);

// A complete splash file. The name keeps at most its first 31 bytes (the
// field needs its terminator). Nothing when the welcome image is too large
// for the goodbye image's 32-bit offset.
std::optional<std::vector<std::uint8_t>> BuildSplashFile(std::string_view name, std::span<const std::uint8_t> welcome,
                                                         std::span<const std::uint8_t> goodbye, std::uint32_t palmDate);

// The name proposed for an extracted image: the splash file name without its
// last four characters (its ".pdb"), then "-welcome.jpg" or "-goodbye.jpg".
std::string ExtractedImageName(std::string_view splashFileName, std::uint16_t id);

// ---- the splash of one editor window -------------------------------------------

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
