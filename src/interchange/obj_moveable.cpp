#include "interchange/obj_moveable.h"

#include "interchange/obj_export.h"
#include "interchange/obj_mesh_builder.h"
#include "interchange/text_numbers.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace kavlen {

namespace {

std::uint32_t word32(const std::uint8_t* bytes) {
    return std::uint32_t(bytes[0]) | std::uint32_t(bytes[1]) << 8 | std::uint32_t(bytes[2]) << 16 |
           std::uint32_t(bytes[3]) << 24;
}

std::string moveableLabel(int moveable) {
    return "Moveable #" + std::to_string(moveable);
}

// Each distinct slot with the index of its first pointer.
std::vector<std::pair<int, std::size_t>> distinctSlots(const MoveablePlacement& placement) {
    std::vector<std::pair<int, std::size_t>> out;
    for (std::size_t k = 0; k < placement.meshSlots.size(); ++k) {
        const int slot = placement.meshSlots[k];
        if (std::none_of(out.begin(), out.end(), [slot](const auto& p) { return p.first == slot; }))
            out.push_back({slot, k});
    }
    return out;
}

} // namespace

MoveablePlacement placeMoveable(const Package& wad, int moveable) {
    MoveablePlacement p;
    if (!wad.isLoaded()) {
        p.refusal = "No wad opened.";
        return p;
    }
    if (moveable < 0 || std::size_t(moveable) >= wad.moveables.size()) {
        p.refusal = "There is no " + moveableLabel(moveable) + ".";
        return p;
    }
    const Moveable& m = wad.moveables[std::size_t(moveable)];
    const auto [first, last] = wad.pointerRange(std::size_t(moveable));
    for (std::size_t i = first; i < last; ++i) {
        const int slot = wad.meshSlotOfPointer(i);
        if (slot < 0 || slot >= wad.meshCount) {
            p.refusal = moveableLabel(moveable) + " uses mesh pointer " + std::to_string(i) +
                        ", which names no mesh.";
            return p;
        }
        p.meshSlots.push_back(slot);
    }
    if (p.meshSlots.empty() || p.meshSlots.size() != m.pointerCount) {
        p.refusal = moveableLabel(moveable) + " has no meshes.";
        return p;
    }
    // The tree index is the first word of the moveable's tail, counted in 32-bit words.
    const std::uint64_t treeIndex = word32(m.opaqueTail.data());
    const std::uint64_t words = std::min<std::uint64_t>(wad.meshTreeCount, wad.meshTree.size() / 4);
    const std::uint64_t needed = 4 * std::uint64_t(p.meshSlots.size() - 1);
    if (needed > 0 && treeIndex + needed > words) {
        p.refusal = moveableLabel(moveable) + "'s mesh tree (words " + std::to_string(treeIndex) +
                    " to " + std::to_string(treeIndex + needed - 1) +
                    ") lies outside the package's mesh tree of " + std::to_string(words) +
                    " words.";
        return p;
    }
    p.offsets.push_back({0, 0, 0});
    std::vector<std::size_t> stack;
    std::size_t parent = 0;
    for (std::size_t k = 1; k < p.meshSlots.size(); ++k) {
        const std::uint8_t* record = wad.meshTree.data() + (treeIndex + 4 * (k - 1)) * 4;
        const std::uint32_t flags = word32(record);
        if (flags & 1) {
            // An empty stack leaves the root as the parent.
            parent = stack.empty() ? 0 : stack.back();
            if (!stack.empty())
                stack.pop_back();
        }
        if (flags & 2)
            stack.push_back(parent);
        std::array<double, 3> at = p.offsets[parent];
        for (int a = 0; a < 3; ++a)
            at[std::size_t(a)] += double(std::int32_t(word32(record + 4 * (a + 1))));
        p.offsets.push_back(at);
        parent = k;
    }
    return p;
}

ExportResult exportMoveableObj(const Package& wad, int moveable,
                               const std::filesystem::path& file) {
    ExportResult result;
    const MoveablePlacement placement = placeMoveable(wad, moveable);
    if (!placement.refusal.empty()) {
        result.messages.push_back({MessageKind::Error, placement.refusal});
        return result;
    }
    std::vector<ObjExportPart> parts;
    for (const auto& [slot, k] : distinctSlots(placement))
        parts.push_back({slot, placement.offsets[k], objObjectName(slot)});
    return writeObjFiles(wad, parts, file);
}

ImportResult importMoveableObj(Package& wad, int moveable, const std::filesystem::path& file,
                               const ImportOptions& options) {
    ImportResult result;
    const auto refuse = [&result](std::string text) {
        result.messages.push_back({MessageKind::Information, std::move(text)});
        return result;
    };
    const MoveablePlacement placement = placeMoveable(wad, moveable);
    if (!placement.refusal.empty()) {
        result.messages.push_back({MessageKind::Error, placement.refusal});
        return result;
    }
    ObjModel model;
    try {
        const Messages notices = loadObj(file, model);
        result.messages.insert(result.messages.end(), notices.begin(), notices.end());
    } catch (const ConversionError& e) {
        return refuse("OBJ importer unable to load file.\r\rError message is:\r" + e.message);
    }
    const std::string nothing = " Nothing was imported.";
    std::vector<std::pair<int, std::unique_ptr<Mesh>>> built;
    std::vector<Message> notices;
    for (const auto& [slot, k] : distinctSlots(placement)) {
        const std::string name = objObjectName(slot);
        const auto it = std::find(model.objects.begin(), model.objects.end(), name);
        if (it == model.objects.end())
            return refuse(file.filename().string() + " has no object " + name + " for mesh slot " +
                          std::to_string(slot) + "." + nothing);
        ObjMeshSource source;
        source.model = &model;
        source.object = int(it - model.objects.begin());
        source.offset[0] = placement.offsets[k][0];
        source.offset[1] = placement.offsets[k][1];
        source.offset[2] = placement.offsets[k][2];
        source.fileLabel = "Object " + name;
        ObjMeshBuild build = meshFromObj(wad, wad.meshes[std::size_t(slot)], source, options);
        if (!build.mesh)
            return refuse(name + ": " + build.refusal + nothing);
        if (build.notice)
            notices.push_back({build.notice->kind, name + ": " + build.notice->text});
        result.vertexCount += build.mesh->vertexCount;
        result.faceCount += build.mesh->faceCount;
        built.emplace_back(slot, std::move(build.mesh));
    }
    for (auto& [slot, mesh] : built)
        wad.meshes[std::size_t(slot)] = *mesh;
    result.imported = true;
    result.messages.insert(result.messages.end(), notices.begin(), notices.end());
    return result;
}

} // namespace kavlen
