#include "meshedit/lighting.h"

#include <gtest/gtest.h>

#include <memory>

using namespace kavlen;

namespace {

std::unique_ptr<Package> packageWithOneMesh() {
    auto wad = std::make_unique<Package>();
    wad->version = 129;
    wad->appendMeshSlot();
    return wad;
}

void addVertex(Mesh& m, int x, int y, int z) {
    m.vertices[m.vertexCount++] = {std::int16_t(x), std::int16_t(y), std::int16_t(z)};
}

void addTriangle(Mesh& m, int a, int b, int c) {
    MeshFace& f = m.faces[std::size_t(m.faceCount++)];
    f.shape = kShapeTriangle;
    f.vertexIndex = {std::uint16_t(a), std::uint16_t(b), std::uint16_t(c), 0};
}

// The triangle (0,0,0), (100,0,0), (0,0,100) with one normal per vertex.
Mesh flatTriangle() {
    Mesh m;
    addVertex(m, 0, 0, 0);
    addVertex(m, 100, 0, 0);
    addVertex(m, 0, 0, 100);
    addTriangle(m, 0, 1, 2);
    m.normalCount = 3;
    return m;
}

} // namespace

TEST(Lighting, NormalizeScalesToLength16300AndKeepsZero) {
    double x = 3, y = 0, z = 4;
    normalizeTo16300(x, y, z);
    EXPECT_DOUBLE_EQ(x, 9780);
    EXPECT_DOUBLE_EQ(z, 13040);
    double a = 0, b = 0, c = 0;
    normalizeTo16300(a, b, c);
    EXPECT_EQ(a, 0);
    EXPECT_EQ(b, 0);
    EXPECT_EQ(c, 0);
}

TEST(Lighting, ShadeFromIntensityTruncates) {
    EXPECT_EQ(shadeFromIntensity(0), 0);
    EXPECT_EQ(shadeFromIntensity(16), 4227);
    EXPECT_EQ(shadeFromIntensity(31), 8191);
    EXPECT_EQ(shadeFromIntensity(1), 264); // 264.22 truncated
}

TEST(Lighting, SingleTriangleAveragedAndWeightedPointUp) {
    for (bool averaged : {true, false}) {
        Mesh m = flatTriangle();
        recalcNormals(m, averaged);
        for (int k = 0; k < 3; ++k) {
            EXPECT_EQ(m.normals[k].x, 0);
            EXPECT_EQ(m.normals[k].y, 16300) << "averaged " << averaged;
            EXPECT_EQ(m.normals[k].z, 0);
        }
    }
}

TEST(Lighting, WeightedLeansTowardsTheLargerFace) {
    // Two triangles sharing the edge (0,0,0)-(0,0,100): one in the floor plane,
    // one four times larger in the wall plane x = 0.
    Mesh m;
    addVertex(m, 0, 0, 0);
    addVertex(m, 0, 0, 100);
    addVertex(m, 100, 0, 0);
    addVertex(m, 0, -400, 0);
    addTriangle(m, 0, 2, 1); // floor, area 5000
    addTriangle(m, 0, 1, 3); // wall, area 20000
    m.normalCount = 4;
    Mesh weighted = m;
    recalcNormals(m, true);
    recalcNormals(weighted, false);
    // Averaged: halfway between the two unit normals.
    EXPECT_EQ(std::abs(m.normals[0].x), std::abs(m.normals[0].y));
    // Weighted: the wall's normal (along x) dominates.
    EXPECT_GT(std::abs(weighted.normals[0].x), 3 * std::abs(weighted.normals[0].y));
    EXPECT_EQ(weighted.normals[1].x, weighted.normals[0].x);
    // Vertices used by one face only keep that face's normal either way.
    EXPECT_EQ(weighted.normals[2].y, m.normals[2].y);
}

TEST(Lighting, UnusedVertexGetsZeroAndQuadUsesFirstThreeCorners) {
    Mesh m;
    addVertex(m, 0, 0, 0);
    addVertex(m, 100, 0, 0);
    addVertex(m, 100, 0, 100);
    addVertex(m, 0, -300, 100); // out of the plane of the first three
    addVertex(m, 5, 5, 5);      // used by no face
    MeshFace& q = m.faces[0];
    q.shape = kShapeQuad;
    q.vertexIndex = {0, 2, 1, 3};
    m.faceCount = 1;
    m.normalCount = 5;
    m.normals[4] = {1, 2, 3};
    recalcNormals(m, true);
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(m.normals[k].y, -16300) << k;
    EXPECT_EQ(m.normals[4].x, 0);
    EXPECT_EQ(m.normals[4].y, 0);
    EXPECT_EQ(m.normals[4].z, 0);
}

TEST(Lighting, RepeatedIndexInOneFaceCountsOnce) {
    Mesh m = flatTriangle();
    addVertex(m, -100, 0, 0);
    m.faces[1].shape = kShapeQuad;
    m.faces[1].vertexIndex = {0, 3, 2, 0}; // corner 0 twice, facing the other way
    m.faceCount = 2;
    m.normalCount = 4;
    recalcNormals(m, true);
    // Vertex 0 gets each face normal once: they cancel exactly.
    EXPECT_EQ(m.normals[0].y, 0);
}

TEST(Lighting, IndicesBeyondTheMeshAreSkippedSafely) {
    Mesh m = flatTriangle();
    m.faces[1] = m.faces[0];
    m.faces[1].vertexIndex = {0, 1, 60000, 0};
    m.faces[2] = m.faces[0];
    m.faceCount = 3;
    m.normalCount = 2; // fewer normals than vertices
    recalcNormals(m, true);
    EXPECT_EQ(m.normals[0].y, 16300);
    EXPECT_EQ(m.normals[1].y, 16300);
    EXPECT_EQ(m.normals[2].y, 0); // not a normal of this mesh: untouched
}

TEST(Lighting, StaticLightingSetsShadesAndKeepsNormalsAndAttributes) {
    Mesh m = flatTriangle();
    m.normals[0] = {1, 2, 3};
    m.faces[0].attributes = withShine(0, 9);
    setStaticLighting(m, 16);
    EXPECT_EQ(m.normalCount, -3);
    for (int k = 0; k < 3; ++k)
        EXPECT_EQ(m.shades[k], 4227);
    EXPECT_EQ(m.normals[0].y, 2);
    EXPECT_EQ(m.faces[0].attributes, withShine(0, 9));
}

TEST(Lighting, CommandsRefuseAndConvert) {
    auto wad = packageWithOneMesh();
    Mesh& m = wad->meshes[0];
    m = flatTriangle();
    m.faces[0].attributes = static_cast<std::uint16_t>(withShine(kAttrTransparent, 5) | 0x0100);

    LightingResult r = recalcNormalsCommand(*wad, 0, false);
    ASSERT_TRUE(r.changed);
    EXPECT_EQ(r.messages, (Messages{{MessageKind::Information, "Weighted normals calculated."}}));

    r = changeToStaticLighting(*wad, 0, 31);
    ASSERT_TRUE(r.changed);
    EXPECT_EQ(m.normalCount, -3);
    EXPECT_EQ(m.shades[2], 8191);
    EXPECT_EQ(m.faces[0].attributes, kAttrTransparent); // bits 1..15 cleared
    ASSERT_EQ(r.messages.size(), 2u);
    EXPECT_EQ(r.messages[0].text, "Shine removed from all faces.");
    EXPECT_EQ(r.messages[1].text, "Lighting changed from moveable to static.");

    r = recalcNormalsCommand(*wad, 0, true);
    EXPECT_FALSE(r.changed);
    EXPECT_EQ(r.messages, (Messages{{MessageKind::Error, "Mesh uses static lighting."}}));

    r = changeToMoveableLighting(*wad, 0);
    ASSERT_TRUE(r.changed);
    EXPECT_EQ(m.normalCount, 3);
    EXPECT_EQ(m.normals[1].y, 16300);
    ASSERT_EQ(r.messages.size(), 2u);
    EXPECT_EQ(r.messages[0].text, "Averaged normals calculated.");
    EXPECT_EQ(r.messages[1].text, "Lighting changed from static to moveable.");

    // No mesh there: nothing happens and nothing is shown.
    EXPECT_FALSE(recalcNormalsCommand(*wad, 5, true).changed);
    EXPECT_TRUE(recalcNormalsCommand(*wad, 5, true).messages.empty());

    Package empty;
    EXPECT_EQ(changeToStaticLighting(empty, 0, 3).messages,
              (Messages{{MessageKind::Error, "No wad opened."}}));
}
