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
#include "cli/PrintableText.h"
#include "imaging/ImageFile.h"
#include "imaging/ImageSlot.h"
#include "exchange/BmpFile.h"
#include "model/SkinCatalogue.h"
#include "model/SkinDocument.h"
#include "pdb/FileAccess.h"
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
    switch (WriteFileReplacing(output, *bytes)) {
        case WriteOutcome::CouldNotOpen:
            return Fail("cannot create '" + output + "'");
        case WriteOutcome::WriteFailed:
            return Fail("error writing '" + output + "'; any previous file is unchanged");
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
    if (!std::filesystem::is_directory(*folder, ec)) return Fail("cannot create the folder '" + *folder + "'");

    // Files this run creates are removed again if a later one fails, so a
    // failed extract adds nothing to the folder.
    std::vector<std::string> created;
    std::string colours;
    for (const int element : kBitmapSetOrder) {
        const auto& picture = *skin->pictures[static_cast<std::size_t>(element)];
        const std::string file = JoinPath(*folder, FileNameOf(element));
        const bool existed = FileExists(file);
        if (!WriteBmpFile(picture.image, file)) {
            for (const auto& name : created) std::filesystem::remove(name, ec);
            return Fail("cannot write '" + file + "'");
        }
        if (!existed) created.push_back(file);
        colours += FileNameOf(element) + " " + FormatColour(picture.transparent) + "\n";
    }
    std::cout << colours;
    return 0;
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
    out << path << ": name \"" << Printable(db.Name()) << "\", type '" << Printable(db.Type()) << "'";
    if (outcome == DatabaseReadOutcome::CarrierLogo) {
        std::cout << out.str() << "\n";
        return Fail("'" + path + "' is a carrier logo file: the editor refuses to open it");
    }
    out << ", creator '" << Printable(db.Creator()) << "', " << db.Count() << " entries\n";

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
    if (args.empty()) return UsageError("'skin' needs a subcommand: new, build, extract or info");
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
    return UsageError("unknown skin subcommand '" + args[0] + "'");
}

const RegisterCommand kRegistered{{"skin", "create, build, extract and inspect phone-application skins", RunSkin}};

}  // namespace
}  // namespace corvane::cli
