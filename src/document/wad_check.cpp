#include "document/wad_check.h"

#include <algorithm>

namespace kavlen {

namespace {

std::string meshName(std::size_t slot) {
    return "mesh " + std::to_string(slot);
}

void checkMesh(const Package& wad, std::size_t slot, std::vector<std::string>& problems) {
    const Mesh& mesh = wad.meshes[slot];
    for (int f = 0; f < mesh.faceCount; ++f) {
        const MeshFace& face = mesh.faces[f];
        const std::string where = meshName(slot) + " face " + std::to_string(f);
        if (face.shape != kShapeTriangle && face.shape != kShapeQuad)
            problems.push_back(where + ": unknown shape " + std::to_string(face.shape));
        for (int c = 0; c < face.cornerCount(); ++c) {
            if (face.vertexIndex[c] >= mesh.vertexCount)
                problems.push_back(where + ": vertex index " + std::to_string(face.vertexIndex[c]) +
                                   " beyond the vertex count " + std::to_string(mesh.vertexCount));
        }
        const std::uint16_t sample = faceSampleIndex(face);
        if (sample >= wad.texInfoCount)
            problems.push_back(where + ": sample index " + std::to_string(sample) +
                               " beyond the sample count " + std::to_string(wad.texInfoCount));
    }
}

} // namespace

std::vector<std::string> checkWad(const Package& wad) {
    std::vector<std::string> problems;
    const std::size_t pointers = wad.meshPointerCount;

    for (std::size_t m = 0; m < wad.moveables.size(); ++m) {
        const Moveable& mv = wad.moveables[m];
        if (std::size_t(mv.firstPointer) + mv.pointerCount > pointers)
            problems.push_back("moveable " + std::to_string(m) + ": pointers " +
                               std::to_string(mv.firstPointer) + ".." +
                               std::to_string(int(mv.firstPointer) + mv.pointerCount - 1) +
                               " reach beyond the pointer table of " + std::to_string(pointers));
    }
    for (std::size_t s = 0; s < wad.statics.size(); ++s) {
        if (wad.statics[s].pointerIndex >= pointers)
            problems.push_back("static " + std::to_string(s) + ": pointer index " +
                               std::to_string(wad.statics[s].pointerIndex) +
                               " beyond the pointer table of " + std::to_string(pointers));
    }

    // Where each slot starts in the mesh data block.
    std::vector<std::uint32_t> starts(std::size_t(wad.meshCount) + 1, 0);
    for (std::size_t k = 0; k < wad.meshCount; ++k)
        starts[k + 1] = starts[k] + static_cast<std::uint32_t>(wad.meshes[k].fileSize());
    if (2 * std::uint64_t(wad.meshDataWords) != starts.back())
        problems.push_back("mesh data: its size field says " +
                           std::to_string(2 * std::uint64_t(wad.meshDataWords)) +
                           " bytes, the meshes take " + std::to_string(starts.back()));

    for (std::size_t i = 0; i < pointers && i < kMaxMeshPointers; ++i) {
        const std::uint32_t offset = wad.meshPointers[i];
        if (offset == 0)
            continue;
        const bool startsMesh = std::binary_search(starts.begin(), starts.end() - 1, offset);
        if (!startsMesh) {
            problems.push_back("pointer " + std::to_string(i) + ": offset " +
                               std::to_string(offset) + " starts no mesh");
            continue;
        }
        const std::uint16_t k = wad.pointerMeshIndex[i];
        if (k >= wad.meshCount || starts[k] != offset)
            problems.push_back("pointer " + std::to_string(i) + ": offset " +
                               std::to_string(offset) + " is mesh index " + std::to_string(k) +
                               ", but meshes are not stored in first-reference order there");
    }
    if (wad.directory.count() + 1u < wad.meshCount && wad.meshCount > 0)
        problems.push_back(std::to_string(wad.meshCount) +
                           " meshes stored, but the pointers name only " +
                           std::to_string(wad.directory.count() + 1));

    for (std::size_t k = 0; k < wad.meshCount; ++k)
        checkMesh(wad, k, problems);

    if (wad.textureData.size() % kPageBytes != 0)
        problems.push_back("atlas: " + std::to_string(wad.textureData.size()) +
                           " bytes are not a whole number of pages of " +
                           std::to_string(kPageBytes) + " bytes");
    if (!wad.trailingBytes.empty())
        problems.push_back(std::to_string(wad.trailingBytes.size()) +
                           " bytes after the statics section (kept on save)");

    const int pages = wad.pageCount();
    for (std::size_t t = 0; t < wad.texInfoCount; ++t) {
        const TexInfo& tex = wad.texInfos[t];
        const std::string where = "sample " + std::to_string(t);
        if (tex.page >= pages)
            problems.push_back(where + ": page " + std::to_string(tex.page) + " does not exist (" +
                               std::to_string(pages) + " pages)");
        if (int(tex.x) + tex.width > 255 || int(tex.y) + tex.height > 255)
            problems.push_back(where + ": reaches outside its page");
    }
    return problems;
}

} // namespace kavlen
