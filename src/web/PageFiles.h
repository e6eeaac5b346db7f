// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Files as the page hands them over: pictures the browser decoded, staged
// for the path the core will read; files refused for their size, standing
// in for the bytes the page never read; and the limits it checks sizes by.
#pragma once

#include <string>

#include <emscripten/val.h>

namespace corvane {

// rgba: width * height * 4 bytes, alpha ignored as the desktop ignores it.
// False for a picture over the pixel limit or bytes too few for its size.
bool StagePicture(std::string path, emscripten::val rgba, int width, int height);
void UnstagePicture(std::string path);
void ClearStagedPictures();

// The next read of the path fails as one of a file of `size` bytes does.
void StageOversized(std::string path, double size);

// By kind: "database" (skin and splash files), "picture", "layered"; 0 or
// empty for another kind.
double FileLimit(std::string kind);
double PixelLimit();
std::string TooLargeText(std::string kind);

}  // namespace corvane
