// A large package for the benchmarks: 60 pages (or `pages`), 4096 samples, 400
// meshes near the vertex and face capacities. 60 pages make a file of 25 MB, 240
// pages one of 60 MB.
#pragma once

#include "document/demo_package.h"
#include "document/package.h"

#include <memory>

namespace kavlen {

inline std::unique_ptr<Package> makeLargePackage(int pages = 60) {
    auto wad = makeDemoPackage();
    wad->textureDataSize = static_cast<std::uint32_t>(std::size_t(pages) * kPageBytes);
    wad->textureData.resize(wad->textureDataSize);
    for (std::size_t i = 0; i < wad->textureData.size(); ++i)
        wad->textureData[i] = static_cast<std::uint8_t>(i * 31 + i / 768);
    wad->texInfoCount = kMaxTexInfos;
    for (std::size_t t = 0; t < kMaxTexInfos; ++t)
        wad->texInfos[t] = {static_cast<std::uint8_t>(t % 8 * 32),
                            static_cast<std::uint8_t>(t / 8 % 8 * 32),
                            static_cast<std::uint16_t>(t % 60),
                            -1,
                            31,
                            -1,
                            31};
    const std::size_t meshCount = 400;
    wad->meshes.resize(meshCount);
    wad->meshCount = static_cast<std::uint16_t>(meshCount);
    wad->meshPointerCount = static_cast<std::uint32_t>(meshCount);
    std::uint32_t offset = 0;
    for (std::size_t k = 0; k < meshCount; ++k) {
        Mesh& m = wad->meshes[k];
        m = Mesh{};
        m.vertexCount = 1400;
        m.normalCount = k % 2 ? 1400 : -1400;
        for (int i = 0; i < 1400; ++i) {
            m.vertices[i] = {static_cast<std::int16_t>(i), static_cast<std::int16_t>(-i),
                             static_cast<std::int16_t>(k)};
            m.normals[i] = {0, -16300, 0};
            m.shades[i] = static_cast<std::int16_t>(i);
        }
        m.faceCount = 1401; // an odd number of quads
        for (int f = 0; f < m.faceCount; ++f) {
            MeshFace& face = m.faces[f];
            face.shape = f % 3 ? kShapeQuad : kShapeTriangle;
            face.vertexIndex = {std::uint16_t(f % 1400), std::uint16_t((f + 1) % 1400),
                                std::uint16_t((f + 2) % 1400), std::uint16_t((f + 3) % 1400)};
            face.texture = static_cast<std::uint16_t>(f % 4096);
            face.visible = 1;
        }
        wad->meshPointers[k] = offset;
        offset += static_cast<std::uint32_t>(m.fileSize());
    }
    wad->meshDataWords = offset / 2;
    wad->moveables.clear();
    Moveable mv;
    mv.pointerCount = static_cast<std::uint16_t>(meshCount);
    wad->moveables.push_back(mv);
    wad->moveableCount = 1;
    wad->statics.clear();
    wad->staticCount = 0;
    buildMeshDirectory(*wad);
    computeMeshUsage(*wad);
    return wad;
}

} // namespace kavlen
