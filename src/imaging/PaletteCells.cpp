// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "imaging/PaletteCells.h"

#include <algorithm>
#include <atomic>
#include <cassert>
#include <limits>
#include <mutex>
#include <span>

#include "imaging/PalmColour.h"

namespace corvane {
namespace {

constexpr const std::array<Colour, 256>& kPalette = kPalmPalette;

// What the arithmetic leaves (colours whose nearest entry is the excluded
// one) searches a cell's candidates, at most 10, instead of 256 entries.
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
// which holds every entry that can win anywhere in the big cell, so making a
// cell's lists measures about 34 entries instead of 232. F1 and F2 taken over
// that list are still distances of real entries, so the bounds hold.
constexpr int kCellBits = 3;
constexpr int kCellSize = 1 << kCellBits;
constexpr std::size_t kCellCount = std::size_t{1} << (3 * (8 - kCellBits));
constexpr int kBigCellSize = 32;

// Cells are stored in Morton order (the bits of the three cell numbers
// interleaved), so that the cells of neighbouring colours, which neighbouring
// pixels of a picture mostly have, share cache lines, where in a red-major
// order a step in red would be 1024 cells away.
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
// for all 32768 at start-up. A cell's ready flag is atomic so that a filled
// cell is read without the lock, which saves a lock per look-up; the mutex
// keeps two threads from filling one cell at once.
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
            const int distance = SquaredDistance(colour, kPalette[static_cast<std::size_t>(candidate)]);
            best = std::min(best, (distance << 8) | candidate);
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

// Zeroed at load, in memory the system hands out untouched: no constructor
// runs at start-up, and no page is touched before its cells are used.
constinit PaletteCandidates gCandidates;

}  // namespace

// Out of line: few colours get here, and the arithmetic path keeps its
// registers without the cells' code inlined around it.
[[gnu::noinline]] int NearestPaletteIndexFromCells(Colour colour, int excluded) {
    return gCandidates.Nearest(colour, excluded);
}

}  // namespace corvane
