// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "exchange/BitmapSet.h"

#include <algorithm>
#include <system_error>

#include "imaging/Bmp.h"
#include "io/FileAccess.h"
#include "io/PathNames.h"
#include "io/ZipArchive.h"
#include "model/ProgramText.h"
#include "model/SkinDocument.h"
#include "model/UserInterface.h"

namespace corvane {
namespace {

bool AskToOverwrite(UserInterface& user, const std::string& path, OverwriteAnswers& answers) {
    if (answers.yesToAll) return true;
    Message question;
    question.text = "The file\n\n     " + path + "\n\nalready exists. Do you want to overwrite it?";
    question.caption = std::string(kProgramCaption);
    question.icon = MessageIcon::Question;
    question.buttons = MessageButtons::YesYesToAllNoCancel;
    question.defaultButton = Answer::No;
    switch (user.ShowMessage(question)) {
        case Answer::YesToAll: answers.yesToAll = true; return true;
        case Answer::Yes: return true;
        case Answer::Cancel: answers.cancelled = true; return false;
        default: return false;
    }
}

}  // namespace

std::string BitmapFilePath(const std::string& folder, std::string_view baseName) {
    return JoinPath(folder, std::string(baseName) + ".bmp");
}

bool SaveBitmapWithPrompt(UserInterface& user, const Image& picture, std::string_view baseName,
                          const std::string& folder, OverwriteAnswers& answers) {
    const std::string path = BitmapFilePath(folder, baseName);
    // Whatever has the name is asked about, a link to nowhere included; an
    // answered link is replaced itself, so the file lands in the chosen folder.
    if (NameTaken(path) && !AskToOverwrite(user, path, answers)) return true;
    const auto bytes = EncodeBmp(picture);
    const FileToWrite file{path, bytes, LinkPolicy::ReplaceLink};
    return !bytes.empty() && WriteFilesAllOrNothing(std::span(&file, 1)).Ok();
}

ElementLoad ImportElementBitmap(ImageSlot& eightBit, ImageSlot& sixteenBit, std::string_view baseName,
                                const std::string& folder, Dither dither) {
    return LoadElementFromFile(eightBit, sixteenBit, BitmapFilePath(folder, baseName), dither);
}

ExportOutcome ExportPictures(UserInterface& user, const std::vector<NamedPicture>& pictures) {
    const auto folder = user.AskFolder(std::string(kExportFolderTitle));
    if (!folder) return ExportOutcome::Cancelled;
    bool allWritten = true;
    OverwriteAnswers answers;
    for (const auto& [baseName, picture] : pictures) {
        allWritten = SaveBitmapWithPrompt(user, picture, baseName, *folder, answers) && allWritten;
        if (answers.cancelled) return ExportOutcome::Stopped;
    }
    if (allWritten) return ExportOutcome::Exported;
    Tell(user, std::string(kNotAllExported), MessageIcon::Warning);
    return ExportOutcome::NotAllExported;
}

ExportOutcome ExportBitmaps(const SkinDocument& document, UserInterface& user) {
    std::vector<NamedPicture> pictures;
    for (const Element element : kBitmapSetOrder)
        pictures.push_back({std::string(ElementInfo(element).name), document.CurrentSet()[Index(element)].Picture()});
    return ExportPictures(user, pictures);
}

std::vector<FailedImport> ImportBitmapSet(SkinDocument& document, const std::string& folder) {
    std::vector<FailedImport> failed;
    for (const Element element : kBitmapSetOrder) {
        ElementLoad load = ImportElementBitmap(document.Slot(Depth::Eight, element), document.Slot(Depth::Sixteen, element),
                                               ElementInfo(element).name, folder, document.Dithering());
        if (!load.Both()) failed.push_back({element, std::move(load)});
    }
    return failed;
}

std::vector<std::string_view> FailedFileNames(const std::vector<FailedImport>& failed) {
    std::vector<std::string_view> names;
    for (const FailedImport& f : failed)
        if (!f.load.eightBit) names.push_back(ElementInfo(f.element).name);
    for (const FailedImport& f : failed)
        if (!f.load.sixteenBit) names.push_back(ElementInfo(f.element).name);
    return names;
}

namespace {

// The files that failed, in one warning; `place` is the folder or archive they came from.
void TellFailedImports(UserInterface& user, const std::vector<FailedImport>& failed, const std::string& place) {
    std::string list;
    for (const std::string_view name : FailedFileNames(failed)) list += "     " + std::string(name) + ".bmp\n";
    std::string details;
    for (const FailedImport& f : failed)
        details += BitmapFilePath(place, ElementInfo(f.element).name) + ": " + ElementLoadProblemText(f.load) + "\n";
    if (!list.empty()) TellWithDetails(user, std::string(kImportFailureIntro) + list, details, MessageIcon::Warning);
}

// The entry an element's file is: its name at the top or below a folder, the shallowest first.
const ZipEntry* SetEntry(const ZipReader& archive, std::string_view fileName) {
    const ZipEntry* found = nullptr;
    std::size_t foundDepth = 0;
    for (const ZipEntry& entry : archive.Entries()) {
        const std::string_view name = entry.name;
        const std::size_t slash = name.rfind('/');
        if (name.substr(slash == std::string_view::npos ? 0 : slash + 1) != fileName) continue;
        const auto depth = static_cast<std::size_t>(std::count(name.begin(), name.end(), '/'));
        if (!found || depth < foundDepth) {
            found = &entry;
            foundDepth = depth;
        }
    }
    return found;
}

ElementLoad FailedLoad(ImageFileProblem problem, std::error_code error = {}) {
    ElementLoad load;
    load.file.problem = problem;
    load.file.error = error;
    return load;
}

}  // namespace

bool ImportBitmaps(SkinDocument& document, UserInterface& user) {
    const auto folder = user.AskFolder(std::string(kImportFolderTitle));
    if (folder) TellFailedImports(user, ImportBitmapSet(document, *folder), *folder);
    document.MarkModified();
    return folder.has_value();
}

Result<std::vector<FailedImport>> ImportBitmapArchive(SkinDocument& document, std::span<const std::uint8_t> archive) {
    auto zip = ZipReader::Open(archive);
    if (!zip) return zip.Error();
    // Every entry is found and weighed before the first is inflated.
    std::vector<const ZipEntry*> entries;
    std::uint64_t declared = 0;
    for (const Element element : kBitmapSetOrder) {
        const ZipEntry* entry = SetEntry(*zip, std::string(ElementInfo(element).name) + ".bmp");
        entries.push_back(entry);
        if (entry) declared += entry->size;
    }
    if (declared > kMemoryBudget)
        return Fail("the set's pictures declare " + std::to_string(declared) + " bytes, more than " +
                    std::to_string(kMemoryBudget >> 20) + " MiB");
    std::vector<FailedImport> failed;
    for (std::size_t i = 0; i < kBitmapSetOrder.size(); ++i) {
        const Element element = kBitmapSetOrder[i];
        ElementLoad load = FailedLoad(ImageFileProblem::CouldNotOpen, std::make_error_code(std::errc::no_such_file_or_directory));
        if (entries[i]) {
            const auto bytes = zip->Read(*entries[i], kPictureFileLimit);
            load = bytes ? LoadElementFromBytes(document.Slot(Depth::Eight, element),
                                                document.Slot(Depth::Sixteen, element), *bytes,
                                                document.Dithering())
                         : FailedLoad(ImageFileProblem::Damaged);
        }
        if (!load.Both()) failed.push_back({element, std::move(load)});
    }
    return failed;
}

ArchiveImportOutcome ImportBitmapsFromArchive(SkinDocument& document, UserInterface& user) {
    const auto path = AskExistingFile(user, "Import Bitmaps", std::string(kBitmapArchiveFilter));
    if (!path) return ArchiveImportOutcome::Cancelled;
    const FileRead read = ReadFileAtMost(*path, kPictureFileLimit);
    auto failed = read.Ok() ? ImportBitmapArchive(document, read.bytes)
                            : Result<std::vector<FailedImport>>(Fail(
                                  ReadProblemText(read.problem, kPictureFileLimit, "bitmap sets", read.error)));
    if (!failed) {
        TellWithDetails(user, "The bitmap set could not be imported.", *path + ": " + failed.Reason(),
                        MessageIcon::Warning);
        return ArchiveImportOutcome::Refused;
    }
    TellFailedImports(user, *failed, *path);
    document.MarkModified();
    return ArchiveImportOutcome::Imported;
}

const char* Name(ArchiveImportOutcome outcome) {
    switch (outcome) {
        case ArchiveImportOutcome::Cancelled: return "Cancelled";
        case ArchiveImportOutcome::Imported: return "Imported";
        case ArchiveImportOutcome::Refused: return "Refused";
    }
    return "";
}

const char* Name(ExportOutcome outcome) {
    switch (outcome) {
        case ExportOutcome::Cancelled: return "Cancelled";
        case ExportOutcome::Exported: return "Exported";
        case ExportOutcome::Stopped: return "Stopped";
        case ExportOutcome::NotAllExported: return "NotAllExported";
    }
    return "";
}

}  // namespace corvane
