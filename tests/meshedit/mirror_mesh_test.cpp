#include "document/demo_package.h"
#include "meshedit/mirror_mesh.h"
#include "test_package.h"

#include <gtest/gtest.h>

namespace kavlen {
namespace {

using test::addMesh;
using test::addQuad;
using test::addStatic;
using test::addTriangle;
using test::sameMesh;

TEST(MirrorFace, TriangleSwapsItsCornerTogglesMirrorAndReversesOrder) {
    MeshFace tri;
    tri.shape = kShapeTriangle;
    tri.vertexIndex = {3, 7, 9, 44};
    tri.texture = encodeTextureWord({.index = 21, .corner = 4, .mirrored = false});
    mirrorFace(tri);
    const TextureWordInfo info = decodeTextureWord(tri.texture);
    EXPECT_EQ(info.index, 21);
    EXPECT_EQ(info.corner, 6);
    EXPECT_TRUE(info.mirrored);
    EXPECT_EQ(tri.vertexIndex, (std::array<std::uint16_t, 4>{3, 9, 7, 44}));
    mirrorFace(tri);
    EXPECT_EQ(tri.texture, encodeTextureWord({.index = 21, .corner = 4, .mirrored = false}));
    EXPECT_EQ(tri.vertexIndex, (std::array<std::uint16_t, 4>{3, 7, 9, 44}));

    // 0 <-> 2 and 6 -> 4; odd corners stay.
    const std::pair<int, int> corners[] = {{0, 2}, {2, 0}, {6, 4}, {3, 3}};
    for (auto [from, to] : corners) {
        tri.texture =
            encodeTextureWord({.index = 5, .corner = std::uint8_t(from), .mirrored = true});
        mirrorFace(tri);
        EXPECT_EQ(tri.texture, encodeTextureWord({.index = 5, .corner = std::uint8_t(to)}))
            << "corner " << from;
    }
}

TEST(MirrorFace, QuadNegatesItsWordAndSwapsCornerPairs) {
    MeshFace quad;
    quad.shape = kShapeQuad;
    quad.vertexIndex = {0, 1, 2, 3};
    quad.texture = 12;
    mirrorFace(quad);
    EXPECT_EQ(static_cast<std::int16_t>(quad.texture), -12);
    EXPECT_EQ(quad.vertexIndex, (std::array<std::uint16_t, 4>{1, 0, 3, 2}));
    mirrorFace(quad);
    EXPECT_EQ(quad.texture, 12);
    EXPECT_EQ(quad.vertexIndex, (std::array<std::uint16_t, 4>{0, 1, 2, 3}));
}

TEST(MirrorMesh, NegatesOneAxisOfVerticesNormalsAndSphere) {
    auto wad = makeDemoPackage();
    const Mesh before = wad->meshes[2];
    const MeshEditResult r = mirrorMesh(*wad, 2, mirrorAxis(MirrorPlane::YZ));
    EXPECT_TRUE(r.changed);
    EXPECT_TRUE(r.boundsChanged);
    EXPECT_TRUE(r.recenterView);
    const Mesh& m = wad->meshes[2];
    for (int i = 0; i < before.vertexCount; ++i) {
        EXPECT_EQ(m.vertices[i].x, -before.vertices[i].x);
        EXPECT_EQ(m.vertices[i].y, before.vertices[i].y);
        EXPECT_EQ(m.normals[i].x, -before.normals[i].x);
        EXPECT_EQ(m.normals[i].z, before.normals[i].z);
    }
    EXPECT_EQ(m.sphereX, -before.sphereX);
    EXPECT_EQ(m.sphereY, before.sphereY);
    // Mirroring again restores every slot exactly, on every plane.
    for (MirrorPlane plane : {MirrorPlane::XZ, MirrorPlane::YZ, MirrorPlane::XY}) {
        auto twice = makeDemoPackage();
        const auto original = makeDemoPackage();
        for (int slot = 0; slot < twice->meshCount; ++slot) {
            ASSERT_TRUE(mirrorMesh(*twice, slot, mirrorAxis(plane)).changed);
            ASSERT_TRUE(mirrorMesh(*twice, slot, mirrorAxis(plane)).changed);
            EXPECT_TRUE(sameMesh(twice->meshes[slot], original->meshes[slot])) << "slot " << slot;
        }
        EXPECT_EQ(twice->statics[0].visibilityBox, original->statics[0].visibilityBox);
    }
}

TEST(MirrorMesh, StaticLitMeshKeepsShadesAndNormals) {
    auto wad = makeDemoPackage();
    Mesh& m = wad->meshes[10];
    ASSERT_LT(m.normalCount, 0);
    m.normals[0] = {100, 200, 300}; // leftover data of the unused array
    const Mesh before = m;
    ASSERT_TRUE(mirrorMesh(*wad, 10, Axis::Y).changed);
    EXPECT_EQ(m.shades, before.shades);
    EXPECT_TRUE(test::sameVertex(m.normals[0], before.normals[0]));
    EXPECT_EQ(m.vertices[0].y, -before.vertices[0].y);
}

TEST(MirrorMesh, ChangesTheBoxesOfTheMeshsOwnStatics) {
    auto wad = makeDemoPackage();
    const auto original = wad->statics;
    const Mesh mesh11 = wad->meshes[11];
    ASSERT_TRUE(mirrorMesh(*wad, 11, Axis::Y).changed);
    // Static 1 uses mesh 11: its y bounds (a1, a2) become (-a2, -a1).
    const auto& vis = wad->statics[1].visibilityBox;
    const auto& col = wad->statics[1].collisionBox;
    EXPECT_EQ(vis[2], -original[1].visibilityBox[3]);
    EXPECT_EQ(vis[3], -original[1].visibilityBox[2]);
    EXPECT_EQ(col[2], -original[1].collisionBox[3]);
    EXPECT_EQ(col[3], -original[1].collisionBox[2]);
    EXPECT_EQ(vis[0], original[1].visibilityBox[0]);
    // Static 0 (another mesh) is untouched, and a static's mesh keeps its sphere.
    EXPECT_EQ(wad->statics[0].visibilityBox, original[0].visibilityBox);
    EXPECT_EQ(wad->statics[0].collisionBox, original[0].collisionBox);
    EXPECT_EQ(wad->meshes[11].sphereY, mesh11.sphereY);
}

TEST(MirrorMesh, RefusedWhereMinus32768HasNoImage) {
    auto wad = test::makeBarePackage();
    const int slot = addMesh(*wad, {{-32768, 0, 5}, {10, 0, 5}, {0, 10, 5}});
    addTriangle(wad->meshes[slot], 0, 1, 2);
    const Mesh before = wad->meshes[slot];
    const MeshEditResult r = mirrorMesh(*wad, slot, Axis::X);
    EXPECT_FALSE(r.changed);
    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_EQ(r.messages[0].kind, MessageKind::Status);
    EXPECT_TRUE(sameMesh(wad->meshes[slot], before));
    EXPECT_TRUE(mirrorMesh(*wad, slot, Axis::Z).changed); // other axes are fine

    const int boxed = addMesh(*wad, {{1, 1, 1}});
    addStatic(*wad, boxed, {0, 0, -32768, 5, 0, 0});
    EXPECT_FALSE(mirrorMesh(*wad, boxed, Axis::Y).changed);
    EXPECT_TRUE(mirrorMesh(*wad, boxed, Axis::X).changed);
}

TEST(MirrorMesh, GuardsAndEmptyMeshes) {
    auto wad = test::makeBarePackage();
    const int slot = addMesh(*wad, {{1, 2, 3}});
    const int empty = addMesh(*wad, {});
    EXPECT_FALSE(mirrorMesh(*wad, -1, Axis::X).changed);
    EXPECT_FALSE(mirrorMesh(*wad, empty, Axis::X).changed);
    EXPECT_TRUE(mirrorMesh(*wad, empty, Axis::X).messages.empty());
    wad->version = 0;
    const MeshEditResult r = mirrorMesh(*wad, slot, Axis::X);
    EXPECT_FALSE(r.changed);
    EXPECT_EQ(r.messages, (Messages{{MessageKind::Error, "No wad opened."}}));
    EXPECT_EQ(wad->meshes[slot].vertices[0].x, 1);
}

} // namespace
} // namespace kavlen
