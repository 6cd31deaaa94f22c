#include "document/demo_package.h"
#include "document/package.h"
#include "document/safe_write.h"
#include "package_bytes.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace kavlen;
using namespace kavlen::test;
namespace fs = std::filesystem;

namespace {

std::vector<std::uint8_t> serialize(const Package& wad) {
    std::array<std::uint32_t, kMaxMeshPointers> pointers{};
    std::uint32_t words = 0;
    return serializeWad(wad, pointers, words);
}

std::vector<std::uint8_t> readFile(const fs::path& path) {
    std::vector<std::uint8_t> bytes;
    std::string message;
    EXPECT_TRUE(readWholeFile(path, bytes, message)) << message;
    return bytes;
}

struct TempDir {
    fs::path path;
    TempDir() {
        path = fs::temp_directory_path() /
               ("kavlen-test-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(path);
        fs::create_directories(path);
    }
    ~TempDir() { fs::remove_all(path); }
};

} // namespace

TEST(WadWriter, DemoPackageRoundTripsByteForByte) {
    const fs::path demo = fs::path(KAVLEN_SAMPLES_DIR) / "demo.wad";
    const auto original = readFile(demo);
    Package wad;
    ASSERT_TRUE(loadWad(wad, demo).ok());
    EXPECT_EQ(serialize(wad), original);

    TempDir dir;
    ASSERT_TRUE(saveWad(wad, dir.path / "a.wad").ok);
    ASSERT_TRUE(saveWad(wad, dir.path / "b.wad").ok); // a second save writes the same bytes
    EXPECT_EQ(readFile(dir.path / "a.wad"), original);
    EXPECT_EQ(readFile(dir.path / "b.wad"), original);
}

TEST(WadWriter, GeneratedDemoEqualsTheCommittedOne) {
    auto wad = makeDemoPackage();
    EXPECT_EQ(serialize(*wad), readFile(fs::path(KAVLEN_SAMPLES_DIR) / "demo.wad"));
}

TEST(WadWriter, HandBuiltPackagesRoundTrip) {
    PackageSpec spec;
    spec.texInfos = {1, 2, 0, 0, 0xFF, 31, 0xFF, 15};
    spec.atlas.assign(kPageBytes, 0);
    for (std::size_t i = 0; i < spec.atlas.size(); ++i)
        spec.atlas[i] = static_cast<std::uint8_t>(i * 7);
    MeshSpec mixed = smallTriangleMesh(); // 2 triangles and 1 quad: 40 bytes of faces
    mixed.faces = {
        {8, {0, 1, 2}, 0x6001, 3}, {8, {2, 1, 0}, 0x8001, 0x1FF}, {9, {0, 1, 2, 0}, 0xFFFF, 2}};
    MeshSpec fiveShades = smallTriangleMesh();
    fiveShades.vertexXyz.resize(15, 7);
    fiveShades.normalCount = -5;
    fiveShades.normalsOrShades = {1, 2, 3, 4, 8191};
    spec.meshes = {smallTriangleMesh(), mixed, fiveShades};
    spec.pointers = {0, 52, 0, 52, 52 + 80};
    spec.moveables = moveableBytes(3, 3, 0);
    spec.statics = staticBytes(5, 4);
    spec.animationCount = 2;
    const auto bytes = buildPackage(spec);

    Package wad;
    ASSERT_TRUE(loadWadFromBytes(wad, bytes.data(), bytes.size()).ok());
    EXPECT_EQ(wad.meshes[1].fileSize(), 14u + 18 + 6 + 2 + 38 + 2); // faces, then padding
    EXPECT_EQ(serialize(wad), bytes);
}

TEST(WadWriter, WritesOnlyTheActiveLightingArray) {
    Package wad;
    wad.version = 129;
    Mesh& mesh = wad.appendMeshSlot();
    mesh.vertexCount = 0;
    mesh.normalCount = -5;
    mesh.normals[0] = {9, 9, 9}; // must not be written
    for (int i = 0; i < 5; ++i)
        mesh.shades[i] = static_cast<std::int16_t>(100 + i);
    EXPECT_EQ(mesh.fileSize(), 14u + 10 + 2);
    const auto bytes = serialize(wad);
    Package back;
    ASSERT_TRUE(loadWadFromBytes(back, bytes.data(), bytes.size()).ok());
    EXPECT_EQ(back.meshes[0].normalCount, -5);
    EXPECT_EQ(back.meshes[0].shades[4], 104);
    EXPECT_EQ(back.meshes[0].normals[0].x, 0);
}

TEST(WadWriter, PointersFollowTheirMeshesAndAddedMeshGoesLast) {
    auto wad = makeDemoPackage();
    // Grow mesh 1 by one triangle: every later mesh moves by 12 bytes.
    Mesh& m1 = wad->meshes[1];
    m1.faces[m1.faceCount] = m1.faces[0];
    const int grownFaceCount = ++m1.faceCount;
    const auto before = wad->meshPointers;
    const std::uint16_t index1 = wad->pointerMeshIndex[1];

    // An empty mesh appended with a new pointer and directory entry.
    Mesh& added = wad->appendMeshSlot();
    (void)added;
    const std::uint32_t placeholder = 0x7FFFFFF0;
    wad->meshPointers[wad->meshPointerCount++] = placeholder;
    wad->directory.entries.push_back({placeholder, static_cast<std::uint16_t>(wad->meshCount - 1)});

    TempDir dir;
    ASSERT_TRUE(saveWad(*wad, dir.path / "out.wad").ok);
    for (std::size_t i = 0; i + 1 < wad->meshPointerCount; ++i) {
        if (before[i] == 0)
            EXPECT_EQ(wad->meshPointers[i], 0u);
        else if (wad->pointerMeshIndex[i] > index1)
            EXPECT_EQ(wad->meshPointers[i], before[i] + 12) << "pointer " << i;
        else
            EXPECT_EQ(wad->meshPointers[i], before[i]) << "pointer " << i;
    }
    // The new mesh starts right after the previous last one and takes 16 bytes.
    std::uint32_t end = 0;
    for (std::size_t k = 0; k + 1 < wad->meshCount; ++k)
        end += static_cast<std::uint32_t>(wad->meshes[k].fileSize());
    EXPECT_EQ(wad->meshPointers[wad->meshPointerCount - 1], end);
    EXPECT_EQ(wad->meshDataWords, (end + 16) / 2);

    Package back;
    ASSERT_TRUE(loadWad(back, dir.path / "out.wad").ok());
    EXPECT_EQ(back.meshCount, wad->meshCount);
    EXPECT_EQ(back.meshes[1].faceCount, grownFaceCount);
    EXPECT_EQ(back.meshPointers, wad->meshPointers);
    EXPECT_EQ(back.pointerMeshIndex, wad->pointerMeshIndex);
}

TEST(WadWriter, FailedSaveKeepsOldFileAndDocument) {
    TempDir dir;
    auto wad = makeDemoPackage();
    const fs::path target = dir.path / "keep.wad";
    ASSERT_TRUE(saveWad(*wad, target).ok);
    const auto old = readFile(target);

    // Change the mesh sizes so that a successful save would move the pointers.
    wad->meshes[0].faceCount = 2;
    const auto pointers = wad->meshPointers;
    const auto words = wad->meshDataWords;

    // The target's folder vanished.
    SaveResult r = saveWad(*wad, dir.path / "missing" / "x.wad");
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.message.empty());
    // The target is a folder that cannot be replaced.
    fs::create_directories(dir.path / "folder.wad" / "inside");
    r = saveWad(*wad, dir.path / "folder.wad");
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(fs::is_directory(dir.path / "folder.wad" / "inside"));

    EXPECT_EQ(wad->meshPointers, pointers);
    EXPECT_EQ(wad->meshDataWords, words);
    EXPECT_EQ(readFile(target), old);
    // No temporary files are left behind.
    int files = 0;
    for (const auto& e : fs::directory_iterator(dir.path))
        files += e.is_regular_file();
    EXPECT_EQ(files, 1);
}

TEST(SafeWrite, StreamFailingHalfWayKeepsTheOldFile) {
    TempDir dir;
    const fs::path target = dir.path / "file.bin";
    const std::vector<std::uint8_t> old = {1, 2, 3, 4};
    ASSERT_TRUE(writeFileSafely(target, old).ok);

    WriteResult r = writeFileSafely(target, [](std::ostream& out) {
        out << "half of the content";
        out.setstate(std::ios::badbit); // the device fails here
        out << "the rest";
        return true;
    });
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(readFile(target), old);

    r = writeFileSafely(target, [](std::ostream& out) {
        out << "partial";
        throw std::runtime_error("disk full");
        return true;
    });
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.message.find("disk full"), std::string::npos);
    EXPECT_EQ(readFile(target), old);

    r = writeFileSafely(target, [](std::ostream& out) {
        out << "new";
        return true;
    });
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(readFile(target), (std::vector<std::uint8_t>{'n', 'e', 'w'}));
}

// File names are UTF-8 everywhere: a package saves, replaces and loads under a
// name outside ASCII, and messages show the name as it was given.
TEST(SafeWrite, NonAsciiNamesSaveReplaceAndLoad) {
    TempDir dir;
    const std::string folder = "Dateien \xC3\xA4\xC3\xB6\xC3\xBC"; // "Dateien äöü"
    const std::string name = "d\xC3\xA9mo \xE2\x9C\x93.wad";       // "démo ✓.wad"
    const auto utf8Path = [](const std::string& s) {
        return fs::path(std::u8string(s.begin(), s.end()));
    };
    const fs::path target = dir.path / utf8Path(folder) / utf8Path(name);
    fs::create_directories(target.parent_path());
    auto wad = makeDemoPackage();
    ASSERT_TRUE(saveWad(*wad, target).ok);
    wad->meshes[0].vertices[0].x += 1;
    const SaveResult replaced = saveWad(*wad, target); // over the existing file
    ASSERT_TRUE(replaced.ok) << replaced.message;
    Package back;
    ASSERT_TRUE(loadWad(back, target).ok());
    EXPECT_EQ(back.meshes[0].vertices[0].x, wad->meshes[0].vertices[0].x);
    EXPECT_EQ(std::distance(fs::directory_iterator(target.parent_path()), {}), 1);

    const std::string missing = "fehlt \xE2\x9C\x93.wad"; // "fehlt ✓.wad"
    const LoadResult r = loadWad(back, target.parent_path() / utf8Path(missing));
    EXPECT_FALSE(r.ok());
    EXPECT_NE(r.message.find(folder), std::string::npos) << r.message;
    EXPECT_NE(r.message.find(missing), std::string::npos) << r.message;
}
