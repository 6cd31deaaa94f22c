#include "texture_test_support.h"
#include "textures/samples.h"

#include <gtest/gtest.h>

using namespace kavlen;
using kavlen::test::addSample;
using kavlen::test::atlasTexel;
using kavlen::test::makeAtlasPackage;

TEST(Samples, PictureIsTheSampleRectangleOfItsPage) {
    auto wad = makeAtlasPackage(2);
    const int s = addSample(*wad, 1, 10, 20, 32, 16);
    const std::optional<Bitmap24> picture = samplePicture(*wad, s);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->width, 32);
    EXPECT_EQ(picture->height, 16);
    EXPECT_EQ(picture->pixel(0, 0), atlasTexel(1, 10, 20));
    EXPECT_EQ(picture->pixel(31, 15), atlasTexel(1, 41, 35));
    EXPECT_EQ(sampleSizeLabel(wad->texInfos[s]), "32 x 16");
    EXPECT_EQ(findGroupCaption(s, wad->texInfos[s]), "Texture#0  (32x16)");
    EXPECT_EQ(sampleMark(*wad, s), (SampleMark{1, {10, 20, 41, 35}}));
}

TEST(Samples, NothingToReadInAPackageWithoutSamples) {
    const auto wad = makeAtlasPackage(1);
    EXPECT_FALSE(hasSample(*wad, 0));
    EXPECT_FALSE(samplePicture(*wad, 0));
    EXPECT_FALSE(sampleMark(*wad, 0));
    EXPECT_FALSE(samplePicture(*wad, -1));
    EXPECT_TRUE(hitTest(*wad, 0, 5, 5).empty());
}

TEST(Samples, HitTestListsOverlapsInIndexOrderWithInclusiveEdges) {
    auto wad = makeAtlasPackage(2);
    addSample(*wad, 0, 0, 0, 64, 64);   // 0
    addSample(*wad, 1, 0, 0, 256, 256); // 1: other page
    addSample(*wad, 0, 32, 32, 32, 32); // 2
    addSample(*wad, 0, 63, 63, 10, 5);  // 3
    addSample(*wad, 0, 100, 0, 8, 8);   // 4

    const std::vector<SampleHit> three = hitTest(*wad, 0, 63, 63);
    EXPECT_EQ(three, (std::vector<SampleHit>{{0, 64, 64}, {2, 32, 32}, {3, 10, 5}}));
    EXPECT_EQ(pickedCaption(three.size()), "3 tex picked");
    EXPECT_EQ(chooseEntry(three[2]), "Texture#3 10 x 5");
    EXPECT_EQ(hitTest(*wad, 0, 64, 63), (std::vector<SampleHit>{{3, 10, 5}}));
    EXPECT_EQ(hitTest(*wad, 0, 107, 7), (std::vector<SampleHit>{{4, 8, 8}}));
    EXPECT_TRUE(hitTest(*wad, 0, 108, 7).empty());
    EXPECT_EQ(pickedCaption(1), "1 tex picked");
    EXPECT_EQ(pickedCaption(0), "Not picked");
    EXPECT_EQ(pageLabel(3), "Page#3");
}

TEST(Samples, ChooseEntriesNameTheirSample) {
    EXPECT_EQ(chooseEntrySample("Texture#12 32 x 16"), 12);
    EXPECT_EQ(chooseEntrySample("Texture#0"), 0);
    EXPECT_EQ(chooseEntrySample("Texture# 3"), -1);
    EXPECT_EQ(chooseEntrySample("Texture#07 1 x 1"), -1); // no entry is spelled so
    EXPECT_EQ(chooseEntrySample("Page#3"), -1);
    EXPECT_EQ(chooseEntrySample(""), -1);
}

TEST(Samples, PreviewZoomRule) {
    EXPECT_EQ(previewZoom(100, 20), 4);
    EXPECT_EQ(previewZoom(8, 8), 32);
    EXPECT_EQ(previewZoom(129, 10), 2);
    EXPECT_EQ(previewZoom(128, 128), 4);
    EXPECT_EQ(previewZoom(64, 64), 4);
    EXPECT_EQ(previewZoom(32, 33), 4);
    EXPECT_EQ(previewZoom(32, 32), 8);
    EXPECT_EQ(previewZoom(16, 9), 16);
    EXPECT_EQ(previewZoom(9, 8), 16);
    EXPECT_EQ(previewZoom(256, 256), 2);

    Bitmap24 small(2, 1);
    small.setPixel(1, 0, {9, 9, 9});
    const Bitmap24 big = previewPicture(small);
    EXPECT_EQ(big.width, 64);
    EXPECT_EQ(big.height, 32);
    EXPECT_EQ(big.pixel(31, 31), (Bgr{}));
    EXPECT_EQ(big.pixel(32, 0), (Bgr{9, 9, 9}));
}

TEST(Samples, BoxSizeKeepsSmallSamplesAndScalesLargeOnes) {
    EXPECT_EQ(sampleBoxSize(64, 64), (DisplaySize{64, 64}));
    EXPECT_EQ(sampleBoxSize(20, 7), (DisplaySize{20, 7}));
    EXPECT_EQ(sampleBoxSize(128, 32), (DisplaySize{64, 16}));
    EXPECT_EQ(sampleBoxSize(100, 256), (DisplaySize{25, 64}));
    EXPECT_EQ(sampleBoxSize(256, 1), (DisplaySize{64, 1}));
}
