#include "document/byte_cursor.h"
#include "document/package.h"
#include "document/regular_file.h"
#include "document/tex_info_io.h"
#include "document/texel_order.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>

#ifndef _WIN32
#include <sys/mman.h>
#endif

namespace kavlen {

namespace {

void checkCapacity(ByteCursor& in, const char* what, std::size_t count, std::size_t capacity) {
    if (count > capacity)
        in.fail(std::string(what) + " " + std::to_string(count) + " exceeds the capacity of " +
                std::to_string(capacity));
}

// Reads `count` records of `size` bytes into an owned block, refusing counts the
// rest of the file cannot hold before allocating anything.
void readBlock(ByteCursor& in, std::uint32_t count, std::size_t size,
               std::vector<std::uint8_t>& block) {
    const std::uint64_t bytes = std::uint64_t(count) * size;
    if (bytes > in.remaining())
        in.fail("File ends early: " + std::to_string(count) + " records of " +
                std::to_string(size) + " bytes announced, " + std::to_string(in.remaining()) +
                " bytes left");
    block.resize(static_cast<std::size_t>(bytes));
    in.bytes(block.data(), block.size());
}

void readMesh(ByteCursor& in, Mesh& mesh) {
    mesh.hasHiddenFaces = 0;
    mesh.sphereX = in.i16();
    mesh.sphereY = in.i16();
    mesh.sphereZ = in.i16();
    mesh.sphereRadius = in.u16();
    mesh.extraWord = in.u16();
    mesh.vertexCount = in.u16();
    checkCapacity(in, "Vertex count", mesh.vertexCount, kMaxMeshVertices);
    in.words(mesh.vertices.data(), 3 * std::size_t(mesh.vertexCount));
    mesh.normalCount = in.i16();
    if (mesh.normalCount > 0) {
        checkCapacity(in, "Normal count", std::size_t(mesh.normalCount), kMaxMeshVertices);
        in.words(mesh.normals.data(), 3 * std::size_t(mesh.normalCount));
    } else {
        const int shades = -int(mesh.normalCount);
        checkCapacity(in, "Shade count", std::size_t(shades), kMaxMeshVertices);
        in.words(mesh.shades.data(), std::size_t(shades));
    }
    mesh.faceCount = in.i16();
    if (mesh.faceCount < 0)
        in.fail("Face count " + std::to_string(mesh.faceCount) + " is negative");
    checkCapacity(in, "Face count", std::size_t(mesh.faceCount), kMaxMeshVertices);
    int quads = 0;
    for (int i = 0; i < mesh.faceCount; ++i) {
        MeshFace& face = mesh.faces[i];
        std::uint16_t record[7];
        in.words(record, 4);
        face.shape = record[0];
        face.vertexIndex[0] = record[1];
        face.vertexIndex[1] = record[2];
        face.vertexIndex[2] = record[3];
        if (face.shape == kShapeQuad) {
            in.words(record + 4, 3);
            face.vertexIndex[3] = record[4];
            ++quads;
        } else {
            in.words(record + 5, 2);
        }
        face.texture = record[5];
        face.attributes = record[6];
        face.visible = 1;
    }
    if (quads % 2 == 1)
        in.u16();
}

// Counts the meshes of the mesh data block without storing them, so that the slots
// can be allocated once. Stops quietly at anything the real pass will refuse.
std::size_t countMeshes(ByteCursor in, std::uint64_t end) {
    std::size_t count = 0;
    try {
        while (in.position() < end && count < kMaxMeshes) {
            in.take(10);
            const std::size_t vertices = in.u16();
            in.take(6 * vertices);
            const int normals = in.i16();
            in.take(normals > 0 ? 6 * std::size_t(normals) : 2 * std::size_t(-normals));
            const int faces = in.i16();
            int quads = 0;
            for (int f = 0; f < faces; ++f) {
                const bool quad = in.u16() == kShapeQuad;
                quads += quad;
                in.take(quad ? 12 : 10);
            }
            if (quads % 2 == 1)
                in.take(2);
            ++count;
        }
    } catch (const FormatError&) {
    }
    return count + 1;
}

// Reads everything but the atlas texels; returns where they are in the file's bytes.
const std::uint8_t* readWad(ByteCursor& in, Package& wad) {
    in.setSection("texture samples");
    wad.texInfoCount = in.u32();
    checkCapacity(in, "Texture sample count", wad.texInfoCount, kMaxTexInfos);
    for (std::size_t i = 0; i < wad.texInfoCount; ++i)
        wad.texInfos[i] = readTexInfo(in);

    in.setSection("texture atlas");
    wad.textureDataSize = in.u32();
    if (wad.textureDataSize % kPageBytes != 0)
        in.fail("Atlas size " + std::to_string(wad.textureDataSize) +
                " is not a whole number of pages of " + std::to_string(kPageBytes) + " bytes");
    // The atlas is copied last, once the rest of the file has been found sound.
    const std::uint8_t* atlas = in.take(wad.textureDataSize);

    in.setSection("mesh pointers");
    wad.meshPointerCount = in.u32();
    checkCapacity(in, "Mesh pointer count", wad.meshPointerCount, kMaxMeshPointers);
    in.need(4 * std::size_t(wad.meshPointerCount));
    for (std::size_t i = 0; i < wad.meshPointerCount; ++i)
        wad.meshPointers[i] = in.u32();
    if (!buildMeshDirectory(wad))
        in.fail("More than " + std::to_string(kMaxDirectoryEntries) +
                " distinct mesh offsets in the pointer table");

    in.setSection("mesh data");
    wad.meshDataWords = in.u32();
    const std::uint64_t end = in.position() + 2 * std::uint64_t(wad.meshDataWords);
    if (end > in.position() + in.remaining())
        in.fail("File ends early: mesh data of " + std::to_string(wad.meshDataWords) +
                " words announced, " + std::to_string(in.remaining()) + " bytes left");
    wad.meshes.clear();
    // Allocating the slots once avoids copying them while the list grows.
    wad.meshes.reserve(countMeshes(in, end));
    wad.meshCount = 0;
    const std::size_t meshStart = in.position();
    while (in.position() < end) {
        if (wad.meshes.size() >= kMaxMeshes)
            in.fail("More than " + std::to_string(kMaxMeshes) + " meshes");
        wad.meshFileOffsets.push_back(static_cast<std::uint32_t>(in.position() - meshStart));
        wad.meshes.emplace_back();
        readMesh(in, wad.meshes.back());
        ++wad.meshCount;
    }

    struct Table {
        const char* section;
        std::uint32_t& count;
        std::vector<std::uint8_t>& block;
        std::size_t size;
    };
    const Table tables[] = {
        {"animations", wad.animationCount, wad.animations, kAnimationRecordSize},
        {"state changes", wad.stateChangeCount, wad.stateChanges, kStateChangeRecordSize},
        {"dispatches", wad.dispatchCount, wad.dispatches, kDispatchRecordSize},
        {"commands", wad.commandCount, wad.commands, kCommandRecordSize},
        {"mesh tree", wad.meshTreeCount, wad.meshTree, kMeshTreeRecordSize},
        {"keyframes", wad.keyframeWordCount, wad.keyframes, kKeyframeRecordSize},
    };
    for (const Table& t : tables) {
        in.setSection(t.section);
        t.count = in.u32();
        readBlock(in, t.count, t.size, t.block);
    }

    in.setSection("moveables");
    wad.moveableCount = in.u32();
    if (std::uint64_t(wad.moveableCount) * 18 > in.remaining())
        in.fail("File ends early: " + std::to_string(wad.moveableCount) + " moveables announced, " +
                std::to_string(in.remaining()) + " bytes left");
    wad.moveables.resize(wad.moveableCount);
    for (Moveable& m : wad.moveables) {
        m.objectId = in.u32();
        m.pointerCount = in.u16();
        m.firstPointer = in.u16();
        in.bytes(m.opaqueTail.data(), m.opaqueTail.size());
    }

    in.setSection("statics");
    wad.staticCount = in.u32();
    if (std::uint64_t(wad.staticCount) * 32 > in.remaining())
        in.fail("File ends early: " + std::to_string(wad.staticCount) + " statics announced, " +
                std::to_string(in.remaining()) + " bytes left");
    wad.statics.resize(wad.staticCount);
    for (StaticMesh& s : wad.statics) {
        s.objectId = in.u32();
        s.pointerIndex = in.u16();
        for (auto& v : s.visibilityBox)
            v = in.i16();
        for (auto& v : s.collisionBox)
            v = in.i16();
        s.flags = in.u16();
    }

    in.setSection("after the statics");
    const std::size_t rest = in.remaining();
    const std::uint8_t* trailing = in.take(rest);
    wad.trailingBytes.assign(trailing, trailing + rest);

    computeMeshUsage(wad);
    return atlas;
}

// Copies the atlas from file order (red, green, blue) into the document's block
// (blue, green, red), a chunk at a time; `copied` hears of each source range
// that is no longer needed.
void copyAtlas(Package& wad, const std::uint8_t* atlas,
               const std::function<void(const std::uint8_t*, std::size_t)>& copied) {
    wad.textureData.clear();
    wad.textureData.reserve(wad.textureDataSize);
#ifdef MADV_HUGEPAGE
    // Large pages for the atlas, asked for before its pages are first touched:
    // filling tens of megabytes then costs a fault per 2 MB instead of per 4 KB.
    if (wad.textureDataSize >= 4 * 1024 * 1024) {
        const auto start = reinterpret_cast<std::uintptr_t>(wad.textureData.data());
        const std::uintptr_t page = 4096;
        const std::uintptr_t first = (start + page - 1) / page * page;
        const std::uintptr_t last = (start + wad.textureDataSize) / page * page;
        if (last > first)
            ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
    }
#endif
    wad.textureData.resize(wad.textureDataSize);
    constexpr std::size_t kChunk = 4 * 1024 * 1024 - (4 * 1024 * 1024) % 3;
    std::uint8_t* out = wad.textureData.data();
    for (std::size_t at = 0; at < wad.textureDataSize; at += kChunk) {
        const std::size_t n = std::min<std::size_t>(kChunk, wad.textureDataSize - at);
        exchangeRedBlue(atlas + at, out + at, n);
        if (copied)
            copied(atlas + at, n);
    }
}

std::string describe(std::size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

// What the user should know about the package just read.
std::string noticeFor(const Package& wad) {
    const std::vector<std::uint32_t>& starts = wad.meshFileOffsets;
    std::size_t outOfOrder = 0;
    std::size_t startNoMesh = 0;
    const std::size_t n = std::min<std::size_t>(wad.meshPointerCount, kMaxMeshPointers);
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint32_t offset = wad.meshPointers[i];
        if (offset == 0)
            continue;
        const auto it = std::lower_bound(starts.begin(), starts.end(), offset);
        if (it == starts.end() || *it != offset)
            ++startNoMesh;
        else if (std::size_t(it - starts.begin()) != wad.pointerMeshIndex[i])
            ++outOfOrder;
    }
    std::string notice;
    auto add = [&notice](const std::string& text) { notice += (notice.empty() ? "" : " ") + text; };
    if (outOfOrder > 0)
        add("Meshes are stored out of first-reference order (" +
            describe(outOfOrder, "pointer", "pointers") +
            "); saving keeps every pointer on its mesh.");
    if (startNoMesh > 0)
        add(describe(startNoMesh, "mesh pointer starts", "mesh pointers start") +
            " no mesh; saving keeps their values.");
    if (!wad.trailingBytes.empty())
        add(describe(wad.trailingBytes.size(), "byte follows", "bytes follow") +
            " the last section; saving keeps them.");
    return notice;
}

LoadResult loadFromBytes(Package& wad, const std::uint8_t* data, std::size_t size,
                         const std::function<void(const std::uint8_t*, std::size_t)>& copied) {
    ByteCursor in(data, size);
    in.setSection("version");
    try {
        const std::uint32_t version = in.u32();
        if (version != 129 && version != 130)
            return {LoadResult::WrongVersion, "Invalid Tomb Raider File Format!!", {}};
        auto fresh = std::make_unique<Package>();
        fresh->version = version;
        const std::uint8_t* atlas = readWad(in, *fresh);
        if (copied) {
            // Everything but the atlas is in the document now.
            copied(data, std::size_t(atlas - data));
            const std::uint8_t* atlasEnd = atlas + fresh->textureDataSize;
            copied(atlasEnd, std::size_t(data + size - atlasEnd));
        }
        copyAtlas(*fresh, atlas, copied);
        LoadResult result;
        result.notice = noticeFor(*fresh);
        wad = std::move(*fresh);
        return result;
    } catch (const FormatError& e) {
        return {LoadResult::Failed, e.what(), {}};
    } catch (const std::bad_alloc&) {
        return {LoadResult::Failed, "Not enough memory to read the package", {}};
    }
}

} // namespace

LoadResult loadWadFromBytes(Package& wad, const std::uint8_t* data, std::size_t size) {
    return loadFromBytes(wad, data, size, {});
}

LoadResult loadWad(Package& wad, const std::filesystem::path& path) {
    RegularFile file(path, kMaxPackageBytes);
    if (!file.isOpen())
        return {LoadResult::Failed, file.error(), {}};
    const auto size = static_cast<std::size_t>(file.size());
    LoadResult result;
#ifndef _WIN32
    // The file is mapped, not copied: its bytes are read once, straight into the
    // document's own storage, and the mapped pages are let go once copied.
    void* mapped =
        size > 0 ? ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, file.descriptor(), 0) : MAP_FAILED;
    if (mapped != MAP_FAILED) {
        const auto* base = static_cast<const std::uint8_t*>(mapped);
        const long page = ::sysconf(_SC_PAGESIZE);
        auto release = [base, page](const std::uint8_t* from, std::size_t n) {
            const std::size_t first = (std::size_t(from - base) + page - 1) / page * page;
            const std::size_t last = std::size_t(from - base + n) / page * page;
            if (last > first)
                ::madvise(const_cast<std::uint8_t*>(base) + first, last - first, MADV_DONTNEED);
        };
        ::madvise(mapped, size, MADV_SEQUENTIAL);
        result = loadFromBytes(wad, base, size, release);
        ::munmap(mapped, size);
    } else
#endif
    {
        std::vector<std::uint8_t> bytes;
        try {
            bytes.resize(size);
        } catch (const std::bad_alloc&) {
            return {LoadResult::Failed, "Not enough memory to read the package", {}};
        }
        if (!file.read(bytes.data(), size))
            return {LoadResult::Failed, file.error(), {}};
        result = loadWadFromBytes(wad, bytes.data(), bytes.size());
    }
    if (result.status == LoadResult::Failed)
        result.message = cutForMessage(path.filename().string(), 120) + ": " + result.message;
    return result;
}

} // namespace kavlen
