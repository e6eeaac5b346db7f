// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Picture files read with the toolkit's image readers, behind the core's
// PictureReader: the editor's fallback for formats the core does not decode
// (GIF and the like). The editor installs one when it starts.
#pragma once

#include "imaging/ImageFile.h"

namespace corvane {

class QtPictureReader : public PictureReader {
public:
    ImageFileResult Read(const std::string& path, int maxWidth, int maxHeight) const override;

    // The one reader a program installs at start-up.
    static void Install();
};

}  // namespace corvane
