// Builds package files byte by byte for reader and writer tests.
#pragma once

#include "document/byte_cursor.h"

#include <cstdint>
#include <vector>

namespace kavlen::test {

struct FaceSpec {
    std::uint16_t shape;
    std::vector<std::uint16_t> indices;
    std::uint16_t texture = 0;
    std::uint16_t attributes = 0;
};

struct MeshSpec {
    std::vector<std::int16_t> vertexXyz; // 3 per vertex
    std::int16_t normalCount = 0;
    std::vector<std::int16_t> normalsOrShades; // 3 per normal, or 1 per shade
    std::vector<FaceSpec> faces;
};

inline void appendMesh(ByteSink& out, const MeshSpec& m) {
    for (int i = 0; i < 5; ++i)
        out.u16(static_cast<std::uint16_t>(10 + i));
    out.u16(static_cast<std::uint16_t>(m.vertexXyz.size() / 3));
    for (auto v : m.vertexXyz)
        out.i16(v);
    out.i16(m.normalCount);
    for (auto v : m.normalsOrShades)
        out.i16(v);
    out.i16(static_cast<std::int16_t>(m.faces.size()));
    int quads = 0;
    for (const FaceSpec& f : m.faces) {
        out.u16(f.shape);
        for (auto i : f.indices)
            out.u16(i);
        quads += f.shape == 9;
        out.u16(f.texture);
        out.u16(f.attributes);
    }
    if (quads % 2)
        out.u16(0);
}

struct PackageSpec {
    std::uint32_t version = 129;
    std::vector<std::uint8_t> texInfos; // 8 bytes each
    std::vector<std::uint8_t> atlas;    // file order (red, green, blue)
    std::vector<std::uint32_t> pointers;
    std::vector<MeshSpec> meshes;
    std::vector<std::uint8_t> moveables; // 18 bytes each
    std::vector<std::uint8_t> statics;   // 32 bytes each
    std::uint32_t animationCount = 0;
};

inline std::vector<std::uint8_t> buildPackage(const PackageSpec& p) {
    std::vector<std::uint8_t> bytes;
    ByteSink out(bytes);
    out.u32(p.version);
    out.u32(static_cast<std::uint32_t>(p.texInfos.size() / 8));
    out.bytes(p.texInfos.data(), p.texInfos.size());
    out.u32(static_cast<std::uint32_t>(p.atlas.size()));
    out.bytes(p.atlas.data(), p.atlas.size());
    out.u32(static_cast<std::uint32_t>(p.pointers.size()));
    for (auto ptr : p.pointers)
        out.u32(ptr);
    const std::size_t wordsAt = out.position();
    out.u32(0);
    const std::size_t start = out.position();
    for (const MeshSpec& m : p.meshes)
        appendMesh(out, m);
    out.patchU32(wordsAt, static_cast<std::uint32_t>((out.position() - start) / 2));
    out.u32(p.animationCount);
    for (std::uint32_t i = 0; i < p.animationCount * 40; ++i)
        out.u8(static_cast<std::uint8_t>(i));
    for (int t = 0; t < 5; ++t)
        out.u32(0);
    out.u32(static_cast<std::uint32_t>(p.moveables.size() / 18));
    out.bytes(p.moveables.data(), p.moveables.size());
    out.u32(static_cast<std::uint32_t>(p.statics.size() / 32));
    out.bytes(p.statics.data(), p.statics.size());
    return bytes;
}

inline std::vector<std::uint8_t> moveableBytes(std::uint32_t id, std::uint16_t count,
                                               std::uint16_t first) {
    std::vector<std::uint8_t> b;
    ByteSink out(b);
    out.u32(id);
    out.u16(count);
    out.u16(first);
    for (int i = 0; i < 10; ++i)
        out.u8(0);
    return b;
}

inline std::vector<std::uint8_t> staticBytes(std::uint32_t id, std::uint16_t pointerIndex) {
    std::vector<std::uint8_t> b;
    ByteSink out(b);
    out.u32(id);
    out.u16(pointerIndex);
    for (int i = 0; i < 13; ++i)
        out.u16(static_cast<std::uint16_t>(i));
    return b;
}

// A triangle mesh of three vertices, shades and one face: 52 bytes in the file.
inline MeshSpec smallTriangleMesh() {
    return {{0, 0, 0, 100, 0, 0, 0, 100, 0}, -3, {1, 2, 3}, {{8, {0, 1, 2}, 5, 0}}};
}

} // namespace kavlen::test
