#include "imaging/PalmColour.h"

#include <algorithm>
#include <atomic>
#include <cassert>
#include <limits>
#include <mutex>
#include <span>

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

// Most colours are answered by arithmetic alone, without the cells below.
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
// the lowest index among equals: the full search's tie rule. An excluded
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
// Three shares add up without carries between the parts.
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
// of the nearest grey less the sum of squares' part.
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
// bit j for entry kFirstDark + j.
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
    return static_cast<std::uint32_t>(Distance(colour, kPalette[index]) << 8) | static_cast<std::uint32_t>(index);
}

// The nearest entry, or -1 when that is the excluded one.
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

// The colour space is cut into cells of 8 x 8 x 8 colours. For each cell the
// table lists every entry that can be the nearest of some colour in the cell:
//   - Let F1 <= F2 be the two smallest of the entries' farthest distances to
//     the cell, F1 reached by entry f. Whichever single index is excluded,
//     some remaining entry is at most F2 away from every colour of the cell,
//     so the winner is too: an entry whose nearest distance to the cell
//     exceeds F2 can never win. Unless f itself is excluded, F1 bounds the
//     winner the same way, and far fewer entries pass that test.
//   - Of entries with the same colour only the first two can win (excluding
//     one leaves the other), so the 24 surplus blacks are left out.
// Each cell keeps the short list (nearest distance within F1, which always
// holds f) followed by the entries that only the long list (within F2) adds.
// Searching a list with the same tie rule as the full search (smallest
// distance, then lowest index) gives exactly the full search's answer.
//
// A cell's lists are made in two steps: first for its cell of 32 x 32 x 32
// from all entries, then for the cell of 8 from its big cell's long list,
// which holds every entry that can win anywhere in the big cell. F1 and F2 taken
// over that list are still distances of real entries, so the bounds hold.
constexpr int kCellBits = 3;
constexpr int kCellSize = 1 << kCellBits;
constexpr std::size_t kCellCount = std::size_t{1} << (3 * (8 - kCellBits));
constexpr int kBigCellSize = 32;

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

std::size_t CellIndex(Colour colour) {
    return (std::size_t{kSpread[colour.r]} << 2) | (std::size_t{kSpread[colour.g]} << 1) | kSpread[colour.b];
}

// Squared distances along one channel from a value to the nearest and the
// farthest value of the range low .. low + size - 1.
int AxisNear(int value, int low, int size) {
    const int d = std::max(0, std::max(low - value, value - (low + size - 1)));
    return d * d;
}
int AxisFar(int value, int low, int size) {
    const int d = std::max(value - low, low + size - 1 - value);
    return d * d;
}

// The lists of one cell, short list first. No cell of 8 has more than 10
// entries, no cell of 32 more than 34 (the all-colours test would catch a
// list cut short).
template <std::size_t Capacity>
struct CellLists {
    std::uint8_t bounding = 0;  // f
    std::uint8_t shortCount = 0;
    std::uint8_t longCount = 0;
    std::array<std::uint8_t, Capacity> entries{};
};

// The lists for the cube of `size` colours a side whose lowest colour is
// `low`, from the entries `from` (in index order).
template <std::size_t Capacity>
void ListCandidates(std::span<const std::uint8_t> from, Colour low, int size, CellLists<Capacity>& lists) {
    std::array<int, 256> nearest;  // by position in `from`
    std::array<int, 256> farthest;
    for (std::size_t j = 0; j < from.size(); ++j) {
        const Colour p = kPalette[from[j]];
        nearest[j] = AxisNear(p.r, low.r, size) + AxisNear(p.g, low.g, size) + AxisNear(p.b, low.b, size);
        farthest[j] = AxisFar(p.r, low.r, size) + AxisFar(p.g, low.g, size) + AxisFar(p.b, low.b, size);
    }
    int far1 = std::numeric_limits<int>::max();
    int far2 = far1;
    for (std::size_t j = 0; j < from.size(); ++j) {
        const int d = farthest[j];
        if (d < far1) {
            far2 = far1;
            far1 = d;
            lists.bounding = from[j];
        } else if (d < far2) {
            far2 = d;
        }
    }
    std::size_t count = 0;
    const auto add = [&](std::uint8_t i) {
        assert(count < Capacity);
        if (count < Capacity) lists.entries[count++] = i;
    };
    for (std::size_t j = 0; j < from.size(); ++j)
        if (nearest[j] <= far1) add(from[j]);
    lists.shortCount = static_cast<std::uint8_t>(count);
    for (std::size_t j = 0; j < from.size(); ++j)
        if (nearest[j] > far1 && nearest[j] <= far2) add(from[j]);
    lists.longCount = static_cast<std::uint8_t>(count);
}

constexpr int kBigCellBits = 5;
constexpr std::size_t kBigCellCount = std::size_t{1} << (3 * (8 - kBigCellBits));

// The 232 entries that can win somewhere: every colour, at most twice.
constexpr std::array<std::uint8_t, 232> kDistinctEntries = [] {
    std::array<std::uint8_t, 232> entries{};
    std::size_t count = 0;
    for (std::size_t i = 0; i < 256; ++i) {
        int earlier = 0;
        for (std::size_t j = 0; j < i; ++j) earlier += kPalette[j] == kPalette[i] ? 1 : 0;
        if (earlier < 2) entries[count++] = static_cast<std::uint8_t>(i);
    }
    return entries;
}();

}  // namespace

// Each cell's lists are made when colours of the cell are looked up, so a
// program that reduces one small picture pays for the cells it touches, not
// for all 32768. The tables start zeroed, in memory
// the system hands out untouched.
class PaletteCandidates {
public:
    int Nearest(Colour colour, int excluded) {
        const std::size_t index = CellIndex(colour);
        Cell& cell = cells_[index];
        if (!cell.ready.load(std::memory_order_acquire))
            if (const int early = Fill(cell, colour, excluded); early >= 0) return early;
        const bool useShort = excluded != cell.lists.bounding;
        if (useShort && cell.lists.shortCount == 1) return cell.lists.bounding;
        return Search(colour, excluded, cell.lists.entries.data(), useShort ? cell.lists.shortCount : cell.lists.longCount);
    }

private:
    struct Cell {
        std::atomic<bool> ready{false};
        std::atomic<std::uint8_t> visits{0};
        CellLists<16> lists;
    };
    struct BigCell {
        std::atomic<bool> ready{false};
        CellLists<48> lists;
    };

    static Colour Low(Colour colour, int bits) {
        const auto mask = static_cast<std::uint8_t>(0xFF << bits);
        return Colour{static_cast<std::uint8_t>(colour.r & mask), static_cast<std::uint8_t>(colour.g & mask),
                      static_cast<std::uint8_t>(colour.b & mask)};
    }

    // Distance and index in one key: the smallest key is the smallest
    // distance, the lowest index among equals.
    static int Search(Colour colour, int excluded, const std::uint8_t* entry, std::size_t count) {
        int best = std::numeric_limits<int>::max();
        for (const std::uint8_t* end = entry + count; entry != end; ++entry) {
            const int candidate = *entry;
            if (candidate == excluded) continue;
            best = std::min(best, (Distance(colour, kPalette[static_cast<std::size_t>(candidate)]) << 8) | candidate);
        }
        return best & 0xFF;
    }

    const BigCell& ReadyBigCell(Colour colour) {
        const Colour bigLow = Low(colour, kBigCellBits);
        BigCell& big = bigCells_[(std::size_t{bigLow.r} << 1) | (std::size_t{bigLow.g} >> 2) | (std::size_t{bigLow.b} >> 5)];
        if (big.ready.load(std::memory_order_acquire)) return big;
        const std::lock_guard<std::mutex> lock(filling_);
        if (!big.ready.load(std::memory_order_relaxed)) {
            ListCandidates(kDistinctEntries, bigLow, kBigCellSize, big.lists);
            big.ready.store(true, std::memory_order_release);
        }
        return big;
    }

    // The first colours of a cell are answered from its big cell's long list,
    // which holds every entry that can win there: making the cell's own lists
    // costs several such searches, and in a picture most cells are met only
    // once or twice. Returns -1 once the cell is ready.
    int Fill(Cell& cell, Colour colour, int excluded) {
        const BigCell& big = ReadyBigCell(colour);
        if (cell.visits.fetch_add(1, std::memory_order_relaxed) < kVisitsBeforeLists)
            return Search(colour, excluded, big.lists.entries.data(), big.lists.longCount);
        const std::lock_guard<std::mutex> lock(filling_);
        if (!cell.ready.load(std::memory_order_relaxed)) {
            ListCandidates(std::span<const std::uint8_t>(big.lists.entries.data(), big.lists.longCount),
                           Low(colour, kCellBits), kCellSize, cell.lists);
            cell.ready.store(true, std::memory_order_release);
        }
        return -1;
    }

    static constexpr std::uint8_t kVisitsBeforeLists = 4;

    std::array<Cell, kCellCount> cells_{};
    std::array<BigCell, kBigCellCount> bigCells_{};
    std::mutex filling_;
};

namespace {

// Zeroed at load: nothing runs before the first look-up.
constinit PaletteCandidates gCandidates;

PaletteCandidates& Candidates() { return gCandidates; }

// Out of line: few colours get here, and the arithmetic path keeps its
// registers without the cells' code around it.
[[gnu::noinline]] int NearestFromCells(Colour colour, int excluded) { return Candidates().Nearest(colour, excluded); }

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

int NearestPaletteIndex(Colour colour) { return NearestPaletteIndexExcluding(colour, -1); }

int NearestPaletteIndexExcluding(Colour colour, int excluded) {
    const int index = NearestByArithmetic(colour, excluded);
    return index >= 0 ? index : NearestFromCells(colour, excluded);
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
        if (index < 0) index = keepTransparent && pixel == transparent ? t : NearestFromCells(pixel, t);
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
