// Copies of parts of a package, taken before an edit so that the edit can be
// undone by putting them back. An EditScope names the parts an edit may change;
// a snapshot holds those parts and nothing else.
#pragma once

#include "document/document_change.h"
#include "document/package.h"

#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace kavlen {

struct EditScope {
    std::vector<int> meshSlots;  // existing slots the edit may rewrite
    bool allMeshSlots = false;   // every slot (e.g. sample renumbering)
    bool meshTables = false;     // slots added or removed, pointers, moveables, directory
    bool samples = false;        // the sample table and its count
    std::vector<int> atlasPages; // pages whose texels the edit may rewrite in place
    bool wholeAtlas = false;     // the atlas block and its size (pages added or replaced)
    bool statics = false;        // statics and their boxes
    bool wholePackage = false;   // anything at all

    static EditScope mesh(int slot) { return EditScope{}.withMesh(slot); }
    // A mesh and the statics, whose boxes follow a mesh that moves or mirrors.
    static EditScope meshAndStatics(int slot) {
        EditScope scope = mesh(slot);
        scope.statics = true;
        return scope;
    }
    EditScope& withMesh(int slot) {
        if (slot >= 0)
            meshSlots.push_back(slot);
        return *this;
    }
    EditScope& withPage(int page) {
        if (page >= 0)
            atlasPages.push_back(page);
        return *this;
    }
};

struct PackageSnapshot {
    struct Tables {
        std::uint32_t meshPointerCount = 0;
        std::array<std::uint32_t, kMaxMeshPointers> meshPointers{};
        std::array<std::uint16_t, kMaxMeshPointers> pointerMeshIndex{};
        std::uint32_t meshDataWords = 0;
        std::uint16_t meshCount = 0;
        std::size_t meshSlotCount = 0;              // meshes.size()
        std::vector<std::uint32_t> meshFileOffsets; // what the pointers' values refer to
        std::uint32_t moveableCount = 0;
        std::vector<Moveable> moveables;
        std::vector<MeshUsage> meshUsage;
        std::uint16_t addedMeshCount = 0;
        std::uint16_t objectMeshCount = 0;
        MeshOffsetDirectory directory;
        bool operator==(const Tables&) const = default;
    };
    struct Samples {
        std::uint32_t count = 0;
        std::array<TexInfo, kMaxTexInfos> infos{};
        bool operator==(const Samples&) const = default;
    };
    struct Atlas {
        std::uint32_t size = 0;
        std::vector<std::uint8_t> texels;
        bool operator==(const Atlas&) const = default;
    };
    struct Statics {
        std::uint32_t count = 0;
        std::vector<StaticMesh> statics;
        std::vector<std::uint32_t> meshIndex;
        bool operator==(const Statics&) const = default;
    };

    std::vector<std::pair<int, Mesh>> meshes; // (slot, content), ascending slots
    // The large parts live on the heap, so that a step without them stays small.
    std::unique_ptr<Tables> tables;
    std::unique_ptr<Samples> samples;
    std::optional<Atlas> atlas;
    std::vector<std::pair<int, std::vector<std::uint8_t>>> pages; // (page, texels)
    std::optional<Statics> statics;
    std::unique_ptr<Package> whole;

    // Bytes the snapshot holds (for the history's memory budget).
    std::size_t bytes() const;
};

// Copies the parts `scope` names. With meshTables in scope, the slots from
// `tailFrom` to the end are taken as well, so that putting the snapshot back can
// also bring back slots that a later state removed.
PackageSnapshot capturePackage(const Package& wad, const EditScope& scope, std::size_t tailFrom);

// Puts the parts a snapshot holds back into the package.
void restorePackage(Package& wad, PackageSnapshot&& snapshot);

// What differs between a snapshot taken before an edit and the package after
// it, as the views see it: changed slots (and those from `tailFrom` on, which
// the edit added), sample entries, pages and the samples on them, tables, statics.
DocumentChange comparePackage(const PackageSnapshot& before, const Package& wad,
                              std::size_t tailFrom);

// Keeps in `snapshot` only the parts that `change` reports changed, and returns
// the scope that covers them.
EditScope pruneSnapshot(PackageSnapshot& snapshot, const DocumentChange& change);

} // namespace kavlen
