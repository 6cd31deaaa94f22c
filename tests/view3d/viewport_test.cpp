// Navigation arithmetic and fitting of the view, without a GL context.
#include "view3d/mesh_bounds.h"
#include "view3d/viewport.h"

#include "meshedit/view_matrix.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <random>

namespace kavlen {
namespace {

constexpr ShiftState kRight{false, false, true};
constexpr ShiftState kRightShift{true, false, true};
constexpr ShiftState kRightCtrl{false, true, true};

struct ViewportTest : testing::Test {
    ViewportTest() {
        viewport.setCamera(&camera);
        viewport.repaint = [this] { ++repaints; };
    }
    Viewport viewport;
    Camera camera;
    int repaints = 0;
};

TEST_F(ViewportTest, RightDragRotatesOneDegreePerPixelAndResumesFromTheLastDrag) {
    viewport.mouseDown(100, 100, kRight);
    viewport.mouseMove(130, 80, kRight);
    EXPECT_DOUBLE_EQ(viewport.viewRotation[1], 30);
    EXPECT_DOUBLE_EQ(viewport.viewRotation[0], -20);
    viewport.mouseUp();

    viewport.mouseDown(0, 0, kRight);
    viewport.mouseMove(10, 5, kRight);
    EXPECT_DOUBLE_EQ(viewport.viewRotation[1], 40);
    EXPECT_DOUBLE_EQ(viewport.viewRotation[0], -15);
    EXPECT_EQ(viewport.lastMouse, (std::array<int, 2>{10, 5}));
    EXPECT_EQ(repaints, 2); // navigation repaints without rebuilding the scene
}

TEST_F(ViewportTest, ShiftHeldDuringARotationDragStopsTheRotation) {
    viewport.mouseDown(0, 0, kRight);
    viewport.mouseMove(10, 0, kRight);
    viewport.mouseMove(50, 0, kRightShift);
    EXPECT_DOUBLE_EQ(viewport.viewRotation[1], 10);
    viewport.mouseMove(60, 0, kRight);
    EXPECT_DOUBLE_EQ(viewport.viewRotation[1], 60);
}

TEST_F(ViewportTest, MovesWithoutAButtonDoNothingButTrackThePointer) {
    viewport.mouseMove(40, 40, {});
    EXPECT_EQ(viewport.viewRotation, (Vec3{0, 0, 0}));
    EXPECT_FLOAT_EQ(camera.posX, 0);
    EXPECT_EQ(viewport.lastMouse, (std::array<int, 2>{40, 40}));
}

// Without a known view size the pan falls back to fifty pixels per unit.
TEST_F(ViewportTest, ShiftRightDragPansTheCameraFiftyPixelsPerUnitInAViewOfUnknownSize) {
    viewport.mouseDown(200, 200, kRightShift);
    viewport.mouseMove(300, 150, kRightShift);
    EXPECT_FLOAT_EQ(camera.posX, -2.0f);
    EXPECT_FLOAT_EQ(camera.posY, -1.0f);
    EXPECT_EQ(viewport.viewRotation, (Vec3{0, 0, 0}));
    viewport.mouseUp();
    viewport.mouseDown(0, 0, kRightShift);
    viewport.mouseMove(-50, 0, kRightShift);
    EXPECT_FLOAT_EQ(camera.posX, -1.0f);
}

TEST_F(ViewportTest, PanningWithoutACameraChangesNothing) {
    viewport.setCamera(nullptr);
    viewport.mouseDown(0, 0, kRightShift);
    viewport.mouseMove(100, 100, kRightShift);
    viewport.mouseUp();
    EXPECT_EQ(viewport.savedCameraXY, (std::array<double, 2>{0, 0}));
}

TEST_F(ViewportTest, CtrlRightDragScalesUniformlyAndStopsAtZero) {
    viewport.viewScale = {2, 2, 2};
    viewport.mouseMove(0, 100, kRightCtrl); // the first move anchors
    viewport.mouseMove(0, 150, kRightCtrl);
    EXPECT_EQ(viewport.viewScale, (Vec3{2.5, 2.5, 2.5}));

    viewport.mouseMove(0, -400, kRightCtrl); // would be -3
    EXPECT_EQ(viewport.viewScale, (Vec3{0, 0, 0}));

    viewport.mouseMove(0, 200, kRightCtrl); // down again restores
    EXPECT_EQ(viewport.viewScale, (Vec3{3, 3, 3}));
}

TEST_F(ViewportTest, ReleasingCtrlEndsTheScaleDragSoTheNextStartsAfresh) {
    viewport.mouseMove(0, 0, kRightCtrl);
    viewport.mouseMove(0, 100, kRightCtrl);
    EXPECT_DOUBLE_EQ(viewport.viewScale[0], 2.0);
    viewport.mouseMove(0, 100, kRight);
    EXPECT_FALSE(viewport.scaling);
    viewport.mouseMove(0, 300, kRightCtrl);
    viewport.mouseMove(0, 350, kRightCtrl);
    EXPECT_DOUBLE_EQ(viewport.viewScale[0], 2.5);
}

TEST_F(ViewportTest, WheelZoomsAndCanBringBackAViewScaledToNothing) {
    viewport.wheelZoom(1);
    EXPECT_NEAR(viewport.viewScale[0], 1.1, 1e-12);
    viewport.wheelZoom(-2);
    EXPECT_NEAR(viewport.viewScale[2], 1.1 / 1.21, 1e-12);
    viewport.viewScale = {0, 0, 0};
    viewport.wheelZoom(-1);
    EXPECT_EQ(viewport.viewScale, (Vec3{0, 0, 0}));
    viewport.wheelZoom(1);
    EXPECT_GT(viewport.viewScale[1], 0);
}

TEST_F(ViewportTest, InvalidateSceneMarksTheListStaleAndRepaints) {
    viewport.invalidateScene();
    EXPECT_FALSE(viewport.listValid());
    EXPECT_EQ(repaints, 1);
    viewport.setClearColor(0x00112233);
    EXPECT_EQ(viewport.clearColor(), 0x00112233u);
    EXPECT_EQ(repaints, 2);
}

// Where the view draws a point given in the figure's coordinates: the matrices
// of renderFrame (camera on the projection, view transform on the modelview)
// and the figure's position, in logical pixels from the top left.
struct Projected {
    double x = 0, y = 0; // pixels
    double ndcX = 0, ndcY = 0, ndcZ = 0;
    bool inFront = false;
};

Projected project(const Viewport& viewport, const Camera& camera, const SceneFigure& figure,
                  const Vec3& p) {
    const int width = viewport.viewWidth(), height = viewport.viewHeight();
    Matrix4 projection = multiply(perspectiveMatrix(Viewport::kFieldOfViewY, double(width) / height,
                                                    Viewport::kNearPlane, Viewport::kFarPlane),
                                  translationMatrix(-camera.posX, -camera.posY, -camera.posZ));
    const Vec3& t = viewport.viewTranslation;
    const Vec3& s = viewport.viewScale;
    const Vec3& r = viewport.viewRotation;
    Matrix4 modelview =
        multiply(translationMatrix(t[0], t[1], t[2]), scaleMatrix(s[0], s[1], s[2]));
    modelview = multiply(modelview, rotationMatrix(r[0], 1, 0, 0));
    modelview = multiply(modelview, rotationMatrix(r[1], 0, 1, 0));
    modelview = multiply(modelview, rotationMatrix(r[2], 0, 0, 1));
    modelview = multiply(
        modelview, translationMatrix(figure.position[0], figure.position[1], figure.position[2]));
    const Vec4 clip = transform(multiply(projection, modelview), {p[0], p[1], p[2], 1});
    Projected out;
    out.inFront = clip.w > 0;
    out.ndcX = clip.x / clip.w;
    out.ndcY = clip.y / clip.w;
    out.ndcZ = clip.z / clip.w;
    out.x = (out.ndcX + 1) / 2 * width;
    out.y = (1 - out.ndcY) / 2 * height;
    return out;
}

// A mesh of `count` random vertices inside the box of the given model extents
// around `centre`, with the box's corners among them.
Mesh randomMesh(std::mt19937& random, std::array<double, 3> size, std::array<double, 3> centre,
                int count) {
    Mesh mesh;
    std::uniform_real_distribution<double> unit(-0.5, 0.5);
    const auto clampToWord = [](double v) {
        return static_cast<std::int16_t>(std::clamp(std::lround(v), -32768L, 32767L));
    };
    mesh.vertexCount = static_cast<std::uint16_t>(count);
    for (int i = 0; i < count; ++i) {
        std::array<double, 3> v{};
        for (int k = 0; k < 3; ++k) {
            const double f = i < 8 ? (((i >> k) & 1) ? 0.5 : -0.5) : unit(random);
            v[k] = centre[k] + f * size[k];
        }
        mesh.vertices[static_cast<std::size_t>(i)] = {clampToWord(v[0]), clampToWord(v[1]),
                                                      clampToWord(v[2])};
    }
    return mesh;
}

// The render window's Center: the mesh centred on the origin, then the fit.
SceneFigure centreAndFit(Viewport& viewport, const Mesh& mesh) {
    SceneFigure figure;
    setFigureBoundsToMesh(figure, mesh);
    for (int k = 0; k < 3; ++k)
        figure.position[k] = -(figure.boundMin[k] + figure.boundMax[k]) / 2;
    viewport.setBoundsFromFigure(figure);
    viewport.fitView();
    return figure;
}

// Flat, tall, long, deep, tiny and huge meshes, off centre, in views from very
// narrow to very wide: every vertex lands inside the view and between the
// depth planes, and the mesh spans at least 40% of the view in its limiting
// direction.
TEST_F(ViewportTest, CenterShowsEveryVertexOfAnyMeshInAnyViewAndFillsAFairShare) {
    const std::array<std::array<double, 3>, 8> shapes{{
        {1000, 2, 1000},  // flat floor
        {200, 6000, 200}, // tall pole
        {8000, 100, 100}, // long beam
        {100, 100, 9000}, // deep rod pointing at the camera
        {2, 3, 1},        // tiny
        {60000, 4000, 60000},
        {512, 512, 512},
        {1, 1, 1},
    }};
    const std::array<std::array<int, 2>, 5> views{
        {{640, 480}, {200, 900}, {1600, 300}, {97, 61}, {1000, 1000}}};
    std::mt19937 random(12);
    std::uniform_real_distribution<double> offset(-3000, 3000);
    std::uniform_real_distribution<double> jitter(0.5, 1.5);
    for (int round = 0; round < 40; ++round) {
        const auto& shape = shapes[static_cast<std::size_t>(round) % shapes.size()];
        const auto& view = views[static_cast<std::size_t>(round) % views.size()];
        std::array<double, 3> size = shape;
        for (double& v : size)
            v = std::min(v * jitter(random), 65000.0);
        std::array<double, 3> centre{};
        for (int k = 0; k < 3; ++k)
            centre[k] = std::clamp(offset(random), -32767 + size[k] / 2, 32767 - size[k] / 2);
        const Mesh mesh = randomMesh(random, size, centre, 8 + round * 7);
        viewport.setViewSize(view[0], view[1]);
        viewport.viewRotation = {30, 40, 0}; // the fit starts from a fresh view
        const SceneFigure figure = centreAndFit(viewport, mesh);

        double minX = 1e9, maxX = -1e9, minY = 1e9, maxY = -1e9;
        for (std::size_t i = 0; i < mesh.vertexCount; ++i) {
            const Projected p = project(viewport, camera, figure, toViewUnits(mesh.vertices[i]));
            ASSERT_TRUE(p.inFront) << "round " << round << " vertex " << i;
            ASSERT_LE(std::abs(p.ndcX), 1.0) << "round " << round << " vertex " << i;
            ASSERT_LE(std::abs(p.ndcY), 1.0) << "round " << round << " vertex " << i;
            ASSERT_LE(std::abs(p.ndcZ), 1.0) << "round " << round << " vertex " << i;
            minX = std::min(minX, p.ndcX);
            maxX = std::max(maxX, p.ndcX);
            minY = std::min(minY, p.ndcY);
            maxY = std::max(maxY, p.ndcY);
        }
        EXPECT_GE(std::max(maxX - minX, maxY - minY) / 2, 0.4)
            << "round " << round << ": the mesh fills too little of the view";
        EXPECT_EQ(viewport.viewRotation, (Vec3{0, 0, 0}));
        EXPECT_EQ(viewport.savedScale, viewport.viewScale);
        EXPECT_DOUBLE_EQ(viewport.savedCameraXY[0], camera.posX);
    }
}

TEST_F(ViewportTest, ResizingAFittedViewRefitsUntilTheUserNavigates) {
    std::mt19937 random(3);
    viewport.setViewSize(800, 600);
    const Mesh mesh = randomMesh(random, {3000, 500, 500}, {0, 0, 0}, 8);
    const SceneFigure figure = centreAndFit(viewport, mesh);
    const auto widest = [&] {
        double widest = 0;
        for (std::size_t i = 0; i < mesh.vertexCount; ++i)
            widest = std::max(
                widest,
                std::abs(project(viewport, camera, figure, toViewUnits(mesh.vertices[i])).ndcX));
        return widest;
    };
    viewport.setViewSize(300, 600); // narrower: the long mesh would overflow
    EXPECT_LE(widest(), 1.0);
    viewport.wheelZoom(1);
    const float distance = camera.posZ;
    viewport.setViewSize(800, 600);
    EXPECT_FLOAT_EQ(camera.posZ, distance) << "a zoomed view keeps what the user made";
}

// Shift+right drags of N pixels move the mesh's centre N pixels with the pointer,
// whatever the mesh's size, the view's size or the zoom.
TEST_F(ViewportTest, ShiftRightPanKeepsThePointUnderThePointer) {
    std::mt19937 random(5);
    std::uniform_int_distribution<int> drag(-300, 300);
    const std::array<std::array<double, 3>, 3> sizes{
        {{200, 300, 100}, {20000, 9000, 3000}, {4, 4, 4}}};
    for (int round = 0; round < 12; ++round) {
        viewport.setViewSize(round % 2 ? 700 : 1200, round % 3 ? 500 : 900);
        const Mesh mesh =
            randomMesh(random, sizes[static_cast<std::size_t>(round) % 3], {0, 0, 0}, 8);
        const SceneFigure figure = centreAndFit(viewport, mesh);
        if (round % 4 == 3)
            viewport.wheelZoom(2);
        const Vec3 centre{-figure.position[0], -figure.position[1], -figure.position[2]};
        const Projected before = project(viewport, camera, figure, centre);
        const int dx = drag(random), dy = drag(random);
        viewport.mouseDown(400, 300, kRightShift);
        viewport.mouseMove(400 + dx, 300 + dy, kRightShift);
        viewport.mouseUp();
        const Projected after = project(viewport, camera, figure, centre);
        EXPECT_NEAR(after.x - before.x, dx, 1.0) << "round " << round;
        EXPECT_NEAR(after.y - before.y, dy, 1.0) << "round " << round;
    }
}

TEST_F(ViewportTest, ANewDragAfterAFitStartsFromTheFittedCamera) {
    SceneFigure figure;
    figure.boundMin = {-1, -1, -1};
    figure.boundMax = {3, 1, 1};
    viewport.setBoundsFromFigure(figure);
    viewport.fitView();
    viewport.mouseDown(0, 0, kRightShift);
    viewport.mouseMove(50, 0, kRightShift);
    EXPECT_FLOAT_EQ(camera.posX, 1.0f - 1.0f);
}

TEST(Figure, ResetRestoresTransformAndEmptiesTheBounds) {
    SceneFigure figure;
    figure.position = {1, 2, 3};
    figure.rotation = {4, 5, 6};
    figure.scale = {7, 8, 9};
    figure.boundMin = {0, 0, 0};
    figure.Reset();
    EXPECT_EQ(figure.position, (Vec3{0, 0, 0}));
    EXPECT_EQ(figure.rotation, (Vec3{0, 0, 0}));
    EXPECT_EQ(figure.scale, (Vec3{1, 1, 1}));
    EXPECT_GT(figure.boundMin[0], figure.boundMax[0]);
    int drawn = 0;
    figure.drawProc = [&] { ++drawn; };
    figure.Draw();
    EXPECT_EQ(drawn, 1);
}

TEST(MeshBounds, ViewUnitBoundsFlipYAndZ) {
    Mesh mesh;
    mesh.vertexCount = 2;
    mesh.vertices[0] = {-100, 200, -300};
    mesh.vertices[1] = {50, -400, 600};
    mesh.vertices[2] = {9999, 9999, 9999}; // beyond vertexCount
    SceneFigure figure;
    setFigureBoundsToMesh(figure, mesh);
    EXPECT_EQ(figure.boundMin, (Vec3{-1.0, -2.0, -6.0}));
    EXPECT_EQ(figure.boundMax, (Vec3{0.5, 4.0, 3.0}));
    for (int i = 0; i < 2; ++i) {
        const Vec3 p = toViewUnits(mesh.vertices[i]);
        for (int k = 0; k < 3; ++k) {
            EXPECT_GE(p[k], figure.boundMin[k]);
            EXPECT_LE(p[k], figure.boundMax[k]);
        }
    }
    mesh.vertexCount = 0;
    setFigureBoundsToMesh(figure, mesh);
    EXPECT_GT(figure.boundMin[0], figure.boundMax[0]) << "no vertices: empty bounds";
}

} // namespace
} // namespace kavlen
