// Navigation arithmetic and fitting of the view, without a GL context.
#include "view3d/mesh_bounds.h"
#include "view3d/viewport.h"

#include <gtest/gtest.h>

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

TEST_F(ViewportTest, ShiftRightDragPansTheCameraFiftyPixelsPerUnit) {
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

struct FitCase {
    const char* name;
    Vec3 min, max;
    double scale;
};

void PrintTo(const FitCase& c, std::ostream* os) {
    *os << c.name;
}

class FitViewTest : public ViewportTest, public testing::WithParamInterface<FitCase> {};

TEST_P(FitViewTest, ScaleFitsTheBoxIntoSixByFourUnits) {
    const FitCase c = GetParam();
    SceneFigure figure;
    figure.boundMin = c.min;
    figure.boundMax = c.max;
    figure.position = {1, -1, 0.5};
    viewport.viewRotation = {30, 40, 0};
    viewport.viewTranslation = {1, 2, 3};
    viewport.rotating = true;
    viewport.setBoundsFromFigure(figure);
    EXPECT_EQ(viewport.boundMin, (Vec3{c.min[0] + 1, c.min[1] - 1, c.min[2] + 0.5}));
    viewport.fitView();

    EXPECT_EQ(viewport.viewScale, (Vec3{c.scale, c.scale, c.scale}));
    EXPECT_EQ(viewport.savedScale, viewport.viewScale);
    const double cx = (c.min[0] + c.max[0]) / 2 + 1;
    const double cy = (c.min[1] + c.max[1]) / 2 - 1;
    EXPECT_FLOAT_EQ(camera.posX, static_cast<float>(cx * c.scale));
    EXPECT_FLOAT_EQ(camera.posY, static_cast<float>(cy * c.scale));
    EXPECT_FLOAT_EQ(camera.posZ, static_cast<float>(c.max[2] + 0.5 + 4.0)); // not scaled
    EXPECT_EQ(viewport.viewRotation, (Vec3{0, 0, 0}));
    EXPECT_EQ(viewport.viewTranslation, (Vec3{0, 0, 0}));
    EXPECT_FALSE(viewport.rotating);
    EXPECT_DOUBLE_EQ(viewport.savedCameraXY[0], camera.posX);
    EXPECT_DOUBLE_EQ(viewport.savedCameraXY[1], camera.posY);
}

INSTANTIATE_TEST_SUITE_P(Boxes, FitViewTest,
                         testing::Values(FitCase{"FitsAsItIs", {0, 0, 0}, {3, 2, 1}, 1.0},
                                         FitCase{"TooWide", {-6, 0, 0}, {6, 2, 1}, 0.5},
                                         FitCase{"TooHigh", {-6, -8, 0}, {6, 8, 1}, 0.25},
                                         FitCase{"APoint", {2, 2, 2}, {2, 2, 2}, 1.0}),
                         [](const testing::TestParamInfo<FitCase>& info) {
                             return std::string(info.param.name);
                         });

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
