// Inputs the texture commands cannot use are refused with a message that says
// why, before anything is read or changed: folders, FIFOs and devices, files
// larger than their format can need, and samples whose page the atlas lacks.
#include "document/demo_package.h"
#include "texture_test_support.h"
#include "textures/adding.h"
#include "textures/atlas.h"
#include "textures/bmp24.h"
#include "textures/buffered_file.h"
#include "textures/texture_set.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sys/stat.h>

using namespace kavlen;
using kavlen::test::addSample;
using kavlen::test::makeAtlasPackage;
using kavlen::test::makePicture;
using kavlen::test::TempDir;

namespace {

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// Each reader's messages for a path, and whether it left the package alone.
struct Reader {
    const char* name;
    std::function<std::string(Package&, const std::filesystem::path&)> read;
};

std::string firstMessage(const Messages& messages) {
    return messages.empty() ? std::string() : messages.front().text;
}

} // namespace

TEST(InputRefusal, ReadersTakeOnlyRegularFilesWithinTheirFormatsSize) {
    TempDir dir;
    const auto folder = dir / "folder.bmp";
    std::filesystem::create_directory(folder);
    // A sparse file larger than any of these formats needs; nothing is read of it.
    const auto huge = dir / "huge.bmp";
    { std::ofstream(huge, std::ios::binary) << "BM"; }
    std::filesystem::resize_file(huge, kMaxBitmapFileBytes + 1);

    const std::vector<Reader> readers = {
        {"atlas bitmap",
         [](Package& wad, const std::filesystem::path& p) {
             const AtlasImportResult r = importAtlasFromBitmap(wad, p);
             return r.changed ? std::string("changed") : firstMessage(r.messages);
         }},
        {"bitmap file",
         [](Package&, const std::filesystem::path& p) {
             const BmpReadResult r = readBmpFile(p);
             return r.ok ? std::string("read") : r.message;
         }},
        {"texture set",
         [](Package& wad, const std::filesystem::path& p) {
             const TextureSetResult r =
                 restoreTextureSet(wad, p, [](const UserQuestion&) { return true; });
             return r.ok ? std::string("restored") : firstMessage(r.messages);
         }},
    };
    std::vector<std::pair<std::filesystem::path, std::string>> inputs = {
        {folder, "it is a folder, not a file"},
        {huge, " this kind of file may have"},
        {dir / "missing.bmp", "no such file"},
    };
#ifndef _WIN32 // FIFOs and devices
    const auto fifo = dir / "fifo.bmp";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    inputs.push_back({fifo, "it is a pipe (FIFO), not a regular file"});
    inputs.push_back({"/dev/zero", "it is a device, not a regular file"});
#endif
    for (const Reader& reader : readers) {
        for (const auto& [path, why] : inputs) {
            auto wad = makeDemoPackage();
            const auto before = buildTextureSetContent(*wad);
            const auto texels = wad->textureData;
            const std::string message = reader.read(*wad, path);
            EXPECT_TRUE(contains(message, why))
                << reader.name << " of " << path << " said: " << message;
            EXPECT_EQ(buildTextureSetContent(*wad), before) << reader.name;
            EXPECT_EQ(wad->textureData, texels) << reader.name;
        }
    }
}

// A sample whose page lies beyond the atlas has no texels: importing or exporting
// it is refused instead of reported as done.
TEST(InputRefusal, SampleCommandsRefuseASampleBeyondTheAtlas) {
    TempDir dir;
    auto wad = makeAtlasPackage(2);
    const int inside = addSample(*wad, 1, 0, 250, 16, 16); // reaches past the last row
    const int beyond = addSample(*wad, 2, 0, 0, 16, 16);
    const auto texels = wad->textureData;
    bool asked = false;
    const ChoosePicture choose = [&] {
        asked = true;
        return PictureChoice{PictureChoice::Status::Loaded, makePicture(8, 8)};
    };

    const ImportTextureResult refused = importTexture(*wad, beyond, choose);
    EXPECT_FALSE(refused.changed);
    EXPECT_FALSE(asked); // refused before the picture is asked for
    EXPECT_EQ(refused.messages,
              (Messages{{MessageKind::Error, "Texture#1 lies on Page#2; the atlas has 2 pages."}}));
    EXPECT_EQ(wad->textureData, texels);
    EXPECT_EQ(exportTextureToBmp(*wad, beyond, dir / "t.bmp"), refused.messages);
    EXPECT_FALSE(std::filesystem::exists(dir / "t.bmp"));

    const ImportTextureResult partly = importTexture(*wad, inside, choose);
    EXPECT_TRUE(partly.changed);
    EXPECT_NE(wad->textureData, texels);

    // Nothing to import an atlas into.
    auto empty = makeAtlasPackage(0);
    EXPECT_EQ(
        importAtlasFromBitmapBytes(*empty, encodeBmp24(Bitmap24(256, 256))).messages,
        (Messages{{MessageKind::Error, "This package has no texture pages to import into."}}));
}

// Error loading file says why when the loader knows.
TEST(InputRefusal, LoadFailureCarriesItsReason) {
    auto wad = makeAtlasPackage(1);
    const AddPageResult r = addPageFromImage(
        *wad,
        [] {
            return PictureChoice{PictureChoice::Status::LoadFailed, {}, "The file ends early."};
        },
        {});
    EXPECT_FALSE(r.added);
    EXPECT_EQ(r.messages,
              (Messages{{MessageKind::Error, "Error loading file.\r\nThe file ends early."}}));
    EXPECT_EQ(wad->pageCount(), 1);
}
