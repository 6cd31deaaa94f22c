#include "document/bounds.h"
#include "document/demo_package.h"
#include "meshedit/move_mesh.h"
#include "test_package.h"

#include <gtest/gtest.h>

namespace kavlen {
namespace {

using test::addMesh;
using test::addStatic;
using test::sameMesh;

// Demo package: mesh 10 belongs to static 0, mesh 11 to static 1, mesh 0 to no static.
TEST(MoveMesh, StaticMeshCarriesBothBoxesAndKeepsItsSphere) {
    auto wad = makeDemoPackage();
    const Mesh before = wad->meshes[10];
    const StaticMesh st = wad->statics[0];
    const MeshEditResult r = moveMesh(*wad, 10, 5, -7, 300);
    EXPECT_TRUE(r.changed);
    EXPECT_TRUE(r.boundsChanged);
    EXPECT_TRUE(r.messages.empty());
    const Mesh& after = wad->meshes[10];
    for (std::size_t i = 0; i < kMaxMeshVertices; ++i) {
        EXPECT_EQ(after.vertices[i].x, std::int16_t(before.vertices[i].x + 5));
        EXPECT_EQ(after.vertices[i].y, std::int16_t(before.vertices[i].y - 7));
        EXPECT_EQ(after.vertices[i].z, std::int16_t(before.vertices[i].z + 300));
    }
    EXPECT_EQ(after.sphereX, before.sphereX);
    EXPECT_EQ(after.sphereY, before.sphereY);
    EXPECT_EQ(after.sphereZ, before.sphereZ);
    const int delta[3] = {5, -7, 300};
    for (int k = 0; k < 6; ++k) {
        EXPECT_EQ(wad->statics[0].visibilityBox[k], st.visibilityBox[k] + delta[k / 2]);
        EXPECT_EQ(wad->statics[0].collisionBox[k], st.collisionBox[k] + delta[k / 2]);
    }
    EXPECT_EQ(wad->statics[1].visibilityBox, makeDemoPackage()->statics[1].visibilityBox);
}

TEST(MoveMesh, MeshWithoutStaticCarriesItsSphereCentre) {
    auto wad = makeDemoPackage();
    const Mesh before = wad->meshes[0];
    const auto statics = wad->statics;
    ASSERT_TRUE(shiftMeshAxis(*wad, 0, -40, Axis::Z).changed);
    EXPECT_EQ(wad->meshes[0].sphereZ, before.sphereZ - 40);
    EXPECT_EQ(wad->meshes[0].sphereX, before.sphereX);
    EXPECT_EQ(wad->meshes[0].sphereRadius, before.sphereRadius);
    EXPECT_EQ(wad->meshes[0].vertices[0].z, before.vertices[0].z - 40);
    EXPECT_EQ(wad->meshes[0].vertices[0].x, before.vertices[0].x);
    for (std::size_t s = 0; s < statics.size(); ++s)
        EXPECT_EQ(wad->statics[s].collisionBox, statics[s].collisionBox);
}

TEST(MoveMesh, StaticsSharingTheMeshAllFollowIt) {
    auto wad = test::makeBarePackage();
    const int slot = addMesh(*wad, {{0, 0, 0}, {10, 20, 30}});
    addStatic(*wad, slot, {0, 10, 0, 20, 0, 30}, {1, 9, 1, 19, 1, 29});
    addStatic(*wad, slot, {-5, 15, 0, 20, 0, 30}, {0, 0, 0, 0, 0, 0});
    ASSERT_TRUE(shiftMeshAxis(*wad, slot, 100, Axis::X).changed);
    EXPECT_EQ(wad->statics[0].visibilityBox, (std::array<std::int16_t, 6>{100, 110, 0, 20, 0, 30}));
    EXPECT_EQ(wad->statics[0].collisionBox, (std::array<std::int16_t, 6>{101, 109, 1, 19, 1, 29}));
    EXPECT_EQ(wad->statics[1].visibilityBox, (std::array<std::int16_t, 6>{95, 115, 0, 20, 0, 30}));
    EXPECT_EQ(wad->statics[1].collisionBox, (std::array<std::int16_t, 6>{100, 100, 0, 0, 0, 0}));
}

TEST(MoveMesh, ArrowsStepByOneOr128AndYRunsDown) {
    EXPECT_EQ(moveArrowDelta(Axis::X, true, false), 1);
    EXPECT_EQ(moveArrowDelta(Axis::X, false, true), -128);
    EXPECT_EQ(moveArrowDelta(Axis::Y, true, true), -128);
    EXPECT_EQ(moveArrowDelta(Axis::Y, false, false), 1);
    EXPECT_EQ(moveArrowDelta(Axis::Z, true, true), 128);
    EXPECT_EQ(moveArrowDelta(Axis::Z, false, false), -1);

    auto wad = makeDemoPackage();
    const Mesh before = wad->meshes[3];
    ASSERT_TRUE(moveMeshByArrow(*wad, 3, Axis::Y, true, true).changed);
    for (int i = 0; i < before.vertexCount; ++i)
        EXPECT_EQ(wad->meshes[3].vertices[i].y, before.vertices[i].y - 128);
    EXPECT_EQ(wad->meshes[3].sphereY, before.sphereY - 128);
}

TEST(MoveMesh, ShiftPutsTheChosenBoundOnTheValue) {
    auto wad = makeDemoPackage();
    auto extents = [&](int slot) { return *meshExtents(wad->meshes[slot]); };

    ASSERT_TRUE(shiftMeshToBound(*wad, 0, MeshBound::HighZ, 0, false).changed);
    EXPECT_EQ(extents(0)[5], 0);
    EXPECT_EQ(extents(0)[4], -512); // the cube keeps its size
    ASSERT_TRUE(shiftMeshToBound(*wad, 0, MeshBound::HighZ, 2, true).changed);
    EXPECT_EQ(extents(0)[5], 256);
    // "Low Y" is the smallest y: the top of the mesh.
    ASSERT_TRUE(shiftMeshToBound(*wad, 1, MeshBound::LowY, -1000, false).changed);
    EXPECT_EQ(extents(1)[2], -1000);
    EXPECT_EQ(extents(1)[3], -500);
    ASSERT_TRUE(shiftMeshToBound(*wad, 1, MeshBound::HighX, 7, false).changed);
    EXPECT_EQ(extents(1)[1], 7);
    ASSERT_TRUE(shiftMeshToBound(*wad, 1, MeshBound::LowX, -3, true).changed);
    EXPECT_EQ(extents(1)[0], -384);
    // A bound already on the value changes nothing.
    EXPECT_FALSE(shiftMeshToBound(*wad, 1, MeshBound::LowX, -384, false).changed);
}

TEST(MoveMesh, MovesLeavingThe16BitRangeAreRefusedWhole) {
    auto wad = makeDemoPackage();
    const Mesh mesh0 = wad->meshes[0];
    const Mesh mesh10 = wad->meshes[10];
    const auto statics = wad->statics;
    const Message refusal{MessageKind::Status,
                          "Mesh not moved: coordinates must stay within -32768..32767."};

    // The cube reaches 256 in x: 32511 fits, 32512 does not.
    MeshEditResult r = moveMesh(*wad, 0, 32512, 1, 1);
    EXPECT_FALSE(r.changed);
    EXPECT_EQ(r.messages, Messages{refusal});
    EXPECT_TRUE(sameMesh(wad->meshes[0], mesh0));
    r = shiftMeshAxis(*wad, 0, -32513, Axis::Y);
    EXPECT_FALSE(r.changed);
    EXPECT_TRUE(sameMesh(wad->meshes[0], mesh0));
    // A delta a whole turn of 16 bits away is not a move by zero.
    EXPECT_FALSE(shiftMeshAxis(*wad, 0, 65536, Axis::X).changed);
    EXPECT_FALSE(shiftMeshToBound(*wad, 0, MeshBound::HighX, 300, true).changed);
    EXPECT_FALSE(shiftMeshToBound(*wad, 0, MeshBound::HighX, 1LL << 60, true).changed);
    EXPECT_TRUE(sameMesh(wad->meshes[0], mesh0));

    r = moveMesh(*wad, 0, 32511, 0, 0);
    EXPECT_TRUE(r.changed);
    EXPECT_EQ(meshExtents(wad->meshes[0])->at(1), 32767);

    // Static boxes count too: static 0's collision box may not wrap either.
    wad->statics[0].collisionBox[1] = 32000;
    r = moveMesh(*wad, 10, 800, 0, 0);
    EXPECT_FALSE(r.changed);
    EXPECT_TRUE(sameMesh(wad->meshes[10], mesh10));
    EXPECT_EQ(wad->statics[0].visibilityBox, statics[0].visibilityBox);
    // And a sphere centre that would wrap.
    wad->meshes[2].sphereY = -32000;
    EXPECT_FALSE(shiftMeshAxis(*wad, 2, -800, Axis::Y).changed);
    EXPECT_EQ(wad->meshes[2].sphereY, -32000);
}

TEST(MoveMesh, NothingHappensWithoutAMeshOrVertices) {
    auto wad = makeDemoPackage();
    EXPECT_FALSE(moveMesh(*wad, -1, 1, 1, 1).changed);
    EXPECT_FALSE(moveMesh(*wad, 13, 1, 1, 1).changed);
    EXPECT_FALSE(shiftMeshToBound(*wad, -1, MeshBound::LowX, 0, false).changed);
    const int empty = addMesh(*wad, {});
    const Mesh before = wad->meshes[empty];
    EXPECT_FALSE(moveMesh(*wad, empty, 1, 1, 1).changed);
    EXPECT_FALSE(shiftMeshToBound(*wad, empty, MeshBound::LowZ, 9, false).changed);
    EXPECT_TRUE(sameMesh(wad->meshes[empty], before));
}

} // namespace
} // namespace kavlen
