// Small GL emitters shared by the scene's drawing files.
#pragma once

#include "document/package.h"
#include "view3d/mesh_bounds.h"
#include "view3d/render_modes.h"
#include "view3d/scene_color.h"

#include <qopengl.h>

namespace kavlen::scene_gl {

inline void color(Rgb c) {
    glColor3ub(c.r, c.g, c.b);
}
inline void color(std::uint32_t colorRef) {
    color(rgbOf(colorRef));
}

inline void vertex(const Vec3& p) {
    glVertex3d(p[0], p[1], p[2]);
}

// Emits one face as a quad or triangle. Per-corner colours and texture
// coordinates are emitted only when asked for; the caller sets a face colour.
inline void emitFace(const Mesh& mesh, const MeshFace& face, const FacePaint& paint,
                     bool texCoords) {
    glBegin(paint.corners == 4 ? GL_QUADS : GL_TRIANGLES);
    for (int k = 0; k < paint.corners; ++k) {
        const auto corner = static_cast<std::size_t>(k);
        if (paint.perCorner)
            color(paint.colors[corner]);
        if (texCoords)
            glTexCoord2f(paint.texCoords[corner].s, paint.texCoords[corner].t);
        vertex(toViewUnits(mesh.vertices[face.vertexIndex[corner]]));
    }
    glEnd();
}

// Emits a face's outline geometry as it stands (the caller chooses line mode).
inline void emitFaceShape(const Mesh& mesh, const MeshFace& face) {
    const int corners = face.cornerCount();
    glBegin(corners == 4 ? GL_QUADS : GL_TRIANGLES);
    for (int k = 0; k < corners; ++k)
        vertex(toViewUnits(mesh.vertices[face.vertexIndex[static_cast<std::size_t>(k)]]));
    glEnd();
}

} // namespace kavlen::scene_gl
