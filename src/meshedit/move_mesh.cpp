#include "meshedit/move_mesh.h"

#include "document/bounds.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace kavlen {

namespace {

constexpr int kClickStep = 128;

bool fitsInt16(long long value) {
    return value >= INT16_MIN && value <= INT16_MAX;
}

// Vertex slots beyond vertexCount are moved too, keeping the low 16 bits: they
// are not stored, but keep their relation to the mesh for the commands that
// reuse slot contents.
std::int16_t wrapToInt16(long long value) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(value));
}

std::int16_t& component(MeshVertex& v, int axis) {
    return axis == 0 ? v.x : axis == 1 ? v.y : v.z;
}

std::int16_t& sphereComponent(Mesh& mesh, int axis) {
    return axis == 0 ? mesh.sphereX : axis == 1 ? mesh.sphereY : mesh.sphereZ;
}

// Whether every stored coordinate that the move touches stays within 16 bits.
bool moveFits(const Package& wad, const Mesh& mesh, const std::vector<int>& statics,
              const std::array<long long, 3>& delta) {
    const auto extents = meshExtents(mesh);
    for (int a = 0; a < 3; ++a) {
        if (delta[a] == 0)
            continue;
        // Any delta beyond 65535 takes every 16-bit value out of range (and is kept
        // away from the additions below).
        if (delta[a] < -65535 || delta[a] > 65535)
            return false;
        if (!fitsInt16((*extents)[2 * a] + delta[a]) ||
            !fitsInt16((*extents)[2 * a + 1] + delta[a]))
            return false;
        for (int s : statics) {
            const StaticMesh& st = wad.statics[s];
            for (const auto* box : {&st.visibilityBox, &st.collisionBox}) {
                if (!fitsInt16((*box)[2 * a] + delta[a]) ||
                    !fitsInt16((*box)[2 * a + 1] + delta[a]))
                    return false;
            }
        }
        if (statics.empty()) {
            const std::int16_t centre = a == 0   ? mesh.sphereX
                                        : a == 1 ? mesh.sphereY
                                                 : mesh.sphereZ;
            if (!fitsInt16(centre + delta[a]))
                return false;
        }
    }
    return true;
}

MeshEditResult moveBy(Package& wad, int slot, const std::array<long long, 3>& delta) {
    MeshEditResult result;
    Mesh* mesh = meshInSlot(wad, slot);
    if (!mesh || mesh->vertexCount == 0)
        return result;
    if (delta[0] == 0 && delta[1] == 0 && delta[2] == 0)
        return result;
    const std::vector<int> statics = staticsOfMesh(wad, slot);
    if (!moveFits(wad, *mesh, statics, delta)) {
        result.messages.push_back(
            {MessageKind::Status, "Mesh not moved: coordinates must stay within -32768..32767."});
        return result;
    }
    for (int a = 0; a < 3; ++a) {
        if (delta[a] == 0)
            continue;
        for (MeshVertex& v : mesh->vertices)
            component(v, a) = wrapToInt16(component(v, a) + delta[a]);
        for (int s : statics) {
            StaticMesh& st = wad.statics[s];
            for (auto* box : {&st.visibilityBox, &st.collisionBox}) {
                (*box)[2 * a] = static_cast<std::int16_t>((*box)[2 * a] + delta[a]);
                (*box)[2 * a + 1] = static_cast<std::int16_t>((*box)[2 * a + 1] + delta[a]);
            }
        }
        if (statics.empty())
            sphereComponent(*mesh, a) =
                static_cast<std::int16_t>(sphereComponent(*mesh, a) + delta[a]);
    }
    result.changed = result.boundsChanged = true;
    return result;
}

} // namespace

int moveArrowDelta(Axis axis, bool up, bool clicks) {
    const int step = clicks ? kClickStep : 1;
    const bool adds = axis == Axis::Y ? !up : up;
    return adds ? step : -step;
}

MeshEditResult shiftMeshAxis(Package& wad, int slot, long long delta, Axis axis) {
    std::array<long long, 3> d{};
    d[static_cast<int>(axis)] = delta;
    return moveBy(wad, slot, d);
}

MeshEditResult moveMesh(Package& wad, int slot, long long dx, long long dy, long long dz) {
    return moveBy(wad, slot, {dx, dy, dz});
}

MeshEditResult moveMeshByArrow(Package& wad, int slot, Axis axis, bool up, bool clicks) {
    return shiftMeshAxis(wad, slot, moveArrowDelta(axis, up, clicks), axis);
}

MeshEditResult shiftMeshToBound(Package& wad, int slot, MeshBound bound, long long value,
                                bool clicks) {
    const Mesh* mesh = meshInSlot(wad, slot);
    if (!mesh)
        return {};
    const auto extents = meshExtents(*mesh);
    if (!extents)
        return {};
    // Bounds are numbered like the box: LowX = minX (0), HighX = maxX (1), ...
    const int b = static_cast<int>(bound);
    // Values this large are out of range anyway; holding them keeps the product finite.
    const long long held = std::clamp<long long>(value, -(1LL << 32), 1LL << 32);
    const long long target = clicks ? held * kClickStep : held;
    return shiftMeshAxis(wad, slot, target - (*extents)[b], static_cast<Axis>(b / 2));
}

} // namespace kavlen
