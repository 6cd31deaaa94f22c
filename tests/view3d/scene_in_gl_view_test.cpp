// The mesh scene drawn by the editor's own GL view (viewport, camera, label font).
#include "scene_documents.h"
#include "scene_test_view.h"
#include "view3d/gl_view.h"
#include "view3d/mesh_scene.h"

#include <QTest>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

using namespace kavlen;
using namespace kavlen::testing;

namespace {

struct SceneInGLView : ::testing::Test {
    void SetUp() override {
        wad = makeSceneTestPackage();
        scene = std::make_unique<MeshScene>(*wad);
        viewport.setCamera(&camera);
        viewport.onDraw = [this] { scene->applyAndDraw(); };
        view = std::make_unique<GLView>(viewport);
        view->resize(400, 300);
        view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    }

    // Device pixel of a view-unit point seen by the default camera (z 5).
    QPoint pixelOf(const Vec3& p) const {
        const double ratio = view->devicePixelRatioF();
        const double w = view->width() * ratio, h = view->height() * ratio;
        const double f = 1.0 / std::tan(22.5 * M_PI / 180.0);
        const double depth = camera.posZ - p[2];
        return {static_cast<int>(std::floor((f * h / w * p[0] / depth + 1) / 2 * w)),
                static_cast<int>(std::floor((1 - f * p[1] / depth) / 2 * h))};
    }

    std::unique_ptr<Package> wad;
    std::unique_ptr<MeshScene> scene;
    Viewport viewport;
    Camera camera;
    std::unique_ptr<GLView> view;
};

} // namespace

TEST_F(SceneInGLView, TheFrameThatBuildsTheListLooksLikeTheReplays) {
    // The last face before the overlays' state changes must keep its own
    // shading in the frame that compiles the list.
    Mesh& mesh = addTestMesh(*wad);
    addQuad(mesh, -60, 0, 40, quadWord(1));
    addQuad(mesh, 60, 0, 40, quadWord(1));
    scene->currentMesh = 0;
    scene->renderMode = kModePolyPtOrder;
    viewport.invalidateScene();
    const QImage first = view->grabFramebuffer();
    const QImage replayed = view->grabFramebuffer();
    EXPECT_EQ(first, replayed);
    // Near the last quad's first corner: red, not its last corner's yellow.
    const Rgb corner = rgbAt(first, pixelOf(toViewUnits(MeshVertex{24, -36, 0})));
    EXPECT_GT(corner.r, 180);
    EXPECT_LT(corner.g, 120);
}

TEST_F(SceneInGLView, HairVerticesCarryTheirNumberInTheBoxColour) {
    Mesh& mesh = addTestMesh(*wad);
    for (int i = 0; i < 50; ++i)
        addVertex(mesh, (i % 10 - 5) * 60, (i / 10 - 2) * 60, 0);
    scene->currentMesh = 0;
    scene->renderMode = kModePoints;
    scene->hairHighlight = 1;
    const Rgb box = rgbOf(scene->boxColor);
    // The label starts just up and right of the vertex, in glyphs of 8 x 13
    // device pixels at any scale; count box-coloured pixels where its digits
    // fall, clear of the vertex's own filled square (a few pixels wide here).
    const auto labelPixels = [&](const QImage& image, int vertex) {
        const QPoint at = pixelOf(toViewUnits(mesh.vertices[std::size_t(vertex)]));
        int count = 0;
        for (int y = at.y() - 14; y < at.y() - 3; ++y)
            for (int x = at.x() + 4; x < at.x() + 22; ++x)
                count += rgbAt(image, {x, y}) == box;
        return count;
    };
    viewport.invalidateScene();
    const QImage image = view->grabFramebuffer();
    EXPECT_GT(labelPixels(image, 38), 10);
    EXPECT_EQ(labelPixels(image, 36), 0);
}
