#include "meshedit/face_pick.h"
#include "test_package.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace kavlen {
namespace {

using Kind = PickHit::Kind;
using test::addQuad;
using test::addTriangle;

// Identity matrices over a 200 x 200 viewport: a model point (x, y, z) appears at
// cursor position (100 + x, 100 + y), one model unit per pixel, at window depth
// 0.5 - z / 200. A face wound clockwise on the screen faces the viewer.
PickView flatView() {
    PickView view;
    view.viewportWidth = 200;
    view.viewportHeight = 200;
    return view;
}

// The cursor whose pixel centre is model point (x, y) in flatView.
PickCursor atModel(double x, double y) {
    return {x + 99.5, y + 99.5};
}

// A package with one empty mesh; returns that mesh.
struct OneMesh {
    std::unique_ptr<Package> wad = test::makeBarePackage();
    int slot = test::addMesh(*wad, {});
    Mesh& mesh = wad->meshes[slot];

    int vertex(std::int16_t x, std::int16_t y, std::int16_t z) {
        mesh.vertices[mesh.vertexCount] = {x, y, z};
        return mesh.vertexCount++;
    }
    // A square from (x0, y0) to (x1, y1) at height z, clockwise on the screen
    // (facing the viewer) unless `away`.
    int square(int x0, int y0, int x1, int y1, int z, bool away = false) {
        const auto s = [](int v) { return std::int16_t(v); };
        const int a = vertex(s(x0), s(y0), s(z)), b = vertex(s(x1), s(y0), s(z));
        const int c = vertex(s(x1), s(y1), s(z)), d = vertex(s(x0), s(y1), s(z));
        if (away)
            addQuad(mesh, d, c, b, a);
        else
            addQuad(mesh, a, b, c, d);
        return mesh.faceCount - 1;
    }
};

constexpr RenderModeEntry kFaceModes[] = {
    RenderModeEntry::Wireframe,   RenderModeEntry::Solid,        RenderModeEntry::Textured,
    RenderModeEntry::Shine,       RenderModeEntry::Transparency, RenderModeEntry::TriangleType,
    RenderModeEntry::PolyPtOrder,
};

TEST(FacePick, NearerFaceWinsWhateverItsIndex) {
    OneMesh m;
    const int far = m.square(-50, -50, 50, 50, -20);
    const int near = m.square(-20, -20, 20, 20, 20);
    PickHit hit = pickInMesh(m.mesh, RenderModeEntry::Solid, flatView(), atModel(0, 0));
    EXPECT_EQ(hit.kind, Kind::Face);
    EXPECT_EQ(hit.index, near);
    EXPECT_NEAR(hit.depth, 0.4, 1e-12);
    EXPECT_EQ(hit.selectionName(), std::uint32_t(near + 1));
    // Outside the near square only the far one is under the cursor.
    hit = pickInMesh(m.mesh, RenderModeEntry::Solid, flatView(), atModel(30, 0));
    EXPECT_EQ(hit.index, far);
    EXPECT_NEAR(hit.depth, 0.6, 1e-12);

    std::swap(m.mesh.faces[0], m.mesh.faces[1]);
    hit = pickInMesh(m.mesh, RenderModeEntry::Solid, flatView(), atModel(0, 0));
    EXPECT_EQ(hit.index, 0);
    EXPECT_NEAR(hit.depth, 0.4, 1e-12);
}

TEST(FacePick, TiedDepthsKeepTheLowerIndex) {
    OneMesh m;
    m.square(-50, -50, 50, 50, 0);
    m.square(-50, -50, 50, 50, 0);
    EXPECT_EQ(pickInMesh(m.mesh, RenderModeEntry::Solid, flatView(), atModel(0, 0)).index, 0);
}

TEST(FacePick, BackFacesAreCulledInEveryFaceMode) {
    OneMesh m;
    const int behind = m.square(-50, -50, 50, 50, -20);
    const int turnedAway = m.square(-50, -50, 50, 50, 20, true);
    for (RenderModeEntry mode : kFaceModes) {
        const PickHit hit = pickInMesh(m.mesh, mode, flatView(), atModel(0, 0));
        EXPECT_EQ(hit.index, behind) << "mode " << int(mode);
    }
    // Seen from the other side the roles change: the square that faced away is now
    // the one facing the viewer, though it lies behind the other.
    PickView fromBehind = flatView();
    fromBehind.modelview = rotationMatrix(180, 0, 1, 0);
    const PickHit hit = pickInMesh(m.mesh, RenderModeEntry::Wireframe, fromBehind, atModel(0, 0));
    EXPECT_EQ(hit.index, turnedAway);
    EXPECT_NEAR(hit.depth, 0.6, 1e-12);
}

TEST(FacePick, HiddenFacesArePickedOnlyInTheModesThatDrawThem) {
    OneMesh m;
    const int behind = m.square(-50, -50, 50, 50, -20);
    const int hidden = m.square(-50, -50, 50, 50, 20);
    m.mesh.faces[hidden].visible = 0;
    for (RenderModeEntry mode : kFaceModes) {
        const bool drawn = mode == RenderModeEntry::Wireframe || mode == RenderModeEntry::Solid;
        EXPECT_EQ(pickInMesh(m.mesh, mode, flatView(), atModel(0, 0)).index,
                  drawn ? hidden : behind)
            << "mode " << int(mode);
    }
}

TEST(FacePick, QuadIsDrawnAsTrianglesAcrossItsSecondDiagonalEachCulledOnItsOwn) {
    // A dart: corner 2 is dented in. Split across corners 1 and 3, triangle
    // (0, 1, 3) faces the viewer and covers the dent; (1, 2, 3) faces away.
    OneMesh dart;
    const int a = dart.vertex(0, 0, 0), b = dart.vertex(100, 0, 0);
    const int c = dart.vertex(30, 30, 0), d = dart.vertex(0, 100, 0);
    addQuad(dart.mesh, a, b, c, d);
    EXPECT_EQ(pickInMesh(dart.mesh, RenderModeEntry::Solid, flatView(), atModel(50, 40)).index, 0);

    // Corner 0 pulled past the diagonal: (0, 1, 3) faces away and is culled, while
    // (1, 2, 3) still faces the viewer.
    OneMesh folded;
    const int p0 = folded.vertex(200, 50, 0), p1 = folded.vertex(100, 0, 0);
    const int p2 = folded.vertex(100, 100, 0), p3 = folded.vertex(0, 100, 0);
    addQuad(folded.mesh, p0, p1, p2, p3);
    EXPECT_FALSE(
        pickInMesh(folded.mesh, RenderModeEntry::Solid, flatView(), atModel(150, 50)).found());
    EXPECT_EQ(pickInMesh(folded.mesh, RenderModeEntry::Solid, flatView(), atModel(90, 90)).index,
              0);
}

TEST(FacePick, EdgeCountsWithinHalfThePickRegion) {
    OneMesh m;
    m.square(0, -50, 100, 50, 0); // left edge at window x 100
    const auto hitAt = [&](double cursorX, double region) {
        return pickInMesh(m.mesh, RenderModeEntry::Textured, flatView(), {cursorX, 100}, region)
            .found();
    };
    // The pick looks at the pixel centre, cursor x + 0.5, give or take 0.045.
    EXPECT_TRUE(hitAt(99.46, kPickRegionSize));
    EXPECT_FALSE(hitAt(99.45, kPickRegionSize));
    EXPECT_TRUE(hitAt(99.01, 1.0));
    EXPECT_FALSE(hitAt(98.99, 1.0));
    EXPECT_FALSE(hitAt(99.9, 0.0)); // no region, no pick (as gluPickMatrix)
}

TEST(FacePick, PointModesPickTheVertexMarkerNearestTheEye) {
    OneMesh m;
    m.square(-50, -50, 50, 50, 0); // a face alone is nothing in the point modes
    const int low = m.vertex(10, 20, -10);
    const int high = m.vertex(10, 20, 10);
    // Points draws a square one model unit (0.01 view units) to each side.
    PickHit hit = pickInMesh(m.mesh, RenderModeEntry::Points, flatView(), atModel(10.9, 20));
    EXPECT_EQ(hit.kind, Kind::Vertex);
    EXPECT_EQ(hit.index, high);
    EXPECT_NEAR(hit.depth, 0.45, 1e-12);
    EXPECT_FALSE(
        pickInMesh(m.mesh, RenderModeEntry::Points, flatView(), atModel(11.1, 20)).found());
    EXPECT_FALSE(pickInMesh(m.mesh, RenderModeEntry::Points, flatView(), atModel(0, 0)).found());
    EXPECT_FALSE(
        pickInMesh(m.mesh, RenderModeEntry::PointsWire, flatView(), atModel(-30, 0)).found());
    m.mesh.vertices[high].z = -20;
    EXPECT_EQ(pickInMesh(m.mesh, RenderModeEntry::Points, flatView(), atModel(10, 20)).index, low);
}

TEST(FacePick, PointsWireSphereHasTheOutlineGluDraws) {
    OneMesh m;
    m.vertex(0, 0, 0);
    PickView view = flatView();
    view.modelview = scaleMatrix(10, 10, 10); // the sphere's radius is 10 pixels
    // Seen along its axis the sphere of 8 slices shows an octagon with corners at
    // multiples of 45 degrees: 10 pixels out at a corner, 10 cos 22.5 = 9.24 pixels
    // out between two corners.
    const auto hitAt = [&](double degrees, double distance) {
        const double a = degrees * std::numbers::pi / 180;
        const PickCursor c{100 + distance * std::cos(a) - 0.5, 100 + distance * std::sin(a) - 0.5};
        return pickInMesh(m.mesh, RenderModeEntry::PointsWire, view, c);
    };
    EXPECT_EQ(hitAt(0, 9.8).index, 0);
    EXPECT_EQ(hitAt(135, 9.8).index, 0);
    EXPECT_TRUE(hitAt(22.5, 9.1).found());
    EXPECT_FALSE(hitAt(22.5, 9.4).found());
    // The nearest point is the pole facing the viewer: depth 0.5 - 0.1 / 2.
    EXPECT_NEAR(hitAt(0, 0).depth, 0.45, 1e-12);
}

TEST(FacePick, PerspectiveViewHonoursNearAndFarPlanes) {
    // The view as the render window sets it up: 45 degrees, camera 5 units back.
    PickView view;
    view.viewportWidth = view.viewportHeight = 200;
    view.projection = multiply(perspectiveMatrix(45, 1, 0.1, 100), translationMatrix(0, 0, -5));
    OneMesh m;
    m.square(-100, -100, 100, 100, 0);
    PickHit hit = pickInMesh(m.mesh, RenderModeEntry::Textured, view, {99.5, 99.5});
    ASSERT_EQ(hit.index, 0);
    // Window depth at distance 5: 0.5 + 0.5 (f + n) / (f - n) - f n / ((f - n) 5).
    EXPECT_NEAR(hit.depth, 0.5 + 0.5 * 100.1 / 99.9 - 10.0 / (99.9 * 5), 1e-12);
    // A square 6 units beyond the camera (behind it) and one 105 units in front
    // (beyond the far plane) are not seen.
    m.mesh.faceCount = 0;
    m.square(-100, -100, 100, 100, -1100);
    m.square(-20000, -20000, 20000, 20000, 10000);
    EXPECT_FALSE(pickInMesh(m.mesh, RenderModeEntry::Textured, view, {99.5, 99.5}).found());
    // The corner of a square projects where projectToWindow says; a click just inside
    // it hits, just outside misses.
    m.mesh.faceCount = 0;
    const int s = m.square(0, 0, 100, 100, 0);
    const auto corner = projectToWindow(viewUnits({0, 0, 0}), view);
    ASSERT_TRUE(corner);
    EXPECT_NEAR(corner->x, 100, 1e-12);
    EXPECT_NEAR(corner->y, 100, 1e-12);
    const auto far = projectToWindow(viewUnits({100, 100, 0}), view);
    ASSERT_TRUE(far);
    const double span = 100 / std::tan(22.5 * std::numbers::pi / 180) / 5; // 1 unit at 5
    EXPECT_NEAR(far->x, 100 + span, 1e-9);
    EXPECT_EQ(pickInMesh(m.mesh, RenderModeEntry::Textured, view, {far->x - 1, far->y - 1}).index,
              s);
    EXPECT_FALSE(pickInMesh(m.mesh, RenderModeEntry::Textured, view, {far->x, far->y}).found());
}

TEST(FacePick, DevicePixelRatioTwoPicksWhatTheLogicalPositionShows) {
    OneMesh m;
    const int left = m.square(-100, -100, 0, 100, 0);
    const int right = m.square(0, -100, 100, 100, 0);
    PickView logical = flatView();
    PickView device = flatView();
    device.viewportWidth = device.viewportHeight = 400;
    EXPECT_EQ(cursorInDevicePixels(50.25, 60, 2).x, 100.5);
    EXPECT_EQ(cursorInDevicePixels(50.25, 60, 2).y, 120);
    for (double x : {98.0, 99.0, 101.0, 150.0}) {
        const PickCursor c = cursorInDevicePixels(x, 30, 2);
        const int expected = x < 100 ? left : right;
        EXPECT_EQ(pickInMesh(m.mesh, RenderModeEntry::Solid, logical, {x, 30}).index, expected);
        EXPECT_EQ(pickInMesh(m.mesh, RenderModeEntry::Solid, device, c).index, expected);
    }
    // A viewport that does not start at the bottom left of the widget.
    PickView offset = device;
    offset.viewportX = 50;
    offset.viewportY = 30;
    offset.viewportWidth = offset.viewportHeight = 200;
    const auto p = projectToWindow(viewUnits({50, 0, 0}), offset);
    ASSERT_TRUE(p);
    EXPECT_NEAR(p->x, 200, 1e-12);
    EXPECT_NEAR(p->y, 100, 1e-12); // widget height 230, GL y 130
    EXPECT_EQ(pickInMesh(m.mesh, RenderModeEntry::Solid, offset, {p->x, p->y}).index, right);
}

TEST(FacePick, FacesWithVerticesOutsideTheMeshAreSkipped) {
    OneMesh m;
    const int behind = m.square(-50, -50, 50, 50, -20);
    const int broken = m.square(-50, -50, 50, 50, 20);
    m.mesh.faces[broken].vertexIndex[2] = m.mesh.vertexCount; // slot holds data, but unused
    m.mesh.vertices[m.mesh.vertexCount] = {50, 50, 20};
    EXPECT_EQ(pickInMesh(m.mesh, RenderModeEntry::Solid, flatView(), atModel(0, 0)).index, behind);
    // A triangle only needs its first three indices to be valid.
    m.mesh.faceCount = 0;
    const int a = m.vertex(-50, -50, 0), b = m.vertex(50, -50, 0), c = m.vertex(-50, 50, 0);
    addTriangle(m.mesh, a, b, c).vertexIndex[3] = 60000;
    EXPECT_EQ(pickInMesh(m.mesh, RenderModeEntry::Solid, flatView(), atModel(-10, -10)).index, 0);
    // Counts beyond the arrays are held to them (the other face slots are empty).
    m.mesh.faces[1] = MeshFace{};
    m.mesh.faceCount = 30000;
    m.mesh.vertexCount = 60000;
    EXPECT_EQ(pickInMesh(m.mesh, RenderModeEntry::Solid, flatView(), atModel(-10, -10)).index, 0);
    EXPECT_TRUE(pickInMesh(m.mesh, RenderModeEntry::Points, flatView(), atModel(0, 0)).found());
    m.mesh.faceCount = -3;
    EXPECT_FALSE(pickInMesh(m.mesh, RenderModeEntry::Solid, flatView(), atModel(-10, -10)).found());
}

TEST(FacePick, NoPackageNoMeshOrNoViewportPicksNothing) {
    OneMesh m;
    m.square(-50, -50, 50, 50, 0);
    const PickCursor centre = atModel(0, 0);
    EXPECT_TRUE(
        pickInCurrentMesh(*m.wad, m.slot, RenderModeEntry::Solid, flatView(), centre).found());
    EXPECT_FALSE(pickInCurrentMesh(*m.wad, -1, RenderModeEntry::Solid, flatView(), centre).found());
    EXPECT_FALSE(
        pickInCurrentMesh(*m.wad, m.wad->meshCount, RenderModeEntry::Solid, flatView(), centre)
            .found());
    PickView empty = flatView();
    empty.viewportHeight = 0;
    EXPECT_FALSE(pickInMesh(m.mesh, RenderModeEntry::Solid, empty, centre).found());
    m.wad->version = 0;
    EXPECT_FALSE(
        pickInCurrentMesh(*m.wad, m.slot, RenderModeEntry::Solid, flatView(), centre).found());
    const PickHit none;
    EXPECT_EQ(none.selectionName(), 0u);
}

TEST(ViewMatrix, RotationTurnsCounterClockwiseAndTheRightMatrixActsFirst) {
    const Vec4 p =
        transform(multiply(translationMatrix(1, 2, 3), rotationMatrix(90, 0, 0, 2)), {1, 0, 0, 1});
    EXPECT_NEAR(p.x, 1, 1e-12);
    EXPECT_NEAR(p.y, 3, 1e-12);
    EXPECT_NEAR(p.z, 3, 1e-12);
}

} // namespace
} // namespace kavlen
