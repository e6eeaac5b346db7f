// Reading a picture file (BMP in all its common variants, PNG) is the one
// thing the core cannot do with the standard library alone. It is a single
// function; the platform layer defines it, so the core never sees the toolkit.
#pragma once

#include <optional>
#include <string>

#include "imaging/Image.h"

namespace corvane {

// The file's picture at its own size, or nothing when the file cannot be read
// or is not a picture this program understands.
std::optional<Image> DecodeImageFile(const std::string& path);

}  // namespace corvane
