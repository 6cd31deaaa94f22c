#include "document/package.h"
#include "document/safe_write.h"
#include "run_cli.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

using namespace kavlen;
using namespace kavlen::test;
namespace fs = std::filesystem;

namespace {

fs::path tempFile(const std::string& name) {
    return fs::temp_directory_path() / ("kavlen-cli-" + std::to_string(::getpid()) + "-" + name);
}

std::vector<std::uint8_t> bytesOf(const fs::path& p) {
    std::vector<std::uint8_t> b;
    std::string m;
    readWholeFile(p, b, m);
    return b;
}

} // namespace

TEST(CliInfo, PrintsTheCountsInOrder) {
    const CliResult r = runCli({"info", demoPath()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "version: 129\n"
                     "samples: 62\n"
                     "pages: 3\n"
                     "meshPointers: 14\n"
                     "meshes: 13\n"
                     "directory: 12\n"
                     "moveables: 4\n"
                     "statics: 2\n"
                     "addedMeshes: 1\n"
                     "objectMeshCount: 12\n"
                     "animations: 2\n"
                     "stateChanges: 1\n"
                     "dispatches: 1\n"
                     "commands: 4\n"
                     "meshTree: 28\n"
                     "keyframeWords: 24\n");
}

TEST(CliErrors, UsageAndBadFilesExitTwoWithMessage) {
    CliResult r = runCli({});
    EXPECT_EQ(r.status, 2);
    r = runCli({"no-such-command"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("unknown command"), std::string::npos);
    r = runCli({"info"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("usage"), std::string::npos);
    r = runCli({"info", "/nonexistent/file.wad"});
    EXPECT_EQ(r.status, 2);
    EXPECT_FALSE(r.err.empty());
    r = runCli({"mesh", demoPath(), "99"});
    EXPECT_EQ(r.status, 2);
    r = runCli({"mesh", demoPath(), "x"});
    EXPECT_EQ(r.status, 2);

    const fs::path notWad = tempFile("not.wad");
    writeFileSafely(notWad, std::vector<std::uint8_t>{1, 2, 3, 4, 5, 6, 7, 8});
    r = runCli({"info", notWad.string()});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("Invalid Tomb Raider File Format!!"), std::string::npos);
    fs::remove(notWad);

    r = runCli({"--help"});
    EXPECT_EQ(r.status, 0);
    for (const char* command : {"info", "resave", "mesh", "check", "demo"})
        EXPECT_NE(r.out.find(std::string("  ") + command + " "), std::string::npos) << command;
}

TEST(CliResave, ReproducesTheDemoAndDemoIsStable) {
    const fs::path out = tempFile("resave.wad");
    ASSERT_EQ(runCli({"resave", demoPath(), out.string()}).status, 0);
    EXPECT_EQ(bytesOf(out), bytesOf(demoPath()));
    ASSERT_EQ(runCli({"demo", out.string()}).status, 0);
    EXPECT_EQ(bytesOf(out), bytesOf(demoPath()));
    fs::remove(out);
}

TEST(CliMesh, PrintsHeaderVerticesLightingAndFaces) {
    const CliResult r = runCli({"mesh", demoPath(), "5"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.rfind("mesh 5\nsphere ", 0), 0u) << r.out;
    EXPECT_NE(r.out.find("vertexCount 8\nv 0 -300 0 0\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("normalCount 8\nn 0 "), std::string::npos);
    EXPECT_NE(r.out.find("faceCount 3\nf 0 quad 0 2 3 1 tex 0x18 attr 0x0\n"), std::string::npos)
        << r.out;
    const CliResult shaded = runCli({"mesh", demoPath(), "10"});
    EXPECT_NE(shaded.out.find("normalCount -16\ns 0 "), std::string::npos) << shaded.out;
    EXPECT_EQ(shaded.out.find(" tri "), std::string::npos); // two boxes: quads only
}

TEST(CliCheck, CleanDemoAndBrokenPackage) {
    CliResult r = runCli({"check", demoPath()});
    EXPECT_EQ(r.status, 0) << r.out;

    Package wad;
    ASSERT_TRUE(loadWad(wad, demoPath()).ok());
    wad.meshes[1].faces[0].vertexIndex[1] = 77; // beyond the vertex count
    wad.meshes[2].faces[0].texture = 4000;      // beyond the sample count
    wad.statics[0].pointerIndex = 1999;         // beyond the pointer table
    wad.moveables[0].pointerCount = 300;        // range beyond the table
    wad.texInfos[3].page = 9;                   // a page that does not exist
    wad.texInfos[4].x = 250;                    // reaches off its page
    std::array<std::uint32_t, kMaxMeshPointers> pointers{};
    std::uint32_t words = 0;
    auto bytes = serializeWad(wad, pointers, words);
    const fs::path broken = tempFile("broken.wad");
    writeFileSafely(broken, bytes);
    r = runCli({"check", broken.string()});
    EXPECT_EQ(r.status, 1);
    for (const char* expected : {"mesh 1 face 0: vertex index 77 beyond the vertex count",
                                 "mesh 2 face 0: sample index 4000", "static 0: pointer index 1999",
                                 "moveable 0: pointers 0..299", "sample 3: page 9 does not exist",
                                 "sample 4: reaches outside its page"})
        EXPECT_NE(r.out.find(expected), std::string::npos) << expected << "\n" << r.out;
    fs::remove(broken);
}

TEST(CliCheck, ReportsMeshesOutOfFirstReferenceOrder) {
    Package wad;
    ASSERT_TRUE(loadWad(wad, demoPath()).ok());
    std::array<std::uint32_t, kMaxMeshPointers> pointers{};
    std::uint32_t words = 0;
    auto bytes = serializeWad(wad, pointers, words);
    // Swap pointers 1 and 2 in the file: the second mesh is now referenced first.
    const std::size_t table = 4 + 4 + 8 * wad.texInfoCount + 4 + wad.textureDataSize + 4;
    std::swap_ranges(bytes.begin() + table + 4, bytes.begin() + table + 8,
                     bytes.begin() + table + 8);
    const fs::path out = tempFile("order.wad");
    writeFileSafely(out, bytes);
    const CliResult r = runCli({"check", out.string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("not stored in first-reference order"), std::string::npos) << r.out;
    fs::remove(out);
}

TEST(CliSafety, BadPathsAreRefusedAndTrailingBytesKept) {
    const fs::path folder = tempFile("folder.wad");
    const fs::path fifo = tempFile("pipe.wad");
    fs::create_directories(folder);
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const auto& [path, expected] :
         {std::pair{folder, "it is a folder"}, std::pair{fifo, "it is a pipe"}}) {
        const CliResult r = runCli({"info", path.string()});
        EXPECT_EQ(r.status, 2);
        EXPECT_NE(r.err.find(expected), std::string::npos) << r.err;
    }
    fs::remove(folder);
    fs::remove(fifo);

    auto bytes = bytesOf(demoPath());
    bytes.insert(bytes.end(), {'T', 'A', 'I', 'L', 0});
    const fs::path tail = tempFile("tail.wad");
    const fs::path out = tempFile("tail-out.wad");
    writeFileSafely(tail, bytes);
    const CliResult check = runCli({"check", tail.string()});
    EXPECT_EQ(check.status, 1);
    EXPECT_NE(check.out.find("5 bytes after the statics section"), std::string::npos) << check.out;
    ASSERT_EQ(runCli({"resave", tail.string(), out.string()}).status, 0);
    EXPECT_EQ(bytesOf(out), bytes);
    fs::remove(tail);
    fs::remove(out);
}
