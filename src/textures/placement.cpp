#include "textures/placement.h"

#include "textures/samples.h"

#include <algorithm>

namespace kavlen {

namespace {

constexpr int kSide = 256;
constexpr int kStride = kSide + 1;

} // namespace

PageOccupancy::PageOccupancy(const twad& wad, int page) {
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
    diff_[top * kStride + left] += 1;
    diff_[top * kStride + right + 1] -= 1;
    diff_[(bottom + 1) * kStride + left] -= 1;
    diff_[(bottom + 1) * kStride + right + 1] += 1;
    settled_ = false;
}

void PageOccupancy::settle() const {
    if (settled_)
        return;
    // Prefix sums of the difference array give each texel's coverage count.
    std::vector<std::int32_t> cover(kSide * kSide);
    std::vector<std::int32_t> above(kSide + 1, 0);
    occupiedCount_ = 0;
    for (int y = 0; y < kSide; ++y) {
        std::int32_t rowSum = 0;
        for (int x = 0; x < kSide; ++x) {
            rowSum += diff_[y * kStride + x];
            above[x] += rowSum;
            cover[y * kSide + x] = above[x];
            occupiedCount_ += above[x] > 0;
        }
    }
    // downRun(x, y): how many free texels start at (x, y) going down.
    downRun_.assign(kSide * (kSide + 1), 0);
    for (int y = kSide - 1; y >= 0; --y)
        for (int x = 0; x < kSide; ++x)
            downRun_[y * kSide + x] =
                cover[y * kSide + x] > 0
                    ? 0
                    : static_cast<std::uint16_t>(downRun_[(y + 1) * kSide + x] + 1);
    settled_ = true;
}

bool PageOccupancy::occupied(int x, int y) const {
    settle();
    return downRun_[y * kSide + x] == 0;
}

bool PageOccupancy::full() const {
    settle();
    return occupiedCount_ == kSide * kSide;
}

std::optional<PagePosition> PageOccupancy::firstFit(int w, int h) const {
    if (w < 1 || h < 1 || w > kSide || h > kSide)
        return std::nullopt;
    settle();
    if (occupiedCount_ == kSide * kSide)
        return std::nullopt;
    // For each top row, the leftmost run of w columns that are free for h rows.
    for (int y = 0; y + h <= kSide; ++y) {
        const std::uint16_t* runs = downRun_.data() + y * kSide;
        int run = 0;
        for (int x = 0; x < kSide; ++x) {
            if (runs[x] >= h) {
                if (++run == w)
                    return PagePosition{x - w + 1, y};
            } else {
                run = 0;
            }
        }
    }
    return std::nullopt;
}

std::optional<PagePosition> findFreePosition(const twad& wad, int page, int w, int h) {
    return PageOccupancy(wad, page).firstFit(w, h);
}

std::optional<PagePosition> findFreePositionReference(const twad& wad, int page, int w, int h) {
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
