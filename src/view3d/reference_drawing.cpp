#include "view3d/reference_drawing.h"

#include "view3d/gl_colour.h"

#include <QtGui/qopengl.h>

namespace kavlen {

void drawGrid(std::uint32_t colour, bool axesShown) {
    glDisable(GL_TEXTURE_2D);
    glShadeModel(GL_FLAT);
    glColourOf(colour);
    for (int i = -kGridHalfLines; i <= kGridHalfLines; ++i) {
        if (i == 0 && axesShown)
            continue;
        glLineWidth(i % 2 != 0 ? 2.0f : 1.0f);
        const double at = kGridSpacing * i;
        glBegin(GL_LINES);
        glVertex3d(-kGridHalfSize, 0, at);
        glVertex3d(kGridHalfSize, 0, at);
        glVertex3d(at, 0, -kGridHalfSize);
        glVertex3d(at, 0, kGridHalfSize);
        glEnd();
    }
    glLineWidth(1.0f);
}

void drawAxes(bool gridShown) {
    const double l = gridShown ? kGridHalfSize : kShortAxisLength;
    glDisable(GL_TEXTURE_2D);
    glShadeModel(GL_FLAT);
    glBegin(GL_LINES);
    glColor3f(1, 0, 0);
    glVertex3d(0, 0, 0);
    glVertex3d(l, 0, 0);
    glColor3f(0.5f, 0, 0);
    glVertex3d(0, 0, 0);
    glVertex3d(-l, 0, 0);
    glColor3f(0, 0.5f, 0);
    glVertex3d(0, 0, 0);
    glVertex3d(0, l, 0);
    glColor3f(0, 1, 0);
    glVertex3d(0, 0, 0);
    glVertex3d(0, -l, 0);
    glColor3f(0, 0, 0.5f);
    glVertex3d(0, 0, 0);
    glVertex3d(0, 0, l);
    glColor3f(0, 0, 1);
    glVertex3d(0, 0, 0);
    glVertex3d(0, 0, -l);
    glEnd();
}

} // namespace kavlen
