#include "view3d/viewport.h"

#include "view3d/gl_colour.h"

#include <GL/glu.h>
#include <QtGui/qopengl.h>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace kavlen {

Viewport::Viewport() {
    boundMin = {kBoundReset, kBoundReset, kBoundReset};
    boundMax = {-kBoundReset, -kBoundReset, -kBoundReset};
}

void Viewport::setClearColor(std::uint32_t colour) {
    clearColor_ = colour;
    paintView();
}

void Viewport::paintView() {
    if (repaint)
        repaint();
}

void Viewport::invalidateScene() {
    listValid_ = false;
    paintView();
}

void Viewport::setViewSize(int width, int height) {
    if (width == viewWidth_ && height == viewHeight_)
        return;
    viewWidth_ = width;
    viewHeight_ = height;
    if (showsFit_)
        fitView();
    paintView();
}

namespace {

double tanHalfFieldOfView() {
    return std::tan(Viewport::kFieldOfViewY / 2 * std::numbers::pi / 180);
}

} // namespace

double Viewport::panUnitsPerPixel() const {
    // View units per pixel in the plane through the origin, which lies posZ in
    // front of the camera: the frustum is 2 tan(fov/2) posZ high there.
    if (!camera_ || camera_->posZ <= 0 || viewHeight_ <= 0)
        return 1.0 / 50;
    return 2 * tanHalfFieldOfView() * camera_->posZ / viewHeight_;
}

void Viewport::mouseDown(int x, int y, ShiftState state) {
    if (!state.right)
        return;
    showsFit_ = false;
    if (!state.shift && !state.ctrl) {
        rotateAnchor = {x, y};
        rotating = true;
    } else if (state.shift) {
        panAnchor = {x, y};
    }
}

void Viewport::mouseMove(int x, int y, ShiftState state) {
    lastMouse = {x, y};
    if (state.right)
        showsFit_ = false;
    if (rotating && !state.shift) {
        viewRotation[1] = savedRotation[1] + (x - rotateAnchor[0]);
        viewRotation[0] = savedRotation[0] + (y - rotateAnchor[1]);
    }
    if (state.right && state.shift && camera_) {
        const double unit = panUnitsPerPixel();
        camera_->posX = static_cast<float>(savedCameraXY[0] - (x - panAnchor[0]) * unit);
        camera_->posY = static_cast<float>(savedCameraXY[1] + (y - panAnchor[1]) * unit);
    }
    if (state.right && state.ctrl) {
        if (!scaling) {
            scaling = true;
            savedScale = viewScale;
            scaleAnchor = {x, y};
        }
        for (int k = 0; k < 3; ++k)
            viewScale[k] = std::max(0.0, savedScale[k] + (y - scaleAnchor[1]) / 100.0);
    }
    if (!state.ctrl)
        scaling = false;
    paintView();
}

void Viewport::mouseUp() {
    rotating = false;
    scaling = false;
    savedRotation = {viewRotation[0], viewRotation[1]};
    if (camera_)
        savedCameraXY = {camera_->posX, camera_->posY};
}

void Viewport::wheelZoom(double steps) {
    showsFit_ = false;
    const double factor = std::pow(1.1, steps);
    for (double& s : viewScale) {
        // A view scaled down to nothing would stay at nothing.
        if (s <= 0.0 && steps > 0)
            s = 0.01;
        s *= factor;
    }
    paintView();
}

void Viewport::setBoundsFromFigure(const SceneFigure& figure) {
    for (int k = 0; k < 3; ++k) {
        boundMin[k] = figure.boundMin[k] + figure.position[k];
        boundMax[k] = figure.boundMax[k] + figure.position[k];
    }
}

void Viewport::fitView() {
    Vec3 centre{0, 0, 0};
    Vec3 half{0, 0, 0};
    if (boundMin[0] <= boundMax[0] && boundMin[1] <= boundMax[1] && boundMin[2] <= boundMax[2]) {
        for (int k = 0; k < 3; ++k) {
            centre[k] = (boundMin[k] + boundMax[k]) / 2;
            half[k] = (boundMax[k] - boundMin[k]) / 2;
        }
    }
    const double aspect =
        viewWidth_ > 0 && viewHeight_ > 0 ? static_cast<double>(viewWidth_) / viewHeight_ : 4.0 / 3;
    const double reachY = tanHalfFieldOfView() * kFitFill; // half-height per unit of depth
    const double reachX = reachY * aspect;

    // The box's front face is the nearest: at a gap g in front of it, its corners
    // project at half / g of the frustum, so the camera's distance follows the
    // box's size.
    const double largest = std::max({half[0], half[1], half[2]});
    double gap = std::max(half[0] / reachX, half[1] / reachY);
    double s = 1.0;
    if (largest <= 0) {
        gap = 4.0; // a point or nothing: the origin at the usual distance
    } else {
        // A box seen end-on (no width or height) still keeps a gap to the camera.
        gap = std::max(gap, largest / 100);
        // The projection's depth range holds a scene whose far end is at most
        // kDepthRatio times as far as its near end: a very deep box is seen
        // from further away.
        constexpr double kNearest = 0.5;
        constexpr double kFarthest = kFarPlane / 2;
        constexpr double kDepthRatio = kFarthest / kNearest;
        if ((gap + 2 * half[2]) / gap > kDepthRatio)
            gap = 2 * half[2] / (kDepthRatio - 1);
        // A huge box is drawn smaller and a tiny one larger, so that it lies
        // between the near and far planes with room to spare.
        if (gap + 2 * half[2] > kFarthest)
            s = kFarthest / (gap + 2 * half[2]);
        else if (gap < kNearest)
            s = kNearest / gap;
    }
    const double distance = half[2] + gap;

    if (camera_) {
        camera_->posX = static_cast<float>(centre[0] * s);
        camera_->posY = static_cast<float>(centre[1] * s);
        camera_->posZ = static_cast<float>((centre[2] + distance) * s);
    }
    viewScale = {s, s, s};
    viewTranslation = {0, 0, 0};
    viewRotation = {0, 0, 0};
    rotateAnchor = panAnchor = scaleAnchor = {0, 0};
    rotating = scaling = false;
    savedRotation = {0, 0};
    savedCameraXY =
        camera_ ? std::array<double, 2>{camera_->posX, camera_->posY} : std::array<double, 2>{0, 0};
    savedScale = viewScale;
    lastMouse = {0, 0};
    showsFit_ = true;
}

void Viewport::contextCreated() {
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    glFrontFace(GL_CW);
    listName_ = glGenLists(1);
    listValid_ = false;
}

void Viewport::contextAboutToBeDestroyed() {
    if (listName_ != 0)
        glDeleteLists(listName_, 1);
    listName_ = 0;
    listValid_ = false;
}

void Viewport::setupProjection(int width, int height) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    const double aspect = height > 0 ? static_cast<double>(width) / height : 1.0;
    gluPerspective(kFieldOfViewY, aspect, kNearPlane, kFarPlane);
    glViewport(0, 0, width, height);
    glMatrixMode(GL_MODELVIEW);
}

void Viewport::renderFrame(int deviceWidth, int deviceHeight) {
    setupProjection(deviceWidth, deviceHeight);

    const Rgb bg = rgbOf(clearColor_);
    glClearColor(bg.r / 255.0f, bg.g / 255.0f, bg.b / 255.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    if (camera_) {
        glTranslatef(-camera_->posX, -camera_->posY, -camera_->posZ);
        glRotatef(camera_->rotX, 1, 0, 0);
        glRotatef(camera_->rotY, 0, 1, 0);
        glRotatef(camera_->rotZ, 0, 0, 1);
    }

    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glTranslateScaleRotate(viewTranslation, viewScale, viewRotation);
    glGetDoublev(GL_MODELVIEW_MATRIX, lastFrame_.modelview.data());
    glGetDoublev(GL_PROJECTION_MATRIX, lastFrame_.projection.data());
    glGetIntegerv(GL_VIEWPORT, lastFrame_.viewport.data());
    lastFrame_.valid = true;

    if (!listValid_ && listName_ != 0) {
        // Compiled, then called: with GL_COMPILE_AND_EXECUTE Mesa 22.3 draws the
        // last primitive before a state change with the changed state (a smooth
        // face comes out flat), although the list itself is right.
        glNewList(listName_, GL_COMPILE);
        glInitNames();
        glPushName(0);
        if (onDraw)
            onDraw();
        glEndList();
        listValid_ = true;
    }
    if (listValid_)
        glCallList(listName_);

    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glFlush();
}

} // namespace kavlen
