#include "view3d/mesh_bounds.h"

#include "document/bounds.h"

namespace kavlen {

void setFigureBoundsToMesh(SceneFigure& figure, const Mesh& mesh) {
    figure.resetBounds();
    const auto e = meshExtents(mesh); // minX, maxX, minY, maxY, minZ, maxZ in model units
    if (!e)
        return;
    // y and z point the other way in view units, so their extremes swap.
    figure.boundMin = {(*e)[0] / 100.0, -(*e)[3] / 100.0, -(*e)[5] / 100.0};
    figure.boundMax = {(*e)[1] / 100.0, -(*e)[2] / 100.0, -(*e)[4] / 100.0};
}

} // namespace kavlen
