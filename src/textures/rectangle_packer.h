// Packs rectangles onto as few square pages as it can: the maximal-rectangles
// method. Each page keeps the list of the largest free rectangles (they may
// overlap); a rectangle goes where a fit rule scores best over every open page,
// and a new page opens only when no page has room. The packer runs a few fit
// rules and input orders and keeps the layout with the fewest pages.
#pragma once

#include <optional>
#include <vector>

namespace kavlen {

struct PackSize {
    int width = 0, height = 0;
};

struct PackPlace {
    int page = 0;
    int x = 0, y = 0;
    bool operator==(const PackPlace&) const = default;
};

struct PackLayout {
    std::vector<PackPlace> places; // one per input rectangle, in input order
    int pages = 0;
};

// Where free space is chosen.
enum class FitRule {
    BestShortSide, // the free rectangle whose shorter leftover side is smallest
    BestLongSide,  // the free rectangle whose longer leftover side is smallest
    BestArea,      // the smallest free rectangle that holds it
    BottomLeft,    // the lowest position, then the leftmost
};

// One packing pass: rectangles in the given order, each placed by `rule`.
// Nothing when a rectangle is empty or larger than a page.
std::optional<PackLayout> packInOrder(const std::vector<PackSize>& sizes,
                                      const std::vector<int>& order, FitRule rule, int side = 256);

// The best of several passes (rules and orders by area, longer side, height,
// width). Nothing when a rectangle is empty or larger than a page.
std::optional<PackLayout> packRectangles(const std::vector<PackSize>& sizes, int side = 256);

} // namespace kavlen
