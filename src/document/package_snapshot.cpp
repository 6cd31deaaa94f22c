#include "document/package_snapshot.h"

#include <algorithm>
#include <set>

namespace kavlen {

namespace {

std::vector<std::uint8_t> pageTexels(const Package& wad, int page) {
    const std::size_t begin = static_cast<std::size_t>(page) * kPageBytes;
    if (page < 0 || begin >= wad.textureData.size())
        return {};
    const std::size_t end = std::min(begin + kPageBytes, wad.textureData.size());
    return {wad.textureData.begin() + static_cast<std::ptrdiff_t>(begin),
            wad.textureData.begin() + static_cast<std::ptrdiff_t>(end)};
}

void sortUnique(std::vector<int>& v) {
    std::sort(v.begin(), v.end());
    v.erase(std::unique(v.begin(), v.end()), v.end());
}

} // namespace

std::size_t PackageSnapshot::bytes() const {
    std::size_t n = sizeof(*this) + meshes.size() * (sizeof(int) + sizeof(Mesh));
    if (tables)
        n += sizeof(Tables) + tables->moveables.size() * sizeof(Moveable) +
             tables->meshUsage.size() * sizeof(MeshUsage) +
             tables->meshFileOffsets.size() * sizeof(std::uint32_t) +
             tables->directory.entries.size() * sizeof(MeshOffsetDirectory::Entry);
    if (samples)
        n += sizeof(Samples);
    if (atlas)
        n += atlas->texels.size();
    for (const auto& page : pages)
        n += page.second.size();
    if (statics)
        n += statics->statics.size() * sizeof(StaticMesh) + statics->meshIndex.size() * 4;
    if (whole)
        n += sizeof(Package) + whole->textureData.size() + whole->meshes.size() * sizeof(Mesh) +
             whole->animations.size() + whole->keyframes.size() + whole->meshTree.size() +
             whole->commands.size() + whole->dispatches.size() + whole->stateChanges.size();
    return n;
}

PackageSnapshot capturePackage(const Package& wad, const EditScope& scope, std::size_t tailFrom) {
    PackageSnapshot s;
    if (scope.wholePackage) {
        s.whole = std::make_unique<Package>(wad);
        return s;
    }
    std::vector<int> slots;
    if (scope.allMeshSlots) {
        for (std::size_t i = 0; i < wad.meshes.size(); ++i)
            slots.push_back(static_cast<int>(i));
    } else {
        slots = scope.meshSlots;
    }
    if (scope.meshTables)
        for (std::size_t i = tailFrom; i < wad.meshes.size(); ++i)
            slots.push_back(static_cast<int>(i));
    sortUnique(slots);
    for (int slot : slots)
        if (slot >= 0 && static_cast<std::size_t>(slot) < wad.meshes.size())
            s.meshes.emplace_back(slot, wad.meshes[static_cast<std::size_t>(slot)]);

    if (scope.meshTables) {
        s.tables = std::make_unique<PackageSnapshot::Tables>();
        PackageSnapshot::Tables& t = *s.tables;
        t.meshPointerCount = wad.meshPointerCount;
        t.meshPointers = wad.meshPointers;
        t.pointerMeshIndex = wad.pointerMeshIndex;
        t.meshDataWords = wad.meshDataWords;
        t.meshCount = wad.meshCount;
        t.meshSlotCount = wad.meshes.size();
        t.meshFileOffsets = wad.meshFileOffsets;
        t.moveableCount = wad.moveableCount;
        t.moveables = wad.moveables;
        t.meshUsage = wad.meshUsage;
        t.addedMeshCount = wad.addedMeshCount;
        t.objectMeshCount = wad.objectMeshCount;
        t.directory = wad.directory;
    }
    if (scope.samples)
        s.samples = std::make_unique<PackageSnapshot::Samples>(
            PackageSnapshot::Samples{wad.texInfoCount, wad.texInfos});
    if (scope.wholeAtlas) {
        s.atlas = PackageSnapshot::Atlas{wad.textureDataSize, wad.textureData};
    } else {
        std::vector<int> pages = scope.atlasPages;
        sortUnique(pages);
        for (int page : pages)
            s.pages.emplace_back(page, pageTexels(wad, page));
    }
    if (scope.statics)
        s.statics = PackageSnapshot::Statics{wad.staticCount, wad.statics, wad.staticMeshIndex};
    return s;
}

void restorePackage(Package& wad, PackageSnapshot&& s) {
    if (s.whole) {
        wad = std::move(*s.whole);
        s.whole.reset();
        return;
    }
    if (s.tables) {
        PackageSnapshot::Tables& t = *s.tables;
        wad.meshes.resize(t.meshSlotCount);
        wad.meshPointerCount = t.meshPointerCount;
        wad.meshPointers = t.meshPointers;
        wad.pointerMeshIndex = t.pointerMeshIndex;
        wad.meshDataWords = t.meshDataWords;
        wad.meshCount = t.meshCount;
        wad.meshFileOffsets = std::move(t.meshFileOffsets);
        wad.moveableCount = t.moveableCount;
        wad.moveables = std::move(t.moveables);
        wad.meshUsage = std::move(t.meshUsage);
        wad.addedMeshCount = t.addedMeshCount;
        wad.objectMeshCount = t.objectMeshCount;
        wad.directory = std::move(t.directory);
    }
    for (auto& [slot, mesh] : s.meshes)
        if (static_cast<std::size_t>(slot) < wad.meshes.size())
            wad.meshes[static_cast<std::size_t>(slot)] = std::move(mesh);
    if (s.samples) {
        wad.texInfoCount = s.samples->count;
        wad.texInfos = s.samples->infos;
    }
    if (s.atlas) {
        wad.textureDataSize = s.atlas->size;
        wad.textureData = std::move(s.atlas->texels);
    }
    for (auto& [page, texels] : s.pages) {
        const std::size_t begin = static_cast<std::size_t>(page) * kPageBytes;
        if (begin + texels.size() <= wad.textureData.size())
            std::copy(texels.begin(), texels.end(),
                      wad.textureData.begin() + static_cast<std::ptrdiff_t>(begin));
    }
    if (s.statics) {
        wad.staticCount = s.statics->count;
        wad.statics = std::move(s.statics->statics);
        wad.staticMeshIndex = std::move(s.statics->meshIndex);
    }
}

namespace {

bool tablesEqual(const PackageSnapshot::Tables& t, const Package& wad) {
    return t.meshPointerCount == wad.meshPointerCount && t.meshPointers == wad.meshPointers &&
           t.pointerMeshIndex == wad.pointerMeshIndex && t.meshDataWords == wad.meshDataWords &&
           t.meshCount == wad.meshCount && t.meshSlotCount == wad.meshes.size() &&
           t.meshFileOffsets == wad.meshFileOffsets && t.moveableCount == wad.moveableCount &&
           t.moveables == wad.moveables && t.meshUsage == wad.meshUsage &&
           t.addedMeshCount == wad.addedMeshCount && t.objectMeshCount == wad.objectMeshCount &&
           t.directory == wad.directory;
}

bool sameRange(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b,
               std::size_t begin, std::size_t length) {
    const std::size_t endA = std::min(begin + length, a.size());
    const std::size_t endB = std::min(begin + length, b.size());
    if (endA - std::min(begin, endA) != endB - std::min(begin, endB))
        return false;
    if (begin >= endA)
        return true;
    return std::equal(a.begin() + static_cast<std::ptrdiff_t>(begin),
                      a.begin() + static_cast<std::ptrdiff_t>(endA),
                      b.begin() + static_cast<std::ptrdiff_t>(begin));
}

} // namespace

DocumentChange comparePackage(const PackageSnapshot& before, const Package& wad,
                              std::size_t tailFrom) {
    DocumentChange change;
    if (before.whole) {
        change.wholePackage = !(*before.whole == wad);
        return change;
    }
    for (const auto& [slot, mesh] : before.meshes) {
        const auto index = static_cast<std::size_t>(slot);
        if (index >= wad.meshes.size() || !(mesh == wad.meshes[index]))
            change.meshSlots.push_back(slot);
    }
    if (before.tables) {
        change.meshTables = !tablesEqual(*before.tables, wad);
        // Slots the edit added.
        for (std::size_t i = tailFrom; i < wad.meshes.size(); ++i)
            change.meshSlots.push_back(static_cast<int>(i));
    }
    sortUnique(change.meshSlots);

    if (before.samples) {
        const auto& a = *before.samples;
        change.sampleCount = a.count != wad.texInfoCount;
        const std::size_t n =
            std::min<std::size_t>(std::max(a.count, wad.texInfoCount), kMaxTexInfos);
        for (std::size_t i = 0; i < n; ++i)
            if (i >= a.count || i >= wad.texInfoCount || !(a.infos[i] == wad.texInfos[i]))
                change.samples.push_back(static_cast<int>(i));
        change.sampleTable = change.sampleCount || !change.samples.empty();
    }
    if (before.atlas) {
        const auto& a = before.atlas->texels;
        const auto& b = wad.textureData;
        change.pageCount = before.atlas->size != wad.textureDataSize || a.size() != b.size();
        const std::size_t pages = (std::max(a.size(), b.size()) + kPageBytes - 1) / kPageBytes;
        for (std::size_t p = 0; p < pages; ++p)
            if (!sameRange(a, b, p * kPageBytes, kPageBytes))
                change.pages.push_back(static_cast<int>(p));
    }
    for (const auto& [page, texels] : before.pages) {
        const std::size_t begin = static_cast<std::size_t>(page) * kPageBytes;
        const std::size_t end = std::min(begin + kPageBytes, wad.textureData.size());
        const bool same = begin <= end && texels.size() == end - begin &&
                          std::equal(texels.begin(), texels.end(),
                                     wad.textureData.begin() + static_cast<std::ptrdiff_t>(begin));
        if (!same)
            change.pages.push_back(page);
    }
    sortUnique(change.pages);
    if (before.statics)
        change.statics =
            !(before.statics->count == wad.staticCount && before.statics->statics == wad.statics &&
              before.statics->meshIndex == wad.staticMeshIndex);

    // Samples that lie on a changed page show other texels now.
    if (!change.pages.empty()) {
        const std::size_t n = std::min<std::size_t>(wad.texInfoCount, kMaxTexInfos);
        for (std::size_t i = 0; i < n; ++i)
            if (std::binary_search(change.pages.begin(), change.pages.end(),
                                   static_cast<int>(wad.texInfos[i].page)))
                change.samples.push_back(static_cast<int>(i));
        sortUnique(change.samples);
    }
    return change;
}

EditScope pruneSnapshot(PackageSnapshot& s, const DocumentChange& change) {
    EditScope scope;
    if (s.whole) {
        scope.wholePackage = true;
        return scope;
    }
    std::erase_if(s.meshes, [&](const auto& entry) {
        return !std::binary_search(change.meshSlots.begin(), change.meshSlots.end(), entry.first);
    });
    for (const auto& entry : s.meshes)
        scope.meshSlots.push_back(entry.first);
    // Slots the edit added are not in the snapshot but are changed: keep them in
    // the scope so that an undo takes them along for the redo.
    for (int slot : change.meshSlots)
        scope.meshSlots.push_back(slot);
    sortUnique(scope.meshSlots);
    if (s.tables && !change.meshTables)
        s.tables.reset();
    scope.meshTables = s.tables != nullptr;
    if (s.samples && !change.sampleTable)
        s.samples.reset();
    scope.samples = s.samples != nullptr;
    if (s.atlas && !change.pageCount && change.pages.empty())
        s.atlas.reset();
    scope.wholeAtlas = s.atlas.has_value();
    std::erase_if(s.pages, [&](const auto& entry) {
        return !std::binary_search(change.pages.begin(), change.pages.end(), entry.first);
    });
    for (const auto& entry : s.pages)
        scope.atlasPages.push_back(entry.first);
    if (s.statics && !change.statics)
        s.statics.reset();
    scope.statics = s.statics.has_value();
    return scope;
}

} // namespace kavlen
