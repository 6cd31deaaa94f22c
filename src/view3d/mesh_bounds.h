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

// The static that uses mesh `slot` (the first one), or null.
const StaticMesh* staticUsingMesh(const Package& wad, int slot);

// Widens the figure's bounds (view units, before its position) by the shape
// the scene draws around mesh `slot`: the static's visibility box (boxKind 0)
// or collision box (1), else the mesh's bounding sphere.
void addBoundingShapeToBounds(SceneFigure& figure, const Package& wad, int slot,
                              std::uint8_t boxKind);

} // namespace kavlen
