// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "exchange/BitmapSet.h"

#include "imaging/Bmp.h"
#include "io/FileAccess.h"
#include "io/PathNames.h"
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

bool ImportBitmaps(SkinDocument& document, UserInterface& user) {
    const auto folder = user.AskFolder(std::string(kImportFolderTitle));
    if (folder) {
        const std::vector<FailedImport> failed = ImportBitmapSet(document, *folder);
        std::string list;
        for (const std::string_view name : FailedFileNames(failed))
            list += "     " + std::string(name) + ".bmp\n";
        std::string details;
        for (const FailedImport& f : failed)
            details += BitmapFilePath(*folder, ElementInfo(f.element).name) + ": " + ElementLoadProblemText(f.load) + "\n";
        if (!list.empty()) TellWithDetails(user, std::string(kImportFailureIntro) + list, details, MessageIcon::Warning);
    }
    document.MarkModified();
    return folder.has_value();
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
