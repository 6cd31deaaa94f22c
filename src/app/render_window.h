// The render window: the GL view on a drawing panel that fills the window, with a
// row of controls along its top edge. It owns the viewport, the camera, the
// render state and the figure the view draws (the mesh scene, once plugged in).
#pragma once

#include "document/wad.h"
#include "view3d/gl_camera.h"
#include "view3d/gl_figure.h"
#include "view3d/gl_viewport.h"
#include "view3d/render_state.h"

#include <QWidget>
#include <filesystem>
#include <memory>
#include <vector>

class QHBoxLayout;

namespace kavlen {

class GLView;
class OpenProcedure;
class tr_scene;

inline constexpr const char* kRenderWindowTitle = "Render window";

class TForm4 : public QWidget {
    Q_OBJECT
  public:
    // `owner` is the main window; the render window stays above it.
    explicit TForm4(QWidget* owner);
    ~TForm4() override;

    TGLViewport& viewport() { return viewport_; }
    TGLCamera& camera() { return camera_; }
    RenderState& renderState() { return renderState_; }
    GLView& view() { return *view_; }
    tglfigure& scene() { return *scene_; }
    // Replaces the drawn figure (the mesh scene plugs in here) and redraws.
    void setScene(std::unique_ptr<tglfigure> scene);
    // Controls along the top edge.
    QHBoxLayout* controlsRow() const { return controlsRow_; }

    void invalidateScene() { viewport_.invalidateScene(); }
    // The mesh slot shown, -1 while none.
    int currentMesh() const { return renderState_.currentMesh; }
    // Current mesh's bounds, fit the view to them, redraw.
    void fitToCurrentMesh(const twad& wad);
    // At left 420, top 22, to the right edge and 42 pixels above the bottom.
    void placeOnScreen();

    void registerOpenSteps(OpenProcedure& procedure);

    // Makes the mesh scene of `wad` the drawn figure; "solid.bmp" is read from
    // `solidPicture` (a built-in picture stands in when it is missing).
    void attachPackage(const twad& wad, std::filesystem::path solidPicture);
    tr_scene* meshScene() const { return meshScene_; }
    // Remakes the GL textures of the given samples (all of them when empty).
    void uploadSamples(const std::vector<int>& samples);
    // Shows `mesh` with its face `face` highlighted; (-1, -1) ends the highlight.
    void showHighlightedFace(int mesh, int face);

  private:
    // Runs `work` with the view's GL context current; does nothing before the
    // context exists (the view then uploads everything when it is made).
    template <typename Work> void withContext(Work work);
    void syncSceneFromState();

    tr_scene* meshScene_ = nullptr;
    const twad* package_ = nullptr;
    std::filesystem::path solidPicture_;

    TGLViewport viewport_;
    TGLCamera camera_;
    RenderState renderState_;
    std::unique_ptr<tglfigure> scene_;
    QHBoxLayout* controlsRow_ = nullptr;
    GLView* view_ = nullptr;
};

} // namespace kavlen
