#include "texture_test_support.h"
#include "textures/atlas.h"
#include "textures/bmp24.h"

#include <gtest/gtest.h>

using namespace kavlen;
using kavlen::test::atlasTexel;
using kavlen::test::makeAtlasPackage;

TEST(Atlas, ImageHasOneBandOfRowsPerPage) {
    const auto one = makeAtlasPackage(1);
    const Bitmap24 image = buildAtlasImage(*one);
    EXPECT_EQ(image.width, 256);
    EXPECT_EQ(image.height, 256);

    const auto three = makeAtlasPackage(3);
    const Bitmap24 atlas = buildAtlasImage(*three);
    EXPECT_EQ(atlas.height, 768);
    // Texel (0, 0) of page 2 is buffer bytes 393216..393218 and image pixel (0, 512).
    EXPECT_EQ(three->textureData[393216 + 2], 81);
    EXPECT_EQ(atlas.pixel(0, 512), atlasTexel(2, 0, 0));
    EXPECT_EQ(atlas.pixel(17, 256 + 9), atlasTexel(1, 17, 9));
    EXPECT_EQ(pagePicture(*three, 1).pixel(255, 255), atlasTexel(1, 255, 255));
}

TEST(Atlas, RowCopyStopsAtTheShorterSideAndLeavesAPartialRow) {
    std::vector<std::uint8_t> buffer(768 * 2 + 100, 7);
    Bitmap24 image(256, 3);
    image.bgr.assign(image.bgr.size(), 1);
    rowCopyImageToBuffer(image, buffer);
    EXPECT_EQ(buffer[768 * 2 - 1], 1);
    EXPECT_EQ(buffer[768 * 2], 7); // the tail shorter than a row stays

    Bitmap24 tall(256, 5);
    rowCopyBufferToImage(buffer, tall);
    EXPECT_EQ(tall.row(1)[0], 1);
    EXPECT_EQ(tall.row(2)[0], 0); // beyond the buffer's whole rows
}

TEST(Atlas, PageRectanglesClipToTheAtlasAndContinueDownwards) {
    const auto wad = makeAtlasPackage(2);
    // A rectangle crossing the right edge: columns beyond 255 are black.
    const Bitmap24 wide = copyPageRect(*wad, 0, {250, 3, 259, 4});
    EXPECT_EQ(wide.width, 10);
    EXPECT_EQ(wide.pixel(5, 1), atlasTexel(0, 255, 4));
    EXPECT_EQ(wide.pixel(6, 1), (Bgr{}));
    // Taller than the page: continues into the next page's rows, then black.
    const Bitmap24 tall = copyPageRect(*wad, 1, {0, 250, 0, 260});
    EXPECT_EQ(tall.pixel(0, 5), atlasTexel(1, 0, 255));
    EXPECT_EQ(tall.pixel(0, 6), (Bgr{}));
    const Bitmap24 spill = copyPageRect(*wad, 0, {1, 255, 1, 256});
    EXPECT_EQ(spill.pixel(0, 1), atlasTexel(1, 1, 0));
    // A page that does not exist reads black; writing there changes nothing.
    EXPECT_EQ(copyPageRect(*wad, 9, {0, 0, 3, 3}), Bitmap24(4, 4));
    auto copy = makeAtlasPackage(2);
    Bitmap24 white(300, 300);
    white.bgr.assign(white.bgr.size(), 255);
    pasteIntoPage(*copy, 9, 0, 0, white);
    pasteIntoPage(*copy, 0, -400, 0, white);
    EXPECT_EQ(copy->textureData, wad->textureData);
    pasteIntoPage(*copy, 1, 200, 250, white); // clipped at the right edge and the atlas end
    EXPECT_EQ(pagePicture(*copy, 1).pixel(255, 255), (Bgr{255, 255, 255}));
    EXPECT_EQ(pagePicture(*copy, 1).pixel(199, 255), atlasTexel(1, 199, 255));
}

TEST(Atlas, ExportThenImportLeavesThePagesByteForByteUnchanged) {
    test::TempDir dir;
    auto wad = makeAtlasPackage(3);
    const std::vector<std::uint8_t> before = wad->textureData;
    EXPECT_TRUE(exportAtlasToBitmap(*wad, dir / "atlas.bmp").empty());

    const BmpReadResult file = readBmpFile(dir / "atlas.bmp");
    ASSERT_TRUE(file.ok);
    EXPECT_EQ(file.bitmap.width, 256);
    EXPECT_EQ(file.bitmap.height, 768);
    EXPECT_EQ(file.bitmap.pixel(3, 0), atlasTexel(0, 3, 0)); // page 0 in the top band

    std::fill(wad->textureData.begin(), wad->textureData.end(), 0);
    const AtlasImportResult r = importAtlasFromBitmap(*wad, dir / "atlas.bmp");
    EXPECT_TRUE(r.changed);
    EXPECT_TRUE(r.messages.empty());
    EXPECT_EQ(wad->textureData, before);
}

TEST(Atlas, ImportRefusesWrongWidthsAndTooFewRowsWithoutChanges) {
    auto wad = makeAtlasPackage(2);
    const std::vector<std::uint8_t> before = wad->textureData;

    AtlasImportResult r = importAtlasFromBitmapBytes(*wad, encodeBmp24(Bitmap24(128, 512)));
    EXPECT_FALSE(r.changed);
    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_EQ(r.messages[0],
              (Message{MessageKind::Error, "The bitmap is 128 pixels wide; an "
                                           "atlas bitmap must be 256 pixels wide."}));

    r = importAtlasFromBitmapBytes(*wad, encodeBmp24(Bitmap24(256, 511)));
    EXPECT_FALSE(r.changed);
    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_EQ(r.messages[0].text, "The bitmap has 511 rows; the atlas of 2 pages needs 512.");

    r = importAtlasFromBitmapBytes(*wad, std::vector<std::uint8_t>{'B', 'M', 0});
    EXPECT_FALSE(r.changed);
    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_EQ(r.messages[0].kind, MessageKind::Error);

    test::TempDir dir;
    r = importAtlasFromBitmap(*wad, dir / "missing.bmp");
    EXPECT_FALSE(r.changed);
    EXPECT_EQ(r.messages.size(), 1u);
    EXPECT_EQ(wad->textureData, before);
}

TEST(Atlas, ImportOfATallerBitmapCopiesOnlyTheAtlasRows) {
    auto wad = makeAtlasPackage(1);
    Bitmap24 tall(256, 700);
    for (int y = 0; y < 700; ++y)
        tall.setPixel(0, y, {static_cast<std::uint8_t>(y % 256), 1, 2});
    const AtlasImportResult r = importAtlasFromBitmapBytes(*wad, encodeBmp24(tall));
    EXPECT_TRUE(r.changed);
    EXPECT_EQ(wad->textureDataSize, kPageBytes);
    EXPECT_EQ(wad->textureData.size(), kPageBytes);
    EXPECT_EQ(pagePicture(*wad, 0).pixel(0, 200), (Bgr{200, 1, 2}));
}

TEST(Atlas, ImportConvertsOtherPixelDepthsTo24Bits) {
    auto wad = makeAtlasPackage(1);
    // An 8-bit paletted bitmap, 256 x 256, bottom-up, every pixel index 1.
    std::vector<std::uint8_t> file = {'B', 'M'};
    auto put32 = [&](std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            file.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    put32(14 + 40 + 8 + 65536);
    put32(0);
    put32(14 + 40 + 8);
    put32(40);
    put32(256);
    put32(256);
    file.insert(file.end(), {1, 0, 8, 0});
    for (int i = 0; i < 6; ++i)
        put32(i == 4 ? 2 : 0); // compression, size, resolutions, 2 colours, important
    file.insert(file.end(), {0, 0, 0, 0, 30, 20, 10, 0});
    file.insert(file.end(), 65536, 1);
    const AtlasImportResult r = importAtlasFromBitmapBytes(*wad, file);
    ASSERT_TRUE(r.changed) << (r.messages.empty() ? "" : r.messages[0].text);
    EXPECT_EQ(pagePicture(*wad, 0).pixel(77, 99), (Bgr{30, 20, 10}));
}

TEST(Atlas, CommandsNeedALoadedPackage) {
    Package none;
    test::TempDir dir;
    const Messages m = exportAtlasToBitmap(none, dir / "x.bmp");
    ASSERT_EQ(m.size(), 1u);
    EXPECT_EQ(m[0], (Message{MessageKind::Error, "No wad opened."}));
    EXPECT_FALSE(std::filesystem::exists(dir / "x.bmp"));
    const AtlasImportResult r = importAtlasFromBitmapBytes(none, encodeBmp24(Bitmap24(256, 256)));
    EXPECT_FALSE(r.changed);
    EXPECT_EQ(r.messages, m);
}

TEST(Atlas, FailedExportReportsTheError) {
    test::TempDir dir;
    const auto wad = makeAtlasPackage(1);
    const Messages m = exportAtlasToBitmap(*wad, dir / "no-such-dir" / "atlas.bmp");
    ASSERT_EQ(m.size(), 1u);
    EXPECT_EQ(m[0].kind, MessageKind::Error);
}
