#include "textures/rectangle_packer.h"

#include <algorithm>
#include <array>
#include <limits>
#include <numeric>

namespace kavlen {

namespace {

struct Rect {
    int x = 0, y = 0, w = 0, h = 0;
    bool contains(const Rect& o) const {
        return o.x >= x && o.y >= y && o.x + o.w <= x + w && o.y + o.h <= y + h;
    }
    bool overlaps(const Rect& o) const {
        return o.x < x + w && x < o.x + o.w && o.y < y + h && y < o.y + o.h;
    }
};

// Lower is better: the first number, then the second.
using Score = std::pair<long, long>;
constexpr Score kNoScore{std::numeric_limits<long>::max(), std::numeric_limits<long>::max()};

Score score(const Rect& free, int w, int h, FitRule rule) {
    const long leftW = free.w - w, leftH = free.h - h;
    switch (rule) {
    case FitRule::BestShortSide:
        return {std::min(leftW, leftH), std::max(leftW, leftH)};
    case FitRule::BestLongSide:
        return {std::max(leftW, leftH), std::min(leftW, leftH)};
    case FitRule::BestArea:
        return {long(free.w) * free.h - long(w) * h, std::min(leftW, leftH)};
    case FitRule::BottomLeft:
        return {long(free.y) + h, free.x};
    }
    return kNoScore;
}

// One page: its maximal free rectangles, none inside another.
class FreeSpace {
  public:
    explicit FreeSpace(int side) : side_(side) { free_.push_back({0, 0, side, side}); }

    bool hasRoomFor(int w, int h) const { return long(used_) + long(w) * h <= long(side_) * side_; }

    // The best free rectangle for w x h under `rule`, if it beats `best`.
    bool improve(int w, int h, FitRule rule, Score& best, Rect& at) const {
        bool improved = false;
        for (const Rect& f : free_) {
            if (f.w < w || f.h < h)
                continue;
            const Score s = score(f, w, h, rule);
            if (s < best) {
                best = s;
                at = {f.x, f.y, w, h};
                improved = true;
            }
        }
        return improved;
    }

    void place(const Rect& r) {
        used_ += r.w * r.h;
        std::vector<Rect>& added = scratch_;
        added.clear();
        for (std::size_t i = 0; i < free_.size();) {
            const Rect f = free_[i];
            if (!f.overlaps(r)) {
                ++i;
                continue;
            }
            if (r.x > f.x)
                added.push_back({f.x, f.y, r.x - f.x, f.h});
            if (r.x + r.w < f.x + f.w)
                added.push_back({r.x + r.w, f.y, f.x + f.w - r.x - r.w, f.h});
            if (r.y > f.y)
                added.push_back({f.x, f.y, f.w, r.y - f.y});
            if (r.y + r.h < f.y + f.h)
                added.push_back({f.x, r.y + r.h, f.w, f.y + f.h - r.y - r.h});
            free_[i] = free_.back();
            free_.pop_back();
        }
        // The untouched rectangles were maximal and lie inside none of the pieces
        // (each piece lies inside a rectangle they were not inside), so only the
        // pieces need pruning.
        const std::size_t untouched = free_.size();
        for (std::size_t i = 0; i < added.size(); ++i) {
            const Rect& a = added[i];
            bool inside = false;
            for (std::size_t k = 0; k < untouched && !inside; ++k)
                inside = free_[k].contains(a);
            for (std::size_t j = 0; j < added.size() && !inside; ++j) {
                if (j == i || !added[j].contains(a))
                    continue;
                // Two equal pieces: keep the first.
                inside = !a.contains(added[j]) || j < i;
            }
            if (!inside)
                free_.push_back(a);
        }
    }

  private:
    int side_;
    int used_ = 0;
    std::vector<Rect> free_;
    std::vector<Rect> scratch_;
};

using Order = std::vector<int>;

Order sortedOrder(const std::vector<PackSize>& sizes,
                  bool (*before)(const PackSize&, const PackSize&)) {
    Order order(sizes.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return before(sizes[a], sizes[b]); });
    return order;
}

bool byArea(const PackSize& a, const PackSize& b) {
    const int aa = a.width * a.height, ab = b.width * b.height;
    return aa != ab ? aa > ab : std::max(a.width, a.height) > std::max(b.width, b.height);
}
bool byLongerSide(const PackSize& a, const PackSize& b) {
    const int la = std::max(a.width, a.height), lb = std::max(b.width, b.height);
    return la != lb ? la > lb : std::min(a.width, a.height) > std::min(b.width, b.height);
}
bool byHeight(const PackSize& a, const PackSize& b) {
    return a.height != b.height ? a.height > b.height : a.width > b.width;
}
bool byWidth(const PackSize& a, const PackSize& b) {
    return a.width != b.width ? a.width > b.width : a.height > b.height;
}

} // namespace

std::optional<PackLayout> packInOrder(const std::vector<PackSize>& sizes, const Order& order,
                                      FitRule rule, int side) {
    for (const PackSize& s : sizes)
        if (s.width < 1 || s.height < 1 || s.width > side || s.height > side)
            return std::nullopt;
    PackLayout layout;
    layout.places.resize(sizes.size());
    std::vector<FreeSpace> pages;
    for (const int i : order) {
        const int w = sizes[i].width, h = sizes[i].height;
        Score best = kNoScore;
        Rect at;
        int page = -1;
        for (std::size_t p = 0; p < pages.size(); ++p)
            if (pages[p].hasRoomFor(w, h) && pages[p].improve(w, h, rule, best, at))
                page = int(p);
        if (page < 0) {
            pages.emplace_back(side);
            page = int(pages.size()) - 1;
            pages.back().improve(w, h, rule, best, at);
        }
        pages[page].place(at);
        layout.places[i] = {page, at.x, at.y};
    }
    layout.pages = int(pages.size());
    return layout;
}

std::optional<PackLayout> packRectangles(const std::vector<PackSize>& sizes, int side) {
    constexpr std::array<FitRule, 2> kRules{FitRule::BestShortSide, FitRule::BestArea};
    const std::array<Order, 4> orders{sortedOrder(sizes, byArea), sortedOrder(sizes, byLongerSide),
                                      sortedOrder(sizes, byHeight), sortedOrder(sizes, byWidth)};
    std::optional<PackLayout> best;
    for (const FitRule rule : kRules) {
        for (const Order& order : orders) {
            std::optional<PackLayout> layout = packInOrder(sizes, order, rule, side);
            if (!layout)
                return std::nullopt;
            if (!best || layout->pages < best->pages)
                best = std::move(layout);
        }
    }
    return best;
}

} // namespace kavlen
