#include "meshedit/mirror_mesh.h"

#include "document/bounds.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace kavlen {

namespace {

std::int16_t& component(MeshVertex& v, Axis axis) {
    return axis == Axis::X ? v.x : axis == Axis::Y ? v.y : v.z;
}

std::int16_t& sphereComponent(Mesh& mesh, Axis axis) {
    return axis == Axis::X ? mesh.sphereX : axis == Axis::Y ? mesh.sphereY : mesh.sphereZ;
}

bool mirrorFits(const Package& wad, Mesh& mesh, const std::vector<int>& statics, Axis axis) {
    const int a = static_cast<int>(axis);
    for (int i = 0; i < vertexLoopCount(mesh); ++i) {
        if (component(mesh.vertices[i], axis) == INT16_MIN)
            return false;
    }
    for (int s : statics) {
        const StaticMesh& st = wad.statics[s];
        for (const auto* box : {&st.visibilityBox, &st.collisionBox}) {
            if ((*box)[2 * a] == INT16_MIN || (*box)[2 * a + 1] == INT16_MIN)
                return false;
        }
    }
    return !statics.empty() || sphereComponent(mesh, axis) != INT16_MIN;
}

} // namespace

Axis mirrorAxis(MirrorPlane plane) {
    switch (plane) {
    case MirrorPlane::XZ:
        return Axis::Y;
    case MirrorPlane::YZ:
        return Axis::X;
    case MirrorPlane::XY:
        return Axis::Z;
    }
    return Axis::Y;
}

void mirrorFace(MeshFace& face) {
    auto& v = face.vertexIndex;
    if (face.shape == kShapeQuad) {
        face.texture = static_cast<std::uint16_t>(0u - face.texture);
        v = {v[1], v[0], v[3], v[2]};
    } else if (face.shape == kShapeTriangle) {
        TextureWordInfo info = decodeTextureWord(face.texture);
        // Corners 0 and 2, and 4 and 6, are each other's mirror images.
        if (info.corner == 0 || info.corner == 4)
            info.corner = static_cast<std::uint8_t>(info.corner + 2);
        else if (info.corner == 2 || info.corner == 6)
            info.corner = static_cast<std::uint8_t>(info.corner - 2);
        info.mirrored = !info.mirrored;
        face.texture = encodeTextureWord(info);
        std::swap(v[1], v[2]);
    }
}

MeshEditResult mirrorMesh(Package& wad, int slot, Axis axis) {
    MeshEditResult result;
    if (!wad.isLoaded()) {
        result.messages.push_back(noWadOpened());
        return result;
    }
    Mesh* mesh = meshInSlot(wad, slot);
    if (!mesh || mesh->vertexCount == 0)
        return result;
    // Every static drawn with this mesh keeps boxes that fit the mirrored mesh.
    const std::vector<int> statics = staticsOfMesh(wad, slot);
    if (!mirrorFits(wad, *mesh, statics, axis)) {
        result.messages.push_back(
            {MessageKind::Status,
             "Mesh not mirrored: a coordinate of -32768 has no mirror image."});
        return result;
    }
    const int a = static_cast<int>(axis);
    for (int s : statics) {
        StaticMesh& st = wad.statics[s];
        for (auto* box : {&st.visibilityBox, &st.collisionBox}) {
            const std::int16_t low = (*box)[2 * a], high = (*box)[2 * a + 1];
            (*box)[2 * a] = static_cast<std::int16_t>(-high);
            (*box)[2 * a + 1] = static_cast<std::int16_t>(-low);
        }
    }
    if (statics.empty())
        sphereComponent(*mesh, axis) = static_cast<std::int16_t>(-sphereComponent(*mesh, axis));

    if (mesh->normalCount > 0) {
        const int n = std::min<int>(mesh->normalCount, static_cast<int>(kMaxMeshVertices));
        for (int i = 0; i < n; ++i) {
            std::int16_t& c = component(mesh->normals[i], axis);
            c = c == INT16_MIN ? INT16_MAX : static_cast<std::int16_t>(-c);
        }
    }
    for (int i = 0; i < vertexLoopCount(*mesh); ++i) {
        std::int16_t& c = component(mesh->vertices[i], axis);
        c = static_cast<std::int16_t>(-c);
    }
    for (int f = 0; f < faceLoopCount(*mesh); ++f)
        mirrorFace(mesh->faces[f]);
    result.changed = result.boundsChanged = result.recenterView = true;
    return result;
}

} // namespace kavlen
