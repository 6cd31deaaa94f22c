#include "view3d/mesh_bounds.h"

#include <algorithm>

namespace kavlen {

void setFigureBoundsToMesh(tglfigure& figure, const Mesh& mesh) {
    figure.resetBounds();
    const std::size_t n = std::min<std::size_t>(mesh.vertexCount, mesh.vertices.size());
    for (std::size_t i = 0; i < n; ++i) {
        const Vec3 p = toViewUnits(mesh.vertices[i]);
        for (int k = 0; k < 3; ++k) {
            figure.boundMin[k] = std::min(figure.boundMin[k], p[k]);
            figure.boundMax[k] = std::max(figure.boundMax[k], p[k]);
        }
    }
}

} // namespace kavlen
