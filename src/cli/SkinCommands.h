// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// What the `corvane skin` subcommands share across their two files: their
// options, writing a skin and the wording of a skin file that cannot be read.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <system_error>
#include <vector>

#include "imaging/Depth.h"
#include "imaging/Image.h"
#include "exchange/BitmapSet.h"
#include "io/FileAccess.h"
#include "io/Result.h"

namespace corvane {
class SkinDocument;
}

namespace corvane::cli {

struct SkinOptions {
    std::vector<std::string> files;  // the subcommand's FILE, FOLDER and PICTURE arguments, in order
    Depth depth = Depth::Sixteen;
    Dither dither = Dither::None;
    std::string output;
    std::optional<Colour> transparent;
    std::string transparentFrom;
};

// Saves the document's set of the depth as the editor's Save as does, and
// says what it wrote. `inputs` are the files the skin was made from: none of
// them is overwritten.
int WriteSkin(const SkinDocument& document, Depth depth, const std::string& output,
              std::span<const std::string> inputs = {});
std::string SkinReadProblem(const std::string& path, ReadProblem problem, std::error_code error);
// The pictures as BASE.bmp files in the folder, all or nothing: when any
// write fails, every file in the folder stays as it was.
Status WritePictures(const std::string& folder, const std::vector<NamedPicture>& pictures,
                     std::span<const std::string> inputs);

int RunPreview(const SkinOptions& options);
int RunDialpad(const SkinOptions& options);
int RunBackground(const SkinOptions& options);

}  // namespace corvane::cli
