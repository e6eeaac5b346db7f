// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// `corvane skin preview`, `dialpad` and `background`: the editor's
// Import/Export commands on a skin file, through the same core steps.
#include <iostream>
#include <span>
#include <string>
#include <vector>

#include "cli/Command.h"
#include "cli/SkinCommands.h"
#include "exchange/BitmapSet.h"
#include "exchange/Dialpad.h"
#include "imaging/ImageFile.h"
#include "io/Result.h"
#include "model/PreviewComposition.h"
#include "model/SkinDocument.h"
#include "model/SkinFile.h"

namespace corvane::cli {
namespace {

// The skin in the document as the editor's Open leaves it, at the file's own depth.
Status OpenSkinFile(const std::string& path, SkinDocument& document) {
    const LoadedSkin loaded = LoadSkinFile(path, document);
    if (loaded.problem != ReadProblem::None) return corvane::Fail(SkinReadProblem(path, loaded.problem, loaded.error));
    if (!loaded.Loaded()) return corvane::Fail("'" + Shown(path) + "' is a carrier logo file, not a skin");
    if (loaded.skin.missing > 0)
        std::cerr << "corvane: warning: '" << Shown(path) << "' has no readable picture for " << loaded.skin.missing
                  << " element(s); the default pictures stand in for them\n";
    return {};
}

}  // namespace

int RunPreview(const SkinOptions& options) {
    const std::string& folder = options.output;
    SkinDocument document;
    if (const Status opened = OpenSkinFile(options.files[0], document); !opened) return ExitWithError(opened.Reason());
    ComposePreviews(document, document.TargetDepth());

    if (const auto problem = CreateOutputFolder(folder)) return ExitWithError(*problem);
    auto pictures = PreviewPictures(document);
    for (auto& picture : DialpadPictures(document)) pictures.push_back(std::move(picture));
    const std::string inputs[] = {options.files[0]};
    if (const Status written = WritePictures(folder, pictures, inputs); !written) return ExitWithError(written.Reason());
    for (const NamedPicture& named : pictures) std::cout << "wrote " << Shown(BitmapFilePath(folder, named.baseName)) << "\n";
    return 0;
}

namespace {

// The top-left dial pad is all `background` and `dialpad` use of a picture.
Result<Image> ReadPicture(const std::string& path) {
    ImageFileResult read = ReadImageFile(path, kDialpadWidth, kDialpadHeight);
    if (!read.image) return corvane::Fail(CannotRead(path, ImageFileProblemText(read)));
    return std::move(*read.image);
}

// `dialpad` and `background`: the skin FILE.pdb and the PICTUREs that follow
// it through one of the editor's commands, then saved at the file's depth.
int ReworkSkin(const SkinOptions& options, void (*rework)(SkinDocument&, std::span<const Image>)) {
    SkinDocument document;
    if (const Status opened = OpenSkinFile(options.files[0], document); !opened) return ExitWithError(opened.Reason());
    document.SetDithering(options.dither);
    std::vector<Image> pictures;
    for (std::size_t i = 1; i < options.files.size(); ++i) {
        auto picture = ReadPicture(options.files[i]);
        if (!picture) return ExitWithError(picture.Reason());
        pictures.push_back(std::move(*picture));
    }
    rework(document, pictures);
    return WriteSkin(document, document.TargetDepth(), options.output, options.files);
}

}  // namespace

int RunDialpad(const SkinOptions& options) {
    return ReworkSkin(options, [](SkinDocument& document, std::span<const Image> pictures) {
        ApplyDialpadPictures(document, pictures[0], pictures[1]);
    });
}

int RunBackground(const SkinOptions& options) {
    return ReworkSkin(options, [](SkinDocument& document, std::span<const Image> pictures) {
        InsertBackgroundPicture(document, pictures[0]);
    });
}

}  // namespace corvane::cli
