#include "meshedit/mesh_reports.h"

#include "document/bounds.h"
#include "meshedit/mesh_edit.h"

#include <algorithm>

namespace kavlen {

namespace {

std::string meshLabel(int slot) {
    return "Mesh #" + std::to_string(slot);
}

// "t of F face(s)", or "None" when t is 0.
std::string faceShare(int count, int faceCount) {
    if (count == 0)
        return "None";
    return std::to_string(count) + " of " + std::to_string(faceCount) + " face" +
           (faceCount == 1 ? "" : "s");
}

std::size_t sampleCount(const Package& wad) {
    return std::min<std::size_t>(wad.texInfoCount, kMaxTexInfos);
}

} // namespace

std::optional<AboutMeshReport> aboutMesh(const Package& wad, int slot) {
    const Mesh* mesh = meshInSlot(wad, slot);
    if (!wad.isLoaded() || !mesh)
        return std::nullopt;
    AboutMeshReport report;
    report.meshType = staticOfMesh(wad, slot) >= 0 ? "Static" : "Moveable";
    report.lightingType = mesh->normalCount < 0 ? "Static" : "Moveable";
    std::vector<bool> used(sampleCount(wad), false);
    int transparent = 0, shiny = 0;
    const int faces = faceLoopCount(*mesh);
    for (int f = 0; f < faces; ++f) {
        const MeshFace& face = mesh->faces[f];
        transparent += (face.attributes & kAttrTransparent) != 0;
        shiny += (face.attributes & kAttrShine) != 0;
        const std::size_t sample = faceSampleIndex(face);
        if (sample < used.size())
            used[sample] = true;
        else
            report.invalidTextures = true;
    }
    for (std::size_t s = 0; s < used.size(); ++s) {
        if (used[s]) {
            report.texturesUsed.push_back(static_cast<int>(s));
            report.textureLabels.push_back("Texture#" + std::to_string(s));
        }
    }
    report.texturesCaption = "Textures used (" + std::to_string(report.texturesUsed.size()) + ")";
    report.transparency = faceShare(transparent, mesh->faceCount);
    report.shine = faceShare(shiny, mesh->faceCount);
    return report;
}

std::vector<std::string> aboutMeshText(const AboutMeshReport& report) {
    std::vector<std::string> lines = {
        "Mesh Type: " + report.meshType, "Lighting Type: " + report.lightingType,
        "Shine: " + report.shine,        "Transparency: " + report.transparency,
        report.texturesCaption,
    };
    for (const std::string& label : report.textureLabels)
        lines.push_back("  " + label);
    if (report.invalidTextures)
        lines.push_back(kInvalidTexturesNote);
    return lines;
}

std::optional<AboutMeshesReport> aboutMeshes(const Package& wad) {
    if (!wad.isLoaded())
        return std::nullopt;
    AboutMeshesReport report;
    const std::size_t samples = sampleCount(wad);
    const int meshes = static_cast<int>(std::min<std::size_t>(wad.meshCount, wad.meshes.size()));
    for (int slot = 0; slot < meshes; ++slot) {
        const Mesh& mesh = wad.meshes[slot];
        std::array<bool, kMeshPropertyCount> has{};
        for (int f = 0; f < faceLoopCount(mesh); ++f) {
            const MeshFace& face = mesh.faces[f];
            const std::size_t sample = faceSampleIndex(face);
            has[0] = has[0] || (face.attributes & kAttrShine) != 0;
            has[1] = has[1] || (face.attributes & kAttrTransparent) != 0;
            has[2] = has[2] || face.visible == 0;
            has[3] = has[3] || sample == 0;
            has[4] = has[4] || sample >= samples;
        }
        for (std::size_t list = 0; list < kMeshPropertyCount; ++list) {
            if (has[list]) {
                report.meshSlots[list].push_back(slot);
                report.labels[list].push_back(meshLabel(slot));
            }
        }
    }
    report.countLabel = std::to_string(wad.meshCount) + " meshes in wad";
    return report;
}

std::vector<std::string> aboutMeshesText(const AboutMeshesReport& report) {
    std::vector<std::string> lines;
    for (std::size_t list = 0; list < kMeshPropertyCount; ++list) {
        lines.push_back(kMeshPropertyGroups[list]);
        for (const std::string& label : report.labels[list])
            lines.push_back("  " + label);
    }
    lines.push_back(report.countLabel);
    return lines;
}

MeshLocation locateMesh(const Package& wad, int slot) {
    for (std::size_t m = 0; m < wad.moveables.size(); ++m) {
        const auto [first, last] = wad.pointerRange(m);
        for (std::size_t p = first; p < last; ++p) {
            if (wad.meshSlotOfPointer(p) == slot)
                return {MeshLocation::Kind::Moveable, static_cast<int>(m),
                        static_cast<int>(p - first)};
        }
    }
    const int j = slot - wad.objectMeshCount;
    if (j >= 0 && j < wad.addedMeshCount)
        return {MeshLocation::Kind::AddedMeshes, static_cast<int>(wad.moveables.size()), j};
    return {MeshLocation::Kind::AllMeshes, 0, slot};
}

MoveablesUsingMesh moveablesUsingMesh(const Package& wad, int slot,
                                      const std::vector<std::string>& moveableLabels) {
    MoveablesUsingMesh result;
    for (std::size_t m = 0; m < wad.moveables.size() && slot >= 0; ++m) {
        const auto [first, last] = wad.pointerRange(m);
        for (std::size_t p = first; p < last; ++p) {
            if (wad.meshSlotOfPointer(p) == slot) {
                result.moveables.push_back(static_cast<int>(m));
                result.labels.push_back(m < moveableLabels.size()
                                            ? moveableLabels[m]
                                            : "Moveable #" + std::to_string(m));
                break;
            }
        }
    }
    const std::size_t n = result.moveables.size();
    result.caption = std::to_string(n);
    result.buttonEnabled = n >= 2;
    result.hint = "Number of moveables using mesh";
    if (n > 1)
        result.hint += "\n\rClick for list";
    return result;
}

} // namespace kavlen
