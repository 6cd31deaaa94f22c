#include "../textures/texture_test_support.h"
#include "imagefiles/dds_reader.h"
#include "imagefiles/picture_format.h"
#include "imagefiles/picture_loader.h"
#include "imagefiles/qt_images.h"
#include "picture_writers.h"

#include <QBuffer>
#include <QImage>
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <random>

using namespace kavlen;
using namespace kavlen::test;

namespace {

// 12 x 8 pixels in four solid 4 x 4 quadrant colours plus a 4 x 8 right band,
// all exactly representable in 5-6-5 so DXT blocks reproduce them.
Image32 blockPicture() {
    const Bgra colours[] = {
        {0, 0, 255, 255}, {0, 255, 0, 255}, {255, 0, 0, 255}, {255, 255, 255, 255}, {0, 0, 0, 255}};
    Image32 image(12, 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 12; ++x)
            image.setPixel(x, y, x >= 8 ? colours[4] : colours[(y / 4) * 2 + x / 4]);
    return image;
}

// A smooth grey ramp: JPEG keeps it nearly exact (sharp colour edges would be
// blurred by its colour subsampling).
Image32 jpegPicture() {
    Image32 image(32, 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 32; ++x) {
            const auto v = static_cast<std::uint8_t>(40 + x * 4 + y * 2);
            image.setPixel(x, y, {v, v, v, 255});
        }
    return image;
}

// A picture with many colours and a few transparent pixels.
Image32 detailedPicture(int w = 37, int h = 23) {
    Image32 image(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y,
                           {static_cast<std::uint8_t>(x * 6), static_cast<std::uint8_t>(y * 11),
                            static_cast<std::uint8_t>((x * y) % 256), 255});
    image.setPixel(3, 4, {0, 0, 0, 0});
    return image;
}

// Only colours, alpha set to 255 everywhere.
Image32 opaque(Image32 image) {
    for (std::size_t i = 3; i < image.bgra.size(); i += 4)
        image.bgra[i] = 255;
    return image;
}

Bytes qtBytes(const QImage& image, const char* format, int quality = -1) {
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, format, quality)) << format;
    return Bytes(data.begin(), data.end());
}

QImage toQt(const Image32& image) {
    QImage out(image.width, image.height, QImage::Format_ARGB32);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const Bgra c = image.pixel(x, y);
            out.setPixel(x, y, qRgba(c.r, c.g, c.b, c.a));
        }
    return out;
}

// One file of every supported format and variant, with the picture it must load as.
struct Sample {
    std::string name;
    Bytes bytes;
    Image32 expected;
    int tolerance = 0; // per channel, for lossy formats
};

std::vector<Sample> everyFormat() {
    const Image32 detail = detailedPicture();
    const Image32 solid = opaque(detail);
    const Image32 blocks = blockPicture();
    std::vector<Sample> s;
    s.push_back(
        {"bmp24", qtBytes(toQt(solid).convertToFormat(QImage::Format_RGB888), "BMP"), solid});
    s.push_back(
        {"bmp8", qtBytes(toQt(blocks).convertToFormat(QImage::Format_Indexed8), "BMP"), blocks});
    s.push_back({"png", qtBytes(toQt(detail), "PNG"), detail});
    s.push_back({"jpeg", qtBytes(toQt(jpegPicture()), "JPEG", 95), jpegPicture(), 6});
    s.push_back({"gif", writeGif(blocks), blocks});
    Image32 holey = blocks;
    holey.setPixel(0, 0, {0, 0, 0, 0});
    s.push_back({"gif-transparent", writeGif(holey), holey});
    s.push_back({"tga24", writeTga(solid, {}), solid});
    s.push_back({"tga24-top-down", writeTga(solid, {.topDown = true}), solid});
    s.push_back({"tga32", writeTga(detail, {.bpp = 32}), detail});
    s.push_back({"tga32-rle", writeTga(detail, {.bpp = 32, .rle = true}), detail});
    s.push_back({"tga24-rle-top-down", writeTga(blocks, {.rle = true, .topDown = true}), blocks});
    s.push_back({"tga16", writeTga(blocks, {.bpp = 16}), blocks});
    s.push_back(
        {"tga-mapped", writeTga(blocks, {.kind = TgaOptions::ColourMapped, .bpp = 8}), blocks});
    s.push_back({"tga-mapped-rle",
                 writeTga(blocks, {.kind = TgaOptions::ColourMapped, .bpp = 8, .rle = true}),
                 blocks});
    Image32 grey = blocks;
    for (std::size_t i = 0; i < grey.bgra.size(); i += 4)
        grey.bgra[i + 1] = grey.bgra[i + 2] = grey.bgra[i];
    s.push_back({"tga-grey", writeTga(grey, {.kind = TgaOptions::Grey, .bpp = 8}), grey});
    s.push_back(
        {"tga-grey-rle", writeTga(grey, {.kind = TgaOptions::Grey, .bpp = 8, .rle = true}), grey});
    s.push_back({"psd", writePsd(solid, false, false), solid});
    s.push_back({"psd-packbits", writePsd(blocks, false, true), blocks});
    s.push_back({"psd-alpha", writePsd(detail, true, true), detail});
    s.push_back({"psd-16-bit", writePsd(detail, true, false, 16), detail});
    s.push_back({"dxt1", writeDdsCompressed(blocks, "DXT1"), blocks});
    Image32 translucent = blocks;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 4; ++x)
            translucent.setPixel(x, y, {0, 0, 255, static_cast<std::uint8_t>(y < 4 ? 0x88 : 0)});
    s.push_back({"dxt3", writeDdsCompressed(translucent, "DXT3"), translucent});
    s.push_back({"dxt5", writeDdsCompressed(translucent, "DXT5"), translucent});
    s.push_back({"dds32", writeDdsUncompressed(detail, 32), detail});
    s.push_back({"dds24", writeDdsUncompressed(solid, 24), solid});
    s.push_back({"dds16", writeDdsUncompressed(blocks, 16), blocks});
    s.push_back({"dds-luminance", writeDdsUncompressed(grey, 8), grey});
    return s;
}

void expectPicture(const Image32& got, const Image32& want, int tolerance,
                   const std::string& name) {
    ASSERT_EQ(got.width, want.width) << name;
    ASSERT_EQ(got.height, want.height) << name;
    for (int y = 0; y < want.height; ++y)
        for (int x = 0; x < want.width; ++x) {
            const Bgra g = got.pixel(x, y), w = want.pixel(x, y);
            if (w.a == 0) { // the colour under a transparent pixel is the format's own
                ASSERT_EQ(g.a, 0) << name << " at " << x << ", " << y;
                continue;
            }
            ASSERT_NEAR(g.b, w.b, tolerance) << name << " blue at " << x << ", " << y;
            ASSERT_NEAR(g.g, w.g, tolerance) << name << " green at " << x << ", " << y;
            ASSERT_NEAR(g.r, w.r, tolerance) << name << " red at " << x << ", " << y;
            ASSERT_NEAR(g.a, w.a, tolerance) << name << " alpha at " << x << ", " << y;
        }
}

} // namespace

TEST(PictureLoader, ReadsEveryFormatAndVariant) {
    for (const Sample& s : everyFormat()) {
        const std::optional<Image32> got = loadPicture(s.bytes);
        ASSERT_TRUE(got) << s.name;
        expectPicture(*got, s.expected, s.tolerance, s.name);
    }
}

TEST(PictureLoader, PhotoshopWhiteMatteIsTakenOut) {
    // Colour (red 200, green 50, blue 100) at alpha 128 is stored matted with white.
    Image32 matted(2, 1);
    const double a = 128 / 255.0;
    auto matte = [&](int c) {
        return static_cast<std::uint8_t>(std::lround(a * c + (1 - a) * 255));
    };
    matted.setPixel(0, 0, {matte(100), matte(50), matte(200), 128});
    matted.setPixel(1, 0, {0, 0, 0, 128}); // darker than any matted colour: clamps to 0
    const std::optional<Image32> got = loadPicture(writePsd(matted, true, true));
    ASSERT_TRUE(got);
    const Bgra p = got->pixel(0, 0);
    EXPECT_NEAR(p.b, 100, 1);
    EXPECT_NEAR(p.g, 50, 1);
    EXPECT_NEAR(p.r, 200, 1);
    EXPECT_EQ(p.a, 128);
    EXPECT_EQ(got->pixel(1, 0), (Bgra{0, 0, 0, 128}));
}

TEST(PictureLoader, FilesNeedNoApplicationObjectAndTargaNeedsItsExtension) {
    TempDir dir;
    const Image32 blocks = blockPicture();
    const Bytes tga = writeTga(blocks, {.rle = true});
    for (const char* name : {"a.tga", "b.TGA", "c"}) {
        std::ofstream(dir / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(tga.data()), std::streamsize(tga.size()));
        const std::optional<Image32> got = loadPictureFile(dir / name);
        ASSERT_TRUE(got) << name;
        EXPECT_EQ(*got, blocks);
    }
    // The same bytes named as another format are not guessed at.
    std::ofstream(dir / "d.png", std::ios::binary)
        .write(reinterpret_cast<const char*>(tga.data()), std::streamsize(tga.size()));
    EXPECT_FALSE(loadPictureFile(dir / "d.png"));
    EXPECT_FALSE(loadPictureFile(dir / "missing.bmp"));
    EXPECT_EQ(pictureChoiceFromFile(dir / "missing.bmp").status, PictureChoice::Status::LoadFailed);
    const PictureChoice ok = pictureChoiceFromFile(dir / "a.tga");
    EXPECT_EQ(ok.status, PictureChoice::Status::Loaded);
    EXPECT_EQ(ok.image, blocks);
}

TEST(PictureLoader, BrokenAndHostileFilesGiveNothing) {
    EXPECT_FALSE(loadPicture({}));
    EXPECT_FALSE(loadPicture(Bytes{'B', 'M'}));
    EXPECT_FALSE(loadPicture(Bytes{'D', 'D', 'S', ' ', 1, 2, 3}));
    EXPECT_FALSE(loadPicture(Bytes(100, 0xFF), ".jpg"));
    // Targa and Photoshop files one byte short are refused, not zero-filled.
    const Bytes tga = writeTga(blockPicture(), {});
    EXPECT_TRUE(loadPicture(tga, ".tga"));
    EXPECT_FALSE(loadPicture(Bytes(tga.begin(), tga.end() - 1), ".tga"));
    const Bytes psd = writePsd(blockPicture(), false, false);
    EXPECT_TRUE(loadPicture(psd));
    EXPECT_FALSE(loadPicture(Bytes(psd.begin(), psd.end() - 1)));

    // Truncated at every tenth of its length, and with random bytes changed: a
    // picture or nothing, never a crash (the address sanitizer watches reads).
    std::mt19937 rng(99);
    for (const Sample& s : everyFormat()) {
        for (int tenth = 0; tenth < 10; ++tenth) {
            const Bytes cut(s.bytes.begin(),
                            s.bytes.begin() + std::ptrdiff_t(s.bytes.size() * tenth / 10));
            const std::optional<Image32> got = loadPicture(cut, ".tga");
            if (got) {
                EXPECT_EQ(got->bgra.size(), std::size_t(got->width) * got->height * 4) << s.name;
            }
        }
        for (int i = 0; i < 40; ++i) {
            Bytes damaged = s.bytes;
            for (int k = 0; k < 4; ++k)
                damaged[rng() % damaged.size()] = static_cast<std::uint8_t>(rng());
            const std::optional<Image32> got = loadPicture(damaged, ".tga");
            if (got) {
                EXPECT_EQ(got->bgra.size(), std::size_t(got->width) * got->height * 4) << s.name;
            }
        }
    }
}

TEST(PictureLoader, HugeDeclaredSizesAreRefusedBeforeAllocating) {
    // 60000 x 60000 pixels claimed by a few bytes.
    Bytes dds = ddsHeader(60000, 60000, 0x4, 0x31545844 /* DXT1 */, 0, 0, 0, 0, 0);
    dds.resize(dds.size() + 64, 0);
    EXPECT_FALSE(readDdsHeader(dds));
    EXPECT_FALSE(loadPicture(dds));

    Bytes tga = writeTga(blockPicture(), {});
    tga[12] = tga[13] = tga[14] = tga[15] = 0xFF; // 65535 x 65535
    EXPECT_FALSE(loadPicture(tga, ".tga"));

    Bytes psd = writePsd(blockPicture(), false, false);
    psd[14] = psd[18] = 0x01; // height and width of 16 million
    EXPECT_FALSE(loadPicture(psd));

    Bytes bmp = qtBytes(toQt(blockPicture()), "BMP");
    bmp[18] = bmp[19] = bmp[20] = 0x7F;
    EXPECT_FALSE(loadPicture(bmp));
}

TEST(DdsReader, HeaderChecks) {
    const Image32 blocks = blockPicture();
    const Bytes dxt1 = writeDdsCompressed(blocks, "DXT1");
    const std::optional<DdsHeader> h = readDdsHeader(dxt1);
    ASSERT_TRUE(h);
    EXPECT_EQ(h->kind, DdsHeader::Kind::Dxt1);
    EXPECT_EQ(h->width, 12);
    EXPECT_EQ(h->height, 8);
    EXPECT_EQ(h->dataBytes, 3u * 2 * 8);
    // One byte short of the top level.
    EXPECT_FALSE(readDdsHeader(Bytes(dxt1.begin(), dxt1.end() - 1)));
    // Unknown compression ("DXT2") and odd pixel depths are refused.
    Bytes dxt2 = dxt1;
    dxt2[87] = '2';
    EXPECT_FALSE(readDdsHeader(dxt2));
    Bytes odd = writeDdsUncompressed(blocks, 24);
    odd[88] = 12;
    EXPECT_FALSE(readDdsHeader(odd));
    // Non-multiple-of-four sizes use partial blocks.
    const Image32 small = opaque(detailedPicture(6, 5));
    const std::optional<Image32> got = decodeDds(writeDdsCompressed(small, "DXT5"));
    ASSERT_TRUE(got);
    EXPECT_EQ(got->width, 6);
    EXPECT_EQ(got->height, 5);
}

TEST(PictureFormat, SignaturesAndDialogFilters) {
    EXPECT_EQ(detectPictureFormat(Bytes{'8', 'B', 'P', 'S'}), PictureFormat::Psd);
    EXPECT_EQ(detectPictureFormat(Bytes{'G', 'I', 'F', '8', '7', 'a'}), PictureFormat::Gif);
    EXPECT_EQ(detectPictureFormat(Bytes{0xFF, 0xD8, 0xFF, 0xE0}), PictureFormat::Jpeg);
    EXPECT_EQ(detectPictureFormat(Bytes{0, 0, 2}), PictureFormat::Tga);
    ASSERT_EQ(pictureFileFilters().size(), 8u);
    EXPECT_EQ(pictureFileFilters()[0].caption,
              "Supported Images (*.bmp,*.jpg,*.jpeg,*.png,*.tga,*.psd,*.pdd,*.dds,*.gif)");
    EXPECT_TRUE(pictureDialogFilter().startsWith(
        "Supported Images (*.bmp *.jpg *.jpeg *.png *.tga *.psd *.pdd *.dds *.gif);;Windows "
        "Bitmaps (*.bmp);;"));
}

TEST(QtImages, ConversionsKeepChannelOrder) {
    Bitmap24 b(2, 1);
    b.setPixel(1, 0, {1, 2, 3});
    const QImage q = toQImage(b);
    EXPECT_EQ(q.pixel(1, 0), qRgb(3, 2, 1));
    QImage argb(1, 1, QImage::Format_ARGB32);
    argb.setPixel(0, 0, qRgba(10, 20, 30, 40));
    EXPECT_EQ(fromQImage(argb).pixel(0, 0), (Bgra{30, 20, 10, 40}));
}
