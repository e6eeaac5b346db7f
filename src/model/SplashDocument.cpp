// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/SplashDocument.h"

#include <utility>

namespace corvane {

SplashPicture* SplashDocument::Picture(std::uint16_t id) {
    return const_cast<SplashPicture*>(std::as_const(*this).Picture(id));
}

const SplashPicture* SplashDocument::Picture(std::uint16_t id) const {
    if (id == WelcomeId) return &welcome_;
    if (id == GoodbyeId) return &goodbye_;
    return nullptr;
}

bool SplashDocument::HasImage(std::uint16_t id) const {
    const SplashPicture* picture = Picture(id);
    return picture && !picture->bytes.empty();
}

const std::string& SplashDocument::Source(std::uint16_t id) const {
    static const std::string none;
    const SplashPicture* picture = Picture(id);
    return picture ? picture->source : none;
}

}  // namespace corvane
