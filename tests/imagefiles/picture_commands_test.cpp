// The texture commands with pictures read from files of every format.
#include "../textures/texture_test_support.h"
#include "document/demo_package.h"
#include "imagefiles/picture_loader.h"
#include "picture_writers.h"
#include "textures/adding.h"
#include "textures/samples.h"

#include <gtest/gtest.h>

#include <fstream>

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
    EXPECT_EQ(r.messages, (Messages{{MessageKind::Error, "Error loading file."}}));
}
