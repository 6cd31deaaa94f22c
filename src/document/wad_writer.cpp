#include "document/byte_cursor.h"
#include "document/package.h"
#include "document/safe_write.h"
#include "document/tex_info_io.h"
#include "document/texel_order.h"

#include <algorithm>
#include <map>

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

// Where the meshes go in the new file and what the pointers become.
struct Layout {
    std::vector<std::uint32_t> starts; // slot k starts at starts[k]; one more for the end
    std::array<std::uint32_t, kMaxMeshPointers> pointers{};
    std::uint32_t meshDataWords = 0;
};

// Each non-zero pointer moves with the mesh it names: the slot stored at its
// offset when the package was read or last saved. A slot added since (Add new
// empty mesh) has no stored offset; its pointer names it through the directory.
// A pointer that starts no mesh keeps its value, so it never shifts the others.
Layout layoutWad(const Package& wad) {
    Layout layout;
    layout.starts.assign(std::size_t(wad.meshCount) + 1, 0);
    for (std::size_t k = 0; k < wad.meshCount; ++k)
        layout.starts[k + 1] =
            layout.starts[k] + static_cast<std::uint32_t>(wad.meshes[k].fileSize());
    layout.meshDataWords = layout.starts.back() / 2;

    const std::size_t stored = std::min<std::size_t>(wad.meshFileOffsets.size(), wad.meshCount);
    std::map<std::uint32_t, std::size_t> slotAt;
    for (std::size_t k = 0; k < stored; ++k)
        slotAt.emplace(wad.meshFileOffsets[k], k);
    std::map<std::uint32_t, std::uint16_t> indexOf;
    for (std::size_t e = 1; e < wad.directory.entries.size(); ++e)
        indexOf.emplace(wad.directory.entries[e].offset, wad.directory.entries[e].meshIndex);

    layout.pointers = wad.meshPointers;
    const std::size_t pointerCount = std::min<std::size_t>(wad.meshPointerCount, kMaxMeshPointers);
    for (std::size_t i = 0; i < pointerCount; ++i) {
        const std::uint32_t offset = wad.meshPointers[i];
        if (offset == 0)
            continue;
        if (auto e = indexOf.find(offset);
            e != indexOf.end() && e->second >= stored && e->second < wad.meshCount) {
            layout.pointers[i] = layout.starts[e->second];
            continue;
        }
        if (auto s = slotAt.find(offset); s != slotAt.end())
            layout.pointers[i] = layout.starts[s->second];
    }
    return layout;
}

// Appends to a byte vector (serializeWad).
class VectorSink final : public FileSink {
  public:
    explicit VectorSink(std::vector<std::uint8_t>& out) : out_(out) {}
    bool write(const void* data, std::size_t n) override {
        const auto* b = static_cast<const std::uint8_t*>(data);
        out_.insert(out_.end(), b, b + n);
        return true;
    }

  private:
    std::vector<std::uint8_t>& out_;
};

// Writes the package in file order. Small sections are encoded into a scratch
// buffer; the animation tables and trailing bytes go out straight from the
// document, the atlas through a chunk turned into file order.
bool writeWad(const Package& wad, const Layout& layout, FileSink& sink) {
    std::vector<std::uint8_t> scratch;
    ByteSink out(scratch);
    auto emit = [&]() {
        const bool ok = sink.write(scratch.data(), scratch.size());
        scratch.clear();
        return ok;
    };

    out.u32(wad.version);
    const std::size_t texInfoCount = std::min<std::size_t>(wad.texInfoCount, kMaxTexInfos);
    out.u32(static_cast<std::uint32_t>(texInfoCount));
    for (std::size_t i = 0; i < texInfoCount; ++i)
        writeTexInfo(out, wad.texInfos[i]);
    out.u32(static_cast<std::uint32_t>(wad.textureData.size()));
    if (!emit())
        return false;

    // Atlas: memory holds blue, green, red; the file red, green, blue.
    {
        constexpr std::size_t kChunk = 512 * 1024 - (512 * 1024) % 3;
        std::vector<std::uint8_t> chunk(std::min(kChunk, wad.textureData.size()));
        const std::uint8_t* in = wad.textureData.data();
        for (std::size_t at = 0; at < wad.textureData.size(); at += kChunk) {
            const std::size_t n = std::min(kChunk, wad.textureData.size() - at);
            exchangeRedBlue(in + at, chunk.data(), n);
            if (!sink.write(chunk.data(), n))
                return false;
        }
    }

    const std::size_t pointerCount = std::min<std::size_t>(wad.meshPointerCount, kMaxMeshPointers);
    out.u32(static_cast<std::uint32_t>(pointerCount));
    for (std::size_t i = 0; i < pointerCount; ++i)
        out.u32(layout.pointers[i]);
    out.u32(layout.meshDataWords);
    for (std::size_t k = 0; k < wad.meshCount; ++k) {
        writeMesh(out, wad.meshes[k]);
        if (scratch.size() >= 128 * 1024 && !emit())
            return false;
    }

    const std::pair<std::uint32_t, const std::vector<std::uint8_t>*> tables[] = {
        {wad.animationCount, &wad.animations}, {wad.stateChangeCount, &wad.stateChanges},
        {wad.dispatchCount, &wad.dispatches},  {wad.commandCount, &wad.commands},
        {wad.meshTreeCount, &wad.meshTree},    {wad.keyframeWordCount, &wad.keyframes},
    };
    for (const auto& [count, block] : tables) {
        out.u32(count);
        if (!emit() || !sink.write(block->data(), block->size()))
            return false;
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
    return emit() && sink.write(wad.trailingBytes.data(), wad.trailingBytes.size());
}

} // namespace

std::vector<std::uint8_t> serializeWad(const Package& wad,
                                       std::array<std::uint32_t, kMaxMeshPointers>& newPointers,
                                       std::uint32_t& newMeshDataWords) {
    const Layout layout = layoutWad(wad);
    std::vector<std::uint8_t> bytes;
    VectorSink sink(bytes);
    writeWad(wad, layout, sink);
    newPointers = layout.pointers;
    newMeshDataWords = layout.meshDataWords;
    return bytes;
}

SaveResult saveWad(Package& wad, const std::filesystem::path& path) {
    Layout layout;
    WriteResult written;
    try {
        layout = layoutWad(wad);
        written =
            writeFileSafely(path, [&](FileSink& sink) { return writeWad(wad, layout, sink); });
    } catch (const std::bad_alloc&) {
        return {false, "Not enough memory to write the package"};
    }
    if (!written.ok)
        return {false, written.message};
    wad.meshPointers = layout.pointers;
    wad.meshDataWords = layout.meshDataWords;
    wad.meshFileOffsets.assign(layout.starts.begin(), layout.starts.end() - 1);
    buildMeshDirectory(wad);
    return {};
}

} // namespace kavlen
