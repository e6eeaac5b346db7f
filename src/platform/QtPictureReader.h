// Picture files read with the toolkit's image readers, behind the core's
// PictureReader. The editor and the tool install one when they start.
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
