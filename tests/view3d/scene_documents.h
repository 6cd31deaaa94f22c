// Small packages for the 3D view tests, built in code so every colour and
// position is known.
#pragma once

#include "document/package.h"
#include "view3d/scene_color.h"

#include <cstdint>
#include <memory>

namespace kavlen::testing {

// Texel colours of the test atlas.
inline constexpr Rgb kSample0Color{100, 100, 100};
inline constexpr Rgb kLeftColor{220, 30, 30};  // left half of sample 1
inline constexpr Rgb kRightColor{30, 30, 220}; // right half of sample 1
inline constexpr Rgb kWhiteTexel{255, 255, 255};
inline constexpr Rgb kOddSizeColor{10, 200, 10};

inline void paintAtlasRect(Package& wad, int x0, int y0, int w, int h, Rgb c) {
    for (int y = y0; y < y0 + h; ++y) {
        for (int x = x0; x < x0 + w; ++x) {
            std::uint8_t* p = wad.textureData.data() + std::size_t(y) * kAtlasRowBytes + 3 * x;
            p[0] = c.b;
            p[1] = c.g;
            p[2] = c.r;
        }
    }
}

inline void addTestSample(Package& wad, int x, int y, int w, int h) {
    TexInfo& t = wad.texInfos[wad.texInfoCount++];
    t.x = static_cast<std::uint8_t>(x);
    t.y = static_cast<std::uint8_t>(y);
    t.page = 0;
    t.width = static_cast<std::uint8_t>(w - 1);
    t.height = static_cast<std::uint8_t>(h - 1);
}

// A loaded package with one atlas page and four samples:
// 0: 32 x 32 grey; 1: 32 x 32, left half kLeftColor, right half kRightColor;
// 2: 32 x 32 white; 3: 33 x 32 kOddSizeColor (stretched to 64 x 64 on upload).
inline std::unique_ptr<Package> makeSceneTestPackage() {
    auto wad = std::make_unique<Package>();
    wad->version = 129;
    wad->textureDataSize = kPageBytes;
    wad->textureData.assign(kPageBytes, 0);
    paintAtlasRect(*wad, 0, 0, 32, 32, kSample0Color);
    paintAtlasRect(*wad, 32, 0, 16, 32, kLeftColor);
    paintAtlasRect(*wad, 48, 0, 16, 32, kRightColor);
    paintAtlasRect(*wad, 64, 0, 32, 32, kWhiteTexel);
    paintAtlasRect(*wad, 96, 0, 33, 32, kOddSizeColor);
    addTestSample(*wad, 0, 0, 32, 32);
    addTestSample(*wad, 32, 0, 32, 32);
    addTestSample(*wad, 64, 0, 32, 32);
    addTestSample(*wad, 96, 0, 33, 32);
    return wad;
}

// Appends a cleared mesh slot. The reference is valid until the next slot is added.
inline Mesh& addTestMesh(Package& wad) {
    return wad.appendMeshSlot();
}

inline int addVertex(Mesh& mesh, int x, int y, int z) {
    mesh.vertices[mesh.vertexCount] = {static_cast<std::int16_t>(x), static_cast<std::int16_t>(y),
                                       static_cast<std::int16_t>(z)};
    return mesh.vertexCount++;
}

// A square quad facing the viewer, centred at model (cx, cy) in the plane z = 0,
// vertices in the order top left, top right, bottom right, bottom left as seen
// in the view (model y points down).
inline MeshFace& addQuad(Mesh& mesh, int cx, int cy, int half, std::uint16_t texture,
                         std::uint16_t attributes = 0) {
    const int a = addVertex(mesh, cx - half, cy - half, 0);
    const int b = addVertex(mesh, cx + half, cy - half, 0);
    const int c = addVertex(mesh, cx + half, cy + half, 0);
    const int d = addVertex(mesh, cx - half, cy + half, 0);
    MeshFace& f = mesh.faces[static_cast<std::size_t>(mesh.faceCount++)];
    f.shape = kShapeQuad;
    f.vertexIndex = {std::uint16_t(a), std::uint16_t(b), std::uint16_t(c), std::uint16_t(d)};
    f.texture = texture;
    f.attributes = attributes;
    f.visible = 1;
    return f;
}

// A right triangle facing the viewer: top left, top right, bottom left of the
// square centred at (cx, cy).
inline MeshFace& addTriangle(Mesh& mesh, int cx, int cy, int half, std::uint16_t texture,
                             std::uint16_t attributes = 0) {
    const int a = addVertex(mesh, cx - half, cy - half, 0);
    const int b = addVertex(mesh, cx + half, cy - half, 0);
    const int c = addVertex(mesh, cx - half, cy + half, 0);
    MeshFace& f = mesh.faces[static_cast<std::size_t>(mesh.faceCount++)];
    f.shape = kShapeTriangle;
    f.vertexIndex = {std::uint16_t(a), std::uint16_t(b), std::uint16_t(c), 0};
    f.texture = texture;
    f.attributes = attributes;
    f.visible = 1;
    return f;
}

inline std::uint16_t quadWord(int sample) {
    return static_cast<std::uint16_t>(static_cast<std::int16_t>(sample));
}

inline std::uint16_t triangleWord(int sample, int corner, bool mirrored = false) {
    return static_cast<std::uint16_t>((mirrored ? 0x8000 : 0) | (corner << 12) | sample);
}

} // namespace kavlen::testing
