// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Splash files: the two pictures a Treo shows when it is switched on (the
// welcome image) and off (the goodbye image). A Palm resource database of type
// 'spl3' and creator 'TSkn' holding two 'jpeg' resources, each a complete JPEG
// file of 320x320 pixels kept byte for byte: the JPEGs are checked, never
// decoded or re-encoded.
//
// All numbers big-endian; four-character codes as their four ASCII bytes.
//
// The header is that of every Palm database (see DatabaseHeader.h) with
// type 'spl3' and creator 'TSkn', which the reader insists on, and a count of
// 2, which it ignores. Behind it:
//
//   offset  size  field
//       78    10  entry 1: 'jpeg', id 6852, offset of the welcome JPEG (100)
//       88    10  entry 2: 'jpeg', id 6863, offset of the goodbye JPEG
//       98     2  gap: 0
//      100     .  welcome JPEG bytes, then goodbye JPEG bytes up to the end
//
// The welcome image is everything from entry 1's offset to entry 2's, the
// goodbye image everything from entry 2's offset to the end of the file, so
// a file whose count says 3 still reads. Offsets that run backwards, point
// into the header or its two entries, lie past the end or leave an image
// without bytes make the file unreadable.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "pdb/PalmDate.h"

namespace corvane {

// ---- codecs: bytes in, values out, and back ------------------------------------

enum class JpegCheck { Ok, NotJpeg, WrongSize };

struct JpegFrameSize {
    std::uint16_t width = 0;
    std::uint16_t height = 0;
};

// Looks for the JPEG start-of-image marker and the first start-of-frame
// segment (baseline, extended, progressive or lossless: 0xC0 to 0xC3) and
// gives the size it declares; nothing when there is no such frame. Other
// frame types are skipped like any segment. Every step moves forward, so
// the scan ends on any input.
std::optional<JpegFrameSize> FirstJpegFrame(std::span<const std::uint8_t> bytes);

// That frame, accepted when it is exactly 320x320.
JpegCheck CheckJpeg(std::span<const std::uint8_t> bytes);

inline constexpr std::uint16_t kSplashWelcomeId = 6852;
inline constexpr std::uint16_t kSplashGoodbyeId = 6863;
inline constexpr std::uint32_t kSplashHeaderSize = 100;  // the database header, two entries and the 2-byte gap

struct SplashContent {
    std::string name;  // the name field up to its first zero byte
    std::uint32_t welcomeOffset = 0;
    std::uint32_t goodbyeOffset = 0;
    std::span<const std::uint8_t> welcome;  // views into the parsed bytes
    std::span<const std::uint8_t> goodbye;
};

// The two images of a splash file, or nothing when the bytes are not one.
std::optional<SplashContent> ParseSplashFile(std::span<const std::uint8_t> bytes);

// A complete splash file. The name keeps at most its first 31 bytes (the
// field needs its terminator). Nothing when the welcome image is too large
// for the goodbye image's 32-bit offset.
std::optional<std::vector<std::uint8_t>> BuildSplashFile(std::string_view name, std::span<const std::uint8_t> welcome,
                                                         std::span<const std::uint8_t> goodbye, std::uint32_t palmDate);

}  // namespace corvane
