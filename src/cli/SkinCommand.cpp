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
#include "imaging/ImageSlot.h"
#include "exchange/BmpFile.h"
#include "exchange/Dialpad.h"
#include "imaging/ImageFile.h"
#include "model/SkinCatalogue.h"
#include "model/PreviewComposition.h"
#include "model/SkinDocument.h"
#include "pdb/FileAccess.h"
#include "pdb/PalmText.h"
#include "pdb/PathNames.h"
#include "pdb/SkinFile.h"

namespace corvane::cli {
namespace {

constexpr const char* kHelp =
    "Usage: corvane skin SUBCOMMAND ...\n"
    "Phone-application skin files (.pdb) of the Treo 650/700p.\n"
    "\n"
    "  corvane skin new --depth 8|16 -o FILE.pdb\n"
    "      Writes the default skin.\n"
    "  corvane skin build FOLDER --depth 8|16 -o FILE.pdb [--transparent RRGGBB] [--transparent-from LIST]\n"
    "      Builds a skin from a bitmap set: the 35 pictures named by element (0.bmp ... titlebar.bmp),\n"
    "      loaded as the editor's Import Bitmaps loads them. Transparent colours start as pure green\n"
    "      (00FF00); --transparent sets one colour for every element, --transparent-from sets them\n"
    "      per element from lines \"NAME.bmp RRGGBB\" as 'extract' prints them. Each colour is reduced\n"
    "      with its picture. Nothing is written when a picture cannot be loaded.\n"
    "  corvane skin extract FILE.pdb -o FOLDER\n"
    "      Writes the skin's 35 pictures as a bitmap set and prints each one's transparent colour\n"
    "      as \"NAME.bmp RRGGBB\".\n"
    "  corvane skin preview FILE.pdb -o FOLDER\n"
    "      Writes what the editor's Export Preview and Export Dialpad Bitmaps write for the skin at\n"
    "      its own depth: NAME-preview.bmp, NAME-dial-unpressed.bmp and NAME-dial-pressed.bmp.\n"
    "  corvane skin dialpad FILE.pdb UNPRESSED PRESSED -o OUT.pdb\n"
    "      The editor's Import Dialpad Bitmaps: cuts the 24 key pictures out of two dial-pad\n"
    "      pictures (306x184, laid out as 'preview' writes them) and makes both dial buttons\n"
    "      see-through, then saves at the skin's own depth.\n"
    "  corvane skin background FILE.pdb PICTURE -o OUT.pdb\n"
    "      The editor's Insert Background Image: draws the dial buttons and key labels over the\n"
    "      picture's top-left 306x184 and makes the result the key pictures, then saves.\n"
    "  corvane skin info FILE.pdb\n"
    "      Lists the resources and tells how the editor would judge the file on opening; exits\n"
    "      with 1 when the editor would warn or refuse.\n";

// ---- options ------------------------------------------------------------------

struct Options {
    std::vector<std::string> positional;
    std::map<std::string, std::string> values;  // option name without dashes -> value
    bool help = false;
};

// Options that take a value; "-o" is "output".
bool TakesValue(const std::string& name) {
    return name == "depth" || name == "output" || name == "transparent" || name == "transparent-from";
}

std::optional<Options> ParseOptions(const std::vector<std::string>& args, std::string& error) {
    Options options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            options.help = true;
            continue;
        }
        if (arg.size() < 2 || arg[0] != '-') {
            options.positional.push_back(arg);
            continue;
        }
        std::string name = arg == "-o" ? "output" : arg.rfind("--", 0) == 0 ? arg.substr(2) : "";
        std::optional<std::string> value;
        if (const auto eq = name.find('='); eq != std::string::npos) {
            value = name.substr(eq + 1);
            name.resize(eq);
        }
        if (!TakesValue(name)) {
            error = "unknown option '" + arg + "'";
            return std::nullopt;
        }
        if (!value) {
            if (i + 1 >= args.size()) {
                error = "option '" + arg + "' needs a value";
                return std::nullopt;
            }
            value = args[++i];
        }
        if (options.values.count(name)) {
            error = "option '--" + name + "' given twice";
            return std::nullopt;
        }
        options.values[name] = *value;
    }
    return options;
}

std::optional<std::string> Value(const Options& options, const std::string& name) {
    const auto it = options.values.find(name);
    if (it == options.values.end()) return std::nullopt;
    return it->second;
}

// Every option given must be one the subcommand knows.
bool OnlyKnownOptions(const Options& options, std::initializer_list<const char*> known, std::string& error) {
    for (const auto& entry : options.values) {
        const std::string& name = entry.first;
        if (std::none_of(known.begin(), known.end(), [&name](const char* k) { return name == k; })) {
            error = "option '--" + name + "' does not apply here";
            return false;
        }
    }
    return true;
}

std::optional<int> ParseDepth(const std::optional<std::string>& text) {
    if (text == "8") return 8;
    if (text == "16") return 16;
    return std::nullopt;
}

std::string FileNameOf(int element) { return std::string(kSkinElements[static_cast<std::size_t>(element)].name) + ".bmp"; }

// Lines "NAME.bmp RRGGBB", as `extract` prints them; blank lines are skipped. ('#' is no
// comment sign here: "#.bmp" is the hash key's picture.)
std::optional<std::map<int, Colour>> ReadColourList(const std::string& path, std::string& error) {
    const auto bytes = ReadWholeFile(path);
    if (!bytes) {
        error = "cannot read '" + path + "'";
        return std::nullopt;
    }
    std::map<int, Colour> colours;
    std::istringstream in(std::string(bytes->begin(), bytes->end()));
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
            error = path + ":" + std::to_string(number) + ": expected \"NAME.bmp RRGGBB\"";
            return std::nullopt;
        }
        colours[element->index] = *value;
    }
    return colours;
}

int WriteSkin(const SkinDocument& document, int depth, const std::string& output) {
    const auto bytes = EncodeSkinFile(document.Set(depth), depth, DatabaseNameFromPath(output), PalmNow());
    if (!bytes) return Fail("cannot encode the skin at " + std::to_string(depth) + " bits");
    const WriteResult written = WriteFileWithReason(output, *bytes);
    switch (written.outcome) {
        case WriteOutcome::CouldNotOpen:
            return Fail("cannot create '" + output + "': " + written.Reason());
        case WriteOutcome::WriteFailed:
            return Fail("error writing '" + output + "': " + written.Reason() + "; any previous file is unchanged");
        case WriteOutcome::Ok:
            break;
    }
    std::cout << "wrote " << output << ": 35 bitmaps at " << depth << " bits, " << bytes->size() << " bytes\n";
    return 0;
}

// ---- subcommands ----------------------------------------------------------------

int RunNew(const Options& options) {
    std::string error;
    if (!OnlyKnownOptions(options, {"depth", "output"}, error)) return UsageError(error);
    if (!options.positional.empty()) return UsageError("'skin new' takes no file or folder argument");
    const auto depth = ParseDepth(Value(options, "depth"));
    if (!depth) return UsageError("'skin new' needs --depth 8 or --depth 16");
    const auto output = Value(options, "output");
    if (!output) return UsageError("'skin new' needs -o FILE.pdb");
    const SkinDocument document;
    return WriteSkin(document, *depth, *output);
}

int RunBuild(const Options& options) {
    std::string error;
    if (!OnlyKnownOptions(options, {"depth", "output", "transparent", "transparent-from"}, error)) return UsageError(error);
    if (options.positional.size() != 1) return UsageError("'skin build' needs one FOLDER");
    const std::string& folder = options.positional[0];
    const auto depth = ParseDepth(Value(options, "depth"));
    if (!depth) return UsageError("'skin build' needs --depth 8 or --depth 16");
    const auto output = Value(options, "output");
    if (!output) return UsageError("'skin build' needs -o FILE.pdb");

    std::map<int, Colour> transparent;
    if (const auto all = Value(options, "transparent")) {
        const auto colour = ParseColour(*all);
        if (!colour) return UsageError("--transparent needs a colour RRGGBB, such as 00FF00");
        for (int i = 0; i < kElementCount; ++i) transparent[i] = *colour;
    }
    if (const auto list = Value(options, "transparent-from")) {
        const auto colours = ReadColourList(*list, error);
        if (!colours) return Fail(error);
        for (const auto& [element, colour] : *colours) transparent[element] = colour;
    }
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec)) return Fail("'" + folder + "' is not a folder");

    // As Import Bitmaps: every file into the 8-bit and the 16-bit set, each
    // slot keeping its transparent colour, reduced by the load.
    SkinDocument document;
    for (const auto& [element, colour] : transparent)
        for (const int d : {8, 16}) document.Slot(d, element).SetTransparent(colour);
    std::string list, reasons;
    for (const int element : kBitmapSetOrder) {
        const ElementLoad load =
            LoadElementFromFile(document.Slot(8, element), document.Slot(16, element), JoinPath(folder, FileNameOf(element)));
        if (load.Both()) continue;
        list += (list.empty() ? "" : ", ") + FileNameOf(element);
        reasons += "; " + FileNameOf(element) + ": " + ImageFileProblemText(load.file);
    }
    if (!list.empty())
        return Fail("nothing written: the following bitmap(s) could not be imported from '" + folder + "': " + list +
                    reasons);
    return WriteSkin(document, *depth, *output);
}

std::optional<std::vector<std::uint8_t>> ReadSkinBytes(const std::string& path, std::string& error) {
    FileRead read = ReadFileAtMost(path, kDatabaseFileLimit);
    if (!read.Ok()) {
        error = "cannot read '" + path + "': " + ReadProblemText(read.problem, kDatabaseFileLimit, "skin files");
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

int RunExtract(const Options& options) {
    std::string error;
    if (!OnlyKnownOptions(options, {"output"}, error)) return UsageError(error);
    if (options.positional.size() != 1) return UsageError("'skin extract' needs one FILE.pdb");
    const auto folder = Value(options, "output");
    if (!folder) return UsageError("'skin extract' needs -o FOLDER");
    const std::string& path = options.positional[0];

    const auto skin = ReadSkin(path, error);
    if (!skin) return Fail(error);
    if (skin->outcome == DatabaseReadOutcome::CarrierLogo) return Fail("'" + path + "' is a carrier logo file, not a skin");
    std::string missing;
    for (const int element : kBitmapSetOrder)
        if (!skin->pictures[static_cast<std::size_t>(element)]) missing += (missing.empty() ? "" : ", ") + FileNameOf(element);
    if (!missing.empty()) return Fail("nothing written: '" + path + "' has no readable picture for " + missing);

    std::error_code ec;
    std::filesystem::create_directories(*folder, ec);
    if (!std::filesystem::is_directory(*folder))
        return Fail("cannot create the folder '" + *folder + "'" + (ec ? ": " + ec.message() : std::string()));

    // The whole set or nothing: a failed write leaves every file in the folder as it was.
    std::vector<std::vector<std::uint8_t>> encoded;
    std::vector<FileToWrite> files;
    std::string colours;
    for (const int element : kBitmapSetOrder) {
        const auto& picture = *skin->pictures[static_cast<std::size_t>(element)];
        encoded.push_back(EncodeBmp(picture.image));
        colours += FileNameOf(element) + " " + FormatColour(picture.transparent) + "\n";
    }
    for (std::size_t i = 0; i < encoded.size(); ++i)
        files.push_back({JoinPath(*folder, FileNameOf(kBitmapSetOrder[i])), encoded[i]});
    if (const WriteResult written = WriteFilesAllOrNothing(files); !written.Ok())
        return Fail("cannot write '" + written.path + "': " + written.Reason() + "; no file in '" + *folder +
                    "' was changed");
    std::cout << colours;
    WarnOpaqueInTransparentColour(*skin);
    return 0;
}

// ---- the editor's Import/Export commands --------------------------------------------

// The skin in the document as the editor's Open leaves it, at the file's own depth.
bool OpenSkinFile(const std::string& path, SkinDocument& document, std::string& error) {
    const auto skin = ReadSkin(path, error);
    if (!skin) return false;
    if (skin->outcome == DatabaseReadOutcome::CarrierLogo) {
        error = "'" + path + "' is a carrier logo file, not a skin";
        return false;
    }
    if (skin->missing > 0)
        std::cerr << "corvane: warning: '" << path << "' has no readable picture for " << skin->missing
                  << " element(s); the default pictures stand in for them\n";
    ApplyDecodedSkin(*skin, document);
    document.SetFilePath(path);
    document.SetTargetDepth(DecodedSkinDepth(*skin));
    return true;
}

int RunPreview(const Options& options) {
    std::string error;
    if (!OnlyKnownOptions(options, {"output"}, error)) return UsageError(error);
    if (options.positional.size() != 1) return UsageError("'skin preview' needs one FILE.pdb");
    const auto folder = Value(options, "output");
    if (!folder) return UsageError("'skin preview' needs -o FOLDER");
    SkinDocument document;
    if (!OpenSkinFile(options.positional[0], document, error)) return Fail(error);
    ComposePreviews(document, document.TargetDepth());

    std::error_code ec;
    std::filesystem::create_directories(*folder, ec);
    if (!std::filesystem::is_directory(*folder, ec)) return Fail("cannot create the folder '" + *folder + "'");
    auto pictures = PreviewPictures(document);
    for (auto& picture : DialpadPictures(document)) pictures.push_back(std::move(picture));
    // As in extract, a failed run takes back the files it added.
    std::vector<std::string> created;
    std::string written;
    for (const auto& [baseName, picture] : pictures) {
        const std::string file = BitmapFilePath(*folder, baseName);
        const bool existed = FileExists(file);
        if (!WriteBmpFile(picture, file)) {
            for (const auto& name : created) std::filesystem::remove(name, ec);
            return Fail("cannot write '" + file + "'");
        }
        if (!existed) created.push_back(file);
        written += "wrote " + file + "\n";
    }
    std::cout << written;
    return 0;
}

std::optional<Image> ReadPicture(const std::string& path, std::string& error) {
    auto picture = DecodeImageFile(path);
    if (!picture) error = "cannot read '" + path + "' as a picture";
    return picture;
}

int RunDialpad(const Options& options) {
    std::string error;
    if (!OnlyKnownOptions(options, {"output"}, error)) return UsageError(error);
    if (options.positional.size() != 3) return UsageError("'skin dialpad' needs FILE.pdb UNPRESSED PRESSED");
    const auto output = Value(options, "output");
    if (!output) return UsageError("'skin dialpad' needs -o OUT.pdb");
    SkinDocument document;
    if (!OpenSkinFile(options.positional[0], document, error)) return Fail(error);
    const auto released = ReadPicture(options.positional[1], error);
    if (!released) return Fail(error);
    const auto pressed = ReadPicture(options.positional[2], error);
    if (!pressed) return Fail(error);
    ApplyDialpadPictures(document, *released, *pressed);
    return WriteSkin(document, document.TargetDepth(), *output);
}

int RunBackground(const Options& options) {
    std::string error;
    if (!OnlyKnownOptions(options, {"output"}, error)) return UsageError(error);
    if (options.positional.size() != 2) return UsageError("'skin background' needs FILE.pdb PICTURE");
    const auto output = Value(options, "output");
    if (!output) return UsageError("'skin background' needs -o OUT.pdb");
    SkinDocument document;
    if (!OpenSkinFile(options.positional[0], document, error)) return Fail(error);
    const auto background = ReadPicture(options.positional[1], error);
    if (!background) return Fail(error);
    InsertBackgroundPicture(document, *background);
    return WriteSkin(document, document.TargetDepth(), *output);
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

int RunInfo(const Options& options) {
    std::string error;
    if (!OnlyKnownOptions(options, {}, error)) return UsageError(error);
    if (options.positional.size() != 1) return UsageError("'skin info' needs one FILE.pdb");
    const std::string& path = options.positional[0];
    const auto bytes = ReadSkinBytes(path, error);
    if (!bytes) return Fail(error);

    ResourceDatabase db;
    const DatabaseReadOutcome outcome = db.ReadDatabase(*bytes);
    std::ostringstream out;
    out << path << ": name \"" << PrintablePalmText(db.Name()) << "\", type '" << PrintablePalmText(db.Type()) << "'";
    if (outcome == DatabaseReadOutcome::CarrierLogo) {
        std::cout << out.str() << "\n";
        return Fail("'" + path + "' is a carrier logo file: the editor refuses to open it");
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
    if (warning) return Fail("'" + path + "' was not made by this editor: " + std::to_string(skin.missing) +
                             " resources missing or unreadable" + (skin.unsupported ? ", unsupported resources present" : ""));
    return 0;
}

int RunSkin(const std::vector<std::string>& args) {
    if (args.empty()) return UsageError("'skin' needs a subcommand: new, build, extract, info, preview, dialpad or background");
    if (args[0] == "--help" || args[0] == "-h") {
        std::cout << kHelp;
        return 0;
    }
    std::string error;
    const auto options = ParseOptions(std::vector<std::string>(args.begin() + 1, args.end()), error);
    if (!options) return UsageError(error);
    if (options->help) {
        std::cout << kHelp;
        return 0;
    }
    if (args[0] == "new") return RunNew(*options);
    if (args[0] == "build") return RunBuild(*options);
    if (args[0] == "extract") return RunExtract(*options);
    if (args[0] == "info") return RunInfo(*options);
    if (args[0] == "preview") return RunPreview(*options);
    if (args[0] == "dialpad") return RunDialpad(*options);
    if (args[0] == "background") return RunBackground(*options);
    return UsageError("unknown skin subcommand '" + args[0] + "'");
}

const RegisterCommand kRegistered{{"skin", "create, build, extract, inspect and rework phone-application skins", RunSkin}};

}  // namespace
}  // namespace corvane::cli
