// Face rules of the geometry modes, without GL.
#include "scene_documents.h"
#include "view3d/mesh_scene.h"
#include "view3d/render_modes.h"

#include <gtest/gtest.h>

using namespace kavlen;
using namespace kavlen::testing;

namespace {

constexpr std::array<TexCoord, 4> kPlain{{{0, 0}, {1, 0}, {1, 1}, {0, 1}}};
constexpr std::array<TexCoord, 4> kMirrored{{{1, 0}, {0, 0}, {0, 1}, {1, 1}}};

FaceStyle styleWithSamples(std::uint32_t count) {
    FaceStyle style;
    style.texInfoCount = count;
    return style;
}

} // namespace

TEST(RenderModeList, HiddenFacesVanishOnlyInTexturedAndDiagnosticModes) {
    for (std::uint8_t mode :
         {kModeTextured, kModeShine, kModeTransparency, kModeTriangleType, kModePolyPtOrder})
        EXPECT_TRUE(modeHidesHiddenFaces(mode)) << int(mode);
    for (std::uint8_t mode : {kModeWireframe, kModeSolid, kModePoints, kModePointsWire})
        EXPECT_FALSE(modeHidesHiddenFaces(mode)) << int(mode);

    Package wad;
    Mesh& mesh = addTestMesh(wad);
    addQuad(mesh, 0, 0, 50, quadWord(1)).visible = 0;
    const FaceStyle style = styleWithSamples(4);
    for (std::uint8_t mode = 0; mode <= kModePolyPtOrder; ++mode) {
        const FacePaint paint = paintFace(mode, mesh, 0, style);
        const bool faceMode = mode != kModePoints && mode != kModePointsWire && mode != kModeNone;
        EXPECT_EQ(paint.drawn, faceMode && !modeHidesHiddenFaces(mode)) << int(mode);
    }
}

TEST(RenderModeFaces, FaceWithVertexOutOfRangeIsNeverDrawn) {
    Package wad;
    Mesh& mesh = addTestMesh(wad);
    addQuad(mesh, 0, 0, 50, quadWord(1));
    addTriangle(mesh, 0, 0, 50, triangleWord(1, 0));
    addQuad(mesh, 0, 0, 50, quadWord(1));
    mesh.faces[1].vertexIndex[2] = mesh.vertexCount; // one past the last vertex
    mesh.faces[2].vertexIndex[3] = 0xFFFF;
    const FaceStyle style = styleWithSamples(4);
    for (std::uint8_t mode = 0; mode <= kModePolyPtOrder; ++mode) {
        EXPECT_FALSE(paintFace(mode, mesh, 1, style).drawn) << int(mode);
        EXPECT_FALSE(paintFace(mode, mesh, 2, style).drawn) << int(mode);
    }
    EXPECT_TRUE(paintFace(kModeTextured, mesh, 0, style).drawn);
    // Faces outside the face count are not drawn either.
    EXPECT_FALSE(paintFace(kModeWireframe, mesh, 3, style).drawn);
    EXPECT_FALSE(paintFace(kModeWireframe, mesh, -1, style).drawn);
}

TEST(RenderModeFaces, CountsAreClampedToTheSlotArrays) {
    Mesh mesh;
    mesh.faceCount = -3;
    mesh.vertexCount = 40000;
    EXPECT_EQ(drawableFaceCount(mesh), 0);
    EXPECT_EQ(drawableVertexCount(mesh), 1500);
    mesh.faceCount = 32000;
    EXPECT_EQ(drawableFaceCount(mesh), 1500);
}

TEST(TexturedMode, QuadBindsItsSampleAndMirrorsNegativeWords) {
    Package wad;
    Mesh& mesh = addTestMesh(wad);
    addQuad(mesh, 0, 0, 50, quadWord(5));
    addQuad(mesh, 0, 0, 50, quadWord(-5));
    const FaceStyle style = styleWithSamples(10);

    const FacePaint plain = texturedFacePaint(mesh, mesh.faces[0], style);
    EXPECT_TRUE(plain.drawn);
    EXPECT_EQ(plain.corners, 4);
    EXPECT_EQ(plain.texture, 6); // sample 5 is GL texture 6
    EXPECT_EQ(plain.texCoords, kPlain);
    EXPECT_EQ(plain.colors[0], kRgbWhite);
    EXPECT_FALSE(plain.smooth);

    const FacePaint mirrored = texturedFacePaint(mesh, mesh.faces[1], style);
    EXPECT_EQ(mirrored.texture, 6);
    EXPECT_EQ(mirrored.texCoords, kMirrored);
}

TEST(TexturedMode, TriangleUsesTheCornerPairsOfItsWord) {
    Package wad;
    Mesh& mesh = addTestMesh(wad);
    addTriangle(mesh, 0, 0, 50, triangleWord(3, 2));
    addTriangle(mesh, 0, 0, 50, triangleWord(3, 6, true));
    const FaceStyle style = styleWithSamples(10);

    const FacePaint corner2 = texturedFacePaint(mesh, mesh.faces[0], style);
    EXPECT_EQ(corner2.texture, 4);
    EXPECT_EQ(corner2.corners, 3);
    EXPECT_EQ(corner2.texCoords[0], (TexCoord{1, 0}));
    EXPECT_EQ(corner2.texCoords[1], (TexCoord{1, 1}));
    EXPECT_EQ(corner2.texCoords[2], (TexCoord{0, 0}));

    const FacePaint corner6 = texturedFacePaint(mesh, mesh.faces[1], style);
    EXPECT_EQ(corner6.texCoords[0], (TexCoord{1, 1}));
    EXPECT_EQ(corner6.texCoords[1], (TexCoord{1, 0}));
    EXPECT_EQ(corner6.texCoords[2], (TexCoord{0, 1}));
}

TEST(TexturedMode, SampleZeroAndMissingSamplesDrawTheUntexturedGradient) {
    Package wad;
    Mesh& mesh = addTestMesh(wad);
    addQuad(mesh, 0, 0, 50, quadWord(0));
    addQuad(mesh, 0, 0, 50, quadWord(10));              // beyond 10 samples
    addTriangle(mesh, 0, 0, 50, triangleWord(4095, 0)); // far beyond
    addQuad(mesh, 0, 0, 50, quadWord(9));               // the last sample
    FaceStyle style = styleWithSamples(10);

    for (int i = 0; i < 3; ++i) {
        const FacePaint paint = texturedFacePaint(mesh, mesh.faces[std::size_t(i)], style);
        SCOPED_TRACE(i);
        EXPECT_TRUE(paint.drawn);
        EXPECT_EQ(paint.texture, 0);
        EXPECT_TRUE(paint.smooth);
        EXPECT_TRUE(paint.perCorner);
        EXPECT_EQ(paint.colors[0], kRgbRed);
        EXPECT_EQ(paint.colors[1], kRgbLime);
        EXPECT_EQ(paint.colors[2], kRgbBlue);
        if (paint.corners == 4) {
            EXPECT_EQ(paint.colors[3], kRgbYellow);
        }
    }
    EXPECT_EQ(texturedFacePaint(mesh, mesh.faces[3], style).texture, 10);

    style.untexturedWhite = true;
    const FacePaint white = texturedFacePaint(mesh, mesh.faces[0], style);
    EXPECT_EQ(white.texture, 0);
    for (const Rgb& c : white.colors)
        EXPECT_EQ(c, kRgbWhite);

    // A package without samples draws every face untextured.
    EXPECT_EQ(texturedFacePaint(mesh, mesh.faces[3], styleWithSamples(0)).texture, 0);
}

TEST(TexturedMode, VertexShadesDarkenOnlyStaticMeshesWithLightsEnabled) {
    EXPECT_EQ(vertexBrightness(0), 255);
    EXPECT_EQ(vertexBrightness(8191), 0);
    EXPECT_EQ(vertexBrightness(9000), 0); // above 8191 draws as 8191
    EXPECT_EQ(vertexBrightness(4096), 128);
    EXPECT_EQ(vertexBrightness(-20), 255);

    Package wad;
    Mesh& mesh = addTestMesh(wad);
    addQuad(mesh, 0, 0, 50, quadWord(2));
    mesh.shades[0] = 0;
    mesh.shades[1] = 4096;
    mesh.shades[2] = 8191;
    mesh.shades[3] = 12000;
    FaceStyle style = styleWithSamples(4);

    mesh.normalCount = -4; // static lighting
    style.lightsEnabled = true;
    const FacePaint lit = texturedFacePaint(mesh, mesh.faces[0], style);
    EXPECT_TRUE(lit.smooth);
    EXPECT_TRUE(lit.perCorner);
    EXPECT_EQ(lit.colors[0], (Rgb{255, 255, 255}));
    EXPECT_EQ(lit.colors[1], (Rgb{128, 128, 128}));
    EXPECT_EQ(lit.colors[2], (Rgb{0, 0, 0}));
    EXPECT_EQ(lit.colors[3], (Rgb{0, 0, 0}));

    style.lightsEnabled = false;
    const FacePaint unlit = texturedFacePaint(mesh, mesh.faces[0], style);
    EXPECT_TRUE(unlit.smooth);
    for (const Rgb& c : unlit.colors)
        EXPECT_EQ(c, kRgbWhite);

    mesh.normalCount = 4; // normals: shades are not used
    style.lightsEnabled = true;
    const FacePaint normals = texturedFacePaint(mesh, mesh.faces[0], style);
    EXPECT_FALSE(normals.smooth);
    for (const Rgb& c : normals.colors)
        EXPECT_EQ(c, kRgbWhite);
}

TEST(SolidAndWireframeModes, DrawHiddenFacesWithFixedLook) {
    Package wad;
    Mesh& mesh = addTestMesh(wad);
    addQuad(mesh, 0, 0, 50, quadWord(3)).visible = 0;
    addTriangle(mesh, 0, 0, 50, triangleWord(3, 4));
    FaceStyle style = styleWithSamples(4);
    style.lineColor = 0x00112233;

    const FacePaint solidQuad = solidFacePaint(mesh, mesh.faces[0], style);
    EXPECT_TRUE(solidQuad.drawn);
    EXPECT_EQ(solidQuad.texture, 4097);
    EXPECT_EQ(solidQuad.texCoords, kPlain);
    const FacePaint solidTri = solidFacePaint(mesh, mesh.faces[1], style);
    EXPECT_EQ(solidTri.texCoords[0], (TexCoord{0, 1}));
    EXPECT_EQ(solidTri.texCoords[1], (TexCoord{0, 0}));
    EXPECT_EQ(solidTri.texCoords[2], (TexCoord{1, 1}));

    const FacePaint wire = wireframeFacePaint(mesh, mesh.faces[0], style);
    EXPECT_TRUE(wire.drawn);
    EXPECT_EQ(wire.texture, 0);
    EXPECT_EQ(wire.colors[0], (Rgb{0x33, 0x22, 0x11}));
}

TEST(PointModes, RemapLimitFollowsTheLowByteOfTheVertexCount) {
    EXPECT_EQ(remapLimit(200), 127);
    EXPECT_EQ(remapLimit(300), 43);
    EXPECT_EQ(remapLimit(256), 127);
    EXPECT_EQ(remapLimit(0), 127);
    EXPECT_EQ(remapLimit(100), 99);
    EXPECT_EQ(remapLimit(129), 127);
    EXPECT_EQ(remapLimit(257), 0);
}

TEST(SceneObject, FindsOnlyMeshesThePackageHas) {
    MeshScene scene;
    EXPECT_EQ(scene.currentMeshData(), nullptr);
    EXPECT_EQ(scene.pointColor, 0x00008000u); // green until the settings or a reset

    Package wad;
    addTestMesh(wad);
    addTestMesh(wad);
    scene.document = &wad;
    scene.currentMesh = 1;
    EXPECT_EQ(scene.currentMeshData(), &wad.meshes[1]);
    scene.currentMesh = 2;
    EXPECT_EQ(scene.currentMeshData(), nullptr);
    wad.meshCount = 1; // slots beyond the count are not shown
    scene.currentMesh = 1;
    EXPECT_EQ(scene.currentMeshData(), nullptr);

    scene.lineColor = scene.pointColor = 1;
    scene.resetColors();
    EXPECT_EQ(scene.lineColor, 0x00FFFF00u);
    EXPECT_EQ(scene.pointColor, 0x0000FF00u); // reset gives lime
}
