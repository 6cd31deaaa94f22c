#include "meshedit/add_mesh.h"

#include <algorithm>
#include <cstdint>

namespace kavlen {

namespace {

// Distance of the new mesh's placeholder offset from the last directory entry.
constexpr std::uint32_t kPlaceholderStep = 10;

Message refusal(const std::string& text) {
    return {MessageKind::Error, text};
}

} // namespace

AddMeshResult addEmptyMesh(twad& wad) {
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
    // Slot k is the mesh that directory index k names (mesh 0 sits at offset 0 and
    // has no entry). Where that does not hold, a new entry would name another slot.
    const bool empty = wad.meshCount == 0 && directoryCount == 0;
    std::uint64_t offset = 0;
    if (!empty) {
        const auto& entries = wad.directory.entries;
        bool lined = wad.meshCount == directoryCount + 1;
        if (lined && directoryCount > 0) {
            offset = std::uint64_t(entries.back().offset) + kPlaceholderStep;
            lined = entries.back().meshIndex == directoryCount;
            if (lookupMeshOffset(wad.directory, static_cast<std::uint32_t>(offset)) != 0) {
                // Offsets out of storage order: step past the largest one instead.
                std::uint32_t largest = 0;
                for (std::size_t i = 1; i < entries.size(); ++i)
                    largest = std::max(largest, entries[i].offset);
                offset = std::uint64_t(largest) + kPlaceholderStep;
            }
        } else if (lined) {
            offset = kPlaceholderStep; // only mesh 0 exists
        }
        if (!lined || offset > UINT32_MAX) {
            result.messages.push_back(
                refusal("The package's mesh slots do not match its mesh pointers; no mesh "
                        "can be added. 'kavlen-cli check' lists the problems."));
            return result;
        }
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
        wad.directory.entries.push_back({static_cast<std::uint32_t>(offset), index});
        wad.meshPointers[p] = static_cast<std::uint32_t>(offset);
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
