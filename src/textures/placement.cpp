#include "textures/placement.h"

#include "textures/samples.h"

#include <algorithm>
#include <bit>

namespace kavlen {

namespace {

constexpr int kSide = 256;
// Up to this many rectangles a page is searched by its candidate positions.
constexpr std::size_t kFewRects = 16;
using RowBits = PageOccupancy::RowBits;

// Bits `left`..`right` (inclusive, 0..255) set.
RowBits columnMask(int left, int right) {
    RowBits m{};
    for (int word = 0; word < 4; ++word) {
        const int lo = std::max(left, word * 64), hi = std::min(right, word * 64 + 63);
        if (lo > hi)
            continue;
        const int n = hi - lo + 1;
        const std::uint64_t ones = n == 64 ? ~std::uint64_t(0) : ((std::uint64_t(1) << n) - 1);
        m[word] = ones << (lo - word * 64);
    }
    return m;
}

// Bit x of the result is bit x + t of `r` (0 < t < 256); bits from beyond 255 are 0.
RowBits shiftDown(const RowBits& r, int t) {
    RowBits out{};
    const int q = t / 64, s = t % 64;
    for (int i = 0; i + q < 4; ++i) {
        out[i] = r[i + q] >> s;
        if (s != 0 && i + q + 1 < 4)
            out[i] |= r[i + q + 1] << (64 - s);
    }
    return out;
}

RowBits operator&(const RowBits& a, const RowBits& b) {
    return {a[0] & b[0], a[1] & b[1], a[2] & b[2], a[3] & b[3]};
}

int freeCount(const RowBits& r) {
    return std::popcount(r[0]) + std::popcount(r[1]) + std::popcount(r[2]) + std::popcount(r[3]);
}

int lowestBit(const RowBits& r) {
    for (int i = 0; i < 4; ++i)
        if (r[i])
            return i * 64 + std::countr_zero(r[i]);
    return -1;
}

// Bit x set when bits x .. x + w - 1 of `free` are all set.
RowBits runStarts(RowBits free, int w) {
    for (int span = 1; span < w;) {
        const int t = std::min(span, w - span);
        free = free & shiftDown(free, t);
        span += t;
    }
    return free;
}

} // namespace

PageOccupancy::PageOccupancy(const Package& wad, int page) {
    const std::size_t count = std::min<std::size_t>(wad.texInfoCount, kMaxTexInfos);
    for (std::size_t i = 0; i < count; ++i) {
        const TexInfo& t = wad.texInfos[i];
        if (t.page == page)
            cover(t.x, t.y, t.x + t.width, t.y + t.height);
    }
}

void PageOccupancy::cover(int left, int top, int right, int bottom) {
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, kSide - 1);
    bottom = std::min(bottom, kSide - 1);
    if (left > right || top > bottom)
        return;
    const RowBits mask = columnMask(left, right);
    for (int y = top; y <= bottom; ++y)
        for (int i = 0; i < 4; ++i)
            rows_[y][i] |= mask[i];
}

bool PageOccupancy::occupied(int x, int y) const {
    return (rows_[y][x / 64] >> (x % 64)) & 1;
}

bool PageOccupancy::full() const {
    return std::all_of(rows_.begin(), rows_.end(), [](const RowBits& r) {
        return (r[0] & r[1] & r[2] & r[3]) == ~std::uint64_t(0);
    });
}

std::optional<PagePosition> PageOccupancy::firstFit(int w, int h) const {
    if (w < 1 || h < 1 || w > kSide || h > kSide || full())
        return std::nullopt;
    // free[y]: columns free in every row y .. y + h - 1 (rows past the page count as full).
    std::array<RowBits, kSide> free;
    for (int y = 0; y < kSide; ++y)
        free[y] = {~rows_[y][0], ~rows_[y][1], ~rows_[y][2], ~rows_[y][3]};
    for (int span = 1; span < h;) {
        const int t = std::min(span, h - span);
        for (int y = 0; y < kSide; ++y)
            free[y] = y + t < kSide ? free[y] & free[y + t] : RowBits{};
        span += t;
    }
    for (int y = 0; y + h <= kSide; ++y) {
        if (freeCount(free[y]) < w) // too few free columns for any run of w
            continue;
        const int x = lowestBit(runStarts(free[y], w));
        if (x >= 0)
            return PagePosition{x, y};
    }
    return std::nullopt;
}

std::vector<PageOccupancy> occupancyOfPages(const Package& wad, int pages) {
    std::vector<PageOccupancy> out(std::size_t(std::max(pages, 0)));
    const std::size_t count = std::min<std::size_t>(wad.texInfoCount, kMaxTexInfos);
    for (std::size_t i = 0; i < count; ++i) {
        const TexInfo& t = wad.texInfos[i];
        if (t.page < out.size())
            out[t.page].cover(t.x, t.y, t.x + t.width, t.y + t.height);
    }
    return out;
}

std::optional<PagePosition> firstFitAmongRects(const PageRect* rects, std::size_t count, int w,
                                               int h) {
    if (w < 1 || h < 1 || w > kSide || h > kSide)
        return std::nullopt;
    std::array<int, kFewRects + 1> rows{}, columns{};
    if (count > kFewRects)
        return std::nullopt;
    std::size_t rowCount = 0;
    rows[rowCount++] = 0;
    for (std::size_t i = 0; i < count; ++i)
        if (rects[i].bottom + 1 + h <= kSide)
            rows[rowCount++] = rects[i].bottom + 1;
    std::sort(rows.begin(), rows.begin() + rowCount);
    std::array<const PageRect*, kFewRects> band{};
    for (std::size_t r = 0; r < rowCount; ++r) {
        const int y = rows[r];
        if (r > 0 && y == rows[r - 1])
            continue;
        // Only rectangles crossing rows y .. y + h - 1 can clash, and only their
        // right edges give candidate columns.
        std::size_t bandCount = 0, columnCount = 0;
        columns[columnCount++] = 0;
        for (std::size_t i = 0; i < count; ++i) {
            if (rects[i].top <= y + h - 1 && rects[i].bottom >= y) {
                band[bandCount++] = &rects[i];
                if (rects[i].right + 1 + w <= kSide)
                    columns[columnCount++] = rects[i].right + 1;
            }
        }
        std::sort(columns.begin(), columns.begin() + columnCount);
        for (std::size_t c = 0; c < columnCount; ++c) {
            const int x = columns[c];
            const PageRect candidate{x, y, x + w - 1, y + h - 1};
            bool clash = false;
            for (std::size_t b = 0; b < bandCount && !clash; ++b)
                clash = band[b]->overlaps(candidate);
            if (!clash)
                return PagePosition{x, y};
        }
    }
    return std::nullopt;
}

void PageCells::cover(const PageRect& r) {
    const int left = std::max(r.left, 0), right = std::min(r.right, kSide - 1);
    const int top = std::max(r.top, 0), bottom = std::min(r.bottom, kSide - 1);
    if (left > right || top > bottom)
        return;
    const int c0 = left / 8, c1 = right / 8;
    const std::uint32_t mask =
        (c1 == 31 ? ~std::uint32_t(0) : ((std::uint32_t(1) << (c1 + 1)) - 1)) &
        ~((std::uint32_t(1) << c0) - 1);
    for (int row = top / 8; row <= bottom / 8; ++row)
        rows_[row] |= mask;
}

bool PageCells::mayFit(int w, int h) const {
    const int cw = w / 8 - 1, ch = h / 8 - 1;
    if (cw < 1 || ch < 1)
        return true; // too small for the cells to tell
    // Rows of ch untouched cells on top of each other, then runs of cw columns.
    std::array<std::uint32_t, 32> free;
    for (int r = 0; r < 32; ++r)
        free[r] = ~rows_[r];
    for (int span = 1; span < ch;) {
        const int t = std::min(span, ch - span);
        for (int r = 0; r < 32; ++r)
            free[r] = r + t < 32 ? free[r] & free[r + t] : 0;
        span += t;
    }
    for (int r = 0; r + ch <= 32; ++r) {
        std::uint32_t run = free[r];
        for (int span = 1; span < cw && run;) {
            const int t = std::min(span, cw - span);
            run &= run >> t;
            span += t;
        }
        if (run)
            return true;
    }
    return false;
}

namespace {

// One page's search from its rectangles: the candidate scan for a few, else the
// coarse cells to rule the page out, else the row bitmaps.
std::optional<PagePosition> firstFitOnPage(const PageRect* rects, std::size_t count, int w, int h) {
    if (w < 1 || h < 1 || w > kSide || h > kSide)
        return std::nullopt;
    if (count <= kFewRects)
        return firstFitAmongRects(rects, count, w, h);
    PageCells cells;
    for (std::size_t i = 0; i < count; ++i)
        cells.cover(rects[i]);
    if (!cells.mayFit(w, h))
        return std::nullopt;
    PageOccupancy occupancy;
    for (std::size_t i = 0; i < count; ++i)
        occupancy.cover(rects[i].left, rects[i].top, rects[i].right, rects[i].bottom);
    return occupancy.firstFit(w, h);
}

} // namespace

std::optional<PagePosition> findFreePosition(const Package& wad, int page, int w, int h) {
    // A page of few samples needs no allocation at all.
    std::array<PageRect, kFewRects> few;
    std::vector<PageRect> many;
    std::size_t fewCount = 0;
    const std::size_t count = std::min<std::size_t>(wad.texInfoCount, kMaxTexInfos);
    for (std::size_t i = 0; i < count; ++i) {
        if (wad.texInfos[i].page != page)
            continue;
        if (fewCount < kFewRects) {
            few[fewCount++] = sampleRect(wad.texInfos[i]);
            continue;
        }
        if (many.empty())
            many.assign(few.begin(), few.end());
        many.push_back(sampleRect(wad.texInfos[i]));
    }
    return many.empty() ? firstFitOnPage(few.data(), fewCount, w, h)
                        : firstFitOnPage(many.data(), many.size(), w, h);
}

std::optional<PagePlacement> findFreePositionOnPages(const Package& wad, int pages, int w, int h) {
    if (pages <= 0)
        return std::nullopt;
    // The rectangles grouped by page, in one flat array.
    const std::size_t count = std::min<std::size_t>(wad.texInfoCount, kMaxTexInfos);
    std::vector<std::size_t> start(std::size_t(pages) + 1, 0);
    for (std::size_t i = 0; i < count; ++i)
        if (wad.texInfos[i].page < pages)
            ++start[wad.texInfos[i].page + 1];
    for (std::size_t p = 0; p < std::size_t(pages); ++p)
        start[p + 1] += start[p];
    std::vector<PageRect> rects(start.back());
    std::vector<std::size_t> next(start.begin(), start.end() - 1);
    for (std::size_t i = 0; i < count; ++i)
        if (wad.texInfos[i].page < pages)
            rects[next[wad.texInfos[i].page]++] = sampleRect(wad.texInfos[i]);
    for (int p = 0; p < pages; ++p) {
        const std::size_t first = start[std::size_t(p)], n = start[std::size_t(p) + 1] - first;
        if (const auto at = firstFitOnPage(rects.data() + first, n, w, h))
            return PagePlacement{p, *at};
    }
    return std::nullopt;
}

std::optional<PagePosition> findFreePositionReference(const Package& wad, int page, int w, int h) {
    if (w < 1 || h < 1)
        return std::nullopt;
    std::vector<PageRect> rects;
    const std::size_t count = std::min<std::size_t>(wad.texInfoCount, kMaxTexInfos);
    for (std::size_t i = 0; i < count; ++i)
        if (wad.texInfos[i].page == page)
            rects.push_back(sampleRect(wad.texInfos[i]));
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            if (x + w > kSide || y + h > kSide)
                continue;
            const PageRect candidate{x, y, x + w - 1, y + h - 1};
            const bool clash = std::any_of(rects.begin(), rects.end(), [&](const PageRect& r) {
                return r.overlaps(candidate);
            });
            if (!clash)
                return PagePosition{x, y};
        }
    }
    return std::nullopt;
}

} // namespace kavlen
