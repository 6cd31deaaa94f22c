#include "document/package.h"

#include <algorithm>
#include <cstdlib>

namespace kavlen {

int Mesh::quadCount() const {
    int quads = 0;
    const int n = std::clamp<int>(faceCount, 0, static_cast<int>(kMaxMeshVertices));
    for (int i = 0; i < n; ++i)
        quads += faces[i].shape == kShapeQuad;
    return quads;
}

std::size_t Mesh::fileSize() const {
    // Counts beyond the slot's capacity are written clamped; so are they counted.
    const std::size_t vertices = std::min<std::size_t>(vertexCount, kMaxMeshVertices);
    const std::size_t lights = std::min<std::size_t>(std::abs(int(normalCount)), kMaxMeshVertices);
    std::size_t size = 14 + 6 * vertices;
    size += normalCount > 0 ? 6 * lights : 2 * lights;
    size += 2;
    const int n = std::clamp<int>(faceCount, 0, static_cast<int>(kMaxMeshVertices));
    int quads = 0;
    for (int i = 0; i < n; ++i) {
        const bool quad = faces[i].shape == kShapeQuad;
        quads += quad;
        size += quad ? 14 : 12;
    }
    if (quads % 2 == 1)
        size += 2;
    return size;
}

int Package::meshSlotOfPointer(std::size_t pointerIndex) const {
    if (pointerIndex >= meshPointerCount || pointerIndex >= kMaxMeshPointers)
        return -1;
    const int slot = pointerMeshIndex[pointerIndex];
    return slot < meshCount ? slot : -1;
}

int Package::meshSlotOfStatic(std::size_t s) const {
    if (s >= staticMeshIndex.size())
        return -1;
    const std::uint32_t slot = staticMeshIndex[s];
    return slot < meshCount ? static_cast<int>(slot) : -1;
}

std::pair<std::size_t, std::size_t> Package::pointerRange(std::size_t m) const {
    if (m >= moveables.size())
        return {0, 0};
    const std::size_t limit = std::min<std::size_t>(meshPointerCount, kMaxMeshPointers);
    const std::size_t first = std::min<std::size_t>(moveables[m].firstPointer, limit);
    const std::size_t last = std::min<std::size_t>(first + moveables[m].pointerCount, limit);
    return {first, last};
}

Mesh& Package::appendMeshSlot() {
    if (meshes.size() <= meshCount)
        meshes.resize(meshCount + 1);
    meshes[meshCount] = Mesh{};
    meshes[meshCount].faces.fill(MeshFace{.visible = 0});
    return meshes[meshCount++];
}

std::uint16_t lookupMeshOffset(const MeshOffsetDirectory& directory, std::uint32_t offset) {
    for (std::size_t i = 1; i < directory.entries.size(); ++i) {
        if (directory.entries[i].offset == offset)
            return directory.entries[i].meshIndex;
    }
    return 0;
}

bool buildMeshDirectory(Package& wad) {
    wad.directory.entries.assign(1, {});
    wad.pointerMeshIndex.fill(0);
    const std::size_t n = std::min<std::size_t>(wad.meshPointerCount, kMaxMeshPointers);
    // The directory is a linear table by definition; a sorted side index keeps the
    // build linear-logarithmic for large pointer tables.
    std::vector<std::pair<std::uint32_t, std::uint16_t>> seen;
    seen.reserve(n);
    bool fits = true;
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint32_t offset = wad.meshPointers[i];
        if (offset == 0)
            continue;
        auto it =
            std::lower_bound(seen.begin(), seen.end(), std::make_pair(offset, std::uint16_t{0}));
        if (it != seen.end() && it->first == offset) {
            wad.pointerMeshIndex[i] = it->second;
            continue;
        }
        if (wad.directory.entries.size() > kMaxDirectoryEntries) {
            fits = false;
            continue;
        }
        const auto index = static_cast<std::uint16_t>(wad.directory.entries.size());
        wad.directory.entries.push_back({offset, index});
        seen.insert(it, {offset, index});
        wad.pointerMeshIndex[i] = index;
    }
    return fits;
}

void computeMeshUsage(Package& wad) {
    const std::size_t directoryCount = wad.directory.count();
    wad.meshUsage.assign(directoryCount + 1, {});
    // Each moveable counts once per mesh: remember which moveable last counted a mesh.
    std::vector<std::size_t> lastCounted(directoryCount + 1, SIZE_MAX);
    for (std::size_t m = 0; m < wad.moveables.size(); ++m) {
        const auto [first, last] = wad.pointerRange(m);
        for (std::size_t p = first; p < last; ++p) {
            const std::size_t j = wad.pointerMeshIndex[p];
            if (j <= directoryCount && lastCounted[j] != m) {
                lastCounted[j] = m;
                ++wad.meshUsage[j].userCount;
            }
        }
    }
    wad.staticMeshIndex.assign(wad.statics.size(), kNoMeshSlot);
    for (std::size_t s = 0; s < wad.statics.size(); ++s) {
        const std::size_t p = wad.statics[s].pointerIndex;
        if (p >= wad.meshPointerCount || p >= kMaxMeshPointers)
            continue;
        const std::uint16_t k = wad.pointerMeshIndex[p];
        wad.staticMeshIndex[s] = k;
        if (k <= directoryCount)
            ++wad.meshUsage[k].userCount;
    }
    std::uint16_t added = 0;
    for (std::size_t j = 1; j <= directoryCount; ++j)
        added += wad.meshUsage[j].userCount == 0;
    wad.addedMeshCount = added;
    wad.objectMeshCount = static_cast<std::uint16_t>(directoryCount + 1 - added);
}

void releaseDocument(Package& wad) {
    wad.version = 0;
    for (auto* block : {&wad.textureData, &wad.animations, &wad.stateChanges, &wad.dispatches,
                        &wad.commands, &wad.meshTree, &wad.keyframes, &wad.trailingBytes}) {
        block->clear();
        block->shrink_to_fit();
    }
}

} // namespace kavlen
