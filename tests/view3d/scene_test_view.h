// A GL view for the scene tests: fixed camera, the scene compiled into a
// display list and replayed, pixels read back in device pixels.
//
// It sets up GL the way the editor's view does (depth test, back faces culled,
// clockwise front faces, polygon mode line) so the scene draws as it would there.
#pragma once

#include "view3d/mesh_scene.h"
#include "view3d/render_modes.h"
#include "view3d/scene_color.h"
#include "view3d/viewport.h"

#include <QImage>
#include <QOpenGLWidget>

#include <functional>
#include <vector>

namespace kavlen::testing {

struct Hit {
    unsigned name = 0;
    unsigned minDepth = 0;
};

class SceneTestView : public QOpenGLWidget {
  public:
    explicit SceneTestView(MeshScene& scene, int side = 400);
    ~SceneTestView() override;

    // The camera looks along -z from (cameraX, cameraY, distance) in view units,
    // after turning the scene by `pitch` degrees about x.
    double distance = 5.0;
    double cameraX = 0.0;
    double cameraY = 0.0;
    double pitch = 0.0;
    std::uint32_t clearColor = Viewport::kDefaultClearColor;
    // Draw the scene directly instead of through the display list.
    bool immediate = false;

    // Rebuilds the display list at the next frame and returns that frame.
    QImage frame();
    // Replays the list without rebuilding it.
    QImage replay();
    int listBuilds() const { return listBuilds_; }

    // Device pixels per widget pixel; distances that scale with the view use it.
    int scaled(int pixels) const { return static_cast<int>(pixels * devicePixelRatioF()); }

    // Device pixel where a view-unit point appears (pitch 0 only).
    QPoint pixelOf(const Vec3& p) const;
    QPoint pixelOf(const MeshVertex& v) const { return pixelOf(toViewUnits(v)); }

    // Runs `work` with the view's context current (texture uploads).
    void withContext(const std::function<void()>& work);

    // Selection hits in a square of `size` device pixels around a device pixel:
    // the scene drawn in selection mode.
    std::vector<Hit> pick(QPoint devicePixel, int size = 1);

  protected:
    void initializeGL() override;
    void paintGL() override;

  private:
    void applyProjection(const QPoint* pickAt, int pickSize);
    MeshScene& scene_;
    unsigned list_ = 0;
    bool listValid_ = false;
    int listBuilds_ = 0;
};

Rgb rgbAt(const QImage& image, QPoint p);
// Whether any pixel within `radius` of `p` has exactly colour `c`.
bool colorNear(const QImage& image, QPoint p, Rgb c, int radius);
// Number of pixels of exactly colour `c`.
int countColor(const QImage& image, Rgb c);

} // namespace kavlen::testing
