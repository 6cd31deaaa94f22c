// The texture commands of kavlen-cli on the demo package, run as a user would.
#include "document/package.h"
#include "document/safe_write.h"
#include "run_cli.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace kavlen {
namespace {

using test::CliResult;
using test::demoPath;
using test::runCli;
namespace fs = std::filesystem;

class TextureCommands : public test::CliTest {
  protected:
    static std::vector<std::uint8_t> bytesOf(const std::string& p) {
        std::vector<std::uint8_t> bytes;
        std::string message;
        readWholeFile(p, bytes, message);
        return bytes;
    }
    // Commands that read pictures exist only in builds with the picture loaders.
    static bool picturesAvailable() {
        static const bool available =
            runCli({"add-page", demoPath(), demoPath(), "/nonexistent/out.wad"})
                .err.find("not available") == std::string::npos;
        return available;
    }
};

TEST_F(TextureCommands, AtlasExportThenImportGivesBackTheSamePackage) {
    ASSERT_EQ(runCli({"export-atlas", demoPath(), path("atlas.bmp")}).status, 0);
    EXPECT_EQ(bytesOf(path("atlas.bmp")).size(), 54u + 256 * 768 * 3);
    const CliResult r = runCli({"import-atlas", demoPath(), path("atlas.bmp"), path("back.wad")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(bytesOf(path("back.wad")), bytesOf(demoPath()));
}

TEST_F(TextureCommands, ImportAtlasRefusesANarrowBitmap) {
    ASSERT_EQ(runCli({"export-texture", demoPath(), "37", path("Text37.bmp")}).status, 0);
    const CliResult r = runCli({"import-atlas", demoPath(), path("Text37.bmp"), path("out.wad")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err,
              "kavlen-cli: error: The bitmap is 64 pixels wide; an atlas bitmap must be 256 pixels "
              "wide.\n");
    EXPECT_FALSE(fs::exists(path("out.wad")));
}

TEST_F(TextureCommands, FindTexturePrintsStatusAndMeshLines) {
    CliResult r = runCli({"find-texture", demoPath(), "0"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Used by 34 faces in the wad.\nMesh#6  (32 of 224 faces)\nMesh#9  (2 of 12 "
                     "faces)\n");
    r = runCli({"find-texture", demoPath(), "5", "--faces"});
    EXPECT_EQ(r.out, "Used by 6 faces in the wad.\nMesh#0  (1 of 6 faces)\nMesh#6  (5 of 224 "
                     "faces)\nMesh#0 Poly#4\nMesh#6 Poly#5\nMesh#6 Poly#18\nMesh#6 Poly#31\nMesh#6 "
                     "Poly#44\nMesh#6 Poly#57\n");
    r = runCli({"find-texture", demoPath(), "62"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("sample 62 does not exist (62 samples)"), std::string::npos);
}

TEST_F(TextureCommands, SwapAndBlankPageWriteTheirPackages) {
    ASSERT_EQ(runCli({"swap-textures", demoPath(), "5", "40", path("swapped.wad")}).status, 0);
    // Faces keep their numbers: sample 40's users are the same faces as before.
    EXPECT_EQ(runCli({"find-texture", path("swapped.wad"), "40"}).out,
              "Used by 1 face in the wad.\nMesh#9  (1 of 12 faces)\n");
    EXPECT_EQ(runCli({"swap-textures", demoPath(), "0", "40", path("never.wad")}).status, 2);
    EXPECT_FALSE(fs::exists(path("never.wad")));

    const CliResult r = runCli({"add-page", demoPath(), path("paged.wad")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Added Page#3\n");
    Package wad;
    ASSERT_TRUE(loadWad(wad, path("paged.wad")).ok());
    EXPECT_EQ(wad.pageCount(), 4);
}

TEST_F(TextureCommands, ExportedSampleComesBackAsANewSample) {
    if (!picturesAvailable())
        GTEST_SKIP() << "kavlen-cli was built without the picture loaders";
    ASSERT_EQ(runCli({"export-texture", demoPath(), "37", path("Text37.bmp")}).status, 0);
    CliResult r = runCli({"add-texture", demoPath(), path("Text37.bmp"), path("added.wad")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Added Texture#62 (64 x 64) at x=128 y=192 of Page#2\n");
    EXPECT_EQ(runCli({"find-texture", path("added.wad"), "62"}).out,
              "Used by 0 faces in the wad.\nNot used.\n");
    ASSERT_EQ(runCli({"export-texture", path("added.wad"), "62", path("Text62.bmp")}).status, 0);
    EXPECT_EQ(bytesOf(path("Text62.bmp")), bytesOf(path("Text37.bmp")));

    r = runCli({"add-page", demoPath(), path("Text37.bmp"), path("paged.wad")});
    EXPECT_EQ(r.status, 0) << r.err;
    r = runCli({"import-texture", demoPath(), "33", path("Text37.bmp"), path("imported.wad")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Replaced the texels of Texture#33; textures to rebuild: 33\n");
}

TEST_F(TextureCommands, LargePictureNeedsResize) {
    if (!picturesAvailable())
        GTEST_SKIP() << "kavlen-cli was built without the picture loaders";
    ASSERT_EQ(runCli({"export-atlas", demoPath(), path("atlas.bmp")}).status, 0);
    CliResult r = runCli({"add-texture", demoPath(), path("atlas.bmp"), path("refused.wad")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "kavlen-cli: error: Image is too tall.\n"
                     "  Resize image and continue? no (pass --resize to resize)\n");
    EXPECT_FALSE(fs::exists(path("refused.wad")));
    r = runCli({"add-texture", demoPath(), path("atlas.bmp"), path("fitted.wad"), "--resize"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Added Texture#62 (85 x 256) at x=0 y=0 of Page#3 (new page)\n");
}

TEST_F(TextureCommands, UnreadablePicture) {
    if (!picturesAvailable())
        GTEST_SKIP() << "kavlen-cli was built without the picture loaders";
    ASSERT_TRUE(writeFileSafely(path("broken.png"), [](std::ostream& o) {
                    o << "not a picture";
                    return true;
                }).ok);
    const CliResult r = runCli({"add-texture", demoPath(), path("broken.png"), path("out.wad")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "kavlen-cli: error: Error loading file.\n");
    EXPECT_FALSE(fs::exists(path("out.wad")));
}

} // namespace
} // namespace kavlen
