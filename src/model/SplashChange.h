// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// One change to a splash, kept so that it can be taken back and done again;
// the splash's counterpart of SkinChange, found the same way: by comparing
// the document before and after a command and keeping only the pictures that
// differ, with the file name and database name when the command changed them.
#pragma once

#include <optional>
#include <string>
#include <utility>

#include "model/SplashDocument.h"

namespace corvane {

// Everything one command can change in a splash but its modified flag.
struct SplashState {
    SplashPicture welcome;
    SplashPicture goodbye;
    std::string fileName;
    std::string name;
    friend bool operator==(const SplashState&, const SplashState&) = default;
};

class SplashChange {
public:
    static SplashState Capture(const SplashDocument& splash);
    // What differs between two states of one document.
    static SplashChange Between(const SplashState& before, const SplashState& after);

    bool Empty() const { return !welcome_ && !goodbye_ && !fileName_ && !name_; }

    // Puts the document back as it was before, or as it was after. The
    // modified flag is the caller's.
    void Undo(SplashDocument& splash) const { Apply(splash, false); }
    void Redo(SplashDocument& splash) const { Apply(splash, true); }

private:
    void Apply(SplashDocument& splash, bool after) const;

    std::optional<std::pair<SplashPicture, SplashPicture>> welcome_;
    std::optional<std::pair<SplashPicture, SplashPicture>> goodbye_;
    std::optional<std::pair<std::string, std::string>> fileName_;
    std::optional<std::pair<std::string, std::string>> name_;
};

}  // namespace corvane
