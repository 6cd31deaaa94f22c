#include "textures/bmp24.h"

#include <gtest/gtest.h>

#include <random>

using namespace kavlen;

namespace {

void put16(std::vector<std::uint8_t>& b, std::uint16_t v) {
    b.push_back(v & 0xFF);
    b.push_back(v >> 8);
}
void put32(std::vector<std::uint8_t>& b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b.push_back((v >> (8 * i)) & 0xFF);
}

// A bitmap file with a 40-byte (or larger, zero-padded) information header.
struct BmpSpec {
    int width = 1;
    int height = 1; // negative: top-down
    int bpp = 24;
    std::uint32_t compression = 0;
    std::uint32_t headerSize = 40;
    std::vector<std::uint32_t> masks;  // written after a 40-byte header or inside a larger one
    std::vector<std::uint8_t> palette; // 4 bytes per entry: blue, green, red, 0
    std::vector<std::uint8_t> pixels;  // exactly as stored
};

std::vector<std::uint8_t> buildBmp(const BmpSpec& s) {
    std::vector<std::uint8_t> info;
    put32(info, s.headerSize);
    put32(info, static_cast<std::uint32_t>(s.width));
    put32(info, static_cast<std::uint32_t>(s.height));
    put16(info, 1);
    put16(info, static_cast<std::uint16_t>(s.bpp));
    put32(info, s.compression);
    put32(info, static_cast<std::uint32_t>(s.pixels.size()));
    put32(info, 0);
    put32(info, 0);
    put32(info, static_cast<std::uint32_t>(s.palette.size() / 4));
    put32(info, 0);
    for (std::uint32_t m : s.masks)
        put32(info, m);
    info.resize(std::max<std::size_t>(info.size(), s.headerSize), 0);
    std::vector<std::uint8_t> out = {'B', 'M'};
    const std::uint32_t offset = 14 + std::uint32_t(info.size() + s.palette.size());
    put32(out, offset + std::uint32_t(s.pixels.size()));
    put32(out, 0);
    put32(out, offset);
    out.insert(out.end(), info.begin(), info.end());
    out.insert(out.end(), s.palette.begin(), s.palette.end());
    out.insert(out.end(), s.pixels.begin(), s.pixels.end());
    return out;
}

Bitmap24 gradient(int w, int h) {
    Bitmap24 b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.setPixel(x, y,
                       {static_cast<std::uint8_t>(x * 7), static_cast<std::uint8_t>(y * 11),
                        static_cast<std::uint8_t>(x + y)});
    return b;
}

const std::vector<std::uint8_t> kFourColours = {10, 20, 30, 0, 40, 50, 60, 0,
                                                70, 80, 90, 0, 1,  2,  3,  0};

} // namespace

TEST(Bmp24, WriteAndReadBackOddWidthsWithRowPadding) {
    for (int w : {1, 2, 3, 5, 256}) {
        const Bitmap24 original = gradient(w, 7);
        const std::vector<std::uint8_t> file = encodeBmp24(original);
        const std::size_t stride = (w * 3 + 3) / 4 * 4;
        EXPECT_EQ(file.size(), 54 + stride * 7);
        EXPECT_EQ(file[28], 24); // bits per pixel
        const BmpReadResult back = decodeBmp(file);
        ASSERT_TRUE(back.ok) << back.message;
        EXPECT_EQ(back.bitsPerPixel, 24);
        EXPECT_EQ(back.bitmap, original) << "width " << w;
    }
}

TEST(Bmp24, RowsAreStoredBottomUp) {
    Bitmap24 b(1, 2);
    b.setPixel(0, 0, {1, 2, 3});
    b.setPixel(0, 1, {4, 5, 6});
    const std::vector<std::uint8_t> file = encodeBmp24(b);
    EXPECT_EQ(file[54], 4); // first stored row is the bottom one
    EXPECT_EQ(file[58], 1);
}

TEST(Bmp24, ReadsTopDownRows) {
    BmpSpec s;
    s.width = 1;
    s.height = -2;
    s.pixels = {1, 2, 3, 0, 4, 5, 6, 0};
    const BmpReadResult r = decodeBmp(buildBmp(s));
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(r.bitmap.pixel(0, 0), (Bgr{1, 2, 3}));
    EXPECT_EQ(r.bitmap.pixel(0, 1), (Bgr{4, 5, 6}));
}

TEST(Bmp24, ConvertsPalettedDepths) {
    // 1 bit: 10 pixels alternating 1, 0 in one row (two bytes, padded to four).
    BmpSpec one;
    one.width = 10;
    one.bpp = 1;
    one.palette = kFourColours;
    one.palette.resize(8);
    one.pixels = {0xAA, 0x80, 0, 0};
    BmpReadResult r = decodeBmp(buildBmp(one));
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(r.bitsPerPixel, 1);
    EXPECT_EQ(r.bitmap.pixel(0, 0), (Bgr{40, 50, 60}));
    EXPECT_EQ(r.bitmap.pixel(1, 0), (Bgr{10, 20, 30}));
    EXPECT_EQ(r.bitmap.pixel(8, 0), (Bgr{40, 50, 60}));
    EXPECT_EQ(r.bitmap.pixel(9, 0), (Bgr{10, 20, 30}));

    // 4 bits: indices 2, 3, 1 (high nibble first).
    BmpSpec four;
    four.width = 3;
    four.bpp = 4;
    four.palette = kFourColours;
    four.pixels = {0x23, 0x10, 0, 0};
    r = decodeBmp(buildBmp(four));
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(r.bitmap.pixel(0, 0), (Bgr{70, 80, 90}));
    EXPECT_EQ(r.bitmap.pixel(1, 0), (Bgr{1, 2, 3}));
    EXPECT_EQ(r.bitmap.pixel(2, 0), (Bgr{40, 50, 60}));

    // 8 bits, two rows bottom-up; an index beyond the palette reads black.
    BmpSpec eight;
    eight.width = 2;
    eight.height = 2;
    eight.bpp = 8;
    eight.palette = kFourColours;
    eight.pixels = {3, 200, 0, 0, 0, 1, 0, 0};
    r = decodeBmp(buildBmp(eight));
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(r.bitmap.pixel(0, 1), (Bgr{1, 2, 3}));
    EXPECT_EQ(r.bitmap.pixel(1, 1), (Bgr{0, 0, 0}));
    EXPECT_EQ(r.bitmap.pixel(0, 0), (Bgr{10, 20, 30}));
    EXPECT_EQ(r.bitmap.pixel(1, 0), (Bgr{40, 50, 60}));
}

TEST(Bmp24, ConvertsSixteenAndThirtyTwoBitPixels) {
    // 16 bits, default 5-5-5: pure red, pure green.
    BmpSpec s16;
    s16.width = 2;
    s16.bpp = 16;
    s16.pixels = {0x00, 0x7C, 0xE0, 0x03};
    BmpReadResult r = decodeBmp(buildBmp(s16));
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(r.bitmap.pixel(0, 0), (Bgr{0, 0, 255}));
    EXPECT_EQ(r.bitmap.pixel(1, 0), (Bgr{0, 255, 0}));

    // 16 bits with 5-6-5 bit fields after the header: blue, then mid-grey green.
    BmpSpec s565 = s16;
    s565.compression = 3;
    s565.masks = {0xF800, 0x07E0, 0x001F};
    s565.pixels = {0x1F, 0x00, 0x00, 0x04};
    r = decodeBmp(buildBmp(s565));
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(r.bitmap.pixel(0, 0), (Bgr{255, 0, 0}));
    EXPECT_EQ(r.bitmap.pixel(1, 0), (Bgr{0, 130, 0})); // 32 of 63

    // 32 bits, plain BGRX.
    BmpSpec s32;
    s32.bpp = 32;
    s32.pixels = {9, 8, 7, 0xFF};
    r = decodeBmp(buildBmp(s32));
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(r.bitmap.pixel(0, 0), (Bgr{9, 8, 7}));

    // 32 bits, RGBA bit fields inside a version 5 header.
    BmpSpec v5 = s32;
    v5.headerSize = 124;
    v5.compression = 3;
    v5.masks = {0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000};
    v5.pixels = {9, 8, 7, 0xFF};
    r = decodeBmp(buildBmp(v5));
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(r.bitmap.pixel(0, 0), (Bgr{7, 8, 9}));
}

TEST(Bmp24, DecodesRunLengthEncodedRows) {
    // RLE8, 4 x 2, bottom row first: a run of 3 x index 1, a run of 1 x index 2,
    // end of line; then an absolute run of indices 2, 0, 3 (padded to an even
    // length) and end of bitmap, leaving the last pixel unwritten.
    BmpSpec rle8;
    rle8.width = 4;
    rle8.height = 2;
    rle8.bpp = 8;
    rle8.compression = 1;
    rle8.palette = kFourColours;
    rle8.pixels = {3, 1, 1, 2, 0, 0, 0, 3, 2, 0, 3, 0, 0, 1};
    BmpReadResult r = decodeBmp(buildBmp(rle8));
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(r.bitmap.pixel(0, 1), (Bgr{40, 50, 60}));
    EXPECT_EQ(r.bitmap.pixel(2, 1), (Bgr{40, 50, 60}));
    EXPECT_EQ(r.bitmap.pixel(3, 1), (Bgr{70, 80, 90}));
    EXPECT_EQ(r.bitmap.pixel(0, 0), (Bgr{70, 80, 90}));
    EXPECT_EQ(r.bitmap.pixel(1, 0), (Bgr{10, 20, 30}));
    EXPECT_EQ(r.bitmap.pixel(2, 0), (Bgr{1, 2, 3}));
    EXPECT_EQ(r.bitmap.pixel(3, 0), (Bgr{0, 0, 0})); // never written: black

    // RLE4, 5 x 1: run of 5 alternating 2 and 3.
    BmpSpec rle4;
    rle4.width = 5;
    rle4.bpp = 4;
    rle4.compression = 2;
    rle4.palette = kFourColours;
    rle4.pixels = {5, 0x23, 0, 1};
    r = decodeBmp(buildBmp(rle4));
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(r.bitmap.pixel(0, 0), (Bgr{70, 80, 90}));
    EXPECT_EQ(r.bitmap.pixel(1, 0), (Bgr{1, 2, 3}));
    EXPECT_EQ(r.bitmap.pixel(4, 0), (Bgr{70, 80, 90}));
}

TEST(Bmp24, RefusesBrokenAndHostileFiles) {
    BmpSpec good;
    good.width = 4;
    good.height = 4;
    good.pixels.assign(48, 0);
    const std::vector<std::uint8_t> file = buildBmp(good);
    ASSERT_TRUE(decodeBmp(file).ok);

    EXPECT_FALSE(decodeBmp({}).ok);
    EXPECT_EQ(decodeBmp(std::vector<std::uint8_t>{'P', 'K', 3, 4}).message,
              "The file is not a Windows bitmap.");
    for (std::size_t cut : {2u, 14u, 30u, 54u, 100u}) {
        const std::vector<std::uint8_t> truncated(file.begin(), file.begin() + cut);
        const BmpReadResult r = decodeBmp(truncated);
        EXPECT_FALSE(r.ok) << "cut at " << cut;
        EXPECT_FALSE(r.message.empty());
    }

    BmpSpec huge = good;
    huge.width = 1 << 20;
    huge.height = 1 << 20;
    EXPECT_EQ(decodeBmp(buildBmp(huge)).message, "The bitmap is too large.");
    BmpSpec flat = good;
    flat.width = 0;
    EXPECT_FALSE(decodeBmp(buildBmp(flat)).ok);
    BmpSpec minHeight = good;
    minHeight.height = INT32_MIN;
    EXPECT_FALSE(decodeBmp(buildBmp(minHeight)).ok);
    BmpSpec depth = good;
    depth.bpp = 7;
    EXPECT_FALSE(decodeBmp(buildBmp(depth)).ok);
    BmpSpec jpeg = good;
    jpeg.compression = 4;
    EXPECT_FALSE(decodeBmp(buildBmp(jpeg)).ok);

    // Random damage anywhere never crashes and never reads out of bounds.
    std::mt19937 rng(7);
    BmpSpec rle = good;
    rle.bpp = 8;
    rle.compression = 1;
    rle.palette = kFourColours;
    rle.pixels = {4, 1, 0, 0, 0, 4, 1, 2, 3, 0, 0, 2, 1, 1, 0, 1};
    for (const std::vector<std::uint8_t>& base : {file, buildBmp(rle)}) {
        for (int i = 0; i < 2000; ++i) {
            std::vector<std::uint8_t> damaged = base;
            for (int k = 0; k < 3; ++k)
                damaged[rng() % damaged.size()] = static_cast<std::uint8_t>(rng());
            damaged.resize(rng() % (damaged.size() + 1));
            const BmpReadResult r = decodeBmp(damaged);
            if (r.ok) {
                EXPECT_EQ(r.bitmap.bgr.size(), std::size_t(r.bitmap.width) * r.bitmap.height * 3);
            }
        }
    }
}
