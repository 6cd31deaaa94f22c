// Comparable copies of a mesh's vertices and faces, for before-and-after checks.
#pragma once

#include "document/package.h"

#include <array>
#include <tuple>
#include <vector>

namespace kavlen {

using VertexKey = std::array<int, 3>;
using FaceKey = std::tuple<int, std::array<std::uint16_t, 4>, int, int>;

inline std::vector<VertexKey> vertexKeys(const Mesh& m) {
    std::vector<VertexKey> keys;
    for (int i = 0; i < m.vertexCount; ++i)
        keys.push_back({m.vertices[i].x, m.vertices[i].y, m.vertices[i].z});
    return keys;
}

// Shape, vertex indices (a triangle's fourth one left out), texture and attributes.
inline std::vector<FaceKey> faceKeys(const Mesh& m) {
    std::vector<FaceKey> keys;
    for (int i = 0; i < m.faceCount; ++i) {
        const MeshFace& f = m.faces[i];
        std::array<std::uint16_t, 4> v = f.vertexIndex;
        if (!f.isQuad())
            v[3] = 0;
        keys.emplace_back(f.shape, v, f.texture, f.attributes);
    }
    return keys;
}

} // namespace kavlen
