#include "texture_test_support.h"
#include "textures/texture_numbers.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace kavlen;
using kavlen::test::addSample;
using kavlen::test::makeAtlasPackage;

namespace {

void addFaces(Package& wad,
              const std::vector<std::pair<std::uint16_t, std::uint16_t>>& shapeAndWord) {
    Mesh& mesh = wad.appendMeshSlot();
    for (auto [shape, word] : shapeAndWord) {
        MeshFace& f = mesh.faces[mesh.faceCount++];
        f.shape = shape;
        f.texture = word;
    }
    wad.meshCount = static_cast<std::uint16_t>(wad.meshes.size());
}

// Meshes: 0 uses sample 5 twice (a mirrored triangle and a mirrored quad),
// 1 has no faces, 2 uses sample 3 only, 3 uses sample 5 once in face 2.
std::unique_ptr<Package> makeNumberedPackage() {
    auto wad = makeAtlasPackage(1);
    for (int i = 0; i < 8; ++i)
        addSample(*wad, 0, i * 10, 0, 8, 8);
    addFaces(*wad, {{kShapeTriangle, 0x9005}, {kShapeQuad, 0xFFFB}, {kShapeQuad, 3}});
    addFaces(*wad, {});
    addFaces(*wad, {{kShapeTriangle, 3}});
    addFaces(*wad, {{kShapeQuad, 4}, {kShapeTriangle, 0x6004}, {kShapeTriangle, 0x2005}});
    return wad;
}

} // namespace

TEST(SampleNumbers, SwapExchangesTheRecordsAndNothingElse) {
    auto wad = makeNumberedPackage();
    const TexInfo three = wad->texInfos[3], five = wad->texInfos[5];
    const std::vector<Mesh> meshes = wad->meshes;
    const SwapResult r = swapTextureNumbers(*wad, 3, 5);
    ASSERT_TRUE(r.swapped);
    EXPECT_EQ(r.rebuild, (std::vector<int>{5, 3}));
    EXPECT_EQ(wad->texInfos[3].x, five.x);
    EXPECT_EQ(wad->texInfos[5].x, three.x);
    for (std::size_t m = 0; m < meshes.size(); ++m)
        for (int f = 0; f < meshes[m].faceCount; ++f)
            EXPECT_EQ(wad->meshes[m].faces[f].texture, meshes[m].faces[f].texture);
}

TEST(SampleNumbers, SwapRefusesSampleZeroTheSameSampleAndMissingSamples) {
    auto wad = makeNumberedPackage();
    const auto before = wad->texInfos;
    EXPECT_FALSE(swapAllowed(*wad, 0, 5));
    EXPECT_FALSE(swapAllowed(*wad, 5, 0));
    EXPECT_FALSE(swapAllowed(*wad, 4, 4));
    EXPECT_FALSE(swapAllowed(*wad, 4, 8));
    EXPECT_TRUE(swapAllowed(*wad, 4, 7));
    EXPECT_FALSE(swapTextureNumbers(*wad, 0, 5).swapped);
    EXPECT_FALSE(swapTextureNumbers(*wad, 5, 5).swapped);
    EXPECT_FALSE(swapTextureNumbers(*wad, 5, 99).swapped);
    EXPECT_EQ(std::memcmp(before.data(), wad->texInfos.data(), sizeof(TexInfo) * 8), 0);
}

TEST(SampleNumbers, FindFirstCountsTrianglesAndMirroredQuads) {
    const auto wad = makeNumberedPackage();
    FindState state;
    const FindFirstResult r = findFirst(*wad, state, 5);
    ASSERT_TRUE(r.ran);
    EXPECT_EQ(r.total, 3);
    EXPECT_EQ(r.status, "Used by 3 faces in the wad.");
    EXPECT_EQ(r.meshLines,
              (std::vector<std::string>{"Mesh#0  (2 of 3 faces)", "Mesh#3  (1 of 3 faces)"}));
    EXPECT_EQ(r.found, (FaceRef{0, 0}));
    EXPECT_EQ(r.foundLine, "Mesh#0 Poly#0");
    EXPECT_TRUE(r.findNextEnabled);
    EXPECT_EQ(state.searched, 5);

    FindNextResult next = findNext(*wad, state, 5);
    EXPECT_EQ(next.line, "Mesh#0 Poly#1");
    next = findNext(*wad, state, 5); // passes the empty mesh 1 and mesh 2
    EXPECT_EQ(next.found, (FaceRef{3, 2}));
    EXPECT_EQ(next.line, "Mesh#3 Poly#2");
    EXPECT_TRUE(next.findNextEnabled);
    next = findNext(*wad, state, 5);
    EXPECT_FALSE(next.found);
    EXPECT_EQ(next.line, "No more found.");
    EXPECT_FALSE(next.findNextEnabled);
}

TEST(SampleNumbers, SingleUseAndNoUse) {
    const auto wad = makeNumberedPackage();
    FindState state;
    FindFirstResult r = findFirst(*wad, state, 4);
    EXPECT_EQ(r.status, "Used by 2 faces in the wad.");
    r = findFirst(*wad, state, 3);
    EXPECT_EQ(r.status, "Used by 2 faces in the wad.");
    EXPECT_EQ(r.meshLines,
              (std::vector<std::string>{"Mesh#0  (1 of 3 faces)", "Mesh#2  (1 of 1 faces)"}));

    auto single = makeNumberedPackage();
    single->meshes[3].faces[2].texture = 7;
    r = findFirst(*single, state, 7);
    EXPECT_EQ(r.status, "Used by 1 face in the wad.");
    EXPECT_EQ(r.meshLines, (std::vector<std::string>{"Mesh#3  (1 of 3 faces)"}));
    EXPECT_FALSE(r.findNextEnabled);

    r = findFirst(*wad, state, 6);
    EXPECT_EQ(r.total, 0);
    EXPECT_EQ(r.status, "Used by 0 faces in the wad.");
    EXPECT_EQ(r.meshLines, (std::vector<std::string>{"Not used."}));
    EXPECT_FALSE(r.found);
    EXPECT_TRUE(r.foundLine.empty());
    EXPECT_FALSE(r.findNextEnabled);
}

TEST(SampleNumbers, NothingToFindWithoutTheSample) {
    auto wad = makeAtlasPackage(1);
    addFaces(*wad, {{kShapeQuad, 0}});
    FindState state;
    EXPECT_FALSE(findFirst(*wad, state, 0).ran);
    EXPECT_EQ(state.searched, -1);
    EXPECT_FALSE(findNext(*wad, state, 0).ran);
    EXPECT_FALSE(swapTextureNumbers(*wad, 1, 2).swapped);
}
