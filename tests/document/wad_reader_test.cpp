#include "document/package.h"
#include "package_bytes.h"

#include <gtest/gtest.h>

using namespace kavlen;
using namespace kavlen::test;

namespace {

LoadResult load(Package& wad, const std::vector<std::uint8_t>& bytes) {
    return loadWadFromBytes(wad, bytes.data(), bytes.size());
}

} // namespace

TEST(WadReader, WrongVersionIsRefusedAndLeavesTheDocument) {
    Package wad;
    PackageSpec spec;
    ASSERT_TRUE(load(wad, buildPackage(spec)).ok());
    wad.texInfoCount = 7; // marks the document

    for (std::uint32_t version : {0u, 128u, 131u, 0xFFFFFFFFu}) {
        spec.version = version;
        const LoadResult r = load(wad, buildPackage(spec));
        EXPECT_EQ(r.status, LoadResult::WrongVersion);
        EXPECT_EQ(r.message, "Invalid Tomb Raider File Format!!");
        EXPECT_EQ(wad.version, 129u);
        EXPECT_EQ(wad.texInfoCount, 7u);
    }
    spec.version = 130;
    ASSERT_TRUE(load(wad, buildPackage(spec)).ok());
    EXPECT_EQ(wad.version, 130u);
}

TEST(WadReader, EmptyPackage) {
    Package wad;
    ASSERT_TRUE(load(wad, buildPackage({})).ok());
    EXPECT_EQ(wad.meshCount, 0);
    EXPECT_EQ(wad.directory.count(), 0);
    EXPECT_EQ(wad.meshUsage.size(), 1u);
    EXPECT_EQ(wad.addedMeshCount, 0);
    EXPECT_EQ(wad.objectMeshCount, 1);
}

TEST(WadReader, MeshSizesPaddingAndLightingData) {
    PackageSpec spec;
    MeshSpec triangle = smallTriangleMesh(); // 52 bytes
    MeshSpec quad = triangle;                // one quad: 14 + 2 padding = 56 bytes
    quad.faces = {{9, {0, 1, 2, 1}, 4, 0}};
    MeshSpec twoQuads = triangle; // even number of quads: no padding
    twoQuads.faces = {{9, {0, 1, 2, 0}, 1, 0}, {9, {2, 1, 0, 0}, 2, 0}};
    MeshSpec noLight = triangle;
    noLight.normalCount = 0;
    noLight.normalsOrShades.clear();
    MeshSpec normals = triangle;
    normals.normalCount = 3;
    normals.normalsOrShades = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    spec.meshes = {triangle, quad, twoQuads, noLight, normals};
    spec.pointers = {0, 52, 52 + 56, 52 + 56 + 68, 52 + 56 + 68 + 46};
    spec.moveables = moveableBytes(1, 5, 0);

    Package wad;
    ASSERT_TRUE(load(wad, buildPackage(spec)).ok());
    ASSERT_EQ(wad.meshCount, 5);
    EXPECT_EQ(wad.meshes[0].fileSize(), 52u);
    EXPECT_EQ(wad.meshes[1].fileSize(), 56u);
    EXPECT_EQ(wad.meshes[2].fileSize(), 68u);
    EXPECT_EQ(wad.meshes[3].fileSize(), 46u);
    EXPECT_EQ(wad.meshes[0].shades[2], 3);
    EXPECT_EQ(wad.meshes[1].faces[0].vertexIndex[3], 1);
    EXPECT_EQ(wad.meshes[4].normals[2].z, 9);
    EXPECT_EQ(wad.meshes[0].faces[0].vertexIndex[3], 0); // a triangle's fourth index untouched
    EXPECT_EQ(wad.meshes[0].faces[0].visible, 1);
    for (int k = 1; k < 5; ++k)
        EXPECT_EQ(wad.pointerMeshIndex[k], k);
}

TEST(WadReader, AtlasIsHeldBlueGreenRed) {
    PackageSpec spec;
    spec.atlas.resize(kPageBytes);
    for (std::size_t i = 0; i < spec.atlas.size(); ++i)
        spec.atlas[i] = static_cast<std::uint8_t>(10 * (i % 3 + 1) + i / 3 % 7);
    Package wad;
    ASSERT_TRUE(load(wad, buildPackage(spec)).ok());
    EXPECT_EQ(wad.pageCount(), 1);
    EXPECT_EQ(wad.textureData[0], spec.atlas[2]);
    EXPECT_EQ(wad.textureData[1], spec.atlas[1]);
    EXPECT_EQ(wad.textureData[2], spec.atlas[0]);
    EXPECT_EQ(wad.textureData[kPageBytes - 3], spec.atlas[kPageBytes - 1]);
}

TEST(MeshDirectory, SharedOffsetsAndZeroPointers) {
    Package wad;
    wad.meshPointerCount = 4;
    wad.meshPointers[0] = 0;
    wad.meshPointers[1] = 500;
    wad.meshPointers[2] = 500;
    wad.meshPointers[3] = 1200;
    ASSERT_TRUE(buildMeshDirectory(wad));
    EXPECT_EQ(wad.directory.count(), 2);
    EXPECT_EQ(wad.pointerMeshIndex[0], 0);
    EXPECT_EQ(wad.pointerMeshIndex[1], 1);
    EXPECT_EQ(wad.pointerMeshIndex[2], 1);
    EXPECT_EQ(wad.pointerMeshIndex[3], 2);
    EXPECT_EQ(lookupMeshOffset(wad.directory, 500), 1);
    EXPECT_EQ(lookupMeshOffset(wad.directory, 1200), 2);
    EXPECT_EQ(lookupMeshOffset(wad.directory, 0), 0);
    EXPECT_EQ(lookupMeshOffset(wad.directory, 777), 0);
}

TEST(MeshDirectory, TooManyDistinctOffsetsAreReported) {
    Package wad;
    wad.meshPointerCount = 1001;
    for (std::uint32_t i = 0; i < 1001; ++i)
        wad.meshPointers[i] = 2 * (i + 1);
    EXPECT_FALSE(buildMeshDirectory(wad));
    EXPECT_EQ(wad.directory.count(), kMaxDirectoryEntries);
}

TEST(MeshUsage, MoveablesCountOncePerMeshAndStaticsAddUp) {
    Package wad;
    wad.meshPointerCount = 5;
    const std::uint32_t pointers[] = {0, 100, 100, 200, 300}; // meshes 0, 1, 1, 2, 3
    std::copy(std::begin(pointers), std::end(pointers), wad.meshPointers.begin());
    buildMeshDirectory(wad);
    Moveable m;
    m.firstPointer = 0;
    m.pointerCount = 3; // refers to mesh 1 twice
    wad.moveables = {m};
    StaticMesh s;
    s.pointerIndex = 3; // two statics on mesh 2
    wad.statics = {s, s};
    computeMeshUsage(wad);

    ASSERT_EQ(wad.directory.count(), 3);
    EXPECT_EQ(wad.meshUsage[0].userCount, 1);
    EXPECT_EQ(wad.meshUsage[1].userCount, 1);
    EXPECT_EQ(wad.meshUsage[2].userCount, 2);
    EXPECT_EQ(wad.meshUsage[3].userCount, 0);
    EXPECT_EQ(wad.staticMeshIndex, (std::vector<std::uint32_t>{2, 2}));
    EXPECT_EQ(wad.addedMeshCount, 1);
    EXPECT_EQ(wad.objectMeshCount, 3);
}

TEST(MeshUsage, ThreeAddedOfTenGiveObjectMeshCountEight) {
    Package wad;
    wad.meshPointerCount = 11;
    for (std::uint32_t i = 1; i <= 10; ++i)
        wad.meshPointers[i] = 100 * i;
    buildMeshDirectory(wad);
    Moveable m;
    m.firstPointer = 0;
    m.pointerCount = 8; // meshes 0..7 used; 8, 9, 10 added
    wad.moveables = {m};
    computeMeshUsage(wad);
    EXPECT_EQ(wad.addedMeshCount, 3);
    EXPECT_EQ(wad.objectMeshCount, 8);
}

TEST(WadReader, OutOfRangeReferencesAreKeptAndHarmless) {
    PackageSpec spec;
    MeshSpec bad = smallTriangleMesh();
    bad.faces = {{8, {0, 1, 999}, 4000, 0}};
    spec.meshes = {smallTriangleMesh(), bad};
    spec.pointers = {0, 52, 26};        // 26 starts no mesh
    auto mv = moveableBytes(1, 500, 1); // range far beyond the table
    auto st = staticBytes(2, 1900);     // pointer index beyond the table
    spec.moveables = mv;
    spec.statics = st;

    Package wad;
    ASSERT_TRUE(load(wad, buildPackage(spec)).ok());
    EXPECT_EQ(wad.meshSlotOfStatic(0), -1);
    EXPECT_EQ(wad.staticMeshIndex[0], kNoMeshSlot);
    EXPECT_EQ(wad.meshSlotOfPointer(2), -1); // mesh index 2 names no slot
    EXPECT_EQ(wad.pointerRange(0), (std::pair<std::size_t, std::size_t>{1, 3}));
    EXPECT_EQ(wad.meshes[1].faces[0].vertexIndex[2], 999);

    // A save writes the odd values back unchanged.
    std::array<std::uint32_t, kMaxMeshPointers> pointers{};
    std::uint32_t words = 0;
    const auto bytes = serializeWad(wad, pointers, words);
    EXPECT_EQ(bytes, buildPackage(spec));
}

TEST(WadReader, CountsBeyondCapacitiesAreRefusedWithWhere) {
    struct Case {
        const char* name;
        PackageSpec spec;
        const char* expected;
    };
    std::vector<Case> cases;
    {
        PackageSpec p;
        p.texInfos.assign(8 * 4097, 0);
        cases.push_back({"samples", p, "Texture sample count 4097 exceeds"});
    }
    {
        PackageSpec p;
        p.pointers.assign(2001, 0);
        cases.push_back({"pointers", p, "Mesh pointer count 2001 exceeds"});
    }
    {
        PackageSpec p;
        MeshSpec m;
        m.vertexXyz.assign(3 * 1501, 1);
        p.meshes = {m};
        cases.push_back({"vertices", p, "Vertex count 1501 exceeds"});
    }
    {
        PackageSpec p;
        MeshSpec m = smallTriangleMesh();
        m.normalCount = -1501;
        p.meshes = {m};
        cases.push_back({"shades", p, "Shade count 1501 exceeds"});
    }
    {
        PackageSpec p;
        MeshSpec m = smallTriangleMesh();
        m.faces.assign(1501, m.faces[0]);
        p.meshes = {m};
        cases.push_back({"faces", p, "Face count 1501 exceeds"});
    }
    {
        PackageSpec p;
        MeshSpec m;
        p.meshes.assign(1001, m);
        cases.push_back({"meshes", p, "More than 1000 meshes"});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Package wad;
        const LoadResult r = load(wad, buildPackage(c.spec));
        EXPECT_EQ(r.status, LoadResult::Failed);
        EXPECT_NE(r.message.find(c.expected), std::string::npos) << r.message;
        EXPECT_NE(r.message.find("byte offset"), std::string::npos) << r.message;
        EXPECT_FALSE(wad.isLoaded());
    }
}

TEST(WadReader, TruncatedFileNamesSectionAndOffset) {
    PackageSpec spec;
    spec.meshes = {smallTriangleMesh()};
    auto bytes = buildPackage(spec);
    bytes.resize(16 + 4 + 4 + 10); // inside the first mesh's header
    Package wad;
    const LoadResult r = load(wad, bytes);
    EXPECT_EQ(r.status, LoadResult::Failed);
    EXPECT_NE(r.message.find("mesh data"), std::string::npos) << r.message;
}

TEST(WadReader, MissingFileIsAFailureWithMessage) {
    Package wad;
    const LoadResult r = loadWad(wad, "/nonexistent/folder/x.wad");
    EXPECT_EQ(r.status, LoadResult::Failed);
    EXPECT_FALSE(r.message.empty());
}
