#include "textures/image32.h"

#include <gtest/gtest.h>

using namespace kavlen;

namespace {

// A one-row picture whose blue channel holds `values` (other channels 0, opaque).
Image32 row(const std::vector<int>& values) {
    Image32 image(static_cast<int>(values.size()), 1);
    for (std::size_t x = 0; x < values.size(); ++x)
        image.setPixel(static_cast<int>(x), 0, {static_cast<std::uint8_t>(values[x]), 0, 0, 255});
    return image;
}

std::vector<int> blues(const Image32& image) {
    std::vector<int> out;
    for (int x = 0; x < image.width; ++x)
        out.push_back(image.pixel(x, 0).b);
    return out;
}

} // namespace

TEST(CatmullRom, KernelValues) {
    EXPECT_DOUBLE_EQ(catmullRomWeight(0.0), 1.0);
    EXPECT_DOUBLE_EQ(catmullRomWeight(1.0), 0.0);
    EXPECT_DOUBLE_EQ(catmullRomWeight(-0.5), 0.5625);
    EXPECT_DOUBLE_EQ(catmullRomWeight(1.5), -0.0625);
    EXPECT_DOUBLE_EQ(catmullRomWeight(2.0), 0.0);
}

TEST(CatmullRom, DoublingAStepOvershootsBothSides) {
    // Output pixel centres fall at source positions -0.25, 0.25, 0.75, ...; a step
    // from 0 to 200 rings on both sides: -4.7 and -14.1 (clamped to 0), 40.6,
    // 159.4, 214.1 and 204.7.
    EXPECT_EQ(blues(resizeCatmullRom(row({0, 0, 200, 200}), 8, 1)),
              (std::vector<int>{0, 0, 0, 41, 159, 214, 205, 200}));
}

TEST(CatmullRom, ReproducesRampsAndConstants) {
    // Catmull-Rom interpolates straight lines exactly (away from the clamped edges).
    const std::vector<int> out = blues(resizeCatmullRom(row({0, 40, 80, 120, 160, 200}), 12, 1));
    EXPECT_EQ(out[3], 50);  // source position 1.25
    EXPECT_EQ(out[6], 110); // 2.75
    EXPECT_EQ(out[8], 150); // 3.75

    Image32 flat(5, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            flat.setPixel(x, y, {10, 20, 30, 77});
    for (auto [w, h] : {std::pair{2, 2}, {9, 4}, {1, 1}, {300, 7}}) {
        const Image32 r = resizeCatmullRom(flat, w, h);
        ASSERT_EQ(r.width, w);
        ASSERT_EQ(r.height, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                ASSERT_EQ(r.pixel(x, y), (Bgra{10, 20, 30, 77}));
    }
}

TEST(CatmullRom, ShrinkingAveragesFineDetail) {
    // Alternating 0 / 200 columns shrunk 4:1 become an even grey, not a sample of
    // one phase (the outermost pixels lean towards the repeated border pixel).
    std::vector<int> stripes;
    for (int i = 0; i < 64; ++i)
        stripes.push_back(i % 2 ? 200 : 0);
    const std::vector<int> out = blues(resizeCatmullRom(row(stripes), 16, 1));
    for (std::size_t x = 1; x + 1 < out.size(); ++x)
        EXPECT_NEAR(out[x], 100, 2) << x;
}

TEST(CatmullRom, SameSizeIsACopyAndEmptyInputsGiveBlack) {
    const Image32 picture = row({1, 2, 3});
    EXPECT_EQ(resizeCatmullRom(picture, 3, 1), picture);
    const Image32 none = resizeCatmullRom(Image32(), 4, 2);
    EXPECT_EQ(none.width, 4);
    EXPECT_EQ(none.bgra.size(), 4u * 2 * 4);
}

TEST(Image32, ToBitmap24DropsAlphaAndKeyingMakesTransparentPixelsMagenta) {
    Image32 image(2, 1);
    image.setPixel(0, 0, {1, 2, 3, 0});
    image.setPixel(1, 0, {4, 5, 6, 1});
    const Bitmap24 plain = toBitmap24(image);
    EXPECT_EQ(plain.pixel(0, 0), (Bgr{1, 2, 3}));
    EXPECT_EQ(plain.pixel(1, 0), (Bgr{4, 5, 6}));
    keyTransparentToMagenta(image);
    EXPECT_EQ(image.pixel(0, 0), kMagenta);
    EXPECT_EQ(image.pixel(1, 0), (Bgra{4, 5, 6, 1})); // nearly transparent stays
    EXPECT_EQ(toBitmap24(image).pixel(0, 0), (Bgr{255, 0, 255}));
}
