#include "meshedit/mesh_edit.h"

#include <algorithm>
#include <utility>

namespace kavlen {

const Mesh* meshInSlot(const Package& wad, int slot) {
    if (slot < 0 || slot >= wad.meshCount || std::size_t(slot) >= wad.meshes.size())
        return nullptr;
    return &wad.meshes[slot];
}

Mesh* meshInSlot(Package& wad, int slot) {
    return const_cast<Mesh*>(meshInSlot(std::as_const(wad), slot));
}

int faceLoopCount(const Mesh& mesh) {
    return std::clamp<int>(mesh.faceCount, 0, static_cast<int>(kMaxMeshVertices));
}

int vertexLoopCount(const Mesh& mesh) {
    return std::min<int>(mesh.vertexCount, static_cast<int>(kMaxMeshVertices));
}

} // namespace kavlen
