// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The bitmap set: the 35 element pictures of a skin as ".bmp" files in one
// folder, named after the elements ("0.bmp" ... "dialbuttonpressed.bmp", in
// kBitmapSetOrder). Export writes the target depth's set; import reads every
// file into both sets, each reduced for its own depth.
//
// Files are written whole through FileAccess.h, so a file that cannot be
// written completely counts as a failure and leaves any earlier file intact.
// Paths are not limited in length: a path the system refuses is a failed file.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "imaging/Image.h"
#include "io/Result.h"
#include "model/ImageSlot.h"
#include "pdb/SkinCatalogue.h"

namespace corvane {

class SkinDocument;
class UserInterface;

inline constexpr std::string_view kExportFolderTitle = "Select a destination directory for the exported bitmaps:";
inline constexpr std::string_view kImportFolderTitle =
    "Select the directory including the bitmap files to be imported:";
inline constexpr std::string_view kNotAllExported = "Not all bitmaps could be exported.";
inline constexpr std::string_view kImportFailureIntro = "The following bitmap(s) could not be imported:\n\n";

// The folder, a separator unless the folder ends with '\' or '/', the base name and ".bmp".
std::string BitmapFilePath(const std::string& folder, std::string_view baseName);

// What the user said so far to the overwrite questions of one command.
struct OverwriteAnswers {
    bool yesToAll = false;   // "Yes to All": the rest are overwritten unasked
    bool cancelled = false;  // "Cancel": the command stops
};

// Writes the picture as BASE.bmp in the folder. When something is already
// there (a symbolic link too, even one to nothing), asks first whether to
// overwrite it, with Yes, "Yes to All", No (the default) and Cancel, unless
// the user already answered "Yes to All"; No and Cancel skip the file and
// count as success. A link is replaced, never followed out of the folder.
// False only when the file could not be written.
bool SaveBitmapWithPrompt(UserInterface& user, const Image& picture, std::string_view baseName,
                          const std::string& folder, OverwriteAnswers& answers);

// Loads BASE.bmp of the folder into an element's two slots, each reduced for
// its depth as `dither` says, reading the file once. A missing file is simply a failed load;
// the slots then keep their pictures.
ElementLoad ImportElementBitmap(ImageSlot& eightBit, ImageSlot& sixteenBit, std::string_view baseName,
                                const std::string& folder, Dither dither);

enum class ExportOutcome {
    Cancelled,       // the folder browser was closed: nothing happened
    Exported,        // every file written or, where the user declined, skipped
    Stopped,         // "Cancel" to an overwrite question: the files before it stay written
    NotAllExported,  // "Not all bitmaps could be exported." was shown
};
const char* Name(ExportOutcome outcome);

struct NamedPicture {
    std::string baseName;  // the file name without ".bmp"
    Image picture;
};

// What every export command does: asks for the destination folder, saves
// each picture with SaveBitmapWithPrompt, all of them attempted whatever
// happened to the ones before, and warns once if any could not be written.
// Cancel to an overwrite question stops there, without a warning.
ExportOutcome ExportPictures(UserInterface& user, const std::vector<NamedPicture>& pictures);

// Export Bitmaps: the 35 pictures of the target depth's set, every file
// attempted whatever happened to the ones before. Changes nothing in the document.
ExportOutcome ExportBitmaps(const SkinDocument& document, UserInterface& user);

// An element whose file one or both of its slots could not take.
struct FailedImport {
    Element element;
    ElementLoad load;
};

// Every file of the folder into both sets, each file read once and each slot
// keeping its transparent colour, reduced for its depth by the load (with the
// document's dithering): the rule
// of Import Bitmaps and of `corvane skin build`. The elements that failed, in
// bitmap-set order.
std::vector<FailedImport> ImportBitmapSet(SkinDocument& document, const std::string& folder);

// The base names of the files that failed, as Import Bitmaps lists them:
// those of the 8-bit set, then those of the 16-bit set.
std::vector<std::string_view> FailedFileNames(const std::vector<FailedImport>& failed);


// Import Bitmaps: names the files that failed in one warning, with why in its details. The skin is
// marked modified in every case, also when the browser was cancelled; the
// window then refreshes its title and recomposes both previews. False when
// the browser was cancelled.
bool ImportBitmaps(SkinDocument& document, UserInterface& user);

// ---- a bitmap set packed in a zip archive ----------------------------------------

inline constexpr std::string_view kBitmapArchiveFilter = "Bitmap Set (*.zip)|*.zip||";

// The set as an archive holds it: a zip program's archive of the folder, or
// the browser edition's download of Export Bitmaps. Each element's file is
// the entry of its name at the archive's top or in a folder of it (of several,
// the one nearest the top), and goes into both sets as ImportBitmapSet's
// files do, with the document's dithering. The archive is read through ZipReader's limits (entry count,
// names that leave the archive, methods, checksums), and the entries the set
// takes may declare kMemoryBudget bytes together: an archive that breaks
// either is refused whole, before any element changes. An element without
// an entry fails as a missing file does.
Result<std::vector<FailedImport>> ImportBitmapArchive(SkinDocument& document, std::span<const std::uint8_t> archive);

enum class ArchiveImportOutcome {
    Cancelled,  // the file prompt was closed: nothing happened
    Imported,   // what failed, if anything, was told as Import Bitmaps tells it
    Refused,    // the archive could not be read or was refused: told, the skin unchanged
};
const char* Name(ArchiveImportOutcome outcome);

// Import Bitmaps from a zip archive: asks for the archive (at most
// kPictureFileLimit bytes), imports as above and tells as Import Bitmaps
// does, the archive's entries named as files inside it ("set.zip/0.bmp").
ArchiveImportOutcome ImportBitmapsFromArchive(SkinDocument& document, UserInterface& user);

}  // namespace corvane
