#include "view3d/scene_guides.h"

#include <qopengl.h>

namespace kavlen {

namespace {

constexpr double kGridStep = 5.12;
constexpr double kGridHalf = 25.6;

void segment(double x, double y, double z) {
    glVertex3d(0, 0, 0);
    glVertex3d(x, y, z);
}

} // namespace

void drawGrid(Rgb color, bool axesShown) {
    glDisable(GL_TEXTURE_2D);
    glShadeModel(GL_FLAT);
    glColor3ub(color.r, color.g, color.b);
    for (int i = -5; i <= 5; ++i) {
        if (i == 0 && axesShown)
            continue;
        glLineWidth(i % 2 ? 2.0f : 1.0f);
        const double at = kGridStep * i;
        glBegin(GL_LINES);
        glVertex3d(-kGridHalf, 0, at);
        glVertex3d(kGridHalf, 0, at);
        glVertex3d(at, 0, -kGridHalf);
        glVertex3d(at, 0, kGridHalf);
        glEnd();
    }
    glLineWidth(1.0f);
}

void drawAxes(bool gridShown) {
    const double length = gridShown ? kGridHalf : kGridStep;
    glDisable(GL_TEXTURE_2D);
    glShadeModel(GL_FLAT);
    glBegin(GL_LINES);
    glColor3d(1, 0, 0);
    segment(length, 0, 0);
    glColor3d(0.5, 0, 0);
    segment(-length, 0, 0);
    glColor3d(0, 0.5, 0);
    segment(0, length, 0);
    glColor3d(0, 1, 0);
    segment(0, -length, 0);
    glColor3d(0, 0, 0.5);
    segment(0, 0, length);
    glColor3d(0, 0, 1);
    segment(0, 0, -length);
    glEnd();
}

} // namespace kavlen
