#include "view3d/viewport.h"

#include "view3d/gl_colour.h"

#include <GL/glu.h>
#include <QtGui/qopengl.h>
#include <algorithm>
#include <cmath>

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

void Viewport::mouseDown(int x, int y, ShiftState state) {
    if (!state.right)
        return;
    if (!state.shift && !state.ctrl) {
        rotateAnchor = {x, y};
        rotating = true;
    } else if (state.shift) {
        panAnchor = {x, y};
    }
}

void Viewport::mouseMove(int x, int y, ShiftState state) {
    lastMouse = {x, y};
    if (rotating && !state.shift) {
        viewRotation[1] = savedRotation[1] + (x - rotateAnchor[0]);
        viewRotation[0] = savedRotation[0] + (y - rotateAnchor[1]);
    }
    if (state.right && state.shift && camera_) {
        camera_->posX = static_cast<float>(savedCameraXY[0] - (x - panAnchor[0]) / 50.0);
        camera_->posY = static_cast<float>(savedCameraXY[1] + (y - panAnchor[1]) / 50.0);
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
    const double cx = (boundMax[0] - boundMin[0]) / 2 + boundMin[0];
    const double cy = (boundMax[1] - boundMin[1]) / 2 + boundMin[1];
    const double z = boundMax[2] + 4.0;

    // The box must fit 6 view units wide and 4 high; the divisions only happen
    // for extents of at least that size, so they never divide by zero.
    const double w = std::fabs(boundMax[0] - boundMin[0]);
    const double sx = w < 6 ? 1.0 : 6 / w;
    const double h = std::fabs(boundMax[1] - boundMin[1]);
    const double sy = h < 4 ? 1.0 : 4 / h;
    const double s = std::min(sx, sy);

    if (camera_) {
        camera_->posX = static_cast<float>(cx * s);
        camera_->posY = static_cast<float>(cy * s);
        camera_->posZ = static_cast<float>(z);
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
    gluPerspective(45.0, aspect, 0.1, 100.0);
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
