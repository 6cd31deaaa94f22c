#include "meshedit/lighting.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace kavlen {

namespace {

const Message kNoWad{MessageKind::Error, "No wad opened."};

Mesh* meshOrNull(Package& wad, int slot) {
    if (slot < 0 || slot >= wad.meshCount || std::size_t(slot) >= wad.meshes.size())
        return nullptr;
    return &wad.meshes[std::size_t(slot)];
}

} // namespace

void normalizeTo16300(double& x, double& y, double& z) {
    const double len = std::sqrt(x * x + y * y + z * z);
    if (len != 0) {
        x /= len;
        y /= len;
        z /= len;
    }
    x *= kNormalLength;
    y *= kNormalLength;
    z *= kNormalLength;
}

std::int16_t shadeFromIntensity(int intensity) {
    return static_cast<std::int16_t>(intensity * 8191 / 31);
}

void recalcNormals(Mesh& mesh, bool averaged) {
    if (mesh.normalCount <= 0)
        return;
    const std::size_t normals =
        std::min<std::size_t>(std::size_t(mesh.normalCount), kMaxMeshVertices);
    const std::size_t vertices = std::min<std::size_t>(mesh.vertexCount, kMaxMeshVertices);
    std::vector<std::array<double, 3>> sum(normals, {0.0, 0.0, 0.0});
    const int faces = std::min<int>(mesh.faceCount, int(kMaxMeshVertices));
    for (int f = 0; f < faces; ++f) {
        const MeshFace& face = mesh.faces[std::size_t(f)];
        const auto& idx = face.vertexIndex;
        if (idx[0] >= vertices || idx[1] >= vertices || idx[2] >= vertices)
            continue;
        const MeshVertex& a = mesh.vertices[idx[0]];
        const MeshVertex& b = mesh.vertices[idx[1]];
        const MeshVertex& c = mesh.vertices[idx[2]];
        const double e1x = double(b.x) - a.x, e1y = double(b.y) - a.y, e1z = double(b.z) - a.z;
        const double e2x = double(c.x) - a.x, e2y = double(c.y) - a.y, e2z = double(c.z) - a.z;
        double nx = e1y * e2z - e1z * e2y;
        double ny = e1z * e2x - e1x * e2z;
        double nz = e1x * e2y - e1y * e2x;
        if (averaged) {
            const double len = std::sqrt(nx * nx + ny * ny + nz * nz);
            if (len != 0) {
                nx /= len;
                ny /= len;
                nz /= len;
            }
        }
        const int corners = face.cornerCount();
        for (int k = 0; k < corners; ++k) {
            bool seen = false;
            for (int j = 0; j < k; ++j)
                seen = seen || idx[std::size_t(j)] == idx[std::size_t(k)];
            if (seen || idx[std::size_t(k)] >= normals)
                continue;
            auto& s = sum[idx[std::size_t(k)]];
            s[0] -= nx;
            s[1] -= ny;
            s[2] -= nz;
        }
    }
    for (std::size_t k = 0; k < normals; ++k) {
        double x = sum[k][0], y = sum[k][1], z = sum[k][2];
        normalizeTo16300(x, y, z);
        mesh.normals[k] = {static_cast<std::int16_t>(std::trunc(x)),
                           static_cast<std::int16_t>(std::trunc(y)),
                           static_cast<std::int16_t>(std::trunc(z))};
    }
}

void setStaticLighting(Mesh& mesh, int intensity) {
    const std::int16_t shade = shadeFromIntensity(intensity);
    const std::size_t count = std::min<std::size_t>(mesh.vertexCount, kMaxMeshVertices);
    mesh.normalCount = static_cast<std::int16_t>(-static_cast<int>(count));
    for (std::size_t k = 0; k < count; ++k)
        mesh.shades[k] = shade;
}

LightingResult recalcNormalsCommand(Package& wad, int slot, bool averaged) {
    LightingResult result;
    if (!wad.isLoaded()) {
        result.messages.push_back(kNoWad);
        return result;
    }
    Mesh* mesh = meshOrNull(wad, slot);
    if (!mesh || mesh->normalCount == 0 || mesh->faceCount <= 0)
        return result;
    if (mesh->normalCount < 0) {
        result.messages.push_back({MessageKind::Error, "Mesh uses static lighting."});
        return result;
    }
    recalcNormals(*mesh, averaged);
    result.changed = true;
    result.messages.push_back(
        {MessageKind::Information,
         std::string(averaged ? "Averaged" : "Weighted") + " normals calculated."});
    return result;
}

LightingResult changeToStaticLighting(Package& wad, int slot, int intensity) {
    LightingResult result;
    if (!wad.isLoaded()) {
        result.messages.push_back(kNoWad);
        return result;
    }
    Mesh* mesh = meshOrNull(wad, slot);
    if (!mesh || mesh->vertexCount == 0 || mesh->faceCount <= 0)
        return result;
    const bool hadNormals = mesh->normalCount >= 0;
    setStaticLighting(*mesh, intensity);
    result.changed = true;
    if (hadNormals) {
        for (int f = 0; f < mesh->faceCount; ++f)
            mesh->faces[std::size_t(f)].attributes &= kAttrTransparent;
        result.messages.push_back({MessageKind::Information, "Shine removed from all faces."});
        result.messages.push_back(
            {MessageKind::Information, "Lighting changed from moveable to static."});
    }
    return result;
}

LightingResult changeToMoveableLighting(Package& wad, int slot) {
    LightingResult result;
    if (!wad.isLoaded()) {
        result.messages.push_back(kNoWad);
        return result;
    }
    Mesh* mesh = meshOrNull(wad, slot);
    if (!mesh || mesh->vertexCount == 0 || mesh->faceCount <= 0)
        return result;
    const bool wasStatic = mesh->normalCount < 0;
    if (wasStatic)
        mesh->normalCount = static_cast<std::int16_t>(-mesh->normalCount);
    else if (mesh->normalCount == 0)
        mesh->normalCount = static_cast<std::int16_t>(mesh->vertexCount);
    LightingResult recalc = recalcNormalsCommand(wad, slot, true);
    result.changed = true;
    result.messages = std::move(recalc.messages);
    if (wasStatic)
        result.messages.push_back(
            {MessageKind::Information, "Lighting changed from static to moveable."});
    return result;
}

} // namespace kavlen
