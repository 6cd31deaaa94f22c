#include "textures/texture_usage.h"

#include "textures/samples.h"

#include <algorithm>

namespace kavlen {

namespace {

template <typename Visit> void forEachFace(const Package& wad, Visit visit) {
    const std::size_t meshes = std::min<std::size_t>(wad.meshCount, wad.meshes.size());
    for (std::size_t m = 0; m < meshes; ++m) {
        const Mesh& mesh = wad.meshes[m];
        const int faces = std::clamp<int>(mesh.faceCount, 0, int(mesh.faces.size()));
        for (int f = 0; f < faces; ++f)
            visit(mesh.faces[f]);
    }
}

std::size_t sampleTotal(const Package& wad) {
    return std::min<std::size_t>(wad.texInfoCount, kMaxTexInfos);
}

} // namespace

std::vector<int> sampleUseCounts(const Package& wad) {
    std::vector<int> counts(sampleTotal(wad), 0);
    forEachFace(wad, [&](const MeshFace& face) {
        const std::size_t sample = faceSampleIndex(face);
        if (sample < counts.size())
            ++counts[sample];
    });
    return counts;
}

std::vector<bool> mirroredQuadUse(const Package& wad) {
    std::vector<bool> mirrored(sampleTotal(wad), false);
    forEachFace(wad, [&](const MeshFace& face) {
        const std::size_t sample = faceSampleIndex(face);
        if (face.isQuad() && faceMirrored(face) && sample < mirrored.size())
            mirrored[sample] = true;
    });
    return mirrored;
}

std::string textureListLabel(int index, bool used) {
    return used ? textureLabel(index) : textureLabel(index) + "  (unused)";
}

UnusedReport unusedSamples(const Package& wad) {
    UnusedReport report;
    const std::vector<int> counts = sampleUseCounts(wad);
    report.sampleCount = int(counts.size());
    const int pages = wad.pageCount();
    std::vector<int> onPage(std::size_t(std::max(pages, 0)), 0);
    std::vector<int> usedOnPage(onPage.size(), 0);
    for (std::size_t i = 0; i < counts.size(); ++i) {
        const TexInfo& t = wad.texInfos[i];
        if (t.page < onPage.size()) {
            ++onPage[t.page];
            if (counts[i] > 0)
                ++usedOnPage[t.page];
        }
        if (counts[i] == 0)
            report.unused.push_back({int(i), t.page, sampleRect(t)});
    }
    for (int p = 0; p < pages; ++p) {
        if (onPage[p] == 0)
            report.pagesWithoutSample.push_back(p);
        else if (usedOnPage[p] == 0)
            report.pagesOnlyUnused.push_back(p);
    }
    return report;
}

} // namespace kavlen
