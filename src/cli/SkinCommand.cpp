// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// `corvane skin`: skin files without the editor, and the subcommands that
// make, take apart and describe them (the editor's Import/Export commands are
// in SkinExchangeCommand.cpp). Every subcommand goes through the same core
// steps as the editor's commands, so what it writes is what the editor would
// save for the same pictures.

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/ColourText.h"
#include "cli/Command.h"
#include "cli/SkinCommands.h"
#include "exchange/BitmapSet.h"
#include "exchange/Dialpad.h"
#include "exchange/LayeredImage.h"
#include "imaging/Bmp.h"
#include "imaging/ImageFile.h"
#include "io/FileAccess.h"
#include "io/Result.h"
#include "io/PathNames.h"
#include "model/ImageSlot.h"
#include "model/PreviewComposition.h"
#include "model/SkinDocument.h"
#include "model/SkinFile.h"
#include "pdb/PalmText.h"
#include "pdb/SkinCatalogue.h"

namespace corvane::cli {
namespace {

std::string FileNameOf(Element element) { return std::string(ElementInfo(element).name) + ".bmp"; }

// Lines "NAME.bmp RRGGBB", as `extract` prints them; blank lines are skipped. ('#' is no
// comment sign here: "#.bmp" is the hash key's picture.)
Result<std::map<Element, Colour>> ReadColourList(const std::string& path) {
    const FileRead read = ReadFileAtMost(path, kPictureFileLimit);
    if (!read.Ok())
        return corvane::Fail(CannotRead(path, ReadProblemText(read.problem, kPictureFileLimit, "colour lists", read.error)));
    std::map<Element, Colour> colours;
    std::istringstream in(std::string(read.bytes.begin(), read.bytes.end()));
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::istringstream fields(line);
        std::string file, colour, extra;
        if (!(fields >> file)) continue;
        const SkinElement* element =
            file.size() > 4 && file.ends_with(".bmp") ? ElementByName(file.substr(0, file.size() - 4)) : nullptr;
        const auto value = (fields >> colour) ? ParseColour(colour) : std::nullopt;
        if (!element || !value || (fields >> extra))
            return corvane::Fail(Shown(path) + ":" + std::to_string(number) + ": expected \"NAME.bmp RRGGBB\"");
        colours[element->element] = *value;
    }
    return colours;
}

}  // namespace

int WriteSkin(const SkinDocument& document, Depth depth, const std::string& output,
              std::span<const std::string> inputs) {
    const auto bytes = EncodeSkinFile(document.Set(depth), depth, DatabaseNameFromPath(output), PalmNow());
    if (!bytes) return ExitWithError("cannot encode the skin at " + std::to_string(Bits(depth)) + " bits");
    const WriteResult written = WriteFileWithReason(output, *bytes, inputs);
    switch (written.outcome) {
        case WriteOutcome::CouldNotOpen: return ExitWithError(CannotWrite(written));
        case WriteOutcome::WriteFailed: return ExitWithError(CannotWrite(written) + "; any previous file is unchanged");
        case WriteOutcome::Ok:
            break;
    }
    std::cout << "wrote " << Shown(output) << ": " << kElementCount << " bitmaps at " << Bits(depth) << " bits, " << bytes->size() << " bytes\n";
    return 0;
}

std::string SkinReadProblem(const std::string& path, ReadProblem problem, std::error_code error) {
    return CannotRead(path, ReadProblemText(problem, kDatabaseFileLimit, "skin files", error));
}

Status WritePictures(const std::string& folder, const std::vector<NamedPicture>& pictures,
                     std::span<const std::string> inputs) {
    std::vector<std::vector<std::uint8_t>> encoded;
    for (const NamedPicture& named : pictures) encoded.push_back(EncodeBmp(named.picture));
    std::vector<FileToWrite> files;
    for (std::size_t i = 0; i < pictures.size(); ++i)
        files.push_back({BitmapFilePath(folder, pictures[i].baseName), encoded[i]});
    if (const WriteResult written = WriteFilesAllOrNothing(files, inputs); !written.Ok())
        return corvane::Fail(CannotWrite(written) + "; no file in '" + Shown(folder) + "' was changed");
    return {};
}

namespace {

// ---- subcommands ----------------------------------------------------------------

int RunNew(const SkinOptions& options) {
    const SkinDocument document;
    return WriteSkin(document, options.depth, options.output);
}

void SetTransparent(SkinDocument& document, Element element, Colour colour) {
    for (const Depth depth : kDepths) document.Slot(depth, element).SetTransparent(colour);
}

// ".zip" in any case.
bool EndsWithZip(std::string_view path) {
    constexpr std::string_view kZip = ".zip";
    if (path.size() < kZip.size()) return false;
    const std::string_view end = path.substr(path.size() - kZip.size());
    return std::equal(end.begin(), end.end(), kZip.begin(),
                      [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; });
}

// A layered picture instead of a bitmap set: each element from its layer, as
// the editor's Import Layered Image takes them, into the document that holds
// the transparent colours; what was missing, unknown or recoloured is told on
// standard error.
int BuildFromLayers(const SkinOptions& options, SkinDocument& document) {
    const std::string& path = options.files[0];
    const MappedRead read = MapFileAtMost(path, kLayeredMappedFileLimit);
    if (!read.Ok())
        return ExitWithError(CannotRead(path, ReadProblemText(read.problem, kLayeredMappedFileLimit, "layered images", read.error)));
    const auto picture = DecodeLayersToImport(read.file);
    if (!picture) return ExitWithError("nothing written: '" + Shown(path) + "' cannot be read: " + picture.Reason());
    const LayerImport import = ApplyLayers(document, *picture);
    for (const auto& [heading, names] : LayerImportNotices(import)) {
        std::cerr << "corvane: warning: " << heading;
        for (std::size_t i = 0; i < names.size(); ++i) std::cerr << (i ? ", " : " ") << names[i];
        std::cerr << "\n";
    }
    std::vector<std::string> inputs{path};
    if (!options.transparentFrom.empty()) inputs.push_back(options.transparentFrom);
    return WriteSkin(document, options.depth, options.output, inputs);
}

// Why a bitmap set could not be imported from `place`, a folder or an archive.
std::string FailedImportError(const std::string& place, const std::vector<FailedImport>& failed) {
    std::string list, reasons;
    for (const FailedImport& f : failed) {
        list += (list.empty() ? "" : ", ") + FileNameOf(f.element);
        reasons += "; " + FileNameOf(f.element) + ": " + ImageFileProblemText(f.load.file);
    }
    return "nothing written: the following bitmap(s) could not be imported from '" + Shown(place) + "': " + list + reasons;
}

// A bitmap set packed in a zip archive, as the browser edition's Export
// Bitmaps downloads it or a zip program packs the folder.
int BuildFromArchive(const SkinOptions& options, SkinDocument& document, std::vector<std::string> inputs) {
    const std::string& path = options.files[0];
    const FileRead read = ReadFileAtMost(path, kPictureFileLimit);
    if (!read.Ok())
        return ExitWithError(CannotRead(path, ReadProblemText(read.problem, kPictureFileLimit, "bitmap sets", read.error)));
    const auto failed = ImportBitmapArchive(document, read.bytes);
    if (!failed) return ExitWithError("nothing written: '" + Shown(path) + "' cannot be read: " + failed.Reason());
    if (!failed->empty()) return ExitWithError(FailedImportError(path, *failed));
    inputs.push_back(path);
    return WriteSkin(document, options.depth, options.output, inputs);
}

int RunBuild(const SkinOptions& options) {
    const std::string& folder = options.files[0];
    SkinDocument document;
    document.SetDithering(options.dither);
    std::vector<std::string> inputs;
    if (options.transparent)
        for (const SkinElement& e : kSkinElements) SetTransparent(document, e.element, *options.transparent);
    if (!options.transparentFrom.empty()) {
        const auto colours = ReadColourList(options.transparentFrom);
        if (!colours) return ExitWithError(colours.Reason());
        for (const auto& [element, colour] : *colours) SetTransparent(document, element, colour);
        inputs.push_back(options.transparentFrom);
    }
    std::error_code ec;
    const bool isFolder = std::filesystem::is_directory(folder, ec);
    if (!isFolder && LayeredFormatOf(folder)) return BuildFromLayers(options, document);
    if (!isFolder && EndsWithZip(folder)) return BuildFromArchive(options, document, inputs);
    if (!isFolder) return ExitWithError("'" + Shown(folder) + "' is not a folder");

    const std::vector<FailedImport> failed = ImportBitmapSet(document, folder);
    if (!failed.empty()) return ExitWithError(FailedImportError(folder, failed));
    for (const Element element : kBitmapSetOrder) inputs.push_back(BitmapFilePath(folder, ElementInfo(element).name));
    return WriteSkin(document, options.depth, options.output, inputs);
}


Result<std::vector<std::uint8_t>> ReadSkinBytes(const std::string& path) {
    FileRead read = ReadFileAtMost(path, kDatabaseFileLimit);
    if (!read.Ok()) return corvane::Fail(SkinReadProblem(path, read.problem, read.error));
    return std::move(read.bytes);
}


// An 8-bit skin may hold opaque pixels in the exact colour of the see-through
// ones (the palette has duplicates); a bitmap file cannot keep them apart.
void WarnOpaqueInTransparentColour(const DecodedSkin& skin) {
    for (const Element element : kBitmapSetOrder) {
        const int count = skin.opaqueInTransparentColour[Index(element)];
        const auto& picture = skin.pictures[Index(element)];
        if (count == 0 || !picture) continue;
        std::cerr << "corvane: warning: " << FileNameOf(element) << ": " << count
                  << " opaque pixel(s) in the transparent colour " << FormatColour(picture->transparent)
                  << " become see-through when the set is built or imported again\n";
    }
}

// The transparent colour of each element as "NAME.bmp RRGGBB", the lines --transparent-from reads.
std::string ColourLines(const DecodedSkin& skin) {
    std::string colours;
    for (const Element element : kBitmapSetOrder)
        colours += FileNameOf(element) + " " + FormatColour(skin.pictures[Index(element)]->transparent) + "\n";
    return colours;
}

// The layered picture of the skin at its own depth, instead of a bitmap set.
int ExtractLayers(const DecodedSkin& skin, const std::string& path, const std::string& output, LayeredFormat format) {
    SkinDocument document;
    ApplyDecodedSkin(skin, document);
    const auto bytes = EncodeLayeredFile(SkinLayers(document.Set(DecodedSkinDepth(skin)), document.PreviewBackground()), format);
    if (!bytes) return ExitWithError("cannot encode '" + Shown(output) + "': " + bytes.Reason());
    const std::string inputs[] = {path};
    const WriteResult written = WriteFileWithReason(output, *bytes, inputs);
    if (!written.Ok()) return ExitWithError(CannotWrite(written) + "; any previous file is unchanged");
    std::cout << ColourLines(skin);
    WarnOpaqueInTransparentColour(skin);
    return 0;
}

int RunExtract(const SkinOptions& options) {
    const std::string& path = options.files[0];
    const std::string& folder = options.output;
    const auto bytes = ReadSkinBytes(path);
    if (!bytes) return ExitWithError(bytes.Reason());
    if (IsLayeredFile(path, *bytes))
        return ExitWithError("'" + Shown(path) + "' is a layered image, not a skin; 'skin build " + Shown(path) +
                             " -o SKIN.pdb' makes a skin of it");
    const DecodedSkin skin = DecodeSkinFile(*bytes);
    if (skin.outcome == DatabaseReadOutcome::CarrierLogo) return ExitWithError("'" + Shown(path) + "' is a carrier logo file, not a skin");
    std::string missing;
    for (const Element element : kBitmapSetOrder)
        if (!skin.pictures[Index(element)]) missing += (missing.empty() ? "" : ", ") + FileNameOf(element);
    if (!missing.empty()) return ExitWithError("nothing written: '" + Shown(path) + "' has no readable picture for " + missing);
    std::error_code ec;
    if (const auto format = LayeredFormatOf(folder); format && !std::filesystem::is_directory(folder, ec))
        return ExtractLayers(skin, path, folder, *format);
    if (const auto problem = CreateOutputFolder(folder)) return ExitWithError(*problem);

    std::vector<NamedPicture> pictures;
    for (const Element element : kBitmapSetOrder)
        pictures.push_back({std::string(ElementInfo(element).name), skin.pictures[Index(element)]->image});
    const std::string inputs[] = {path};
    if (const Status written = WritePictures(folder, pictures, inputs); !written) return ExitWithError(written.Reason());
    std::cout << ColourLines(skin);
    WarnOpaqueInTransparentColour(skin);
    return 0;
}

std::string ElementNameOfId(std::uint16_t id) {
    const SkinElement* element = ElementByResourceId(id);
    return element ? std::string(element->name) : "(unsupported)";
}

int RunInfo(const SkinOptions& options) {
    const std::string& path = options.files[0];
    const auto bytes = ReadSkinBytes(path);
    if (!bytes) return ExitWithError(bytes.Reason());

    ResourceDatabase db;
    const DatabaseReadOutcome outcome = db.ReadDatabase(*bytes);
    std::ostringstream out;
    out << Shown(path) << ": name \"" << PrintablePalmText(db.Name()) << "\", type '" << PrintablePalmText(db.Type()) << "'";
    if (outcome == DatabaseReadOutcome::CarrierLogo) {
        std::cout << out.str() << "\n";
        return ExitWithError("'" + Shown(path) + "' is a carrier logo file: the editor refuses to open it");
    }
    out << ", creator '" << PrintablePalmText(db.Creator()) << "', " << db.Count() << " entries\n";

    char line[160];
    std::snprintf(line, sizeof line, "%-6s %-18s %-9s %-6s %-11s %-12s %s\n", "ID", "element", "size", "depth",
                  "compressed", "transparent", "bytes");
    out << line;
    const auto lengths = db.ResourceLengths();
    for (std::size_t i = 0; i < db.Entries().size(); ++i) {
        const ResourceEntry& e = db.Entries()[i];
        const std::string length = lengths[i] ? std::to_string(*lengths[i]) : "-";
        const std::string element = ElementNameOfId(e.id);
        if (e.Readable()) {
            const PalmBitmap& b = e.Bitmap();
            char transparent[16];
            std::snprintf(transparent, sizeof transparent, b.hasTransparency ? "0x%X" : "none", b.transparentValue);
            const std::string size = std::to_string(b.width) + "x" + std::to_string(b.height);
            std::snprintf(line, sizeof line, "%-6u %-18s %-9s %-6u %-11s %-12s %s\n", unsigned{e.id}, element.c_str(),
                          size.c_str(), unsigned{b.pixelSize}, b.compressed ? "yes" : "no", transparent, length.c_str());
        } else {
            const char* why = e.shadowed ? "(duplicate ID, not used)" : e.bitmap ? "(unreadable)" : "(not read)";
            std::snprintf(line, sizeof line, "%-6u %-18s %-48s %s\n", unsigned{e.id}, element.c_str(), why, length.c_str());
        }
        out << line;
    }

    const DecodedSkin skin = DecodeSkin(db, outcome);
    const auto warning = OpenWarningText(skin.unsupported, skin.missing);
    out << "unsupported resources: " << (skin.unsupported ? "yes" : "no") << "; missing or unreadable: " << skin.missing
        << " of " << kElementCount << "\n";
    out << (warning ? "the editor opens it with a warning" : "the editor opens it without a message") << "\n";
    std::cout << out.str();
    if (warning) return ExitWithError("'" + Shown(path) + "' was not made by this editor: " + std::to_string(skin.missing) +
                             " resources missing or unreadable" + (skin.unsupported ? ", unsupported resources present" : ""));
    return 0;
}

void DefineSkin(CLI::App& skin, Action& action) {
    AddSubcommand(skin, action,
                  {.name = "new",
                   .description = "Write the default skin.",
                   .arguments = {},
                   .output = "the skin file to write",
                   .depth = true},
                  &RunNew);

    auto building = std::make_shared<SkinOptions>();
    CLI::App* build = AddSubcommand(skin, action,
                                    {.name = "build",
                                     .description = "Build a skin from a bitmap set: the 35 pictures named by element "
                                                    "(0.bmp ... titlebar.bmp),\nloaded as the editor's Import Bitmaps "
                                                    "loads them; or from a layered image (FOLDER.ora, FOLDER.psd)\nas "
                                                    "Import Layered Image takes it.",
                                     .arguments = {"FOLDER"},
                                     .output = "the skin file to write",
                                     .depth = true,
                                     .footer = "Transparent colours start as pure green (00FF00) and are reduced with "
                                               "their pictures.\nNothing is written when a picture cannot be loaded."},
                                    &RunBuild, building);
    AddColourOption(*build, "--transparent", building->transparent, "one transparent colour for every element");
    build->add_option("--transparent-from", building->transparentFrom,
                      "per-element colours from lines \"NAME.bmp RRGGBB\", as 'extract' prints them")
        ->type_name("LIST");
    AddDitherOption(*build, building->dither);

    AddSubcommands<SkinOptions>(
        skin, action,
        {{{.name = "extract",
           .description = "Write the skin's 35 pictures as a bitmap set, or as a layered image when the output\n"
                          "ends in .ora or .psd, and print each one's transparent colour as \"NAME.bmp RRGGBB\".",
           .arguments = {"FILE.pdb"},
           .output = "the folder to write the set into, or the layered image"},
          &RunExtract},
         {{.name = "info",
           .description = "List the resources and tell how the editor would judge the file on opening; exits\n"
                          "with 1 when the editor would warn or refuse.",
           .arguments = {"FILE.pdb"}},
          &RunInfo},
         {{.name = "preview",
           .description = "Write NAME-preview.bmp, NAME-dial-unpressed.bmp and NAME-dial-pressed.bmp, as the\n"
                          "editor's Export Preview and Export Dialpad Bitmaps do, at the file's own depth.",
           .arguments = {"FILE.pdb"},
           .output = "the folder to write the pictures into"},
          &RunPreview}});

    // The two that reduce pictures into the skin take the dithering too.
    for (const SubcommandOf<SkinOptions>& sub : std::initializer_list<SubcommandOf<SkinOptions>>{
             {{.name = "dialpad",
           .description = "Import Dialpad Bitmaps: cut the 24 key pictures out of the released and pressed\n"
                          "dial-pad pictures, then save the skin.",
           .arguments = {"FILE.pdb", "UNPRESSED", "PRESSED"},
           .output = "the skin file to write"},
          &RunDialpad},
         {{.name = "background",
           .description = "Insert Background Image: draw the dial buttons and key labels over the picture\n"
                          "and make the result the 24 key pictures, then save the skin.",
           .arguments = {"FILE.pdb", "PICTURE"},
           .output = "the skin file to write"},
          &RunBackground}}) {
        auto options = std::make_shared<SkinOptions>();
        AddDitherOption(*AddSubcommand(skin, action, sub.form, sub.work, options), options->dither);
    }
}

const RegisterCommand kRegistered{
    {"skin", "create, build, extract, inspect and rework phone-application skins", &DefineSkin}};

}  // namespace
}  // namespace corvane::cli
