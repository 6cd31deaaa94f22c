// Runs the kavlen-cli mesh commands end to end on the demo package.
#include "document/demo_package.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace kavlen {
namespace {

namespace fs = std::filesystem;

struct CliRun {
    int status = -1;
    std::string out, err;
};

std::string readText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class CliCommands : public ::testing::Test {
  protected:
    void SetUp() override {
        // The tool is built beside this test: <build>/tools/kavlen-cli next to
        // <build>/tests/meshedit.
        std::error_code ec;
        const fs::path self = fs::canonical("/proc/self/exe", ec);
        if (ec)
            GTEST_SKIP() << "cannot find the running test program";
        cli_ = self.parent_path() / ".." / ".." / "tools" / "kavlen-cli" / "kavlen-cli";
        ASSERT_TRUE(fs::exists(cli_)) << cli_ << " is missing: build kavlen-cli first";
        dir_ = fs::temp_directory_path() /
               ("kavlen_cli_meshedit_" +
                std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
        demo_ = dir_ / "demo.wad";
        ASSERT_TRUE(saveWad(*makeDemoPackage(), demo_).ok);
    }
    void TearDown() override {
        if (!dir_.empty())
            fs::remove_all(dir_);
    }

    CliRun run(const std::string& args) {
        const fs::path out = dir_ / "stdout.txt", err = dir_ / "stderr.txt";
        const std::string command =
            cli_.string() + " " + args + " >" + out.string() + " 2>" + err.string();
        CliRun r;
        const int raw = std::system(command.c_str());
        r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        r.out = readText(out);
        r.err = readText(err);
        return r;
    }
    std::string path(const char* name) const { return (dir_ / name).string(); }
    std::unique_ptr<twad> load(const char* name) const {
        auto wad = std::make_unique<twad>();
        EXPECT_TRUE(loadWad(*wad, dir_ / name).ok());
        return wad;
    }

    fs::path cli_, dir_, demo_;
};

TEST_F(CliCommands, MoveCarriesTheStaticBoxes) {
    const CliRun r = run("move " + demo_.string() + " 10 5 -7 3 " + path("moved.wad"));
    ASSERT_EQ(r.status, 0) << r.err;
    auto demo = makeDemoPackage();
    auto moved = load("moved.wad");
    EXPECT_EQ(moved->meshes[10].vertices[0].x, demo->meshes[10].vertices[0].x + 5);
    EXPECT_EQ(moved->meshes[10].vertices[0].y, demo->meshes[10].vertices[0].y - 7);
    EXPECT_EQ(moved->statics[0].visibilityBox[4], demo->statics[0].visibilityBox[4] + 3);
    EXPECT_EQ(moved->meshes[10].sphereZ, demo->meshes[10].sphereZ);
}

TEST_F(CliCommands, RefusedMoveWritesNothing) {
    const CliRun r = run("move " + demo_.string() + " 0 0 40000 0 " + path("refused.wad"));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("Mesh not moved"), std::string::npos) << r.out;
    EXPECT_FALSE(fs::exists(path("refused.wad")));
    EXPECT_EQ(run("move " + demo_.string() + " 13 0 0 0 " + path("x.wad")).status, 2);
}

TEST_F(CliCommands, MirrorAndSwapTwiceGiveBackTheSameBytes) {
    ASSERT_EQ(run("mirror " + demo_.string() + " 11 XY " + path("m1.wad")).status, 0);
    ASSERT_EQ(run("mirror " + path("m1.wad") + " 11 xy " + path("m2.wad")).status, 0);
    ASSERT_EQ(run("swap-vertices " + path("m2.wad") + " 4 0 13 " + path("s1.wad")).status, 0);
    const CliRun second = run("swap-vertices " + path("s1.wad") + " 4 0 13 " + path("s2.wad"));
    ASSERT_EQ(second.status, 0);
    EXPECT_EQ(second.out, "Vertex 0 changed to 13\n");
    EXPECT_EQ(readText(path("s2.wad")), readText(demo_));
    EXPECT_NE(readText(path("m1.wad")), readText(demo_));
    EXPECT_EQ(run("mirror " + demo_.string() + " 0 xx " + path("x.wad")).status, 2);
    EXPECT_EQ(run("swap-vertices " + demo_.string() + " 1 0 5 " + path("x.wad")).status, 2);
}

TEST_F(CliCommands, AddMeshAppendsAnAddedMesh) {
    const CliRun r = run("add-mesh " + demo_.string() + " " + path("added.wad"));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "added Mesh #13\n");
    auto added = load("added.wad");
    EXPECT_EQ(added->meshCount, 14);
    EXPECT_EQ(added->addedMeshCount, 2);
    EXPECT_EQ(added->meshSlotOfPointer(added->meshPointerCount - 1), 13);
}

TEST_F(CliCommands, AboutPrintsTheReports) {
    CliRun r = run("about " + demo_.string());
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.rfind("Shine\n  Mesh #0\n", 0), 0u) << r.out;
    EXPECT_NE(r.out.find("Texture #0\n  Mesh #6\n  Mesh #9\nInvalid Texture\n13 meshes in wad\n"),
              std::string::npos)
        << r.out;
    r = run("about " + demo_.string() + " 10");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.rfind("Mesh Type: Static\nLighting Type: Static\n", 0), 0u) << r.out;
    EXPECT_NE(r.out.find("Textures used (9)\n  Texture#50\n"), std::string::npos) << r.out;
    EXPECT_EQ(run("about " + demo_.string() + " 13").status, 2);
    EXPECT_EQ(run("about " + demo_.string() + " 1 2").status, 2);
}

} // namespace
} // namespace kavlen
