#include "document/byte_cursor.h"
#include "document/package.h"
#include "document/safe_write.h"
#include "document/tex_info_io.h"

#include <algorithm>

namespace kavlen {

namespace {

void writeMesh(ByteSink& out, const Mesh& mesh) {
    out.i16(mesh.sphereX);
    out.i16(mesh.sphereY);
    out.i16(mesh.sphereZ);
    out.u16(mesh.sphereRadius);
    out.u16(mesh.extraWord);
    const std::size_t vertexCount = std::min<std::size_t>(mesh.vertexCount, kMaxMeshVertices);
    out.u16(static_cast<std::uint16_t>(vertexCount));
    out.words(mesh.vertices.data(), 3 * vertexCount);
    out.i16(mesh.normalCount);
    if (mesh.normalCount > 0) {
        const std::size_t n = std::min<std::size_t>(mesh.normalCount, kMaxMeshVertices);
        out.words(mesh.normals.data(), 3 * n);
    } else {
        const std::size_t n = std::min<std::size_t>(-int(mesh.normalCount), kMaxMeshVertices);
        out.words(mesh.shades.data(), n);
    }
    const int faceCount = std::clamp<int>(mesh.faceCount, 0, int(kMaxMeshVertices));
    out.i16(static_cast<std::int16_t>(faceCount));
    int quads = 0;
    for (int i = 0; i < faceCount; ++i) {
        const MeshFace& face = mesh.faces[i];
        const bool quad = face.shape == kShapeQuad;
        quads += quad;
        const std::uint16_t record[7] = {
            face.shape,          face.vertexIndex[0], face.vertexIndex[1], face.vertexIndex[2],
            face.vertexIndex[3], face.texture,        face.attributes};
        if (quad) {
            out.words(record, 7);
        } else {
            out.words(record, 4);
            out.words(record + 5, 2);
        }
    }
    if (quads % 2 == 1)
        out.u16(0);
}

} // namespace

std::vector<std::uint8_t> serializeWad(const Package& wad,
                                       std::array<std::uint32_t, kMaxMeshPointers>& newPointers,
                                       std::uint32_t& newMeshDataWords) {
    std::size_t meshBytes = 0;
    for (std::size_t k = 0; k < wad.meshCount; ++k)
        meshBytes += wad.meshes[k].fileSize();
    std::vector<std::uint8_t> bytes;
    bytes.reserve(64 + wad.textureData.size() + 8 * wad.texInfoCount +
                  4 * std::size_t(wad.meshPointerCount) + meshBytes + wad.animations.size() +
                  wad.stateChanges.size() + wad.dispatches.size() + wad.commands.size() +
                  wad.meshTree.size() + wad.keyframes.size() + 18 * wad.moveables.size() +
                  32 * wad.statics.size());
    ByteSink out(bytes);

    out.u32(wad.version);
    const std::size_t texInfoCount = std::min<std::size_t>(wad.texInfoCount, kMaxTexInfos);
    out.u32(static_cast<std::uint32_t>(texInfoCount));
    for (std::size_t i = 0; i < texInfoCount; ++i)
        writeTexInfo(out, wad.texInfos[i]);

    // Atlas: memory holds blue, green, red; the file red, green, blue.
    out.u32(static_cast<std::uint32_t>(wad.textureData.size()));
    const std::size_t atlasStart = out.position();
    bytes.resize(atlasStart + wad.textureData.size());
    const std::uint8_t* in = wad.textureData.data();
    std::uint8_t* atlas = bytes.data() + atlasStart;
    const std::size_t triples = wad.textureData.size() / 3;
    for (std::size_t i = 0; i < triples; ++i, in += 3, atlas += 3) {
        atlas[0] = in[2];
        atlas[1] = in[1];
        atlas[2] = in[0];
    }
    std::copy(in, in + wad.textureData.size() % 3, atlas);

    const std::size_t pointerCount = std::min<std::size_t>(wad.meshPointerCount, kMaxMeshPointers);
    out.u32(static_cast<std::uint32_t>(pointerCount));
    const std::size_t pointersAt = out.position();
    for (std::size_t i = 0; i < pointerCount; ++i)
        out.u32(wad.meshPointers[i]);

    const std::size_t wordsAt = out.position();
    out.u32(wad.meshDataWords);
    const std::size_t meshStart = out.position();
    std::vector<std::uint32_t> starts(std::size_t(wad.meshCount) + 1, 0);
    for (std::size_t k = 0; k < wad.meshCount; ++k) {
        writeMesh(out, wad.meshes[k]);
        starts[k + 1] = static_cast<std::uint32_t>(out.position() - meshStart);
    }
    newMeshDataWords = static_cast<std::uint32_t>((out.position() - meshStart) / 2);
    out.patchU32(wordsAt, newMeshDataWords);

    const std::pair<std::uint32_t, const std::vector<std::uint8_t>*> tables[] = {
        {wad.animationCount, &wad.animations}, {wad.stateChangeCount, &wad.stateChanges},
        {wad.dispatchCount, &wad.dispatches},  {wad.commandCount, &wad.commands},
        {wad.meshTreeCount, &wad.meshTree},    {wad.keyframeWordCount, &wad.keyframes},
    };
    for (const auto& [count, block] : tables) {
        out.u32(count);
        out.bytes(block->data(), block->size());
    }

    out.u32(static_cast<std::uint32_t>(wad.moveables.size()));
    for (const Moveable& m : wad.moveables) {
        out.u32(m.objectId);
        out.u16(m.pointerCount);
        out.u16(m.firstPointer);
        out.bytes(m.opaqueTail.data(), m.opaqueTail.size());
    }
    out.u32(static_cast<std::uint32_t>(wad.statics.size()));
    for (const StaticMesh& s : wad.statics) {
        out.u32(s.objectId);
        out.u16(s.pointerIndex);
        for (auto v : s.visibilityBox)
            out.i16(v);
        for (auto v : s.collisionBox)
            out.i16(v);
        out.u16(s.flags);
    }

    // Pointers follow their meshes to the new offsets. A pointer whose mesh index
    // names no slot (a malformed package) keeps its value as read.
    // Directory offsets are distinct, so a sorted copy answers lookupMeshOffset.
    std::vector<MeshOffsetDirectory::Entry> sorted(
        wad.directory.entries.begin() + std::min<std::size_t>(1, wad.directory.entries.size()),
        wad.directory.entries.end());
    std::sort(sorted.begin(), sorted.end(),
              [](const auto& a, const auto& b) { return a.offset < b.offset; });
    newPointers = wad.meshPointers;
    for (std::size_t i = 0; i < pointerCount; ++i) {
        const std::uint32_t offset = wad.meshPointers[i];
        if (offset == 0)
            continue;
        auto it = std::lower_bound(sorted.begin(), sorted.end(), offset,
                                   [](const auto& e, std::uint32_t o) { return e.offset < o; });
        const std::uint16_t k = (it != sorted.end() && it->offset == offset) ? it->meshIndex : 0;
        if (k != 0 && k < wad.meshCount)
            newPointers[i] = starts[k];
        out.patchU32(pointersAt + 4 * i, newPointers[i]);
    }
    return bytes;
}

SaveResult saveWad(Package& wad, const std::filesystem::path& path) {
    std::array<std::uint32_t, kMaxMeshPointers> newPointers{};
    std::uint32_t newWords = 0;
    std::vector<std::uint8_t> bytes;
    try {
        bytes = serializeWad(wad, newPointers, newWords);
    } catch (const std::bad_alloc&) {
        return {false, "Not enough memory to write the package"};
    }
    const WriteResult written = writeFileSafely(path, bytes);
    if (!written.ok)
        return {false, written.message};
    wad.meshPointers = newPointers;
    wad.meshDataWords = newWords;
    buildMeshDirectory(wad);
    return {};
}

} // namespace kavlen
