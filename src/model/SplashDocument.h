// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The splash of one editor window: the welcome and goodbye JPEG bytes, where
// each came from, the file they belong to and the modified flag. Like the
// skin's document it is passive: the commands of SplashFile.h take it as an
// argument, and the window owns it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/ProgramText.h"
#include "pdb/SplashCodec.h"

namespace corvane {

struct SplashPicture {
    std::vector<std::uint8_t> bytes;  // the JPEG file, byte for byte; empty while there is none
    // The JPEG's path, or "(welcome image from NAME splash file)" with the
    // name decoded from the phone's character set.
    std::string source;
    friend bool operator==(const SplashPicture&, const SplashPicture&) = default;
};

class SplashDocument {
public:
    static constexpr std::uint16_t WelcomeId = kSplashWelcomeId;
    static constexpr std::uint16_t GoodbyeId = kSplashGoodbyeId;

    // The picture named by a resource ID; nothing for any other ID.
    SplashPicture* Picture(std::uint16_t id);
    const SplashPicture* Picture(std::uint16_t id) const;

    const std::vector<std::uint8_t>& WelcomeBytes() const { return welcome_.bytes; }
    const std::vector<std::uint8_t>& GoodbyeBytes() const { return goodbye_.bytes; }
    const std::string& WelcomeSource() const { return welcome_.source; }
    const std::string& GoodbyeSource() const { return goodbye_.source; }
    bool HasImage(std::uint16_t id) const;
    bool HasBothImages() const { return HasImage(WelcomeId) && HasImage(GoodbyeId); }
    // The source of the image named by id; empty for any other id.
    const std::string& Source(std::uint16_t id) const;

    // The database name as stored, in the phone's character set.
    const std::string& Name() const { return name_; }
    void SetName(std::string name) { name_ = std::move(name); }
    const std::string& FileName() const { return fileName_; }
    void SetFileName(std::string path) { fileName_ = std::move(path); }
    bool IsUntitled() const { return fileName_ == kUntitledPath; }

    bool IsModified() const { return modified_; }
    void MarkModified() { modified_ = true; }
    void ClearModified() { modified_ = false; }

private:
    SplashPicture welcome_;
    SplashPicture goodbye_;
    std::string name_;
    std::string fileName_{kUntitledPath};
    bool modified_ = false;
};

}  // namespace corvane
