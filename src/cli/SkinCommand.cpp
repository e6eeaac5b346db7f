// `corvane skin`: skin files without the editor. Every subcommand goes
// through the same core steps as the editor's commands, so what it writes is
// what the editor would save for the same pictures.

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "cli/ColourText.h"
#include "cli/Command.h"
#include "exchange/BitmapSet.h"
#include "exchange/Dialpad.h"
#include "exchange/LayeredImage.h"
#include "imaging/BmpFile.h"
#include "imaging/ImageFile.h"
#include "io/FileAccess.h"
#include "io/PathNames.h"
#include "model/ImageSlot.h"
#include "model/PreviewComposition.h"
#include "model/SkinDocument.h"
#include "model/SkinFile.h"
#include "pdb/PalmText.h"
#include "pdb/SkinCatalogue.h"

namespace corvane::cli {
namespace {

struct SkinOptions {
    std::vector<std::string> files;  // the subcommand's FILE, FOLDER and PICTURE arguments, in order
    int depth = 0;
    std::string output;
    std::optional<Colour> transparent;
    std::string transparentFrom;
};

std::string FileNameOf(int element) { return std::string(kSkinElements[static_cast<std::size_t>(element)].name) + ".bmp"; }

// Lines "NAME.bmp RRGGBB", as `extract` prints them; blank lines are skipped. ('#' is no
// comment sign here: "#.bmp" is the hash key's picture.)
std::optional<std::map<int, Colour>> ReadColourList(const std::string& path, std::string& error) {
    const FileRead read = ReadFileAtMost(path, kPictureFileLimit);
    if (!read.Ok()) {
        error = "cannot read '" + Shown(path) + "': " + ReadProblemText(read.problem, kPictureFileLimit, "colour lists", read.error);
        return std::nullopt;
    }
    std::map<int, Colour> colours;
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
        if (!element || !value || (fields >> extra)) {
            error = Shown(path) + ":" + std::to_string(number) + ": expected \"NAME.bmp RRGGBB\"";
            return std::nullopt;
        }
        colours[element->index] = *value;
    }
    return colours;
}

// `inputs` are the files the skin was made from: none of them is overwritten.
int WriteSkin(const SkinDocument& document, int depth, const std::string& output,
              std::span<const std::string> inputs = {}) {
    const auto bytes = EncodeSkinFile(document.Set(depth), depth, DatabaseNameFromPath(output), PalmNow());
    if (!bytes) return Fail("cannot encode the skin at " + std::to_string(depth) + " bits");
    const WriteResult written = WriteFileWithReason(output, *bytes, inputs);
    switch (written.outcome) {
        case WriteOutcome::CouldNotOpen:
            return Fail("cannot create '" + Shown(output) + "': " + written.Reason());
        case WriteOutcome::WriteFailed:
            return Fail("error writing '" + Shown(output) + "': " + written.Reason() + "; any previous file is unchanged");
        case WriteOutcome::Ok:
            break;
    }
    std::cout << "wrote " << Shown(output) << ": 35 bitmaps at " << depth << " bits, " << bytes->size() << " bytes\n";
    return 0;
}

// ---- subcommands ----------------------------------------------------------------

int RunNew(const SkinOptions& options) {
    const SkinDocument document;
    return WriteSkin(document, options.depth, options.output);
}

// A layered picture instead of a bitmap set: each element from its layer, as
// the editor's Import Layered Image takes them; what was missing, unknown or
// recoloured is told on standard error.
int BuildFromLayers(const SkinOptions& options, const std::map<int, Colour>& transparent) {
    const std::string& path = options.files[0];
    const FileRead read = ReadFileAtMost(path, kLayeredFileLimit);
    if (!read.Ok())
        return Fail("cannot read '" + Shown(path) + "': " + ReadProblemText(read.problem, kLayeredFileLimit, "layered images", read.error));
    const auto picture = DecodeLayeredFile(read.bytes);
    if (!picture) return Fail("nothing written: '" + Shown(path) + "' cannot be read: " + picture.Reason());
    SkinDocument document;
    for (const auto& [element, colour] : transparent)
        for (const int d : {8, 16}) document.Slot(d, element).SetTransparent(colour);
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

int RunBuild(const SkinOptions& options) {
    const std::string& folder = options.files[0];
    std::map<int, Colour> transparent;
    if (options.transparent)
        for (int i = 0; i < kElementCount; ++i) transparent[i] = *options.transparent;
    if (!options.transparentFrom.empty()) {
        std::string error;
        const auto colours = ReadColourList(options.transparentFrom, error);
        if (!colours) return Fail(error);
        for (const auto& [element, colour] : *colours) transparent[element] = colour;
    }
    std::error_code ec;
    const bool isFolder = std::filesystem::is_directory(folder, ec);
    if (!isFolder && LayeredFormatOf(folder)) return BuildFromLayers(options, transparent);
    if (!isFolder) return Fail("'" + Shown(folder) + "' is not a folder");

    // As Import Bitmaps: every file into the 8-bit and the 16-bit set, each
    // slot keeping its transparent colour, reduced by the load.
    SkinDocument document;
    for (const auto& [element, colour] : transparent)
        for (const int d : {8, 16}) document.Slot(d, element).SetTransparent(colour);
    std::string list, reasons;
    std::vector<std::string> inputs;
    if (!options.transparentFrom.empty()) inputs.push_back(options.transparentFrom);
    for (const int element : kBitmapSetOrder) {
        inputs.push_back(JoinPath(folder, FileNameOf(element)));
        const ElementLoad load = LoadElementFromFile(document.Slot(8, element), document.Slot(16, element), inputs.back());
        if (load.Both()) continue;
        list += (list.empty() ? "" : ", ") + FileNameOf(element);
        reasons += "; " + FileNameOf(element) + ": " + ImageFileProblemText(load.file);
    }
    if (!list.empty())
        return Fail("nothing written: the following bitmap(s) could not be imported from '" + Shown(folder) + "': " + list +
                    reasons);
    return WriteSkin(document, options.depth, options.output, inputs);
}

std::optional<std::vector<std::uint8_t>> ReadSkinBytes(const std::string& path, std::string& error) {
    FileRead read = ReadFileAtMost(path, kDatabaseFileLimit);
    if (!read.Ok()) {
        error = "cannot read '" + Shown(path) + "': " + ReadProblemText(read.problem, kDatabaseFileLimit, "skin files", read.error);
        return std::nullopt;
    }
    return std::move(read.bytes);
}

std::optional<DecodedSkin> ReadSkin(const std::string& path, std::string& error) {
    const auto bytes = ReadSkinBytes(path, error);
    if (!bytes) return std::nullopt;
    return DecodeSkinFile(*bytes);
}

// An 8-bit skin may hold opaque pixels in the exact colour of the see-through
// ones (the palette has duplicates); a bitmap file cannot keep them apart.
void WarnOpaqueInTransparentColour(const DecodedSkin& skin) {
    for (const int element : kBitmapSetOrder) {
        const int count = skin.opaqueInTransparentColour[static_cast<std::size_t>(element)];
        const auto& picture = skin.pictures[static_cast<std::size_t>(element)];
        if (count == 0 || !picture) continue;
        std::cerr << "corvane: warning: " << FileNameOf(element) << ": " << count
                  << " opaque pixel(s) in the transparent colour " << FormatColour(picture->transparent)
                  << " become see-through when the set is built or imported again\n";
    }
}

// The transparent colour of each element as "NAME.bmp RRGGBB", the lines --transparent-from reads.
std::string ColourLines(const DecodedSkin& skin) {
    std::string colours;
    for (const int element : kBitmapSetOrder)
        colours += FileNameOf(element) + " " + FormatColour(skin.pictures[static_cast<std::size_t>(element)]->transparent) + "\n";
    return colours;
}

// The layered picture of the skin at its own depth, instead of a bitmap set.
int ExtractLayers(const DecodedSkin& skin, const std::string& path, const std::string& output, LayeredFormat format) {
    SkinDocument document;
    ApplyDecodedSkin(skin, document);
    const auto bytes = EncodeLayeredFile(SkinLayers(document.Set(DecodedSkinDepth(skin)), document.PreviewBackground()), format);
    if (!bytes) return Fail("cannot encode '" + Shown(output) + "': " + bytes.Reason());
    const std::string inputs[] = {path};
    const WriteResult written = WriteFileWithReason(output, *bytes, inputs);
    if (!written.Ok()) return Fail("cannot write '" + Shown(output) + "': " + written.Reason() + "; any previous file is unchanged");
    std::cout << ColourLines(skin);
    WarnOpaqueInTransparentColour(skin);
    return 0;
}

int RunExtract(const SkinOptions& options) {
    const std::string& path = options.files[0];
    const std::string& folder = options.output;
    std::string error;
    const auto skin = ReadSkin(path, error);
    if (!skin) return Fail(error);
    if (skin->outcome == DatabaseReadOutcome::CarrierLogo) return Fail("'" + Shown(path) + "' is a carrier logo file, not a skin");
    std::string missing;
    for (const int element : kBitmapSetOrder)
        if (!skin->pictures[static_cast<std::size_t>(element)]) missing += (missing.empty() ? "" : ", ") + FileNameOf(element);
    if (!missing.empty()) return Fail("nothing written: '" + Shown(path) + "' has no readable picture for " + missing);
    std::error_code ec;
    if (const auto format = LayeredFormatOf(folder); format && !std::filesystem::is_directory(folder, ec))
        return ExtractLayers(*skin, path, folder, *format);
    if (const auto problem = CreateOutputFolder(folder)) return Fail(*problem);

    // The whole set or nothing: a failed write leaves every file in the folder as it was.
    std::vector<std::vector<std::uint8_t>> encoded;
    std::vector<FileToWrite> files;
    for (const int element : kBitmapSetOrder) encoded.push_back(EncodeBmp(skin->pictures[static_cast<std::size_t>(element)]->image));
    for (std::size_t i = 0; i < encoded.size(); ++i)
        files.push_back({JoinPath(folder, FileNameOf(kBitmapSetOrder[i])), encoded[i]});
    const std::string inputs[] = {path};
    if (const WriteResult written = WriteFilesAllOrNothing(files, inputs); !written.Ok())
        return Fail("cannot write '" + Shown(written.path) + "': " + written.Reason() + "; no file in '" + Shown(folder) +
                    "' was changed");
    std::cout << ColourLines(*skin);
    WarnOpaqueInTransparentColour(*skin);
    return 0;
}

// ---- the editor's Import/Export commands --------------------------------------------

// The skin in the document as the editor's Open leaves it, at the file's own depth.
bool OpenSkinFile(const std::string& path, SkinDocument& document, std::string& error) {
    const LoadedSkin loaded = LoadSkinFile(path, document);
    if (loaded.problem != ReadProblem::None) {
        error = "cannot read '" + Shown(path) + "': " +
                ReadProblemText(loaded.problem, kDatabaseFileLimit, "skin files", loaded.error);
        return false;
    }
    if (!loaded.Loaded()) {
        error = "'" + Shown(path) + "' is a carrier logo file, not a skin";
        return false;
    }
    if (loaded.skin.missing > 0)
        std::cerr << "corvane: warning: '" << Shown(path) << "' has no readable picture for " << loaded.skin.missing
                  << " element(s); the default pictures stand in for them\n";
    document.SetTargetDepth(DecodedSkinDepth(loaded.skin));
    return true;
}

int RunPreview(const SkinOptions& options) {
    const std::string& folder = options.output;
    std::string error;
    SkinDocument document;
    if (!OpenSkinFile(options.files[0], document, error)) return Fail(error);
    ComposePreviews(document, document.TargetDepth());

    if (const auto problem = CreateOutputFolder(folder)) return Fail(*problem);
    auto pictures = PreviewPictures(document);
    for (auto& picture : DialpadPictures(document)) pictures.push_back(std::move(picture));
    // As extract: all three files or none, and a failure leaves the old ones as they were.
    std::vector<std::vector<std::uint8_t>> encoded;
    std::vector<FileToWrite> files;
    std::string written;
    for (const NamedPicture& named : pictures) encoded.push_back(EncodeBmp(named.picture));
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        files.push_back({BitmapFilePath(folder, pictures[i].baseName), encoded[i]});
        written += "wrote " + Shown(files.back().path) + "\n";
    }
    const std::string inputs[] = {options.files[0]};
    if (const WriteResult result = WriteFilesAllOrNothing(files, inputs); !result.Ok())
        return Fail("cannot write '" + Shown(result.path) + "': " + result.Reason() + "; no file in '" + Shown(folder) +
                    "' was changed");
    std::cout << written;
    return 0;
}

// The top-left dial pad is all `background` and `dialpad` use of a picture.
std::optional<Image> ReadPicture(const std::string& path, std::string& error) {
    ImageFileResult read = ReadImageFile(path, kDialpadWidth, kDialpadHeight);
    if (!read.image) error = "cannot read '" + Shown(path) + "' as a picture: " + ImageFileProblemText(read);
    return std::move(read.image);
}

int RunDialpad(const SkinOptions& options) {
    const std::string& output = options.output;
    std::string error;
    SkinDocument document;
    if (!OpenSkinFile(options.files[0], document, error)) return Fail(error);
    const auto released = ReadPicture(options.files[1], error);
    if (!released) return Fail(error);
    const auto pressed = ReadPicture(options.files[2], error);
    if (!pressed) return Fail(error);
    ApplyDialpadPictures(document, *released, *pressed);
    return WriteSkin(document, document.TargetDepth(), output, options.files);
}

int RunBackground(const SkinOptions& options) {
    const std::string& output = options.output;
    std::string error;
    SkinDocument document;
    if (!OpenSkinFile(options.files[0], document, error)) return Fail(error);
    const auto background = ReadPicture(options.files[1], error);
    if (!background) return Fail(error);
    InsertBackgroundPicture(document, *background);
    return WriteSkin(document, document.TargetDepth(), output, options.files);
}

// The byte length of each entry's resource: up to the next resource or the end of the file.
std::vector<std::optional<std::size_t>> ResourceLengths(const ResourceDatabase& db, std::size_t fileSize) {
    std::vector<std::size_t> starts;
    for (const auto& e : db.Entries()) starts.push_back(e.offset);
    std::sort(starts.begin(), starts.end());
    std::vector<std::optional<std::size_t>> lengths;
    for (const auto& e : db.Entries()) {
        if (e.offset >= fileSize) {
            lengths.emplace_back();
            continue;
        }
        const auto next = std::upper_bound(starts.begin(), starts.end(), std::size_t{e.offset});
        lengths.emplace_back((next == starts.end() ? fileSize : std::min(*next, fileSize)) - e.offset);
    }
    return lengths;
}

std::string ElementNameOfId(std::uint16_t id) {
    for (const auto& row : kSkinResourceTable)
        if (row.id == id) return std::string(kSkinElements[static_cast<std::size_t>(row.element)].name);
    return "(unsupported)";
}

int RunInfo(const SkinOptions& options) {
    std::string error;
    const std::string& path = options.files[0];
    const auto bytes = ReadSkinBytes(path, error);
    if (!bytes) return Fail(error);

    ResourceDatabase db;
    const DatabaseReadOutcome outcome = db.ReadDatabase(*bytes);
    std::ostringstream out;
    out << Shown(path) << ": name \"" << PrintablePalmText(db.Name()) << "\", type '" << PrintablePalmText(db.Type()) << "'";
    if (outcome == DatabaseReadOutcome::CarrierLogo) {
        std::cout << out.str() << "\n";
        return Fail("'" + Shown(path) + "' is a carrier logo file: the editor refuses to open it");
    }
    out << ", creator '" << PrintablePalmText(db.Creator()) << "', " << db.Count() << " entries\n";

    char line[160];
    std::snprintf(line, sizeof line, "%-6s %-18s %-9s %-6s %-11s %-12s %s\n", "ID", "element", "size", "depth",
                  "compressed", "transparent", "bytes");
    out << line;
    const auto lengths = ResourceLengths(db, bytes->size());
    for (std::size_t i = 0; i < db.Entries().size(); ++i) {
        const ResourceEntry& e = db.Entries()[i];
        const std::string length = lengths[i] ? std::to_string(*lengths[i]) : "-";
        const std::string element = ElementNameOfId(e.id);
        if (e.Readable()) {
            const PalmBitmap& b = *e.bitmap;
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
        << " of 35\n";
    out << (warning ? "the editor opens it with a warning" : "the editor opens it without a message") << "\n";
    std::cout << out.str();
    if (warning) return Fail("'" + Shown(path) + "' was not made by this editor: " + std::to_string(skin.missing) +
                             " resources missing or unreadable" + (skin.unsupported ? ", unsupported resources present" : ""));
    return 0;
}

// Declares one subcommand: its FILE, FOLDER and PICTURE arguments, in order, and its work.
CLI::App* Subcommand(CLI::App& skin, Action& action, const std::string& name, const std::string& description,
                     std::vector<std::string> arguments, int (*work)(const SkinOptions&),
                     std::shared_ptr<SkinOptions> options = std::make_shared<SkinOptions>()) {
    CLI::App* sub = skin.add_subcommand(name, description);
    options->files.resize(arguments.size());
    for (std::size_t i = 0; i < arguments.size(); ++i)
        sub->add_option(arguments[i], options->files[i])->type_name("")->required();
    RunsWith(*sub, action, options, work);
    return sub;
}

void DefineSkin(CLI::App& skin, Action& action) {
    auto creating = std::make_shared<SkinOptions>();
    CLI::App* create = Subcommand(skin, action, "new", "Write the default skin.", {}, &RunNew, creating);
    AddDepthOption(*create, creating->depth);
    AddOutputOption(*create, creating->output, "the skin file to write");

    auto building = std::make_shared<SkinOptions>();
    CLI::App* build = Subcommand(skin, action, "build",
                                 "Build a skin from a bitmap set: the 35 pictures named by element (0.bmp ... "
                                 "titlebar.bmp),\nloaded as the editor's Import Bitmaps loads them; or from a "
                                 "layered image (FOLDER.ora, FOLDER.psd)\nas Import Layered Image takes it.",
                                 {"FOLDER"}, &RunBuild, building);
    AddDepthOption(*build, building->depth);
    AddOutputOption(*build, building->output, "the skin file to write");
    AddColourOption(*build, "--transparent", building->transparent, "one transparent colour for every element");
    build->add_option("--transparent-from", building->transparentFrom,
                      "per-element colours from lines \"NAME.bmp RRGGBB\", as 'extract' prints them")
        ->type_name("LIST");
    build->footer(
        "Transparent colours start as pure green (00FF00) and are reduced with their pictures.\n"
        "Nothing is written when a picture cannot be loaded.");

    auto extracting = std::make_shared<SkinOptions>();
    CLI::App* extract = Subcommand(skin, action, "extract",
                                   "Write the skin's 35 pictures as a bitmap set, or as a layered image when the output\n"
                                   "ends in .ora or .psd, and print each one's transparent colour as \"NAME.bmp RRGGBB\".",
                                   {"FILE.pdb"}, &RunExtract, extracting);
    AddOutputOption(*extract, extracting->output, "the folder to write the set into, or the layered image");

    Subcommand(skin, action, "info",
               "List the resources and tell how the editor would judge the file on opening; exits\n"
               "with 1 when the editor would warn or refuse.",
               {"FILE.pdb"}, &RunInfo);

    auto previewing = std::make_shared<SkinOptions>();
    CLI::App* preview = Subcommand(skin, action, "preview",
                                   "Write NAME-preview.bmp, NAME-dial-unpressed.bmp and NAME-dial-pressed.bmp, as the\n"
                                   "editor's Export Preview and Export Dialpad Bitmaps do, at the file's own depth.",
                                   {"FILE.pdb"}, &RunPreview, previewing);
    AddOutputOption(*preview, previewing->output, "the folder to write the pictures into");

    auto dialpad = std::make_shared<SkinOptions>();
    CLI::App* cut = Subcommand(skin, action, "dialpad",
                               "Import Dialpad Bitmaps: cut the 24 key pictures out of the released and pressed\n"
                               "dial-pad pictures, then save the skin.",
                               {"FILE.pdb", "UNPRESSED", "PRESSED"}, &RunDialpad, dialpad);
    AddOutputOption(*cut, dialpad->output, "the skin file to write");

    auto background = std::make_shared<SkinOptions>();
    CLI::App* insert = Subcommand(skin, action, "background",
                                  "Insert Background Image: draw the dial buttons and key labels over the picture\n"
                                  "and make the result the 24 key pictures, then save the skin.",
                                  {"FILE.pdb", "PICTURE"}, &RunBackground, background);
    AddOutputOption(*insert, background->output, "the skin file to write");
}

const RegisterCommand kRegistered{
    {"skin", "create, build, extract, inspect and rework phone-application skins", &DefineSkin}};

}  // namespace
}  // namespace corvane::cli
