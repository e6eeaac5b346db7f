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
// table lists every entry that can be the nearest of some colour in the cell:
//   - Let F1 <= F2 be the two smallest of the entries' farthest distances to
//     the cell, F1 reached first by entry f. Whichever single index is
//     excluded, some remaining entry is at most F2 away from every colour of
//     the cell, so the winner is too: an entry whose nearest distance to the
//     cell exceeds F2 can never win. Unless f itself is excluded, F1 bounds
//     the winner the same way, and far fewer entries pass that test.
//   - Of entries with the same colour only the first two can win (excluding
//     one leaves the other), so the 24 surplus blacks are left out.
// Each cell keeps the short list (nearest distance within F1, which always
// holds f) followed by the entries that only the long list (within F2) adds.
// Searching a list with the same tie rule as the full search (smallest
// distance, then lowest index) gives exactly the full search's answer.
constexpr int kCellBits = 3;
constexpr int kCellsPerChannel = 256 >> kCellBits;
constexpr int kCellSize = 1 << kCellBits;
constexpr std::size_t kCellCount = std::size_t{1} << (3 * (8 - kCellBits));

// Cells are stored in Morton order (the bits of the three cell numbers
// interleaved), so that the cells of neighbouring colours, which neighbouring
// pixels of a picture mostly have, lie close together in memory.
constexpr std::array<std::uint16_t, 256> BuildSpread() {
    std::array<std::uint16_t, 256> spread{};
    for (std::size_t v = 0; v < 256; ++v) {
        const std::size_t cell = v >> kCellBits;
        std::size_t bits = 0;
        for (int k = 0; k < 8 - kCellBits; ++k) bits |= ((cell >> k) & 1) << (3 * k);
        spread[v] = static_cast<std::uint16_t>(bits);
    }
    return spread;
}
constexpr std::array<std::uint16_t, 256> kSpread = BuildSpread();

// The cell number along one channel from a Morton index shifted to that channel.
constexpr std::size_t Unspread(std::size_t bits) {
    std::size_t cell = 0;
    for (int k = 0; k < 8 - kCellBits; ++k) cell |= ((bits >> (3 * k)) & 1) << k;
    return cell;
}

}  // namespace

class PaletteCandidates {
public:
    PaletteCandidates() {
        std::array<bool, 256> canWin{};
        for (std::size_t i = 0; i < 256; ++i)
            canWin[i] = std::count(kPalette.begin(), kPalette.begin() + static_cast<std::ptrdiff_t>(i), kPalette[i]) < 2;

        // Per channel value and cell: squared distance to the cell's nearest and farthest value.
        std::array<std::array<int, kCellsPerChannel>, 256> near{};
        std::array<std::array<int, kCellsPerChannel>, 256> far{};
        for (int level = 0; level < 256; ++level)
            for (int cell = 0; cell < kCellsPerChannel; ++cell) {
                const int low = cell * kCellSize;
                const int high = low + kCellSize - 1;
                const int n = level < low ? low - level : (level > high ? level - high : 0);
                const int f = std::max(level - low, high - level);
                near[static_cast<std::size_t>(level)][static_cast<std::size_t>(cell)] = n * n;
                far[static_cast<std::size_t>(level)][static_cast<std::size_t>(cell)] = f * f;
            }

        cells_.resize(kCellCount);
        std::array<int, 256> nearest{};
        for (std::size_t cellIndex = 0; cellIndex < kCellCount; ++cellIndex) {
            const std::size_t cr = Unspread(cellIndex >> 2);
            const std::size_t cg = Unspread(cellIndex >> 1);
            const std::size_t cb = Unspread(cellIndex);
            int far1 = std::numeric_limits<int>::max();
            int far2 = far1;
            std::size_t first = 0;
            for (std::size_t i = 0; i < 256; ++i) {
                const Colour p = kPalette[i];
                nearest[i] = near[p.r][cr] + near[p.g][cg] + near[p.b][cb];
                const int d = far[p.r][cr] + far[p.g][cg] + far[p.b][cb];
                if (d < far1) {
                    far2 = far1;
                    far1 = d;
                    first = i;
                } else if (d < far2) {
                    far2 = d;
                }
            }
            Cell& cell = cells_[cellIndex];
            cell.start = static_cast<std::uint32_t>(entries_.size());
            cell.bounding = static_cast<std::uint8_t>(first);
            for (std::size_t i = 0; i < 256; ++i)
                if (canWin[i] && nearest[i] <= far1) entries_.push_back(static_cast<std::uint8_t>(i));
            cell.shortCount = static_cast<std::uint8_t>(entries_.size() - cell.start);
            for (std::size_t i = 0; i < 256; ++i)
                if (canWin[i] && nearest[i] > far1 && nearest[i] <= far2) entries_.push_back(static_cast<std::uint8_t>(i));
            cell.longCount = static_cast<std::uint8_t>(entries_.size() - cell.start);
        }
    }

    int Nearest(Colour colour, int excluded) const {
        const Cell& cell = cells_[(std::size_t{kSpread[colour.r]} << 2) | (std::size_t{kSpread[colour.g]} << 1) |
                                  kSpread[colour.b]];
        const bool useShort = excluded != cell.bounding;
        if (useShort && cell.shortCount == 1) return cell.bounding;
        const std::uint8_t* entry = entries_.data() + cell.start;
        const std::uint8_t* end = entry + (useShort ? cell.shortCount : cell.longCount);
        int best = 256;
        int bestDistance = std::numeric_limits<int>::max();
        for (; entry != end; ++entry) {
            const int index = *entry;
            if (index == excluded) continue;
            const int d = Distance(colour, kPalette[static_cast<std::size_t>(index)]);
            if (d < bestDistance || (d == bestDistance && index < best)) {
                bestDistance = d;
                best = index;
            }
        }
        return best;
    }

private:
    struct Cell {
        std::uint32_t start = 0;
        std::uint8_t shortCount = 0;
        std::uint8_t longCount = 0;
        std::uint8_t bounding = 0;  // f: the short list holds only while it is not excluded
    };
    std::vector<Cell> cells_;
    std::vector<std::uint8_t> entries_;
};

namespace {

const PaletteCandidates& Candidates() {
    static const PaletteCandidates table;
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

PaletteMatcher::PaletteMatcher(int excluded) : excluded_(excluded), palette_(kPalette) { Candidates(); }

int PaletteMatcher::Search(Colour colour) const { return Candidates().Nearest(colour, excluded_); }

Colour PaletteColour(int index) {
    return index >= 0 && index < 256 ? kPalette[static_cast<std::size_t>(index)] : kBlack;
}

Colour NearestPaletteColourExcluding(Colour colour, int excluded) {
    return PaletteColour(NearestPaletteIndexExcluding(colour, excluded));
}

}  // namespace corvane
