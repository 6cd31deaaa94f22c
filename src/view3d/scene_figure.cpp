#include "view3d/scene_figure.h"

#include <QtGui/qopengl.h>

namespace kavlen {

SceneFigure::SceneFigure() {
    resetBounds();
}

void SceneFigure::Draw() {
    if (drawProc)
        drawProc();
}

void SceneFigure::Reset() {
    position = {0, 0, 0};
    rotation = {0, 0, 0};
    scale = {1, 1, 1};
    resetBounds();
}

void SceneFigure::resetBounds() {
    boundMin = {kBoundReset, kBoundReset, kBoundReset};
    boundMax = {-kBoundReset, -kBoundReset, -kBoundReset};
}

void glTranslateScaleRotate(const Vec3& translation, const Vec3& scale, const Vec3& rotation) {
    glTranslated(translation[0], translation[1], translation[2]);
    glScaled(scale[0], scale[1], scale[2]);
    glRotated(rotation[0], 1, 0, 0);
    glRotated(rotation[1], 0, 1, 0);
    glRotated(rotation[2], 0, 0, 1);
}

void SceneFigure::applyAndDraw() {
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glTranslateScaleRotate(position, scale, rotation);
    Draw();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}

} // namespace kavlen
