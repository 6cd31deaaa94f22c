// Pixel buffers of the sample textures, without GL.
#include "scene_documents.h"
#include "view3d/texture_pixels.h"
#include "view3d/texture_upload.h"

#include <gtest/gtest.h>

using namespace kavlen;
using namespace kavlen::testing;

namespace {

Rgb rgbAt(const TexturePicture& picture, int x, int y) {
    const std::uint8_t* p = picture.pixel(x, y);
    return {p[2], p[1], p[0]};
}

TexturePicture uniformPicture(int w, int h, Rgb c) {
    TexturePicture picture;
    picture.width = w;
    picture.height = h;
    picture.pixels.resize(std::size_t(w) * h * 3);
    for (std::size_t i = 0; i < picture.pixels.size(); i += 3) {
        picture.pixels[i] = c.b;
        picture.pixels[i + 1] = c.g;
        picture.pixels[i + 2] = c.r;
    }
    return picture;
}

} // namespace

TEST(TexturePixels, CutsTheSampleRectangleFromItsPage) {
    auto wad = makeSceneTestPackage();
    const TexturePicture picture = cutSamplePicture(*wad, 1, 3);
    EXPECT_EQ(picture.width, 32);
    EXPECT_EQ(picture.height, 32);
    EXPECT_EQ(rgbAt(picture, 0, 0), kLeftColor);
    EXPECT_EQ(rgbAt(picture, 15, 31), kLeftColor);
    EXPECT_EQ(rgbAt(picture, 16, 0), kRightColor);
    EXPECT_EQ(rgbAt(picture, 31, 31), kRightColor);

    const TexturePicture wide = cutSamplePicture(*wad, 1, 4);
    EXPECT_EQ(wide.bytesPerPixel, 4);
    EXPECT_EQ(rgbAt(wide, 20, 5), kRightColor);
    EXPECT_EQ(wide.pixel(20, 5)[3], 255);
}

TEST(TexturePixels, SamplesOnLaterPagesUseTheirRows) {
    auto wad = makeSceneTestPackage();
    wad->textureDataSize = 2 * kPageBytes;
    wad->textureData.resize(2 * kPageBytes, 0);
    paintAtlasRect(*wad, 10, 256 + 20, 4, 2, Rgb{1, 2, 3});
    addTestSample(*wad, 10, 20, 4, 2);
    wad->texInfos[4].page = 1;
    const TexturePicture picture = cutSamplePicture(*wad, 4, 3);
    EXPECT_EQ(picture.width, 4);
    EXPECT_EQ(picture.height, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(rgbAt(picture, x, y), (Rgb{1, 2, 3}));
}

TEST(TexturePixels, TexelsOutsideTheAtlasAreBlackAndNeverRead) {
    auto wad = makeSceneTestPackage();
    paintAtlasRect(*wad, 250, 250, 6, 6, Rgb{9, 9, 9});
    // Reaches past the page's right edge and below the last row.
    addTestSample(*wad, 250, 250, 20, 20);
    const TexturePicture edge = cutSamplePicture(*wad, 4, 3);
    EXPECT_EQ(edge.width, 20);
    EXPECT_EQ(rgbAt(edge, 5, 5), (Rgb{9, 9, 9}));
    EXPECT_EQ(rgbAt(edge, 6, 0), (Rgb{0, 0, 0}));
    EXPECT_EQ(rgbAt(edge, 0, 6), (Rgb{0, 0, 0}));
    EXPECT_EQ(rgbAt(edge, 19, 19), (Rgb{0, 0, 0}));

    // A page the atlas does not have, and an atlas block shorter than its size field.
    wad->texInfos[4].page = 7;
    EXPECT_EQ(rgbAt(cutSamplePicture(*wad, 4, 3), 0, 0), (Rgb{0, 0, 0}));
    wad->textureData.resize(100);
    const TexturePicture shortAtlas = cutSamplePicture(*wad, 1, 4);
    EXPECT_EQ(rgbAt(shortAtlas, 0, 0), (Rgb{0, 0, 0}));
    EXPECT_EQ(shortAtlas.pixel(0, 0)[3], 255);
}

TEST(TexturePixels, PowerOfTwoSidesAreKeptOthersStretchedTo64) {
    auto wad = makeSceneTestPackage();
    // width 31, height 31: 32 x 32 as it is.
    const TexturePicture exact = texturePixels(cutSamplePicture(*wad, 1, 3), 24);
    EXPECT_EQ(exact.width, 32);
    EXPECT_EQ(exact.height, 32);
    EXPECT_EQ(exact.pixels, cutSamplePicture(*wad, 1, 3).pixels);

    // width 32, height 31: 33 x 32, stretched.
    const TexturePicture stretched = texturePixels(cutSamplePicture(*wad, 3, 3), 24);
    EXPECT_EQ(stretched.width, 64);
    EXPECT_EQ(stretched.height, 64);
    for (int y = 0; y < 64; y += 7)
        for (int x = 0; x < 64; x += 7)
            EXPECT_EQ(rgbAt(stretched, x, y), kOddSizeColor) << x << "," << y;

    // 512 wide is beyond the largest texture side.
    EXPECT_EQ(texturePixels(uniformPicture(512, 256, kRgbRed), 24).width, 64);
    // Depth 32 converts to four bytes with opaque alpha.
    const TexturePicture deep = texturePixels(cutSamplePicture(*wad, 2, 3), 32);
    EXPECT_EQ(deep.bytesPerPixel, 4);
    EXPECT_EQ(deep.pixel(3, 3)[3], 255);
    EXPECT_EQ(rgbAt(deep, 3, 3), kWhiteTexel);
}

TEST(TexturePixels, StretchKeepsLeftAndRightHalvesApart) {
    // 48 x 20, left half red, right half blue, enlarged to 64 x 64 and shrunk to 8 x 8.
    TexturePicture picture = uniformPicture(48, 20, kRgbRed);
    for (int y = 0; y < 20; ++y)
        for (int x = 24; x < 48; ++x) {
            std::uint8_t* p = picture.pixels.data() + (std::size_t(y) * 48 + x) * 3;
            p[0] = 255;
            p[1] = 0;
            p[2] = 0;
        }
    const TexturePicture big = stretchPicture(picture, 64, 64);
    EXPECT_EQ(rgbAt(big, 0, 0), kRgbRed);
    EXPECT_EQ(rgbAt(big, 30, 63), kRgbRed);
    EXPECT_EQ(rgbAt(big, 33, 10), kRgbBlue);
    EXPECT_EQ(rgbAt(big, 63, 63), kRgbBlue);
    // The seam blends both colours.
    const Rgb seam = rgbAt(big, 31, 5);
    EXPECT_GT(seam.r, 0);
    EXPECT_GT(seam.b, 0);

    const TexturePicture small = stretchPicture(picture, 8, 8);
    EXPECT_EQ(rgbAt(small, 0, 4), kRgbRed);
    EXPECT_EQ(rgbAt(small, 7, 4), kRgbBlue);
}

TEST(TexturePixels, SolidPictureShippedFileMatchesTheBuiltInOne) {
    const TexturePicture builtIn = makeSolidPicture();
    EXPECT_EQ(builtIn.width, 64);
    EXPECT_EQ(builtIn.height, 64);
    EXPECT_EQ(builtIn.bytesPerPixel, 4);
    // The border is darker than the face, so faces show their edges.
    EXPECT_LT(rgbAt(builtIn, 0, 32).r, rgbAt(builtIn, 32, 32).r);

    bool fromFile = false;
    const TexturePicture shipped = loadSolidPicture(KAVLEN_SOLID_BMP, &fromFile);
    EXPECT_TRUE(fromFile);
    EXPECT_EQ(shipped.width, 64);
    EXPECT_EQ(shipped.pixels, builtIn.pixels);

    const TexturePicture fallback = loadSolidPicture("/nonexistent/solid.bmp", &fromFile);
    EXPECT_FALSE(fromFile);
    EXPECT_EQ(fallback.pixels, builtIn.pixels);
}
