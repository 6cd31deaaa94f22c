#include "view3d/gl_colour.h"

#include <QtGui/qopengl.h>

namespace kavlen {

void glColourOf(std::uint32_t colour) {
    const Rgb c = rgbOf(colour);
    glColor3ub(c.r, c.g, c.b);
}

} // namespace kavlen
