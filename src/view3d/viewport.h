// The GL view's state: clear colour, camera, the view transform that the mouse
// changes, the cached scene display list and the box that fitView frames.
//
// The viewport knows nothing about windows: its host (GLView) feeds it mouse
// events and calls renderFrame with the context current; the viewport asks the
// host for a new frame through `repaint`.
#pragma once

#include "view3d/camera.h"
#include "view3d/scene_figure.h"

#include <array>
#include <cstdint>
#include <functional>

namespace kavlen {

// Buttons and keys held during a mouse event.
struct ShiftState {
    bool shift = false;
    bool ctrl = false;
    bool right = false;
};

class Viewport {
  public:
    static constexpr std::uint32_t kDefaultClearColor = 0x005A411E; // red 30, green 65, blue 90
    static constexpr std::uint32_t kInitialIgnoreName = 2000;

    Viewport();
    virtual ~Viewport() = default;

    // Background as 0x00BBGGRR.
    std::uint32_t clearColor() const { return clearColor_; }
    void setClearColor(std::uint32_t colour);
    Camera* camera() const { return camera_; }
    void setCamera(Camera* camera) { camera_ = camera; }

    // Selection name that picking never returns.
    std::uint32_t ignoreName = kInitialIgnoreName;
    // Colour and depth bits asked of the pixel format.
    int colorBits = 16;

    // The view transform.
    Vec3 viewTranslation{0, 0, 0};
    Vec3 viewRotation{0, 0, 0}; // degrees about x, y, z
    Vec3 viewScale{1, 1, 1};

    // Box to fit, in view units.
    Vec3 boundMin{};
    Vec3 boundMax{};

    // Vertical field of view and the depth range of the projection.
    static constexpr double kFieldOfViewY = 45.0;
    static constexpr double kNearPlane = 0.1;
    static constexpr double kFarPlane = 100.0;
    // Share of the view's width and height that a fitted box may fill.
    static constexpr double kFitFill = 0.9;

    // The host's size in logical pixels (what mouse positions are in). The fit
    // uses its aspect ratio; a resize refits while the view still shows the fit.
    void setViewSize(int width, int height);
    int viewWidth() const { return viewWidth_; }
    int viewHeight() const { return viewHeight_; }

    // Mouse navigation state.
    std::array<int, 2> rotateAnchor{0, 0};
    std::array<int, 2> panAnchor{0, 0};
    std::array<int, 2> scaleAnchor{0, 0};
    bool rotating = false;
    bool scaling = false;
    std::array<double, 2> savedRotation{0, 0};
    std::array<double, 2> savedCameraXY{0, 0};
    Vec3 savedScale{1, 1, 1};
    std::array<int, 2> lastMouse{0, 0};

    // Issues the scene geometry; compiled into the display list.
    std::function<void()> onDraw;
    // Asks the host for a new frame (the host coalesces requests).
    std::function<void()> repaint;

    // Requests a frame without rebuilding the display list.
    void paintView();
    // Marks the display list stale and requests a frame that rebuilds it.
    void invalidateScene();
    bool listValid() const { return listValid_; }

    // Mouse navigation: the right button rotates, with Shift pans the camera
    // (the scene's origin follows the pointer), with Ctrl scales. Positions are
    // in the host's logical pixels.
    void mouseDown(int x, int y, ShiftState state);
    void mouseMove(int x, int y, ShiftState state);
    void mouseUp();
    // Wheel zoom: `steps` notches, positive away from the user (enlarges).
    void wheelZoom(double steps);

    void setBoundsFromFigure(const SceneFigure& figure);
    // Frames the bound box: the camera looks at its centre from the distance at
    // which the whole box fills at most kFitFill of the view's width and height.
    // Boxes too large or too small for the projection's depth range are scaled
    // into it. Rotation, translation and the drag state are reset.
    void fitView();
    // Whether the view still shows the last fit (no navigation since).
    bool showsFit() const { return showsFit_; }
    // View units the camera moves per pixel of a Shift+right drag.
    double panUnitsPerPixel() const;

    // GL side; the context must be current.
    // Sets the state every frame relies on and takes a display list name.
    void contextCreated();
    // Releases the display list before the context goes away.
    void contextAboutToBeDestroyed();
    void setupProjection(int width, int height);
    // Draws one frame into a framebuffer of the given device pixel size.
    void renderFrame(int deviceWidth, int deviceHeight);
    unsigned listName() const { return listName_; }

    // The matrices of the last frame, read back once the camera and the view
    // transform were applied (before the figure's own transform), and the GL
    // viewport in device pixels: what a click is projected with.
    struct FrameMatrices {
        std::array<double, 16> modelview{};
        std::array<double, 16> projection{};
        std::array<int, 4> viewport{}; // x, y, width, height
        bool valid = false;
    };
    const FrameMatrices& lastFrameMatrices() const { return lastFrame_; }

  private:
    std::uint32_t clearColor_ = kDefaultClearColor;
    Camera* camera_ = nullptr;
    int viewWidth_ = 0;
    int viewHeight_ = 0;
    bool showsFit_ = false;
    bool listValid_ = false;
    unsigned listName_ = 0;
    FrameMatrices lastFrame_;
};

} // namespace kavlen
