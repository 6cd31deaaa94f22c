// unused, delete-texture, remove-unused, delete-page and compact-atlas on the
// demo package, run as a user would.
#include "document/package.h"
#include "run_cli.h"
#include "textures/samples.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kavlen {
namespace {

using test::CliResult;
using test::demoPath;
using test::runCli;
namespace fs = std::filesystem;

class TextureHousekeepingCommands : public test::CliTest {};

std::unique_ptr<Package> load(const std::string& path) {
    auto wad = std::make_unique<Package>();
    EXPECT_TRUE(loadWad(*wad, path).ok()) << path;
    return wad;
}

// Each face's sample texels and the bits placing them (corner, mirroring).
std::vector<std::pair<std::optional<Bitmap24>, std::uint16_t>> faceLooks(const Package& wad) {
    std::vector<std::pair<std::optional<Bitmap24>, std::uint16_t>> looks;
    for (std::size_t m = 0; m < wad.meshCount; ++m)
        for (int f = 0; f < wad.meshes[m].faceCount; ++f) {
            const MeshFace& face = wad.meshes[m].faces[f];
            looks.emplace_back(samplePicture(wad, faceSampleIndex(face)),
                               face.texture & (face.isQuad() ? 0x8000 : 0xF000));
        }
    return looks;
}

TEST_F(TextureHousekeepingCommands, RemovingAndCompactingKeepFacesAndRefusalsWriteNothing) {
    const CliResult unused = runCli({"unused", demoPath()});
    ASSERT_EQ(unused.status, 0) << unused.err;
    EXPECT_NE(unused.out.find("Texture#61 Page#2 x=96 y=96 24 x 72\n"), std::string::npos);
    EXPECT_NE(unused.out.find("unused textures: 13 of 62\npages holding only unused textures: 0\n"),
              std::string::npos);

    const auto demo = load(demoPath());
    struct Run {
        std::vector<std::string> args;
        int status;
        std::string out, err;
    };
    const std::vector<Run> runs{
        {{"remove-unused", demoPath(), path("removed.wad")},
         0,
         "Removed 13 textures no face used; 49 textures remain.\n",
         ""},
        {{"compact-atlas", demoPath(), path("compact.wad")},
         0,
         "Compacted the atlas.\nPages: 3 before, 3 after.\nTextures: 62 before, 49 after.\n",
         ""},
        {{"delete-texture", demoPath(), "0", path("refused.wad")},
         1,
         "",
         "kavlen-cli: error: Texture#0 is used by 34 faces. Choose a replacement texture for "
         "them.\n"},
        {{"delete-page", demoPath(), "1", path("refused.wad")},
         1,
         "",
         "kavlen-cli: error: Page#1 still holds 6 textures; delete or move them first.\n"},
        {{"delete-texture", demoPath(), "0", path("replaced.wad"), "--replace", "5"},
         0,
         "Deleted Texture#0; 34 faces now use Texture#4 (was Texture#5).\n",
         ""},
    };
    for (const Run& run : runs) {
        SCOPED_TRACE(run.args[0]);
        const CliResult r = runCli(run.args);
        EXPECT_EQ(r.status, run.status);
        EXPECT_EQ(r.out, run.out);
        EXPECT_EQ(r.err, run.err);
        const std::string out = run.args[3 - (run.args.size() == 3)];
        if (run.status != 0) {
            EXPECT_FALSE(fs::exists(out));
            continue;
        }
        const CliResult check = runCli({"check", out});
        EXPECT_EQ(check.status, 0) << check.out;
        const auto after = load(out);
        if (run.args[0] != "delete-texture") {
            EXPECT_EQ(faceLooks(*after), faceLooks(*demo));
            continue;
        }
        // The faces of sample 0 now show sample 5's texels, the others are as before.
        const auto before = faceLooks(*demo), now = faceLooks(*after);
        ASSERT_EQ(before.size(), now.size());
        for (std::size_t i = 0; i < before.size(); ++i)
            EXPECT_EQ(now[i].first, before[i].first == samplePicture(*demo, 0)
                                        ? samplePicture(*demo, 5)
                                        : before[i].first);
    }
}

} // namespace
} // namespace kavlen
