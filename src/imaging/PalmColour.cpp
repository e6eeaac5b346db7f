#include "imaging/PalmColour.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace corvane {
namespace {

constexpr std::array<std::uint8_t, 6> kCubeLevels{0xFF, 0xCC, 0x99, 0x66, 0x33, 0x00};
constexpr std::array<std::uint8_t, 10> kGreys{0x11, 0x22, 0x44, 0x55, 0x77, 0x88, 0xAA, 0xBB, 0xDD, 0xEE};

constexpr std::array<Colour, 256> BuildPalette() {
    std::array<Colour, 256> palette{};  // 230..255 stay black
    for (int h = 0; h < 2; ++h)
        for (int r = 0; r < 6; ++r)
            for (int b = 0; b < 3; ++b)
                for (int g = 0; g < 6; ++g) {
                    const int index = h * 108 + r * 18 + b * 6 + g;
                    if (index < 215)
                        palette[static_cast<std::size_t>(index)] =
                            Colour{kCubeLevels[static_cast<std::size_t>(r)], kCubeLevels[static_cast<std::size_t>(g)],
                                   kCubeLevels[static_cast<std::size_t>(3 * h + b)]};
                }
    for (std::size_t i = 0; i < kGreys.size(); ++i) palette[215 + i] = Colour{kGreys[i], kGreys[i], kGreys[i]};
    palette[225] = Colour{0xCC, 0xCC, 0xCC};
    palette[226] = Colour{0x88, 0x00, 0x00};
    palette[227] = Colour{0x88, 0x00, 0x88};
    palette[228] = Colour{0x00, 0x88, 0x00};
    palette[229] = Colour{0x00, 0x88, 0x88};
    return palette;
}

constexpr std::array<Colour, 256> kPalette = BuildPalette();

int Distance(Colour a, Colour b) {
    const int dr = int{a.r} - int{b.r};
    const int dg = int{a.g} - int{b.g};
    const int db = int{a.b} - int{b.b};
    return dr * dr + dg * dg + db * db;
}

// The colour space is cut into cells of 8 x 8 x 8 colours. For each cell the
// table lists, in index order, every entry that can be the nearest of some
// colour in the cell while any one index is excluded:
//   - let M be the second smallest of the entries' farthest distances to the
//     cell; whichever single index is excluded, some remaining entry is at
//     most M away from every colour of the cell, so the winner is too, and an
//     entry whose nearest distance to the cell exceeds M can never win;
//   - of entries with the same colour only the first two can win (excluding
//     one leaves the other), so the 24 surplus blacks are dropped.
// Searching the short list in index order with the same tie rule as the full
// search therefore gives exactly the full search's answer.
constexpr int kCellBits = 3;
constexpr int kCellsPerChannel = 256 >> kCellBits;
constexpr int kCellSize = 1 << kCellBits;

class CandidateTable {
public:
    CandidateTable() {
        std::vector<bool> canWin(256, true);
        for (int i = 0; i < 256; ++i) {
            int earlier = 0;
            for (int j = 0; j < i; ++j) earlier += kPalette[static_cast<std::size_t>(j)] == kPalette[static_cast<std::size_t>(i)];
            canWin[static_cast<std::size_t>(i)] = earlier < 2;
        }
        const std::size_t cellCount = std::size_t{1} << (3 * (8 - kCellBits));
        start_.reserve(cellCount + 1);
        std::array<int, 256> nearest{};
        for (int cr = 0; cr < kCellsPerChannel; ++cr)
            for (int cg = 0; cg < kCellsPerChannel; ++cg)
                for (int cb = 0; cb < kCellsPerChannel; ++cb) {
                    start_.push_back(static_cast<std::uint32_t>(entries_.size()));
                    int smallestFar = std::numeric_limits<int>::max();
                    int secondFar = std::numeric_limits<int>::max();
                    for (std::size_t i = 0; i < 256; ++i) {
                        const Colour p = kPalette[i];
                        nearest[i] = AxisNear(p.r, cr) + AxisNear(p.g, cg) + AxisNear(p.b, cb);
                        const int far = AxisFar(p.r, cr) + AxisFar(p.g, cg) + AxisFar(p.b, cb);
                        if (far < smallestFar) {
                            secondFar = smallestFar;
                            smallestFar = far;
                        } else if (far < secondFar) {
                            secondFar = far;
                        }
                    }
                    for (std::size_t i = 0; i < 256; ++i)
                        if (canWin[i] && nearest[i] <= secondFar) entries_.push_back(static_cast<std::uint8_t>(i));
                }
        start_.push_back(static_cast<std::uint32_t>(entries_.size()));
    }

    int Nearest(Colour colour, int excluded) const {
        const std::size_t cell = (std::size_t{colour.r} >> kCellBits) * kCellsPerChannel * kCellsPerChannel +
                                 (std::size_t{colour.g} >> kCellBits) * kCellsPerChannel +
                                 (std::size_t{colour.b} >> kCellBits);
        int best = -1;
        int bestDistance = std::numeric_limits<int>::max();
        for (std::uint32_t k = start_[cell]; k < start_[cell + 1]; ++k) {
            const int index = entries_[k];
            if (index == excluded) continue;
            const int d = Distance(colour, kPalette[static_cast<std::size_t>(index)]);
            if (d < bestDistance) {
                bestDistance = d;
                best = index;
            }
        }
        return best;
    }

private:
    // Squared distance along one channel from a level to the nearest and the
    // farthest value of cell number `cell`.
    static int AxisNear(int level, int cell) {
        const int low = cell * kCellSize;
        const int high = low + kCellSize - 1;
        const int d = level < low ? low - level : (level > high ? level - high : 0);
        return d * d;
    }
    static int AxisFar(int level, int cell) {
        const int low = cell * kCellSize;
        const int high = low + kCellSize - 1;
        const int d = std::max(level - low, high - level);
        return d * d;
    }

    std::vector<std::uint32_t> start_;
    std::vector<std::uint8_t> entries_;
};

const CandidateTable& Candidates() {
    static const CandidateTable table;
    return table;
}

}  // namespace

const std::array<Colour, 256>& PalmPalette() { return kPalette; }

int NearestPaletteIndexBySearch(Colour colour, int excluded) {
    int best = -1;
    int bestDistance = std::numeric_limits<int>::max();
    for (int i = 0; i < 256; ++i) {
        if (i == excluded) continue;
        const int d = Distance(colour, kPalette[static_cast<std::size_t>(i)]);
        if (d == 0) return i;
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return best;
}

int NearestPaletteIndex(Colour colour) { return Candidates().Nearest(colour, -1); }

int NearestPaletteIndexExcluding(Colour colour, int excluded) { return Candidates().Nearest(colour, excluded); }

Colour PaletteColour(int index) {
    return index >= 0 && index < 256 ? kPalette[static_cast<std::size_t>(index)] : kBlack;
}

Colour NearestPaletteColourExcluding(Colour colour, int excluded) {
    return PaletteColour(NearestPaletteIndexExcluding(colour, excluded));
}

std::uint16_t ToRgb565(Colour colour) {
    return static_cast<std::uint16_t>(((colour.r >> 3) << 11) | ((colour.g >> 2) << 5) | (colour.b >> 3));
}

Colour FromRgb565(std::uint16_t value) {
    return Colour{static_cast<std::uint8_t>((value >> 11) << 3), static_cast<std::uint8_t>(((value >> 5) & 0x3F) << 2),
                  static_cast<std::uint8_t>((value & 0x1F) << 3)};
}

Colour Quantise565(Colour colour) {
    return Colour{static_cast<std::uint8_t>(colour.r & 0xF8), static_cast<std::uint8_t>(colour.g & 0xFC),
                  static_cast<std::uint8_t>(colour.b & 0xF8)};
}

}  // namespace corvane
