// The scene drawn into a GL view: pixels read back for every mode.
#include "scene_documents.h"
#include "scene_test_view.h"
#include "view3d/diagnostic_modes.h"
#include "view3d/mesh_scene.h"
#include "view3d/texture_upload.h"

#include <gtest/gtest.h>

#include <qopengl.h>

#include <cmath>

using namespace kavlen;
using namespace kavlen::testing;

namespace {

constexpr int kHalf = 30;    // half the side of a test face, model units
constexpr int kSpacing = 80; // distance between test face centres

// Centre of cell (column, row) of a 4 x 3 gallery of faces around the origin.
QPoint cellCentre(int column, int row) {
    return {static_cast<int>((column - 1.5) * kSpacing), (row - 1) * kSpacing};
}

class SceneRender : public ::testing::Test {
  protected:
    void SetUp() override {
        wad = makeSceneTestPackage();
        scene.document = wad.get();
        scene.showBox = 0;
        scene.overlayName = 1501;
        view = std::make_unique<SceneTestView>(scene);
        view->withContext([&] {
            uploadAllSamples(scene.textures, *wad, 24, false);
            uploadSolidTexture(scene.textures, KAVLEN_SOLID_BMP);
        });
    }

    void TearDown() override {
        view->withContext([&] { deleteSceneTextures(scene.textures); });
    }

    // Adds a mesh and returns its slot; faces are added with the helpers below.
    int newMesh() {
        addTestMesh(*wad);
        return wad->meshCount - 1;
    }
    Mesh& mesh(int slot) { return wad->meshes[static_cast<std::size_t>(slot)]; }

    MeshFace& quadAt(int slot, int column, int row, std::uint16_t texture,
                     std::uint16_t attributes = 0) {
        const QPoint c = cellCentre(column, row);
        return addQuad(mesh(slot), c.x(), c.y(), kHalf, texture, attributes);
    }
    MeshFace& triangleAt(int slot, int column, int row, std::uint16_t texture) {
        const QPoint c = cellCentre(column, row);
        return addTriangle(mesh(slot), c.x(), c.y(), kHalf, texture);
    }

    // Device pixel of the model point at offset (dx, dy) from a cell's centre.
    QPoint at(int column, int row, int dx = 0, int dy = 0) const {
        const QPoint c = cellCentre(column, row);
        return view->pixelOf(MeshVertex{static_cast<std::int16_t>(c.x() + dx),
                                        static_cast<std::int16_t>(c.y() + dy), 0});
    }

    QImage draw(int slot, std::uint8_t mode) {
        scene.currentMesh = slot;
        scene.renderMode = mode;
        return view->frame();
    }

    Rgb background() const { return rgbOf(view->clearColor); }

    std::unique_ptr<Package> wad;
    MeshScene scene;
    std::unique_ptr<SceneTestView> view;
};

// Dominant channel checks for smooth-shaded corners.
void expectNearCorner(Rgb actual, Rgb corner, const char* what) {
    for (int k = 0; k < 3; ++k) {
        const int want = k == 0 ? corner.r : k == 1 ? corner.g : corner.b;
        const int got = k == 0 ? actual.r : k == 1 ? actual.g : actual.b;
        EXPECT_NEAR(got, want, 60) << what << " channel " << k;
    }
}

} // namespace

TEST_F(SceneRender, TexturedFacesShowTheirSamplesTexels) {
    const int m = newMesh();
    quadAt(m, 0, 0, quadWord(1));
    quadAt(m, 1, 0, quadWord(-1)); // mirrored
    triangleAt(m, 2, 0, triangleWord(1, 0));
    quadAt(m, 3, 0, quadWord(3)); // 33 x 32 sample, stretched
    const QImage image = draw(m, kModeTextured);

    EXPECT_EQ(rgbAt(image, at(0, 0, -15, 0)), kLeftColor);
    EXPECT_EQ(rgbAt(image, at(0, 0, 15, 0)), kRightColor);
    EXPECT_EQ(rgbAt(image, at(1, 0, -15, 0)), kRightColor);
    EXPECT_EQ(rgbAt(image, at(1, 0, 15, 0)), kLeftColor);
    // Corner 0: vertex 0 (top left) at the sample's left edge, vertex 1 at its right.
    EXPECT_EQ(rgbAt(image, at(2, 0, -20, -15)), kLeftColor);
    EXPECT_EQ(rgbAt(image, at(2, 0, 10, -20)), kRightColor);
    EXPECT_EQ(rgbAt(image, at(2, 0, 15, 15)), background()); // outside the triangle
    EXPECT_EQ(rgbAt(image, at(3, 0)), kOddSizeColor);
}

TEST_F(SceneRender, UntexturedFacesShowTheGradientOrWhite) {
    const int m = newMesh();
    quadAt(m, 0, 1, quadWord(0));
    quadAt(m, 1, 1, quadWord(200)); // beyond the 4 samples: drawn as sample 0
    QImage image = draw(m, kModeTextured);
    for (int column : {0, 1}) {
        SCOPED_TRACE(column);
        expectNearCorner(rgbAt(image, at(column, 1, -27, -27)), kRgbRed, "vertex 0");
        expectNearCorner(rgbAt(image, at(column, 1, 27, -27)), kRgbLime, "vertex 1");
        expectNearCorner(rgbAt(image, at(column, 1, 27, 27)), kRgbBlue, "vertex 2");
        expectNearCorner(rgbAt(image, at(column, 1, -27, 27)), kRgbYellow, "vertex 3");
    }

    scene.untexturedWhite = 1;
    image = view->frame();
    EXPECT_EQ(rgbAt(image, at(0, 1, -27, -27)), kRgbWhite);
    EXPECT_EQ(rgbAt(image, at(1, 1, 20, 20)), kRgbWhite);
}

TEST_F(SceneRender, StaticShadesDarkenTexturedFacesWhenLightsAreEnabled) {
    const int m = newMesh();
    quadAt(m, 1, 1, quadWord(2)); // white sample
    mesh(m).normalCount = -4;
    mesh(m).shades.fill(4096);

    QImage image = draw(m, kModeTextured);
    EXPECT_EQ(rgbAt(image, at(1, 1)), kRgbWhite);

    scene.lightsEnabled = 1;
    image = view->frame();
    const Rgb lit = rgbAt(image, at(1, 1));
    EXPECT_NEAR(lit.r, 128, 1);
    EXPECT_NEAR(lit.g, 128, 1);
    EXPECT_NEAR(lit.b, 128, 1);
}

TEST_F(SceneRender, ShineModeGradesAndCanTurnGradingOff) {
    const int m = newMesh();
    const std::uint16_t attributes[] = {0x0000, 0x0002, 0x0006, 0x007E, 0x007C, 0x0042};
    for (int i = 0; i < 6; ++i)
        quadAt(m, i % 4, i / 4, quadWord(1), attributes[i]);
    QImage image = draw(m, kModeShine);
    EXPECT_EQ(rgbAt(image, at(0, 0)), (Rgb{255, 255, 255}));
    EXPECT_EQ(rgbAt(image, at(1, 0)), (Rgb{255, 128, 0}));
    EXPECT_EQ(rgbAt(image, at(2, 0)), (Rgb{255, 240, 240}));
    EXPECT_EQ(rgbAt(image, at(3, 0)), (Rgb{255, 0, 0}));
    EXPECT_EQ(rgbAt(image, at(0, 1)), (Rgb{255, 255, 255}));
    EXPECT_EQ(rgbAt(image, at(1, 1)), (Rgb{255, 120, 120}));

    scene.colorScaleShine = 0;
    image = view->frame();
    EXPECT_EQ(rgbAt(image, at(1, 0)), (Rgb{255, 128, 0}));
    EXPECT_EQ(rgbAt(image, at(2, 0)), (Rgb{255, 0, 0}));
    EXPECT_EQ(rgbAt(image, at(1, 1)), (Rgb{255, 0, 0}));
}

TEST_F(SceneRender, TransparencyModeShowsSemiTransparentFacesGrey) {
    const int m = newMesh();
    quadAt(m, 0, 0, quadWord(1), 0x0000);
    quadAt(m, 1, 0, quadWord(1), 0x0001);
    quadAt(m, 2, 0, quadWord(1), 0x007F);
    const QImage image = draw(m, kModeTransparency);
    EXPECT_EQ(rgbAt(image, at(0, 0)), (Rgb{255, 255, 255}));
    EXPECT_EQ(rgbAt(image, at(1, 0)), (Rgb{128, 128, 128}));
    EXPECT_EQ(rgbAt(image, at(2, 0)), (Rgb{128, 128, 128}));
}

TEST_F(SceneRender, TriangleTypeModeShowsTheFourCornersQuadsAndOddCorners) {
    const int m = newMesh();
    triangleAt(m, 0, 0, triangleWord(1, 0));
    triangleAt(m, 1, 0, triangleWord(1, 2));
    triangleAt(m, 2, 0, triangleWord(1, 4, true));
    triangleAt(m, 3, 0, triangleWord(1, 6));
    triangleAt(m, 0, 1, triangleWord(1, 3));
    quadAt(m, 1, 1, quadWord(1));
    const QImage image = draw(m, kModeTriangleType);
    EXPECT_EQ(rgbAt(image, at(0, 0, -15, -15)), (Rgb{0, 0, 255}));
    EXPECT_EQ(rgbAt(image, at(1, 0, -15, -15)), (Rgb{0, 255, 0}));
    EXPECT_EQ(rgbAt(image, at(2, 0, -15, -15)), (Rgb{0, 0, 128}));
    EXPECT_EQ(rgbAt(image, at(3, 0, -15, -15)), (Rgb{0, 128, 0}));
    EXPECT_EQ(rgbAt(image, at(0, 1, -15, -15)), kOddCornerColor);
    EXPECT_EQ(rgbAt(image, at(1, 1)), (Rgb{255, 255, 255}));
}

TEST_F(SceneRender, BentQuadsAreMagentaOnlyWhenAsked) {
    const int m = newMesh();
    quadAt(m, 0, 1, quadWord(1)); // flat
    MeshFace& bent = quadAt(m, 1, 1, quadWord(1));
    mesh(m).vertices[bent.vertexIndex[3]].z = 20; // lift the bottom left corner
    // Near the top right corner, which stays in the plane z = 0.
    QImage image = draw(m, kModeTriangleType);
    EXPECT_EQ(rgbAt(image, at(1, 1, 20, -20)), (Rgb{255, 255, 255}));
    EXPECT_EQ(rgbAt(image, at(0, 1)), (Rgb{255, 255, 255}));

    scene.showBentQuads = 1;
    image = view->frame();
    EXPECT_EQ(rgbAt(image, at(1, 1, 20, -20)), (Rgb{255, 0, 255}));
    EXPECT_EQ(rgbAt(image, at(0, 1)), (Rgb{255, 255, 255}));
}

TEST_F(SceneRender, PolyPtOrderColoursRunInVertexOrder) {
    const int m = newMesh();
    quadAt(m, 1, 1, quadWord(1));
    MeshFace& turned = quadAt(m, 2, 1, quadWord(1));
    // The same square with its vertex order rotated by one.
    turned.vertexIndex = {turned.vertexIndex[3], turned.vertexIndex[0], turned.vertexIndex[1],
                          turned.vertexIndex[2]};
    const QImage image = draw(m, kModePolyPtOrder);
    expectNearCorner(rgbAt(image, at(1, 1, -27, -27)), kRgbRed, "vertex 0");
    expectNearCorner(rgbAt(image, at(1, 1, 27, -27)), kRgbLime, "vertex 1");
    expectNearCorner(rgbAt(image, at(1, 1, 27, 27)), kRgbBlue, "vertex 2");
    expectNearCorner(rgbAt(image, at(1, 1, -27, 27)), kRgbYellow, "vertex 3");
    expectNearCorner(rgbAt(image, at(2, 1, -27, 27)), kRgbRed, "turned vertex 0");
    expectNearCorner(rgbAt(image, at(2, 1, -27, -27)), kRgbLime, "turned vertex 1");
}

TEST_F(SceneRender, HiddenFacesVanishOnlyWhereTheModeHidesThem) {
    const int m = newMesh();
    quadAt(m, 0, 1, quadWord(1));
    quadAt(m, 2, 1, quadWord(1)).visible = 0;
    mesh(m).hasHiddenFaces = 1;
    const Rgb line = rgbOf(scene.lineColor);

    for (std::uint8_t mode :
         {kModeTextured, kModeShine, kModeTransparency, kModeTriangleType, kModePolyPtOrder}) {
        SCOPED_TRACE(int(mode));
        const QImage image = draw(m, mode);
        EXPECT_NE(rgbAt(image, at(0, 1)), background());
        EXPECT_EQ(rgbAt(image, at(2, 1)), background());
        EXPECT_FALSE(colorNear(image, at(2, 1, 0, -kHalf), line, 2));
    }

    QImage image = draw(m, kModeWireframe);
    EXPECT_TRUE(colorNear(image, at(2, 1, 0, -kHalf), line, 1));
    EXPECT_TRUE(colorNear(image, at(0, 1, 0, -kHalf), line, 1));
    EXPECT_EQ(rgbAt(image, at(2, 1)), background());

    image = draw(m, kModeSolid);
    const TexturePicture solid = makeSolidPicture();
    const std::uint8_t* centre = solid.pixel(32, 32);
    EXPECT_EQ(rgbAt(image, at(2, 1)), (Rgb{centre[2], centre[1], centre[0]}));
    EXPECT_EQ(rgbAt(image, at(0, 1)), (Rgb{centre[2], centre[1], centre[0]}));

    // Points+Wire draws the faces' edges half transparent over the background.
    image = draw(m, kModePointsWire);
    bool blended = false;
    const QPoint edge = at(2, 1, 0, -kHalf);
    for (int dy = -2; dy <= 2; ++dy) {
        const Rgb c = rgbAt(image, edge + QPoint(0, dy));
        blended = blended || (c.g > 120 && c.b > 130 && c.r < 40);
    }
    EXPECT_TRUE(blended);
}

TEST_F(SceneRender, FacesNamingMissingVerticesAreSkippedInEveryMode) {
    const int m = newMesh();
    quadAt(m, 0, 1, quadWord(1));
    MeshFace& bad = quadAt(m, 2, 1, quadWord(1));
    bad.vertexIndex[2] = 0xFFFF;
    mesh(m).faceCount = 30000; // more than a slot holds
    for (std::uint8_t mode = 0; mode <= kModePolyPtOrder; ++mode) {
        SCOPED_TRACE(int(mode));
        const QImage image = draw(m, mode);
        EXPECT_EQ(rgbAt(image, at(2, 1)), background());
        if (mode != kModePoints && mode != kModePointsWire && mode != kModeNone &&
            mode != kModeWireframe) {
            EXPECT_NE(rgbAt(image, at(0, 1)), background());
        }
    }
}

TEST_F(SceneRender, NothingIsDrawnWithoutAPackageOrMesh) {
    const int m = newMesh();
    quadAt(m, 1, 1, quadWord(1));
    scene.showGrid = 1;
    view->pitch = 30;
    const Rgb grid = rgbOf(scene.gridColor);

    QImage image = draw(-1, kModeTextured);
    EXPECT_GT(countColor(image, grid), 100);
    EXPECT_EQ(countColor(image, kLeftColor), 0);

    scene.showAxes = 1;
    image = view->frame();
    EXPECT_GT(countColor(image, kRgbRed), 10); // the model's +x axis

    scene.currentMesh = 5; // no such slot
    image = view->frame();
    EXPECT_EQ(countColor(image, kLeftColor), 0);

    scene.document = nullptr;
    scene.currentMesh = m;
    image = view->frame();
    EXPECT_EQ(countColor(image, background()), image.width() * image.height());
}

TEST_F(SceneRender, StaticMeshShowsItsBoxOtherMeshesTheirSphere) {
    const int boxed = newMesh();
    quadAt(boxed, 1, 1, quadWord(1));
    const int free = newMesh();
    quadAt(free, 1, 1, quadWord(1));
    mesh(free).sphereRadius = 100;
    StaticMesh owner;
    owner.visibilityBox = {-100, 100, -100, 100, -100, 100};
    owner.collisionBox = {-50, 50, -50, 50, -50, 50};
    wad->statics.push_back(owner);
    wad->staticMeshIndex.push_back(static_cast<std::uint32_t>(boxed));
    wad->staticCount = 1;
    scene.showBox = 1;
    const Rgb box = rgbOf(scene.boxColor);
    const QPoint centre = view->pixelOf(Vec3{0, 0, 0});

    // Farthest box-coloured pixel from the view centre.
    const auto reach = [&](const QImage& image) {
        double farthest = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (rgbAt(image, {x, y}) == box)
                    farthest = std::max(farthest, std::hypot(x - centre.x(), y - centre.y()));
        return farthest;
    };

    QImage image = draw(boxed, kModeWireframe);
    EXPECT_TRUE(colorNear(image, view->pixelOf(Vec3{0, 1, 1}), box, 1));
    EXPECT_FALSE(colorNear(image, view->pixelOf(Vec3{0, 0.5, 0.5}), box, 1));
    EXPECT_GT(reach(image), view->scaled(150)); // the box's front corners

    scene.boxKind = 1;
    image = view->frame();
    EXPECT_TRUE(colorNear(image, view->pixelOf(Vec3{0, 0.5, 0.5}), box, 1));
    EXPECT_FALSE(colorNear(image, view->pixelOf(Vec3{0, 1, 1}), box, 1));

    // Stippled lines leave gaps.
    const int solidLines = countColor(image, box);
    scene.stippleOn = 1;
    image = view->frame();
    EXPECT_LT(countColor(image, box), solidLines * 3 / 4);
    EXPECT_GT(countColor(image, box), 0);
    scene.stippleOn = 0;

    image = draw(free, kModeTextured);
    EXPECT_GT(countColor(image, box), 100);
    EXPECT_LT(reach(image), view->scaled(102)); // within the sphere's outline (about 99 pixels)

    scene.showBox = 0;
    image = view->frame();
    EXPECT_EQ(countColor(image, box), 0);
}

TEST_F(SceneRender, OutlinesAndHighlightedFaceDrawOverTexturedFaces) {
    const int m = newMesh();
    quadAt(m, 0, 1, quadWord(1));
    quadAt(m, 2, 1, quadWord(1));
    const Rgb line = rgbOf(scene.lineColor);
    const Rgb box = rgbOf(scene.boxColor);

    QImage image = draw(m, kModeTextured);
    EXPECT_FALSE(colorNear(image, at(0, 1, 0, -kHalf), line, 2));

    scene.outlineFaces = 1;
    image = view->frame();
    EXPECT_TRUE(colorNear(image, at(0, 1, 0, -kHalf), line, 1));
    EXPECT_TRUE(colorNear(image, at(2, 1, -kHalf, 10), line, 1));

    scene.highlightOn = 1;
    scene.highlightMesh = m;
    scene.highlightFace = 1;
    image = view->frame();
    EXPECT_TRUE(colorNear(image, at(2, 1, 0, -kHalf), box, 1));
    EXPECT_FALSE(colorNear(image, at(0, 1, 0, -kHalf), box, 2));

    // The highlight belongs to its mesh only.
    scene.highlightMesh = m + 1;
    image = view->frame();
    EXPECT_FALSE(colorNear(image, at(2, 1, 0, -kHalf), box, 2));
}

TEST_F(SceneRender, PointsAboveTheRemapLimitUseTheSecondColour) {
    // 20 x 10 (200 vertices, limit 127) and 20 x 15 (300 vertices, limit 43) grids.
    const int small = newMesh();
    const int large = newMesh();
    for (int i = 0; i < 300; ++i) {
        const int x = (i % 20 - 10) * 4, y = (i / 20 - 7) * 4;
        if (i < 200)
            addVertex(mesh(small), x, y, 0);
        addVertex(mesh(large), x, y, 0);
    }
    view->distance = 1.2;
    const Rgb first = rgbOf(scene.pointColor);
    const Rgb second = rgbOf(scene.point2Color);
    const int near = view->scaled(6); // reaches a marker's outline, not its neighbours
    const auto vertexPixel = [&](int slot, int i) {
        return view->pixelOf(mesh(slot).vertices[static_cast<std::size_t>(i)]);
    };

    for (std::uint8_t mode : {kModePoints, kModePointsWire}) {
        SCOPED_TRACE(int(mode));
        QImage image = draw(small, mode);
        EXPECT_EQ(scene.remapLimit, 127);
        for (int i : {0, 100, 127}) {
            EXPECT_TRUE(colorNear(image, vertexPixel(small, i), first, near)) << i;
            EXPECT_FALSE(colorNear(image, vertexPixel(small, i), second, near)) << i;
        }
        for (int i : {128, 150, 199}) {
            EXPECT_TRUE(colorNear(image, vertexPixel(small, i), second, near)) << i;
            EXPECT_FALSE(colorNear(image, vertexPixel(small, i), first, near)) << i;
        }

        image = draw(large, mode);
        EXPECT_EQ(scene.remapLimit, 43);
        EXPECT_TRUE(colorNear(image, vertexPixel(large, 43), first, near));
        EXPECT_TRUE(colorNear(image, vertexPixel(large, 44), second, near));
        EXPECT_TRUE(colorNear(image, vertexPixel(large, 299), second, near));
    }
}

TEST_F(SceneRender, HairVerticesAreFilledInTheBoxColour) {
    const int m = newMesh();
    for (int i = 0; i < 100; ++i)
        addVertex(mesh(m), (i % 10 - 5) * 6, (i / 10 - 5) * 6, 0);
    view->distance = 1.2;
    const Rgb box = rgbOf(scene.boxColor);
    const auto centre = [&](int i) {
        return view->pixelOf(mesh(m).vertices[static_cast<std::size_t>(i)]);
    };

    QImage image = draw(m, kModePoints);
    EXPECT_FALSE(colorNear(image, centre(38), box, view->scaled(6)));

    scene.hairHighlight = 1;
    image = view->frame();
    for (int i : {37, 38, 39, 40})
        EXPECT_EQ(rgbAt(image, centre(i)), box) << i;
    EXPECT_EQ(rgbAt(image, centre(36)), background());
    EXPECT_EQ(rgbAt(image, centre(70)), background());

    scene.hairSetLara = 0;
    image = view->frame();
    for (int i : {68, 71, 76, 79})
        EXPECT_EQ(rgbAt(image, centre(i)), box) << i;
    EXPECT_EQ(rgbAt(image, centre(38)), background());
    EXPECT_EQ(rgbAt(image, centre(72)), background());

    image = draw(m, kModePointsWire);
    EXPECT_TRUE(colorNear(image, centre(70), box, 1));
    EXPECT_FALSE(colorNear(image, centre(72), box, view->scaled(6)));
}

TEST_F(SceneRender, FacesAndVerticesCarryTheirSelectionNames) {
    const int m = newMesh();
    quadAt(m, 0, 1, quadWord(1));
    quadAt(m, 1, 1, quadWord(1));
    quadAt(m, 2, 1, quadWord(1));
    const auto names = [](const std::vector<Hit>& hits) {
        std::vector<unsigned> out;
        for (const Hit& h : hits)
            out.push_back(h.name);
        return out;
    };

    scene.currentMesh = m;
    for (std::uint8_t mode : {kModeWireframe, kModeSolid, kModeTextured, kModeShine}) {
        scene.renderMode = mode;
        const auto hits = names(view->pick(at(2, 1), mode == kModeWireframe ? 1 : 3));
        if (mode == kModeWireframe) { // only the outline is drawn there
            EXPECT_TRUE(hits.empty());
        } else {
            EXPECT_EQ(hits, std::vector<unsigned>{3}) << int(mode);
        }
    }
    scene.renderMode = kModeWireframe;
    EXPECT_EQ(names(view->pick(at(1, 1, 0, -kHalf), 5)), std::vector<unsigned>{2});

    // Box lines carry the overlay name.
    StaticMesh owner;
    owner.visibilityBox = {-100, 100, -100, 100, -100, 100};
    wad->statics.push_back(owner);
    wad->staticMeshIndex.push_back(static_cast<std::uint32_t>(m));
    wad->staticCount = 1;
    scene.showBox = 1;
    EXPECT_EQ(names(view->pick(view->pixelOf(Vec3{0, 1, 1}), 5)), std::vector<unsigned>{1501});

    // Vertices in the point modes: vertex i under name i + 1.
    scene.renderMode = kModePoints;
    const auto vertexHits = names(view->pick(view->pixelOf(mesh(m).vertices[5]), 9));
    EXPECT_EQ(vertexHits, std::vector<unsigned>{6});
    // The wire of Points+Wire carries the overlay name.
    scene.renderMode = kModePointsWire;
    const auto wire = names(view->pick(at(1, 1, 0, -kHalf), 3));
    EXPECT_NE(std::find(wire.begin(), wire.end(), 1501u), wire.end());
}

TEST_F(SceneRender, DrawLeavesTheViewsGlStateAsItWas) {
    const int m = newMesh();
    quadAt(m, 1, 1, quadWord(1));
    for (std::uint8_t mode = 0; mode <= kModePolyPtOrder; ++mode) {
        scene.outlineFaces = 1;
        scene.showBox = 1;
        draw(m, mode);
        view->withContext([&] {
            SCOPED_TRACE(int(mode));
            EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
            EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
            EXPECT_FALSE(glIsEnabled(GL_BLEND));
            EXPECT_FALSE(glIsEnabled(GL_POLYGON_OFFSET_FILL));
            GLint polygonMode[2] = {};
            glGetIntegerv(GL_POLYGON_MODE, polygonMode);
            EXPECT_EQ(polygonMode[0], GL_LINE);
            EXPECT_EQ(polygonMode[1], GL_LINE);
        });
    }
}

TEST_F(SceneRender, DisplayListDrawsWhatImmediateDrawingDraws) {
    // Anything in Draw that a display list cannot hold (state read back at
    // compile time, client state) would make the replayed list differ. Quads
    // with different corner colours are left out: GL may split a quad along
    // either diagonal, and Mesa splits them differently in lists.
    const int m = newMesh();
    quadAt(m, 0, 1, quadWord(1));
    triangleAt(m, 1, 1, triangleWord(2, 4));
    quadAt(m, 2, 1, quadWord(0), 0x0007);
    for (int i = 0; i < 40; ++i)
        addVertex(mesh(m), (i % 8) * 10, (i / 8) * 10 - 100, 0);
    mesh(m).sphereRadius = 150;
    scene.showBox = 1;
    scene.outlineFaces = 1;
    scene.highlightOn = 1;
    scene.highlightMesh = m;
    scene.highlightFace = 0;
    scene.hairHighlight = 1;
    scene.showGrid = 1;
    scene.showAxes = 1;
    scene.untexturedWhite = 1;
    for (std::uint8_t mode = 0; mode < kModePolyPtOrder; ++mode) {
        SCOPED_TRACE(int(mode));
        const QImage listed = draw(m, mode);
        view->immediate = true;
        const QImage direct = view->frame();
        view->immediate = false;
        EXPECT_EQ(listed, direct);
    }
}

TEST_F(SceneRender, ANewSampleDrawsAsSoonAsItIsUploaded) {
    paintAtlasRect(*wad, 128, 64, 16, 16, Rgb{5, 250, 250});
    addTestSample(*wad, 128, 64, 16, 16);
    const int m = newMesh();
    quadAt(m, 1, 1, quadWord(4));
    view->withContext([&] { uploadSample(scene.textures, *wad, 4, 24, false); });
    const QImage image = draw(m, kModeTextured);
    EXPECT_EQ(rgbAt(image, at(1, 1)), (Rgb{5, 250, 250}));
}
