// move, mirror, swap-vertices, add-mesh and about, run as a user would.
#include "document/demo_package.h"
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

class MeshCommands : public test::CliTest {
  protected:
    std::unique_ptr<Package> load(const char* name) const {
        auto wad = std::make_unique<Package>();
        EXPECT_TRUE(loadWad(*wad, dir_ / name).ok());
        return wad;
    }
    static std::vector<std::uint8_t> bytesOf(const std::string& p) {
        std::vector<std::uint8_t> bytes;
        std::string message;
        readWholeFile(p, bytes, message);
        return bytes;
    }
};

TEST_F(MeshCommands, MoveCarriesTheStaticBoxes) {
    const CliResult r = runCli({"move", demoPath(), "10", "5", "-7", "3", path("moved.wad")});
    ASSERT_EQ(r.status, 0) << r.err;
    auto demo = makeDemoPackage();
    auto moved = load("moved.wad");
    EXPECT_EQ(moved->meshes[10].vertices[0].x, demo->meshes[10].vertices[0].x + 5);
    EXPECT_EQ(moved->meshes[10].vertices[0].y, demo->meshes[10].vertices[0].y - 7);
    EXPECT_EQ(moved->statics[0].visibilityBox[4], demo->statics[0].visibilityBox[4] + 3);
    EXPECT_EQ(moved->meshes[10].sphereZ, demo->meshes[10].sphereZ);
}

TEST_F(MeshCommands, RefusedMoveWritesNothing) {
    const CliResult r = runCli({"move", demoPath(), "0", "0", "40000", "0", path("refused.wad")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err,
              "kavlen-cli: error: Mesh not moved: coordinates must stay within -32768..32767.\n");
    EXPECT_FALSE(fs::exists(path("refused.wad")));
    EXPECT_EQ(runCli({"move", demoPath(), "13", "0", "0", "0", path("x.wad")}).status, 2);
    EXPECT_EQ(runCli({"move", demoPath(), "0", "1", "2", path("x.wad")}).status, 2);
}

TEST_F(MeshCommands, MirrorAndSwapTwiceGiveBackTheSameBytes) {
    ASSERT_EQ(runCli({"resave", demoPath(), path("demo.wad")}).status, 0);
    ASSERT_EQ(runCli({"mirror", demoPath(), "11", "XY", path("m1.wad")}).status, 0);
    ASSERT_EQ(runCli({"mirror", path("m1.wad"), "11", "xy", path("m2.wad")}).status, 0);
    ASSERT_EQ(runCli({"swap-vertices", path("m2.wad"), "4", "0", "13", path("s1.wad")}).status, 0);
    const CliResult second =
        runCli({"swap-vertices", path("s1.wad"), "4", "0", "13", path("s2.wad")});
    ASSERT_EQ(second.status, 0);
    EXPECT_EQ(second.out, "Vertex 0 changed to 13\n");
    EXPECT_EQ(bytesOf(path("s2.wad")), bytesOf(path("demo.wad")));
    EXPECT_NE(bytesOf(path("m1.wad")), bytesOf(path("demo.wad")));
    EXPECT_EQ(runCli({"mirror", demoPath(), "0", "xx", path("x.wad")}).status, 2);
    EXPECT_EQ(runCli({"swap-vertices", demoPath(), "1", "0", "5", path("x.wad")}).status, 2);
    EXPECT_EQ(runCli({"swap-vertices", demoPath(), "1", "2", "2", path("x.wad")}).status, 2);
}

TEST_F(MeshCommands, AddMeshAppendsAnAddedMesh) {
    const CliResult r = runCli({"add-mesh", demoPath(), path("added.wad")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "added Mesh #13\n");
    auto added = load("added.wad");
    EXPECT_EQ(added->meshCount, 14);
    EXPECT_EQ(added->addedMeshCount, 2);
    EXPECT_EQ(added->meshSlotOfPointer(added->meshPointerCount - 1), 13);
    EXPECT_EQ(runCli({"check", path("added.wad")}).status, 0);

    // Nothing to move or mirror in the empty mesh: refused, nothing written.
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"move", path("added.wad"), "13", "1", "2", "3", path("x.wad")},
          std::vector<std::string>{"mirror", path("added.wad"), "13", "xy", path("x.wad")},
          std::vector<std::string>{"move", path("added.wad"), "0", "0", "0", "0", path("x.wad")}}) {
        const CliResult refused = runCli(args);
        EXPECT_EQ(refused.status, 1) << args[0];
        EXPECT_EQ(refused.err,
                  "kavlen-cli: error: " +
                      std::string(args[2] == "13" ? "mesh 13 has no vertices"
                                                  : "mesh 0 not moved: DX, DY and DZ are all 0") +
                      "; nothing written\n");
        EXPECT_FALSE(fs::exists(path("x.wad")));
    }
}

TEST_F(MeshCommands, AboutPrintsTheReports) {
    CliResult r = runCli({"about", demoPath()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.rfind("Shine\n  Mesh #0\n", 0), 0u) << r.out;
    EXPECT_NE(r.out.find("Texture #0\n  Mesh #6\n  Mesh #9\nInvalid Texture\n13 meshes in wad\n"),
              std::string::npos)
        << r.out;
    r = runCli({"about", demoPath(), "10"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.rfind("Mesh Type: Static\nLighting Type: Static\n", 0), 0u) << r.out;
    EXPECT_NE(r.out.find("Textures used (9)\n  Texture#50\n"), std::string::npos) << r.out;
    EXPECT_EQ(runCli({"about", demoPath(), "13"}).status, 2);
    EXPECT_EQ(runCli({"about", demoPath(), "1", "2"}).status, 2);
}

} // namespace
} // namespace kavlen
