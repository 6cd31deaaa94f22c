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

// Which texels of one page the samples on it cover. Built in time linear in the
// number of samples plus the page area, however large or overlapping they are.
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

  private:
    void settle() const;

    // Coverage counts as a 2D difference array, turned into free-run lengths lazily.
    std::vector<std::int32_t> diff_ = std::vector<std::int32_t>(257 * 257, 0);
    mutable bool settled_ = false;
    mutable std::vector<std::uint16_t> downRun_; // free texels from (x, y) downwards
    mutable int occupiedCount_ = 0;
};

std::optional<PagePosition> findFreePosition(const twad& wad, int page, int w, int h);

// The same answer by the plain scan: every candidate position in order, each
// tested against every sample of the page. Slow; kept to check the fast search.
std::optional<PagePosition> findFreePositionReference(const twad& wad, int page, int w, int h);

} // namespace kavlen
