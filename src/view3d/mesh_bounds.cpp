#include "view3d/mesh_bounds.h"

#include "document/bounds.h"

#include <algorithm>
#include <cmath>

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

const StaticMesh* staticUsingMesh(const Package& wad, int slot) {
    const std::size_t statics =
        std::min({std::size_t(wad.staticCount), wad.statics.size(), wad.staticMeshIndex.size()});
    for (std::size_t s = 0; s < statics; ++s) {
        if (wad.staticMeshIndex[s] == static_cast<std::uint32_t>(slot))
            return &wad.statics[s];
    }
    return nullptr;
}

void addBoundingShapeToBounds(SceneFigure& figure, const Package& wad, int slot,
                              std::uint8_t boxKind) {
    if (slot < 0 ||
        static_cast<std::size_t>(slot) >= std::min<std::size_t>(wad.meshCount, wad.meshes.size()))
        return;
    Vec3 low{}, high{};
    if (const StaticMesh* owner = staticUsingMesh(wad, slot)) {
        const auto& box = boxKind == 0 ? owner->visibilityBox : owner->collisionBox;
        const Vec3 p1 = toViewUnits({box[0], box[2], box[4]});
        const Vec3 p2 = toViewUnits({box[1], box[3], box[5]});
        for (int k = 0; k < 3; ++k) {
            low[k] = std::min(p1[k], p2[k]);
            high[k] = std::max(p1[k], p2[k]);
        }
    } else {
        const Mesh& mesh = wad.meshes[static_cast<std::size_t>(slot)];
        const Vec3 centre = toViewUnits({mesh.sphereX, mesh.sphereY, mesh.sphereZ});
        const double radius = std::abs(mesh.sphereRadius / 100.0);
        for (int k = 0; k < 3; ++k) {
            low[k] = centre[k] - radius;
            high[k] = centre[k] + radius;
        }
    }
    for (int k = 0; k < 3; ++k) {
        figure.boundMin[k] = std::min(figure.boundMin[k], low[k]);
        figure.boundMax[k] = std::max(figure.boundMax[k], high[k]);
    }
}

} // namespace kavlen
