// Colours of the diagnostic modes, without GL.
#include "scene_documents.h"
#include "view3d/diagnostic_modes.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace kavlen;
using namespace kavlen::testing;

TEST(ShineMode, GradesStrengthAndTellsOffFromZero) {
    EXPECT_EQ(shineColor(0x0000, true), (Rgb{255, 255, 255}));
    EXPECT_EQ(shineColor(0x0002, true), (Rgb{255, 128, 0}));
    EXPECT_EQ(shineColor(0x0006, true), (Rgb{255, 240, 240}));
    EXPECT_EQ(shineColor(0x007E, true), (Rgb{255, 0, 0}));
    EXPECT_EQ(shineColor(0x007C, true), (Rgb{255, 255, 255})); // strength without bit 1
    EXPECT_EQ(shineColor(0x0042, true), (Rgb{255, 120, 120})); // strength 16
    // Bit 0 and bits 7-15 do not change the colour.
    EXPECT_EQ(shineColor(0xFF87, true), shineColor(0x0006, true));
}

TEST(TriangleTypeMode, CornerComesFromTheDecodedWord) {
    Package wad;
    Mesh& mesh = addTestMesh(wad);
    addTriangle(mesh, 0, 0, 50, triangleWord(7, 4, true));
    addTriangle(mesh, 0, 0, 50, 0x9005); // corner 1, mirrored
    const FaceStyle style;
    EXPECT_EQ(diagnosticFacePaint(kModeTriangleType, mesh, mesh.faces[0], style).colors[0],
              (Rgb{0, 0, 128}));
    EXPECT_EQ(diagnosticFacePaint(kModeTriangleType, mesh, mesh.faces[1], style).colors[0],
              kOddCornerColor);
}

namespace {

// A 300-unit square quad whose fourth corner is lifted by `lift` model units.
MeshFace& addLiftedQuad(Mesh& mesh, int lift) {
    MeshFace& face = addQuad(mesh, 0, 0, 150, 0);
    mesh.vertices[face.vertexIndex[3]].z = static_cast<std::int16_t>(lift);
    return face;
}

} // namespace

TEST(TriangleTypeMode, BentQuadsTurnMagentaOnlyWhenAsked) {
    Package wad;
    Mesh& mesh = addTestMesh(wad);
    addLiftedQuad(mesh, 0);
    addLiftedQuad(mesh, 40);
    addLiftedQuad(mesh, 5); // a small lift stays under the limit
    FaceStyle style;

    EXPECT_DOUBLE_EQ(quadBendValue(mesh, mesh.faces[0]), 0.0);
    EXPECT_FALSE(isBentQuad(mesh, mesh.faces[0]));
    EXPECT_TRUE(isBentQuad(mesh, mesh.faces[1]));
    EXPECT_FALSE(isBentQuad(mesh, mesh.faces[2]));
    // Lifts of 40 and 5 over 300: cosines between p0->p2 and the normal of the
    // plane through p0, p1, p3 of 0.0935 (above 0.06) and 0.0118.
    EXPECT_NEAR(std::fabs(quadBendValue(mesh, mesh.faces[1])), 0.0935, 0.0005);
    EXPECT_NEAR(std::fabs(quadBendValue(mesh, mesh.faces[2])), 0.0118, 0.0005);

    EXPECT_EQ(diagnosticFacePaint(kModeTriangleType, mesh, mesh.faces[1], style).colors[0],
              kQuadColor);
    style.showBentQuads = true;
    EXPECT_EQ(diagnosticFacePaint(kModeTriangleType, mesh, mesh.faces[1], style).colors[0],
              kBentQuadColor);
    EXPECT_EQ(diagnosticFacePaint(kModeTriangleType, mesh, mesh.faces[0], style).colors[0],
              kQuadColor);
    EXPECT_EQ(diagnosticFacePaint(kModeTriangleType, mesh, mesh.faces[2], style).colors[0],
              kQuadColor);
}

TEST(TriangleTypeMode, QuadWithCollinearCornersIsFlat) {
    // p0, p1 and p3 on one line: no plane through them, but no volume either.
    Package wad;
    Mesh& mesh = addTestMesh(wad);
    const int a = addVertex(mesh, 0, 0, 0);
    const int b = addVertex(mesh, 100, 0, 0);
    const int c = addVertex(mesh, 50, 50, 50);
    const int d = addVertex(mesh, 200, 0, 0);
    MeshFace& face = mesh.faces[0];
    face.shape = kShapeQuad;
    face.vertexIndex = {std::uint16_t(a), std::uint16_t(b), std::uint16_t(c), std::uint16_t(d)};
    mesh.faceCount = 1;
    EXPECT_DOUBLE_EQ(quadBendValue(mesh, face), 0.0);
    EXPECT_FALSE(isBentQuad(mesh, face));
}

TEST(DiagnosticModes, HiddenFacesAreNotDrawnInAnyOfThem) {
    Package wad;
    Mesh& mesh = addTestMesh(wad);
    addQuad(mesh, 0, 0, 50, 0, 0x0003).visible = 0;
    for (std::uint8_t mode : {kModeShine, kModeTransparency, kModeTriangleType, kModePolyPtOrder})
        EXPECT_FALSE(diagnosticFacePaint(mode, mesh, mesh.faces[0], {}).drawn) << int(mode);
    mesh.faces[0].visible = 1;
    for (std::uint8_t mode : {kModeShine, kModeTransparency, kModeTriangleType, kModePolyPtOrder})
        EXPECT_TRUE(diagnosticFacePaint(mode, mesh, mesh.faces[0], {}).drawn) << int(mode);
}
