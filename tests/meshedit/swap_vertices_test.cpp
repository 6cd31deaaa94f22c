#include "document/demo_package.h"
#include "meshedit/swap_vertices.h"
#include "test_package.h"

#include <gtest/gtest.h>

namespace kavlen {
namespace {

using test::sameMesh;
using test::sameVertex;

// Every face drawn at the same points, corner by corner.
void expectSameShape(const Mesh& a, const Mesh& b) {
    ASSERT_EQ(a.faceCount, b.faceCount);
    for (int f = 0; f < a.faceCount; ++f) {
        for (int c = 0; c < a.faces[f].cornerCount(); ++c) {
            EXPECT_TRUE(sameVertex(a.vertices[a.faces[f].vertexIndex[c]],
                                   b.vertices[b.faces[f].vertexIndex[c]]))
                << "face " << f << " corner " << c;
            EXPECT_TRUE(sameVertex(a.normals[a.faces[f].vertexIndex[c]],
                                   b.normals[b.faces[f].vertexIndex[c]]));
        }
    }
}

TEST(SwapVertices, KeepsTheShapeAndTwiceRestoresTheMesh) {
    auto wad = makeDemoPackage();
    const Mesh before = wad->meshes[0]; // cube: vertices 2 and 5 are both used
    const MeshEditResult r = swapVertices(*wad, 0, 2, 5);
    EXPECT_TRUE(r.changed);
    EXPECT_EQ(r.messages, (Messages{{MessageKind::Status, "Vertex 2 changed to 5"}}));
    const Mesh& m = wad->meshes[0];
    EXPECT_TRUE(sameVertex(m.vertices[2], before.vertices[5]));
    EXPECT_TRUE(sameVertex(m.vertices[5], before.vertices[2]));
    EXPECT_TRUE(sameVertex(m.normals[2], before.normals[5]));
    expectSameShape(m, before);
    ASSERT_TRUE(swapVertices(*wad, 0, 2, 5).changed);
    EXPECT_TRUE(sameMesh(wad->meshes[0], before));
}

TEST(SwapVertices, StaticLightingSwapsShadesNotNormals) {
    auto wad = makeDemoPackage();
    Mesh& m = wad->meshes[10];
    ASSERT_LT(m.normalCount, 0);
    m.shades[1] = 111;
    m.shades[6] = 666;
    m.normals[1] = {1, 1, 1};
    ASSERT_TRUE(swapVertices(*wad, 10, 1, 6).changed);
    EXPECT_EQ(m.shades[1], 666);
    EXPECT_EQ(m.shades[6], 111);
    EXPECT_TRUE(sameVertex(m.normals[1], {1, 1, 1}));
}

TEST(SwapVertices, TrianglesLookAtThreeIndicesQuadsAtFour) {
    auto wad = test::makeBarePackage();
    const int slot = test::addMesh(*wad, {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}, {2, 2, 2}});
    Mesh& m = wad->meshes[slot];
    test::addTriangle(m, 0, 1, 2).vertexIndex[3] = 3; // leftover fourth index
    test::addQuad(m, 0, 1, 3, 2);
    ASSERT_TRUE(swapVertices(*wad, slot, 3, 4).changed);
    EXPECT_EQ(m.faces[0].vertexIndex, (std::array<std::uint16_t, 4>{0, 1, 2, 3}));
    EXPECT_EQ(m.faces[1].vertexIndex, (std::array<std::uint16_t, 4>{0, 1, 4, 2}));
}

TEST(SwapVertices, RefusesEqualOrOutOfRangeIndicesAndMissingMeshes) {
    auto wad = makeDemoPackage();
    const Mesh before = wad->meshes[1]; // five vertices
    EXPECT_TRUE(canSwapVertices(*wad, 1, 0, 4));
    for (auto [a, b] : {std::pair{2, 2}, {0, 5}, {-1, 3}, {5, 0}}) {
        EXPECT_FALSE(canSwapVertices(*wad, 1, a, b));
        const MeshEditResult r = swapVertices(*wad, 1, a, b);
        EXPECT_FALSE(r.changed);
        EXPECT_TRUE(r.messages.empty());
    }
    EXPECT_TRUE(sameMesh(wad->meshes[1], before));
    EXPECT_FALSE(swapVertices(*wad, -1, 0, 1).changed);
    EXPECT_FALSE(swapVertices(*wad, 13, 0, 1).changed);
}

} // namespace
} // namespace kavlen
