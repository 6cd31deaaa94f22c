#include "meshedit/face_click.h"
#include "meshedit/quad_bend.h"
#include "test_package.h"

#include <gtest/gtest.h>

namespace kavlen {
namespace {

using Action = FaceClickAction;
using Mode = RenderModeEntry;
using test::sameMesh;

constexpr ClickKeys kPlain{};
constexpr ClickKeys kShift{true, false, false};
constexpr ClickKeys kCtrl{false, true, false};
constexpr ClickKeys kAlt{false, false, true};
constexpr ClickKeys kAltCtrl{false, true, true};
constexpr ClickKeys kAltShift{true, false, true};

// A package of 20 samples with one mesh of ten vertices (moveable lighting): face 0
// a triangle, face 1 a flat quad.
struct Clicking {
    std::unique_ptr<Package> wad = test::makeBarePackage();
    int slot = test::addMesh(*wad, {{0, 0, 0},
                                    {1000, 0, 0},
                                    {1000, 1000, 0},
                                    {0, 1000, 0},
                                    {1, 2, 3},
                                    {-7, 8, -9},
                                    {6, 6, 6},
                                    {7, 7, 7},
                                    {8, 8, 8},
                                    {9, 9, 9}});
    Mesh& mesh = wad->meshes[slot];
    FaceClickInput in;

    Clicking() {
        wad->texInfoCount = 20;
        mesh.normalCount = 10;
        test::addTriangle(mesh, 0, 1, 2);
        test::addQuad(mesh, 0, 1, 2, 3);
        in.mode = Mode::Textured;
    }
    MeshFace& face(int k) { return mesh.faces[k]; }
    FaceClickResult onFace(int k, ClickKeys keys = kPlain) {
        in.keys = keys;
        return clickInView(*wad, slot, {PickHit::Kind::Face, k, 0.5}, in);
    }
    FaceClickResult onVertex(int k, ClickKeys keys = kPlain) {
        in.keys = keys;
        return clickInView(*wad, slot, {PickHit::Kind::Vertex, k, 0.5}, in);
    }
    void onlyBoxes(bool tx, bool sh, bool op) { in.modeBoxes = {tx, sh, op}; }
};

Messages status(const std::string& text) {
    return {{MessageKind::Status, text}};
}

TEST(FaceClickApply, SampleKeepsTriangleCornerAndMirrorAndQuadSign) {
    Clicking c;
    c.onlyBoxes(true, false, false);
    c.in.currentSample = 12;
    c.face(0).texture = 0x9005;
    FaceClickResult r = c.onFace(0);
    EXPECT_EQ(r.action, Action::Apply);
    EXPECT_TRUE(r.changed);
    EXPECT_TRUE(r.messages.empty());
    EXPECT_EQ(c.face(0).texture, 0x900C);
    c.face(1).texture = std::uint16_t(-5);
    c.onFace(1);
    EXPECT_EQ(c.face(1).texture, std::uint16_t(-12));
    c.face(1).texture = 0;
    c.onFace(1);
    EXPECT_EQ(c.face(1).texture, 12);
}

TEST(FaceClickApply, MissingOrUnknownSampleLeavesTheTextureButNotTheOtherBoxes) {
    Clicking c;
    c.in.opacity = OpacityChoice::SemiTransparent;
    c.face(0).texture = 0x2003;
    c.in.currentSample = -1;
    FaceClickResult r = c.onFace(0);
    EXPECT_EQ(r.messages, status("No texture selected."));
    EXPECT_EQ(c.face(0).texture, 0x2003);
    EXPECT_EQ(c.face(0).attributes, 0x0001); // opacity still applied
    c.in.currentSample = 20;
    r = c.onFace(0);
    EXPECT_EQ(r.messages, status("Texture #20 does not exist."));
    EXPECT_EQ(c.face(0).texture, 0x2003);
}

TEST(FaceClickApply, ShineReplacesBitsOneToSixKeepingTransparency) {
    Clicking c;
    c.onlyBoxes(false, true, false);
    c.face(0).attributes = 0x0081;
    c.in.shining = 7;
    EXPECT_TRUE(c.onFace(0).changed);
    EXPECT_EQ(c.face(0).attributes, 0x001F);
    c.in.shining = 0;
    c.onFace(0);
    EXPECT_EQ(c.face(0).attributes, 0x0001);
    c.in.shining = 40; // held at 31
    c.onFace(0);
    EXPECT_EQ(c.face(0).attributes, 0x007F);
}

TEST(FaceClickApply, ShineIsRefusedForAMeshWithoutNormals) {
    for (std::int16_t normals : {std::int16_t(-10), std::int16_t(0)}) {
        Clicking c;
        c.mesh.normalCount = normals;
        c.onlyBoxes(false, true, false);
        c.face(0).attributes = 0x0081;
        c.in.shining = 7;
        FaceClickResult r = c.onFace(0);
        EXPECT_EQ(r.messages,
                  (Messages{{MessageKind::Information, "Static lighting.\rDo not apply shine."}}));
        EXPECT_EQ(r.shining, 0);
        EXPECT_FALSE(r.changed);
        EXPECT_EQ(c.face(0).attributes, 0x0081);
        c.in.shining = 0; // no message, but the box still goes back to 0
        r = c.onFace(0);
        EXPECT_TRUE(r.messages.empty());
        EXPECT_EQ(r.shining, 0);
        EXPECT_EQ(c.face(0).attributes, 0x0081);
    }
}

TEST(FaceClickApply, OpacitySetsBitZeroOnlyWhenAnEntryIsChosen) {
    Clicking c;
    c.onlyBoxes(false, false, true);
    c.face(0).attributes = 0x0056;
    c.in.opacity = OpacityChoice::SemiTransparent;
    c.onFace(0);
    EXPECT_EQ(c.face(0).attributes, 0x0057);
    c.in.opacity = OpacityChoice::None;
    EXPECT_EQ(c.onFace(0).action, Action::None);
    EXPECT_EQ(c.face(0).attributes, 0x0057);
    c.in.opacity = OpacityChoice::Opaque;
    c.onFace(0);
    EXPECT_EQ(c.face(0).attributes, 0x0056);
}

TEST(FaceClickApply, EachBoxActsOnlyInItsModes) {
    struct Case {
        Mode mode;
        std::uint16_t texture, attributes;
    };
    // Sample 9, semi-transparent, shine 3 asked of a triangle with word 0x1002 and
    // attributes 0x0040.
    const Case cases[] = {
        {Mode::Wireframe, 0x1009, 0x000F},    {Mode::Solid, 0x1009, 0x000F},
        {Mode::Textured, 0x1009, 0x000F},     {Mode::Shine, 0x1002, 0x000E},
        {Mode::Transparency, 0x1002, 0x0041}, {Mode::TriangleType, 0x1002, 0x0040},
        {Mode::PolyPtOrder, 0x1002, 0x0040},
    };
    for (const Case& k : cases) {
        Clicking c;
        c.in.mode = k.mode;
        c.in.currentSample = 9;
        c.in.opacity = OpacityChoice::SemiTransparent;
        c.in.shining = 3;
        c.face(0).texture = 0x1002;
        c.face(0).attributes = 0x0040;
        const FaceClickResult r = c.onFace(0);
        EXPECT_EQ(c.face(0).texture, k.texture) << "mode " << int(k.mode);
        EXPECT_EQ(c.face(0).attributes, k.attributes) << "mode " << int(k.mode);
        EXPECT_EQ(r.changed, k.texture != 0x1002 || k.attributes != 0x0040);
    }
}

TEST(FaceClickApply, WithNoModeBoxCheckedTheClickInspects) {
    Clicking c;
    c.onlyBoxes(false, false, false);
    c.in.currentSample = 9;
    c.face(0).texture = 0x2004;
    const FaceClickResult r = c.onFace(0);
    EXPECT_EQ(r.action, Action::InspectFace);
    EXPECT_EQ(r.messages, status("Poly#0 Tri type 2 Tex 4"));
    EXPECT_EQ(c.face(0).texture, 0x2004);
}

TEST(FaceClickEdit, MirrorNegatesQuadsAndTogglesTriangleBit15) {
    Clicking c;
    c.face(0).texture = 0x2005;
    c.face(1).texture = std::uint16_t(-5);
    EXPECT_EQ(c.onFace(0, kShift).action, Action::MirrorTexture);
    EXPECT_EQ(c.face(0).texture, 0xA005);
    c.onFace(0, kShift);
    EXPECT_EQ(c.face(0).texture, 0x2005);
    c.onFace(1, kShift);
    EXPECT_EQ(c.face(1).texture, 5);
    c.in.mode = Mode::Shine;
    EXPECT_EQ(c.onFace(1, kShift).action, Action::None);
    EXPECT_EQ(c.face(1).texture, 5);
}

TEST(FaceClickEdit, TurnCornerAdvancesEvenCornersOrTakesTheGuidesChoice) {
    Clicking c;
    c.face(0).texture = 0xE007; // mirrored, corner 6, sample 7
    FaceClickResult r = c.onFace(0, kAltCtrl);
    EXPECT_EQ(r.action, Action::TurnCorner);
    EXPECT_EQ(c.face(0).texture, 0x8007);
    EXPECT_EQ(r.messages, status("Poly#0 Tri type 0"));
    EXPECT_EQ(r.triangleCorner, 0);
    c.face(0).texture = 0x3007; // corner 3 has no successor
    r = c.onFace(0, kAltCtrl);
    EXPECT_EQ(c.face(0).texture, 0x3007);
    EXPECT_EQ(r.messages, status("Poly#0 Tri type 3"));
    EXPECT_FALSE(r.triangleCorner);
    c.in.triangleType = {4, true};
    c.in.mode = Mode::TriangleType;
    r = c.onFace(0, kAltCtrl);
    EXPECT_EQ(c.face(0).texture, 0x4007);
    EXPECT_EQ(r.triangleCorner, 4);
    c.face(1).texture = 0x2001;
    EXPECT_EQ(c.onFace(1, kAltCtrl).action, Action::None); // quads have no corner
    EXPECT_EQ(c.face(1).texture, 0x2001);
    c.in.mode = Mode::Transparency;
    EXPECT_EQ(c.onFace(0, kAltCtrl).action, Action::None);
    EXPECT_EQ(c.face(0).texture, 0x4007);
}

TEST(FaceClickEdit, RotateOrderRestoresAfterAFullTurn) {
    Clicking c;
    const auto quad = c.face(1).vertexIndex, triangle = c.face(0).vertexIndex;
    c.onFace(1, kAlt);
    EXPECT_EQ(c.face(1).vertexIndex, (std::array<std::uint16_t, 4>{3, 0, 1, 2}));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(c.onFace(1, kAlt).action, Action::RotateOrder);
    EXPECT_EQ(c.face(1).vertexIndex, quad);
    c.in.mode = Mode::PolyPtOrder;
    for (int i = 0; i < 3; ++i)
        c.onFace(0, kAlt);
    EXPECT_EQ(c.face(0).vertexIndex, triangle);
    c.in.mode = Mode::Shine;
    EXPECT_EQ(c.onFace(0, kAlt).action, Action::None);
    EXPECT_EQ(c.face(0).vertexIndex, triangle);
}

TEST(FaceClickEdit, HideFaceInAnyFaceModeButNotOnAVertex) {
    Clicking c;
    c.in.mode = Mode::Transparency;
    const FaceClickResult r = c.onFace(1, kAltShift);
    EXPECT_EQ(r.action, Action::HideFace);
    EXPECT_TRUE(r.showHiddenFacesIndicator);
    EXPECT_EQ(c.face(1).visible, 0);
    EXPECT_EQ(c.mesh.hasHiddenFaces, 1);
    // In Points the click names vertex 0, which says nothing about face 0.
    c.in.mode = Mode::Points;
    EXPECT_EQ(c.onVertex(0, kAltShift).action, Action::None);
    EXPECT_EQ(c.face(0).visible, 1);
}

TEST(FaceClickEdit, TheFirstMatchingKeyRowWins) {
    Clicking c;
    c.face(0).texture = 0x2005;
    EXPECT_EQ(c.onFace(0, {true, true, true}).action, Action::HideFace);
    EXPECT_EQ(c.onFace(0, {true, true, false}).action, Action::MirrorTexture);
    EXPECT_EQ(c.face(0).texture, 0xA005);
}

TEST(FaceClickInspect, TriangleReadsBackSampleCornerFlipOpacityAndShine) {
    Clicking c;
    c.in.pickedVertex = 4;
    c.face(0).texture = 0xA005;    // mirrored, corner 2, sample 5
    c.face(0).attributes = 0x00DF; // semi-transparent, shine 23 (bit 7 ignored)
    const FaceClickResult r = c.onFace(0, kCtrl);
    EXPECT_EQ(r.action, Action::InspectFace);
    EXPECT_FALSE(r.changed);
    EXPECT_EQ(r.messages, status("Poly#0 Tri type 2 Tex 5 Flip"));
    EXPECT_EQ(r.selectSample, 5);
    EXPECT_EQ(r.triangleCorner, 2);
    EXPECT_EQ(r.opacity, OpacityChoice::SemiTransparent);
    EXPECT_EQ(r.shining, 23);
    EXPECT_EQ(r.pickedVertex, -1);
    c.face(0).texture = 0x1014; // corner 1, sample 20: beyond the 20 samples
    c.face(0).attributes = 0x0002;
    const FaceClickResult bad = c.onFace(0, kCtrl);
    EXPECT_EQ(bad.messages, status("Poly#0 Tri type 1 Invalid Tex"));
    EXPECT_FALSE(bad.selectSample);
    EXPECT_FALSE(bad.triangleCorner);
    EXPECT_EQ(bad.opacity, OpacityChoice::Opaque);
    EXPECT_EQ(bad.shining, 0);
}

TEST(FaceClickInspect, QuadShowsItsBend) {
    Clicking c;
    c.face(1).texture = 3;
    EXPECT_EQ(c.onFace(1, kCtrl).messages, status("Poly#1 Quad Tex 3 (0.00)"));
    // Corner 3 lifted 500 units: |D| = |e1 . (e2 x e3)| = 1000 * 500 * 1000.
    c.mesh.vertices[3].z = 500;
    c.face(1).texture = std::uint16_t(-3);
    const FaceClickResult r = c.onFace(1, kCtrl);
    EXPECT_EQ(r.messages, status("Poly#1 Quad Tex 3 Flip (500,000,000.00)"));
    EXPECT_EQ(r.selectSample, 3);
    c.face(1).texture = 0x8000; // -32768
    EXPECT_EQ(c.onFace(1, kCtrl).messages, status("Poly#1 Quad Invalid Tex Flip (500,000,000.00)"));
}

TEST(FaceClickPoints, CtrlClickPicksAVertexAndThePlainClickSwapsIt) {
    for (Mode mode : {Mode::Points, Mode::PointsWire}) {
        Clicking c;
        c.in.mode = mode;
        const Mesh before = c.mesh;
        EXPECT_EQ(c.onVertex(9).action, Action::None); // nothing picked yet
        EXPECT_TRUE(sameMesh(c.mesh, before));
        FaceClickResult r = c.onVertex(5, kCtrl);
        EXPECT_EQ(r.action, Action::InspectVertex);
        EXPECT_EQ(r.messages, status("Vertex 5  (-7, 8, -9)"));
        EXPECT_EQ(r.pickedVertex, 5);
        c.in.pickedVertex = r.pickedVertex;
        r = c.onVertex(9);
        EXPECT_EQ(r.action, Action::SwapVertices);
        EXPECT_TRUE(r.changed);
        EXPECT_EQ(r.messages, status("Vertex 5 changed to 9"));
        EXPECT_EQ(r.pickedVertex, -1);
        EXPECT_TRUE(test::sameVertex(c.mesh.vertices[9], {-7, 8, -9}));
        EXPECT_TRUE(test::sameVertex(c.mesh.vertices[5], {9, 9, 9}));
        // A stale pick (another mesh's vertex) is dropped without a swap.
        c.in.pickedVertex = 700;
        r = c.onVertex(2);
        EXPECT_EQ(r.action, Action::None);
        EXPECT_EQ(r.pickedVertex, -1);
        // Face actions do nothing to vertices.
        c.in.pickedVertex = -1;
        const Mesh now = c.mesh;
        for (ClickKeys keys : {kShift, kAlt, kAltCtrl})
            EXPECT_EQ(c.onVertex(0, keys).action, Action::None);
        EXPECT_TRUE(sameMesh(c.mesh, now));
    }
}

TEST(FaceClickLighting, PaintsTheCheckedCornersOfAStaticMesh) {
    Clicking c;
    c.mesh.normalCount = -10;
    c.in.lighting = {true, 16, {true, false, true, true}};
    c.face(1).vertexIndex = {4, 5, 6, 7};
    c.face(0).vertexIndex = {8, 9, 0, 7};
    FaceClickResult r = c.onFace(1);
    EXPECT_EQ(r.action, Action::PaintLight);
    EXPECT_TRUE(r.changed);
    EXPECT_EQ(c.mesh.shades[4], 4227);
    EXPECT_EQ(c.mesh.shades[5], 0);
    EXPECT_EQ(c.mesh.shades[6], 4227);
    EXPECT_EQ(c.mesh.shades[7], 4227);
    c.in.lighting.intensity = 31;
    c.in.mode = Mode::PolyPtOrder;
    c.onFace(0); // a triangle's fourth index is not a corner
    EXPECT_EQ(c.mesh.shades[8], 8191);
    EXPECT_EQ(c.mesh.shades[0], 8191);
    EXPECT_EQ(c.mesh.shades[7], 4227);
    // Ctrl reads the first corner's shade back into the track bar.
    r = c.onFace(0, kCtrl);
    EXPECT_EQ(r.action, Action::InspectLight);
    EXPECT_EQ(r.lightIntensity, 31);
    EXPECT_TRUE(r.messages.empty());
    // Every painted intensity reads back as itself.
    c.in.lighting.vertexBoxes = {true, true, true, true};
    for (int intensity = 0; intensity <= 31; ++intensity) {
        c.in.lighting.intensity = intensity;
        c.onFace(1);
        EXPECT_EQ(c.onFace(1, kCtrl).lightIntensity, intensity);
    }
    c.in.lighting.intensity = 99; // beyond the track bar: held at 31
    c.onFace(1);
    EXPECT_EQ(c.mesh.shades[4], 8191);
    c.mesh.shades[4] = -300;
    EXPECT_EQ(c.onFace(1, kCtrl).lightIntensity, 0);
    c.mesh.shades[4] = 32000;
    EXPECT_EQ(c.onFace(1, kCtrl).lightIntensity, 31);
}

TEST(FaceClickLighting, OtherModesAndMoveableMeshesApplyAsUsual) {
    Clicking c;
    c.in.lighting = {true, 16, {true, true, true, true}};
    c.in.currentSample = 4;
    c.onFace(0); // the mesh has normals: the click textures
    EXPECT_EQ(c.face(0).texture, 4);
    EXPECT_EQ(c.mesh.shades[0], 0);
    c.mesh.normalCount = -10;
    c.in.mode = Mode::Transparency;
    c.in.opacity = OpacityChoice::SemiTransparent;
    EXPECT_EQ(c.onFace(0).action, Action::Apply);
    EXPECT_EQ(c.face(0).attributes, 1);
    EXPECT_EQ(c.mesh.shades[0], 0);
    c.in.lighting.lightsEnabled = false;
    c.in.mode = Mode::Textured;
    c.in.currentSample = 6;
    c.onFace(0);
    EXPECT_EQ(c.face(0).texture, 6);
    EXPECT_EQ(c.mesh.shades[0], 0);
}

TEST(FaceClickGuards, ClicksThatNameNothingChangeNothing) {
    Clicking c;
    c.in.currentSample = 3;
    c.in.pickedVertex = 2;
    c.mesh.faces[2] = c.mesh.faces[1];
    c.mesh.faces[2].vertexIndex[3] = 10; // one past the vertices
    c.mesh.faceCount = 3;
    const Mesh before = c.mesh;
    const auto expectNothing = [&](const FaceClickResult& r) {
        EXPECT_EQ(r.action, Action::None);
        EXPECT_FALSE(r.changed);
        EXPECT_TRUE(r.messages.empty());
        EXPECT_EQ(r.pickedVertex, 2);
        EXPECT_TRUE(sameMesh(c.mesh, before));
    };
    for (ClickKeys keys : {kPlain, kShift, kCtrl, kAlt, kAltCtrl, kAltShift}) {
        expectNothing(c.onFace(2, keys));
        expectNothing(c.onFace(3, keys));
        expectNothing(c.onFace(-1, keys));
        expectNothing(c.onVertex(0, keys)); // a vertex hit in a face mode
        c.in.keys = keys;
        expectNothing(clickInView(*c.wad, c.slot, PickHit{}, c.in));
        expectNothing(clickInView(*c.wad, -1, {PickHit::Kind::Face, 0, 0.5}, c.in));
        expectNothing(clickInView(*c.wad, 5, {PickHit::Kind::Face, 0, 0.5}, c.in));
    }
    c.in.keys = kPlain;
    c.in.button = MouseButton::Right;
    expectNothing(c.onFace(0));
    c.in.button = MouseButton::Left;
    c.in.mode = Mode::Points;
    expectNothing(c.onVertex(10, kCtrl));
    expectNothing(c.onFace(0, kCtrl));
    c.in.mode = Mode::Textured;
    c.wad->version = 0;
    expectNothing(c.onFace(0));
}

TEST(FaceClickText, ThousandsSeparatorsAndTwoDecimals) {
    EXPECT_EQ(formatWithThousands(0), "0.00");
    EXPECT_EQ(formatWithThousands(999.994), "999.99");
    EXPECT_EQ(formatWithThousands(999.996), "1,000.00");
    EXPECT_EQ(formatWithThousands(1234567.891), "1,234,567.89");
    EXPECT_EQ(formatWithThousands(-1234.5), "-1,234.50");
}

TEST(QuadBend, DeterminantOfTheFourCorners) {
    EXPECT_EQ(quadBendDeterminant({5, 5, 5}, {6, 5, 5}, {5, 6, 5}, {5, 5, 6}), -1);
    // Extreme coordinates stay exact in doubles.
    EXPECT_EQ(quadBendDeterminant({-32768, -32768, -32768}, {32767, -32768, -32768},
                                  {-32768, 32767, -32768}, {-32768, -32768, 32767}),
              -65535.0 * 65535.0 * 65535.0);
}

} // namespace
} // namespace kavlen
