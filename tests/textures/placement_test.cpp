#include "texture_test_support.h"
#include "textures/placement.h"

#include <gtest/gtest.h>

#include <random>

using namespace kavlen;
using kavlen::test::addSample;
using kavlen::test::makeAtlasPackage;

TEST(Placement, FirstFitIsTopRowFirstThenLeftmost) {
    auto wad = makeAtlasPackage(1);
    addSample(*wad, 0, 0, 0, 64, 64);
    EXPECT_EQ(findFreePosition(*wad, 0, 64, 64), (PagePosition{64, 0}));
    EXPECT_EQ(findFreePosition(*wad, 0, 192, 10), (PagePosition{64, 0}));
    EXPECT_EQ(findFreePosition(*wad, 0, 193, 10), (PagePosition{0, 64}));
    EXPECT_EQ(findFreePosition(*wad, 0, 256, 192), (PagePosition{0, 64}));
    EXPECT_EQ(findFreePosition(*wad, 0, 256, 193), std::nullopt);
    // Samples on other pages do not count.
    EXPECT_EQ(findFreePosition(*wad, 1, 256, 256), (PagePosition{0, 0}));
}

TEST(Placement, FullAndAlmostFullPages) {
    auto wad = makeAtlasPackage(1);
    addSample(*wad, 0, 0, 0, 256, 256);
    EXPECT_TRUE(PageOccupancy(*wad, 0).full());
    EXPECT_EQ(findFreePosition(*wad, 0, 1, 1), std::nullopt);

    // Everything but texel (255, 255), covered by overlapping samples.
    auto gap = makeAtlasPackage(1);
    addSample(*gap, 0, 0, 0, 255, 256);
    addSample(*gap, 0, 0, 0, 256, 255);
    addSample(*gap, 0, 100, 100, 50, 50);
    EXPECT_FALSE(PageOccupancy(*gap, 0).full());
    EXPECT_EQ(findFreePosition(*gap, 0, 1, 1), (PagePosition{255, 255}));
    EXPECT_EQ(findFreePosition(*gap, 0, 2, 1), std::nullopt);
}

TEST(Placement, SamplesReachingPastThePageEdgeAreClipped) {
    auto wad = makeAtlasPackage(1);
    addSample(*wad, 0, 200, 0, 256, 256); // covers columns 200..455 in theory
    EXPECT_EQ(findFreePosition(*wad, 0, 200, 256), (PagePosition{0, 0}));
    EXPECT_EQ(findFreePosition(*wad, 0, 201, 1), std::nullopt);
    EXPECT_EQ(findFreePositionReference(*wad, 0, 201, 1), std::nullopt);
}

TEST(Placement, RejectsSizesOutsideThePage) {
    const auto wad = makeAtlasPackage(1);
    EXPECT_EQ(findFreePosition(*wad, 0, 0, 5), std::nullopt);
    EXPECT_EQ(findFreePosition(*wad, 0, 257, 5), std::nullopt);
    EXPECT_EQ(findFreePosition(*wad, 0, 256, 256), (PagePosition{0, 0}));
}

// The fast search must give exactly the plain scan's answer. Pages are filled
// with random samples of several styles (few large, many small, thin strips,
// grid-like) and probed with random sizes.
TEST(Placement, AgreesWithThePlainScanOnRandomPages) {
    std::mt19937 rng(20240611);
    auto uniform = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    int compared = 0, found = 0;
    for (int round = 0; round < 160; ++round) {
        auto wad = makeAtlasPackage(1);
        const int style = round % 4;
        const int count = style == 0   ? uniform(0, 6)
                          : style == 1 ? uniform(20, 120)
                                       : uniform(5, 40);
        for (int i = 0; i < count && wad->texInfoCount < kMaxTexInfos; ++i) {
            switch (style) {
            case 0:
                addSample(*wad, 0, uniform(0, 255), uniform(0, 255), uniform(16, 200),
                          uniform(16, 200));
                break;
            case 1:
                addSample(*wad, 0, uniform(0, 255), uniform(0, 255), uniform(1, 24),
                          uniform(1, 24));
                break;
            case 2:
                if (uniform(0, 1))
                    addSample(*wad, 0, uniform(0, 255), uniform(0, 255), uniform(1, 3), 256);
                else
                    addSample(*wad, 0, uniform(0, 255), uniform(0, 255), 256, uniform(1, 3));
                break;
            default:
                addSample(*wad, 0, uniform(0, 7) * 32, uniform(0, 7) * 32, 32 - uniform(0, 2),
                          32 - uniform(0, 2));
            }
        }
        addSample(*wad, 1, 0, 0, 256, 256); // another page, must not matter
        const PageOccupancy occupancy(*wad, 0);
        for (int probe = 0; probe < 10; ++probe) {
            const int w = probe < 4 ? uniform(1, 8) : uniform(1, 256);
            const int h = probe < 4 ? uniform(1, 8) : uniform(1, 256);
            const auto expected = findFreePositionReference(*wad, 0, w, h);
            ASSERT_EQ(occupancy.firstFit(w, h), expected)
                << "round " << round << " size " << w << " x " << h;
            ASSERT_EQ(findFreePosition(*wad, 0, w, h), expected)
                << "round " << round << " size " << w << " x " << h;
            ++compared;
            found += expected.has_value();
        }
    }
    // Both outcomes must have been exercised plenty.
    EXPECT_GT(found, compared / 5);
    EXPECT_LT(found, compared * 4 / 5);
}

// Across pages the first page with room wins, whichever way each page is
// searched (few rectangles, crowded, ruled out by its coarse cells).
TEST(Placement, FirstPageWithRoomAgreesWithThePlainScanPageByPage) {
    std::mt19937 rng(7);
    auto uniform = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    int placedBeyondFirst = 0;
    for (int round = 0; round < 40; ++round) {
        const int pages = uniform(1, 6);
        auto wad = makeAtlasPackage(pages);
        for (int p = 0; p < pages; ++p) {
            const int count = uniform(0, 1) ? uniform(0, 10) : uniform(30, 90);
            for (int i = 0; i < count && wad->texInfoCount < kMaxTexInfos; ++i)
                addSample(*wad, p, uniform(0, 255), uniform(0, 255), uniform(4, 120),
                          uniform(4, 120));
        }
        for (int probe = 0; probe < 6; ++probe) {
            const int w = uniform(1, 160), h = uniform(1, 160);
            std::optional<PagePlacement> expected;
            for (int p = 0; p < pages && !expected; ++p)
                if (const auto at = findFreePositionReference(*wad, p, w, h))
                    expected = PagePlacement{p, *at};
            ASSERT_EQ(findFreePositionOnPages(*wad, pages, w, h), expected)
                << "round " << round << " size " << w << " x " << h;
            placedBeyondFirst += expected && expected->page > 0;
        }
    }
    EXPECT_GT(placedBeyondFirst, 10);
}
