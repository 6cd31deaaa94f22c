#include "meshedit/swap_vertices.h"

#include <string>
#include <utility>

namespace kavlen {

bool canSwapVertices(const Package& wad, int slot, int a, int b) {
    const Mesh* mesh = meshInSlot(wad, slot);
    if (!mesh || a == b)
        return false;
    const int n = vertexLoopCount(*mesh);
    return a >= 0 && b >= 0 && a < n && b < n;
}

MeshEditResult swapVertices(Package& wad, int slot, int a, int b) {
    MeshEditResult result;
    if (!canSwapVertices(wad, slot, a, b))
        return result;
    Mesh& mesh = wad.meshes[slot];
    std::swap(mesh.vertices[a], mesh.vertices[b]);
    if (mesh.normalCount < 0)
        std::swap(mesh.shades[a], mesh.shades[b]);
    else
        std::swap(mesh.normals[a], mesh.normals[b]);
    const auto ia = static_cast<std::uint16_t>(a), ib = static_cast<std::uint16_t>(b);
    for (int f = 0; f < faceLoopCount(mesh); ++f) {
        MeshFace& face = mesh.faces[f];
        for (int c = 0; c < face.cornerCount(); ++c) {
            if (face.vertexIndex[c] == ia)
                face.vertexIndex[c] = ib;
            else if (face.vertexIndex[c] == ib)
                face.vertexIndex[c] = ia;
        }
    }
    result.changed = true;
    result.messages.push_back(
        {MessageKind::Status, "Vertex " + std::to_string(a) + " changed to " + std::to_string(b)});
    return result;
}

} // namespace kavlen
