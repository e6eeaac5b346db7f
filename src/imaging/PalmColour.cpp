// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "imaging/PalmColour.h"

#include <algorithm>
#include <cassert>
#include <limits>
#include <span>

#include "imaging/PaletteCells.h"

// The nearest-entry search is the cost of every 8-bit save: each pixel of a
// skin (169,000 of them) is looked up. The plain search measures 256 entries
// a pixel; the code below does it in a few table loads for nearly every
// colour. The tricks, each explained where it is used:
//   - the cube point channel by channel, the grey from the channels' sum and
//     the dark colours only within reach (NearestByArithmetic);
//   - a cube key and a sum of squares in one 64-bit add (ChannelShares);
//   - keys of distance and index, so a plain min keeps the tie rule (EntryKey);
//   - for colours nearest to an excluded entry, short candidate lists per cell
//     of colour space, filled as cells are met (PaletteCells.cpp).
// NearestPaletteIndexBySearch is the plain search; the all-colours tests
// compare both with it.
namespace corvane {
namespace {

constexpr const std::array<std::uint8_t, 6>& kCubeLevels = kPalmCubeLevels;
constexpr const std::array<std::uint8_t, 10>& kGreys = kPalmGreys;
constexpr const std::array<Colour, 256>& kPalette = kPalmPalette;

// Most colours are answered by arithmetic alone, without the cells below,
// which saves the cells' memory and search for nearly every pixel.
// Leaving out the entries that repeat a colour at a higher index (the surplus
// blacks, the second CCCCCC), the palette is the full 6 x 6 x 6 cube (its
// black stored at 230) plus ten greys and four dark colours:
//   - The nearest cube point is found channel by channel. Each channel's
//     nearest level is unique (the levels are 51 apart, an odd step), so the
//     cube has one nearest point, and no colour is farther from it than
//     kMaxCubeDistance.
//   - The nearest of the greys depends only on the sum of the channels.
//   - A dark colour can beat the cube only where every channel is within
//     reach of its own, which few colours are.
// Keys are (distance << 8) | index, so the smallest key is the nearest entry,
// the lowest index among equals: the full search's tie rule, kept by one min
// instead of a second comparison on every tie. An excluded
// index changes the answer only when it is that entry; those colours go to
// the cells.
constexpr int kMaxCubeDistance = 3 * 25 * 25;
constexpr std::uint32_t kCubeBlackSlot = 215;  // where the cube's black would be, after its last entry
constexpr std::uint32_t kFirstBlack = 230;
constexpr std::size_t kFirstGrey = 215;
constexpr std::size_t kFirstDark = 226;
constexpr std::size_t kDarkCount = 4;

// A channel value's shares of two sums, one in each half:
//   - low: the key of the nearest cube point, from the squared distance to
//     the channel's nearest level and that level's share of the index
//     h*108 + r*18 + b*6 + g;
//   - high: v^2 << 8, of the colour's sum of squares (shifted like a key).
// Three shares add up without carries between the parts: three loads and two
// adds give both sums, where separate tables would take six loads and four adds.
constexpr std::array<std::uint64_t, 256> ChannelShares(int channel) {
    std::array<std::uint64_t, 256> shares{};
    for (int v = 0; v < 256; ++v) {
        const int level = (255 - v + 25) / 51;  // position in kCubeLevels, FF first
        const int d = v - kCubeLevels[static_cast<std::size_t>(level)];
        const int index = channel == 0 ? level * 18 : (channel == 1 ? level : (level / 3) * 108 + (level % 3) * 6);
        const auto cubeKey = static_cast<std::uint32_t>((d * d) << 8 | index);
        const auto square = static_cast<std::uint32_t>((v * v) << 8);
        shares[static_cast<std::size_t>(v)] = std::uint64_t{square} << 32 | cubeKey;
    }
    return shares;
}
constexpr std::array<std::array<std::uint64_t, 256>, 3> kChannelShares{ChannelShares(0), ChannelShares(1),
                                                                        ChannelShares(2)};

// The distance to grey v is r^2 + g^2 + b^2 - 2 * sum * v + 3v^2: which grey
// is nearest depends only on the sum of the channels. For each sum, the key
// of the nearest grey less the sum of squares' part: one load instead of ten distances.
constexpr std::array<std::int32_t, 766> kGreyKeyForSum = [] {
    std::array<std::int32_t, 766> keys{};
    for (int sum = 0; sum < 766; ++sum) {
        int best = std::numeric_limits<int>::max();
        for (std::size_t i = 0; i < kGreys.size(); ++i) {
            const int v = kGreys[i];
            if (const int part = 3 * v * v - 2 * sum * v; part < best) {
                best = part;
                keys[static_cast<std::size_t>(sum)] = part * 256 + static_cast<int>(kFirstGrey + i);
            }
        }
    }
    return keys;
}();

// Per channel value, the dark colours whose channel is within reach:
// bit j for entry kFirstDark + j. Three loads and two ands rule out all four
// for nearly every colour, which saves four distances a pixel.
constexpr std::array<std::uint8_t, 256> DarkReach(int channel) {
    std::array<std::uint8_t, 256> reach{};
    for (int v = 0; v < 256; ++v)
        for (std::size_t j = 0; j < kDarkCount; ++j) {
            const Colour dark = kPalette[kFirstDark + j];
            const int d = v - (channel == 0 ? dark.r : (channel == 1 ? dark.g : dark.b));
            if (d * d <= kMaxCubeDistance) reach[static_cast<std::size_t>(v)] |= static_cast<std::uint8_t>(1u << j);
        }
    return reach;
}
constexpr std::array<std::array<std::uint8_t, 256>, 3> kDarkReach{DarkReach(0), DarkReach(1), DarkReach(2)};

std::uint32_t EntryKey(Colour colour, std::size_t index) {
    return static_cast<std::uint32_t>(SquaredDistance(colour, kPalette[index]) << 8) | static_cast<std::uint32_t>(index);
}

// The nearest entry, or -1 when that is the excluded one. Always inlined into
// the per-pixel loops: the call and its spills cost as much as the arithmetic.
[[gnu::always_inline]] inline int NearestByArithmetic(Colour colour, int excluded) {
    const std::uint64_t shares =
        kChannelShares[0][colour.r] + kChannelShares[1][colour.g] + kChannelShares[2][colour.b];
    auto best = static_cast<std::uint32_t>(shares);
    if ((best & 0xFF) == kCubeBlackSlot) best += kFirstBlack - kCubeBlackSlot;
    // A cube colour (most of a reduced picture) is no other entry's colour.
    if (best <= 0xFF) return static_cast<int>(best) == excluded ? -1 : static_cast<int>(best);
    const auto squares = static_cast<std::int32_t>(shares >> 32);
    const std::size_t sum = std::size_t{colour.r} + colour.g + colour.b;
    best = std::min(best, static_cast<std::uint32_t>(squares + kGreyKeyForSum[sum]));
    if (const unsigned darks = kDarkReach[0][colour.r] & kDarkReach[1][colour.g] & kDarkReach[2][colour.b]; darks != 0)
        for (std::size_t j = 0; j < kDarkCount; ++j)
            if ((darks >> j) & 1) best = std::min(best, EntryKey(colour, kFirstDark + j));
    const int index = static_cast<int>(best & 0xFF);
    return index == excluded ? -1 : index;
}

}  // namespace

const std::array<Colour, 256>& PalmPalette() { return kPalette; }

int NearestPaletteIndexBySearch(Colour colour, int excluded) {
    int best = -1;
    int bestDistance = std::numeric_limits<int>::max();
    for (int i = 0; i < 256; ++i) {
        if (i == excluded) continue;
        const int d = SquaredDistance(colour, kPalette[static_cast<std::size_t>(i)]);
        if (d == 0) return i;
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return best;
}

int NearestPaletteIndex(Colour colour) { return NearestPaletteIndexExcluding(colour, -1); }

int NearestPaletteIndexExcluding(Colour colour, int excluded) {
    const int index = NearestByArithmetic(colour, excluded);
    return index >= 0 ? index : NearestPaletteIndexFromCells(colour, excluded);
}

int PaletteIndexesOfPixels(std::span<const Colour> pixels, Colour transparent, bool keepTransparent,
                           std::span<std::uint8_t> indexes) {
    assert(indexes.size() >= pixels.size());
    const int t = NearestPaletteIndex(transparent);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        const Colour pixel = pixels[i];
        int index = NearestByArithmetic(pixel, t);
        // Only colours nearest to t get here, the transparent colour among
        // them, so the common case pays nothing for the comparison.
        if (index < 0) index = keepTransparent && pixel == transparent ? t : NearestPaletteIndexFromCells(pixel, t);
        indexes[i] = static_cast<std::uint8_t>(index);
    }
    return t;
}

Colour PaletteColour(int index) {
    return index >= 0 && index < 256 ? kPalette[static_cast<std::size_t>(index)] : kBlack;
}

Colour NearestPaletteColourExcluding(Colour colour, int excluded) {
    return PaletteColour(NearestPaletteIndexExcluding(colour, excluded));
}

}  // namespace corvane
