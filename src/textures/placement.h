// Finding free space on an atlas page for a new sample: the first position, top
// row first and leftmost first, where a w x h rectangle fits inside the page
// without sharing a texel with any sample on that page.
#pragma once

#include "document/wad.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace kavlen {

struct PagePosition {
    int x = 0, y = 0;
    bool operator==(const PagePosition&) const = default;
};

// Which texels of one page the samples on it cover: one 256-bit mask per row.
// The search works on whole rows of bits: the rows a candidate spans are
// combined by repeated doubling, and runs of w free columns are found the same
// way within a row, so a page costs a few thousand word operations.
class PageOccupancy {
  public:
    PageOccupancy() = default;
    // The union of the rectangles of all samples whose page is `page`.
    PageOccupancy(const twad& wad, int page);

    void cover(int left, int top, int right, int bottom); // inclusive, clipped to the page
    bool occupied(int x, int y) const;
    bool full() const;

    // First-fit position for a w x h rectangle (1..256 each), or nothing.
    std::optional<PagePosition> firstFit(int w, int h) const;

    using RowBits = std::array<std::uint64_t, 4>; // bit x of the row is column x

  private:
    std::array<RowBits, 256> rows_{};
};

// The occupancy of pages 0 .. pages - 1, from one pass over the samples.
std::vector<PageOccupancy> occupancyOfPages(const twad& wad, int pages);

std::optional<PagePosition> findFreePosition(const twad& wad, int page, int w, int h);

// The same answer by the plain scan: every candidate position in order, each
// tested against every sample of the page. Slow; kept to check the fast search.
std::optional<PagePosition> findFreePositionReference(const twad& wad, int page, int w, int h);

} // namespace kavlen
