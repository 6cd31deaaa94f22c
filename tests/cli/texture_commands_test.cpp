// The texture commands of kavlen-cli on the demo package, run as a user would.
#include "document/package.h"
#include "document/safe_write.h"
#include "run_cli.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
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
    EXPECT_EQ(r.err, "kavlen-cli: error: Error loading file.\n"
                     "  The file is not a picture of a supported format.\n");
    EXPECT_FALSE(fs::exists(path("out.wad")));
}

// What a command cannot do it refuses, with the reason and exit status 1, and
// writes nothing: a sample whose page the atlas lacks, inputs that are not files.
TEST_F(TextureCommands, CommandsThatCannotActSayWhyAndWriteNothing) {
    Package wad;
    ASSERT_TRUE(loadWad(wad, demoPath()).ok());
    wad.texInfos[1].page = 5;
    ASSERT_TRUE(saveWad(wad, path("off.wad")).ok);
    ASSERT_EQ(runCli({"export-atlas", demoPath(), path("atlas.bmp")}).status, 0);
    fs::create_directory(path("folder.bmp"));
    ASSERT_EQ(::mkfifo(path("fifo.bmp").c_str(), 0600), 0);

    const std::string offPage =
        "kavlen-cli: error: Texture#1 lies on Page#5; the atlas has 3 pages.\n";
    std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"export-texture", path("off.wad"), "1", path("out.bmp")}, offPage},
        {{"import-atlas", demoPath(), path("fifo.bmp"), path("out.wad")},
         "kavlen-cli: error: Cannot open \"" + path("fifo.bmp") +
             "\": it is a pipe (FIFO), not a regular file\n"},
        {{"import-atlas", demoPath(), path("folder.bmp"), path("out.wad")},
         "kavlen-cli: error: Cannot open \"" + path("folder.bmp") +
             "\": it is a folder, not a file\n"},
    };
    if (picturesAvailable()) {
        cases.push_back(
            {{"import-texture", path("off.wad"), "1", path("atlas.bmp"), path("out.wad")},
             offPage});
        for (const char* input : {"fifo.bmp", "folder.bmp"})
            for (const char* command : {"add-page", "add-texture"})
                cases.push_back({{command, demoPath(), path(input), path("out.wad")},
                                 "kavlen-cli: error: Error loading file.\n  Cannot open \"" +
                                     path(input) +
                                     (std::string(input) == "fifo.bmp"
                                          ? "\": it is a pipe (FIFO), not a regular file\n"
                                          : "\": it is a folder, not a file\n")});
    }
    for (const auto& [args, message] : cases) {
        const CliResult r = runCli(args);
        EXPECT_EQ(r.status, 1) << args[0] << " " << args[2];
        EXPECT_EQ(r.err, message) << args[0];
        EXPECT_EQ(r.out, "") << args[0];
        EXPECT_FALSE(fs::exists(path("out.wad")) || fs::exists(path("out.bmp"))) << args[0];
    }
}

// A top-down 24-bit bitmap (negative height) is read by every picture command.
TEST_F(TextureCommands, TopDownBitmapsAreAccepted) {
    if (!picturesAvailable())
        GTEST_SKIP() << "kavlen-cli was built without the picture loaders";
    // 2 x 2: top row red, green; bottom row blue, white.
    std::vector<std::uint8_t> bmp = {'B', 'M', 70, 0, 0, 0, 0, 0,    0,    0,    54,   0, 0, 0,  40,
                                     0,   0,   0,  2, 0, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF, 1, 0, 24, 0};
    bmp.resize(54, 0);
    for (std::uint8_t v : {0, 0, 255, 0, 255, 0, 0, 0, 255, 0, 0, 255, 255, 255, 255, 0})
        bmp.push_back(v);
    ASSERT_TRUE(writeFileSafely(path("td.bmp"), bmp).ok);
    const std::vector<std::vector<std::string>> commands = {
        {"add-page", demoPath(), path("td.bmp"), path("page.wad")},
        {"add-texture", demoPath(), path("td.bmp"), path("texture.wad")},
        {"import-texture", demoPath(), "5", path("td.bmp"), path("import.wad")},
    };
    for (const auto& args : commands) {
        const CliResult r = runCli(args);
        EXPECT_EQ(r.status, 0) << args[0] << ": " << r.err;
    }
    Package page;
    ASSERT_TRUE(loadWad(page, path("page.wad")).ok());
    const std::size_t at = 3 * kPageBytes; // top-left texel of the new page, blue green red
    EXPECT_EQ(
        std::vector<std::uint8_t>(page.textureData.begin() + at, page.textureData.begin() + at + 6),
        (std::vector<std::uint8_t>{0, 0, 255, 0, 255, 0}));
    EXPECT_EQ(page.textureData[at + kAtlasRowBytes], 255); // blue below red
}

} // namespace
} // namespace kavlen
