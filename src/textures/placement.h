// Finding free space on an atlas page for a new sample: the first position, top
// row first and leftmost first, where a w x h rectangle fits inside the page
// without sharing a texel with any sample on that page.
#pragma once

#include "document/package.h"
#include "textures/atlas.h"

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
    PageOccupancy(const Package& wad, int page);

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
std::vector<PageOccupancy> occupancyOfPages(const Package& wad, int pages);

// First fit among a page's few sample rectangles: the answer's row is 0 or one
// below a rectangle's bottom, its column 0 or one right of a rectangle's right
// edge, so only those candidates are tried. Cheap for a handful of rectangles.
std::optional<PagePosition> firstFitAmongRects(const PageRect* rects, std::size_t count, int w,
                                               int h);

// A coarse view of a page: one bit per 8 x 8 cell, set when any sample touches
// the cell. A free w x h rectangle wholly contains at least (w/8 - 1) x (h/8 - 1)
// untouched cells, so a page without such a block of cells has no room.
class PageCells {
  public:
    void cover(const PageRect& r);
    bool mayFit(int w, int h) const;

  private:
    std::array<std::uint32_t, 32> rows_{}; // bit c of row r: cell (c, r)
};

// First fit on one page.
std::optional<PagePosition> findFreePosition(const Package& wad, int page, int w, int h);

struct PagePlacement {
    int page = 0;
    PagePosition at;
    bool operator==(const PagePlacement&) const = default;
};

// First fit over pages 0 .. pages - 1 in order: the first page with room and
// the first-fit position on it.
std::optional<PagePlacement> findFreePositionOnPages(const Package& wad, int pages, int w, int h);

// The same answer by the plain scan: every candidate position in order, each
// tested against every sample of the page. Slow; kept to check the fast search.
std::optional<PagePosition> findFreePositionReference(const Package& wad, int page, int w, int h);

} // namespace kavlen
