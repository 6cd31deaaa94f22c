// Bounds of a mesh in view units: model (x, y, z) is drawn at (x, -y, -z) / 100.
#pragma once

#include "document/package.h"
#include "view3d/scene_figure.h"

namespace kavlen {

// Model coordinates to view units.
inline Vec3 toViewUnits(const MeshVertex& v) {
    return {v.x / 100.0, -v.y / 100.0, -v.z / 100.0};
}

// Sets the figure's bounds to the mesh's vertices (reset when it has none).
void setFigureBoundsToMesh(SceneFigure& figure, const Mesh& mesh);

} // namespace kavlen
