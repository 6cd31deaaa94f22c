// The texture commands with pictures read from files of every format.
#include "../textures/texture_test_support.h"
#include "document/demo_package.h"
#include "imagefiles/picture_loader.h"
#include "picture_writers.h"
#include "textures/adding.h"
#include "textures/atlas.h"
#include "textures/samples.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sys/stat.h>
#include <tuple>

using namespace kavlen;
using namespace kavlen::test;

namespace {

void writeFile(const std::filesystem::path& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

} // namespace

TEST(PictureCommands, AddTextureAndImportTextureFromFiles) {
    TempDir dir;
    Image32 picture(20, 12);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 20; ++x)
            picture.setPixel(x, y,
                             {static_cast<std::uint8_t>(x * 12), static_cast<std::uint8_t>(y * 20),
                              77, static_cast<std::uint8_t>(x == 0 && y == 0 ? 0 : 255)});
    const std::vector<std::pair<std::string, Bytes>> files = {
        {"p.tga", writeTga(picture, {.bpp = 32, .rle = true})},
        {"p.psd", writePsd(picture, true, true)},
        {"p.dds", writeDdsUncompressed(picture, 32)},
    };
    for (const auto& [name, bytes] : files) {
        writeFile(dir / name, bytes);
        auto wad = makeDemoPackage();
        const std::uint32_t before = wad->texInfoCount;
        const AddTextureResult added =
            addNewTexture(*wad, [&] { return pictureChoiceFromFile(dir / name); }, {});
        ASSERT_TRUE(added.added) << name;
        EXPECT_EQ(wad->texInfoCount, before + 1);
        const Bitmap24 sample = *samplePicture(*wad, added.sample);
        EXPECT_EQ(sample.pixel(0, 0), (Bgr{255, 0, 255})) << name; // transparent: magenta
        EXPECT_EQ(sample.pixel(19, 11), (Bgr{228, 220, 77})) << name;

        const ImportTextureResult imported =
            importTexture(*wad, added.sample, [&] { return pictureChoiceFromFile(dir / name); });
        ASSERT_TRUE(imported.changed) << name;
        EXPECT_EQ(samplePicture(*wad, added.sample)->pixel(19, 11), (Bgr{228, 220, 77})) << name;
    }
    writeFile(dir / "broken.png", Bytes{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0});
    auto wad = makeDemoPackage();
    const AddTextureResult r =
        addNewTexture(*wad, [&] { return pictureChoiceFromFile(dir / "broken.png"); }, {});
    EXPECT_EQ(r.messages, (Messages{{MessageKind::Error, "Error loading file.\r\nThe file is not "
                                                         "a readable PNG picture."}}));
}

namespace {

// A 24-bit or 32-bit (bit fields, alpha mask) Windows bitmap with a version 4
// header; rows top-down when asked (negative height).
Bytes writeBmp(const Image32& image, int bpp, bool topDown) {
    const int stride = (image.width * bpp / 8 + 3) & ~3;
    const int headerSize = 108;
    Bytes b = {'B', 'M'};
    le32(b, 14 + headerSize + stride * image.height);
    le32(b, 0);
    le32(b, 14 + headerSize);
    le32(b, headerSize);
    le32(b, image.width);
    le32(b, static_cast<std::uint32_t>(topDown ? -image.height : image.height));
    le16(b, 1);
    le16(b, bpp);
    le32(b, bpp == 32 ? 3 : 0); // bit fields for 32 bits
    le32(b, stride * image.height);
    le32(b, 2835);
    le32(b, 2835);
    le32(b, 0);
    le32(b, 0);
    for (std::uint32_t mask : {0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0xFF000000u})
        le32(b, mask);
    b.resize(14 + headerSize, 0); // colour space fields
    for (int row = 0; row < image.height; ++row) {
        const int y = topDown ? row : image.height - 1 - row;
        for (int x = 0; x < image.width; ++x) {
            const Bgra c = image.pixel(x, y);
            b.insert(b.end(), {c.b, c.g, c.r});
            if (bpp == 32)
                b.push_back(c.a);
        }
        b.resize(b.size() + std::size_t(stride - image.width * bpp / 8), 0);
    }
    return b;
}

} // namespace

// Bitmaps of either row order and with alpha are read by every picture command;
// pictures larger than the cap and inputs that are not files are refused with
// their reason, before anything is decoded or read.
TEST(PictureCommands, BitmapsOfEveryRowOrderAndRefusalsWithReasons) {
    TempDir dir;
    Image32 picture = makePicture(7, 5);
    picture.setPixel(3, 2, {1, 2, 3, 0});
    const std::vector<std::tuple<std::string, Bytes, bool>> bitmaps = {
        {"top-down 24", writeBmp(picture, 24, true), false},
        {"bottom-up 24", writeBmp(picture, 24, false), false},
        {"top-down 32 with alpha", writeBmp(picture, 32, true), true},
    };
    for (const auto& [name, bytes, alpha] : bitmaps) {
        writeFile(dir / "p.bmp", bytes);
        const PictureChoice choice = pictureChoiceFromFile(dir / "p.bmp");
        ASSERT_EQ(choice.status, PictureChoice::Status::Loaded) << name << ": " << choice.message;
        Image32 expected = picture;
        if (!alpha)
            expected.setPixel(3, 2, {1, 2, 3, 255});
        EXPECT_EQ(choice.image, expected) << name;

        auto wad = makeDemoPackage();
        const AddPageResult page = addPageFromImage(*wad, [&] { return choice; }, {});
        ASSERT_TRUE(page.added) << name;
        const Bitmap24 top = pagePicture(*wad, page.page);
        EXPECT_EQ(top.pixel(0, 0), (Bgr{0, 0, 200})) << name;
        EXPECT_EQ(top.pixel(6, 4), (Bgr{18, 20, 200})) << name;
        EXPECT_EQ(top.pixel(3, 2), (alpha ? Bgr{255, 0, 255} : Bgr{1, 2, 3})) << name;
        const ImportTextureResult imported = importTexture(*wad, 3, [&] { return choice; });
        EXPECT_TRUE(imported.changed) << name;
    }

    // Declared sizes beyond 4096 x 4096 pixels, in files of a few bytes.
    Bytes tga = writeTga(makePicture(4, 4), {.bpp = 32, .rle = true});
    tga[12] = tga[14] = 0x00;
    tga[13] = tga[15] = 0x20; // 8192 x 8192
    Bytes bmp = writeBmp(makePicture(4, 4), 24, true);
    bmp[19] = 0x20;
    bmp[20] = 0x00; // 8196 pixels wide, 4 rows: within the cap
    Bytes wide = writeBmp(makePicture(4, 16), 24, true);
    wide[20] = 0x10; // 1,048,580 x 16 pixels
    Bytes psd = writePsd(makePicture(4, 4), false, false);
    for (std::size_t at : {14u, 18u}) // height and width: 8192
        std::copy_n(Bytes{0, 0, 0x20, 0}.begin(), 4, psd.begin() + std::ptrdiff_t(at));
    const std::string cap = " pixels; pictures of at most 16777216 pixels (4096 x 4096) are read.";
    const std::vector<std::tuple<std::string, Bytes, std::string>> large = {
        {"big.tga", tga, "The picture is 8192 x 8192" + cap},
        {"big.psd", psd, "The picture is 8192 x 8192" + cap},
        {"wide.bmp", wide, "The picture is 1048580 x 16" + cap},
        {"long.bmp", bmp, "The file ends early."},
    };
    for (const auto& [name, bytes, message] : large) {
        writeFile(dir / name, bytes);
        const PictureChoice choice = pictureChoiceFromFile(dir / name);
        EXPECT_EQ(choice.status, PictureChoice::Status::LoadFailed) << name;
        EXPECT_EQ(choice.message, message) << name;
    }

    std::filesystem::create_directory(dir / "folder.png");
    ASSERT_EQ(::mkfifo((dir / "fifo.png").c_str(), 0600), 0);
    for (const char* name : {"folder.png", "fifo.png"}) {
        auto wad = makeDemoPackage();
        const AddPageResult r =
            addPageFromImage(*wad, [&] { return pictureChoiceFromFile(dir / name); }, {});
        EXPECT_FALSE(r.added);
        ASSERT_EQ(r.messages.size(), 1u);
        EXPECT_NE(r.messages[0].text.find(std::string(name) + "\": it is a "), std::string::npos)
            << r.messages[0].text;
        EXPECT_EQ(wad->pageCount(), 3);
    }
}
