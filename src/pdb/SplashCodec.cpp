// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "pdb/SplashCodec.h"

#include <limits>
#include <utility>

#include "io/ByteOrder.h"
#include "pdb/DatabaseHeader.h"

namespace corvane {
namespace {

constexpr std::uint16_t kResourceCount = 2;
// An image may start no earlier than the end of the two entries.
constexpr std::uint32_t kEntriesEnd = kDatabaseHeaderSize + kResourceCount * kDatabaseEntrySize;
constexpr std::uint16_t kSplashSide = 320;
constexpr std::string_view kJpegType = "jpeg";

constexpr std::uint16_t kStartOfImage = 0xFFD8;
constexpr std::uint8_t kMarkerPrefix = 0xFF;

bool IsCountedFrame(std::uint8_t marker) { return marker >= 0xC0 && marker <= 0xC3; }

}  // namespace

// ---- codecs ----------------------------------------------------------------

std::optional<JpegFrameSize> FirstJpegFrame(std::span<const std::uint8_t> bytes) {
    BigEndianReader in(bytes);
    if (in.U16() != kStartOfImage) return std::nullopt;
    while (!in.AtEnd()) {
        while (in.Ok() && in.U8() != kMarkerPrefix) {
            // up to the next marker prefix
        }
        // A marker may be preceded by any number of fill bytes 0xFF.
        std::uint8_t marker = kMarkerPrefix;
        while (in.Ok() && marker == kMarkerPrefix) marker = in.U8();
        if (!in.Ok()) return std::nullopt;

        if (IsCountedFrame(marker)) {
            in.Skip(3);  // segment length and sample precision
            const std::uint16_t height = in.U16();
            const std::uint16_t width = in.U16();
            if (!in.Ok()) return std::nullopt;
            return JpegFrameSize{width, height};
        }
        // The length counts its own two bytes; a shorter one would step backwards.
        const std::uint16_t length = in.U16();
        if (!in.Ok() || length < 2) return std::nullopt;
        in.Skip(length - 2u);
        if (!in.Ok()) return std::nullopt;
    }
    return std::nullopt;
}

JpegCheck CheckJpeg(std::span<const std::uint8_t> bytes) {
    const std::optional<JpegFrameSize> frame = FirstJpegFrame(bytes);
    if (!frame) return JpegCheck::NotJpeg;
    return frame->width == kSplashSide && frame->height == kSplashSide ? JpegCheck::Ok : JpegCheck::WrongSize;
}

std::optional<SplashContent> ParseSplashFile(std::span<const std::uint8_t> bytes) {
    BigEndianReader in(bytes);
    SplashContent content;
    // The count is not trusted: the goodbye image is all that follows it.
    const DatabaseHeader header = ReadDatabaseHeader(in);
    content.name = DatabaseNameText(header.name);
    const bool typeOk = header.type == kSplashDatabaseType;
    const bool creatorOk = header.creator == kDatabaseCreator;
    const std::string welcomeType = in.FourCC();
    const std::uint16_t welcomeId = in.U16();
    content.welcomeOffset = in.U32();
    const std::string goodbyeType = in.FourCC();
    const std::uint16_t goodbyeId = in.U16();
    content.goodbyeOffset = in.U32();
    if (!in.Ok() || !typeOk || !creatorOk || welcomeType != kJpegType || welcomeId != kSplashWelcomeId ||
        goodbyeType != kJpegType || goodbyeId != kSplashGoodbyeId) {
        return std::nullopt;
    }

    const std::uint32_t o1 = content.welcomeOffset;
    const std::uint32_t o2 = content.goodbyeOffset;
    // An image of no bytes is as bad as one outside the file: there is nothing to show.
    if (o1 < kEntriesEnd || o2 <= o1 || o2 >= bytes.size()) return std::nullopt;
    content.welcome = bytes.subspan(o1, o2 - o1);
    content.goodbye = bytes.subspan(o2);
    return content;
}

std::optional<std::vector<std::uint8_t>> BuildSplashFile(std::string_view name, std::span<const std::uint8_t> welcome,
                                                         std::span<const std::uint8_t> goodbye, std::uint32_t palmDate) {
    if (welcome.size() > std::numeric_limits<std::uint32_t>::max() - kSplashHeaderSize) return std::nullopt;
    const auto goodbyeOffset = static_cast<std::uint32_t>(kSplashHeaderSize + welcome.size());

    BigEndianWriter out;
    WriteDatabaseHeader(out, {MakeDatabaseNameField(name), std::string(kSplashDatabaseType), std::string(kDatabaseCreator), palmDate,
                              kResourceCount});
    WriteDatabaseEntry(out, kJpegType, kSplashWelcomeId, kSplashHeaderSize);
    WriteDatabaseEntry(out, kJpegType, kSplashGoodbyeId, goodbyeOffset);
    out.Zeros(2);  // gap
    out.Bytes(welcome);
    out.Bytes(goodbye);
    return out.Take();
}

}  // namespace corvane
