#include "meshedit/add_mesh.h"

#include <algorithm>
#include <cstdint>
#include <optional>

namespace kavlen {

namespace {

// Distance of the new mesh's placeholder offset from the last directory entry.
constexpr std::uint32_t kPlaceholderStep = 10;

Message refusal(const std::string& text) {
    return {MessageKind::Error, text};
}

// Offset that the new mesh's pointer and directory entry carry until the next save
// puts the real one in: ten past the last entry's. Nothing when slot k is not the
// mesh that directory index k names (then a new entry would name another slot).
std::optional<std::uint32_t> placeholderOffset(const Package& wad) {
    const std::size_t count = wad.directory.count();
    if (wad.meshCount != count + 1)
        return std::nullopt;
    if (count == 0)
        return kPlaceholderStep; // after mesh 0, which sits at offset 0
    const MeshOffsetDirectory::Entry& last = wad.directory.entries.back();
    if (last.meshIndex != count)
        return std::nullopt;
    std::uint64_t offset = std::uint64_t(last.offset) + kPlaceholderStep;
    if (lookupMeshOffset(wad.directory, static_cast<std::uint32_t>(offset)) != 0) {
        // Offsets out of storage order: step past the largest one instead.
        std::uint32_t largest = 0;
        for (std::size_t i = 1; i < wad.directory.entries.size(); ++i)
            largest = std::max(largest, wad.directory.entries[i].offset);
        offset = std::uint64_t(largest) + kPlaceholderStep;
    }
    if (offset > UINT32_MAX)
        return std::nullopt;
    return static_cast<std::uint32_t>(offset);
}

} // namespace

AddMeshResult addEmptyMesh(Package& wad) {
    AddMeshResult result;
    if (!wad.isLoaded()) {
        result.messages.push_back(noWadOpened());
        return result;
    }
    const std::size_t directoryCount = wad.directory.count();
    if (wad.meshCount >= kMaxMeshes) {
        result.messages.push_back(refusal("The package already holds " +
                                          std::to_string(kMaxMeshes) +
                                          " meshes; no mesh can be added."));
        return result;
    }
    if (directoryCount >= kMaxDirectoryEntries) {
        result.messages.push_back(refusal("The mesh directory is full (" +
                                          std::to_string(kMaxDirectoryEntries) +
                                          " entries); no mesh can be added."));
        return result;
    }
    if (wad.meshPointerCount >= kMaxMeshPointers) {
        result.messages.push_back(refusal("The mesh pointer table is full (" +
                                          std::to_string(kMaxMeshPointers) +
                                          " pointers); no mesh can be added."));
        return result;
    }
    const bool empty = wad.meshCount == 0 && directoryCount == 0;
    const std::optional<std::uint32_t> offset = empty ? 0u : placeholderOffset(wad);
    if (!offset) {
        result.messages.push_back(refusal(
            "The package's mesh slots do not match its mesh pointers; no mesh can be added."));
        return result;
    }

    wad.appendMeshSlot();
    const int slot = wad.meshCount - 1;
    const std::size_t p = wad.meshPointerCount++;
    if (empty) {
        // The first mesh sits at offset 0, which needs no directory entry; mesh 0
        // never counts as an added mesh.
        wad.meshPointers[p] = 0;
        wad.pointerMeshIndex[p] = 0;
    } else {
        const auto index = static_cast<std::uint16_t>(slot);
        if (wad.directory.entries.empty())
            wad.directory.entries.resize(1); // entry 0 is never used
        wad.directory.entries.push_back({*offset, index});
        wad.meshPointers[p] = *offset;
        wad.pointerMeshIndex[p] = index;
        wad.meshUsage.resize(wad.directory.count() + 1);
        result.addedMeshesEntryNew = wad.addedMeshCount == 0;
        ++wad.addedMeshCount;
    }
    result.slot = slot;
    result.meshLabel = "Mesh #" + std::to_string(slot);
    return result;
}

} // namespace kavlen
