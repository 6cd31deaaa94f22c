#include "textures/sample_deletion.h"

#include "textures/atlas.h"
#include "textures/samples.h"
#include "textures/texture_usage.h"

#include <algorithm>

namespace kavlen {

namespace {

std::string facesText(int n) {
    return std::to_string(n) + (n == 1 ? " face" : " faces");
}

std::string texturesText(int n) {
    return std::to_string(n) + (n == 1 ? " texture" : " textures");
}

Message refusal(std::string text) {
    return {MessageKind::Error, std::move(text)};
}

// The sample that would have to become a mirrored quad's sample 0, or -1.
int mirroredQuadOnZero(const Package& wad, const std::vector<int>& newNumber,
                       const std::vector<int>& replacement) {
    const std::vector<bool> mirrored = mirroredQuadUse(wad);
    for (std::size_t i = 0; i < mirrored.size(); ++i) {
        if (!mirrored[i])
            continue;
        const int target = newNumber[i] >= 0 ? newNumber[i]
                           : i < replacement.size() && replacement[i] >= 0
                               ? newNumber[replacement[i]]
                               : -1;
        if (target == 0 && i != 0)
            return int(i);
    }
    return -1;
}

std::string zeroRefusal(int sample) {
    return textureLabel(sample) + " is mirrored on quads and would become " + textureLabel(0) +
           ", which a quad cannot mirror.";
}

void applyNumbering(Package& wad, const std::vector<int>& newNumber,
                    const std::vector<int>& replacement, AtlasEditResult& result) {
    result.samplesBefore = int(wad.texInfoCount);
    renumberSamples(wad, newNumber, replacement);
    result.samplesAfter = int(wad.texInfoCount);
    result.pagesBefore = result.pagesAfter = wad.pageCount();
    result.newSampleNumber = newNumber;
    result.changed = true;
}

} // namespace

int renumberSamples(Package& wad, const std::vector<int>& newNumber,
                    const std::vector<int>& replacement) {
    const std::size_t count = std::min<std::size_t>(wad.texInfoCount, kMaxTexInfos);
    int changedFaces = 0;
    const std::size_t meshes = std::min<std::size_t>(wad.meshCount, wad.meshes.size());
    for (std::size_t m = 0; m < meshes; ++m) {
        Mesh& mesh = wad.meshes[m];
        const int faces = std::clamp<int>(mesh.faceCount, 0, int(mesh.faces.size()));
        for (int f = 0; f < faces; ++f) {
            MeshFace& face = mesh.faces[f];
            const std::size_t old = faceSampleIndex(face);
            if (old >= count || old >= newNumber.size())
                continue;
            int target = newNumber[old];
            if (target < 0 && old < replacement.size() && replacement[old] >= 0)
                target = newNumber[replacement[old]];
            if (target < 0 || std::size_t(target) == old)
                continue;
            assignFaceSample(face, static_cast<std::uint16_t>(target));
            ++changedFaces;
        }
    }
    std::size_t kept = 0;
    for (std::size_t i = 0; i < count && i < newNumber.size(); ++i)
        if (newNumber[i] >= 0)
            wad.texInfos[kept++] = wad.texInfos[i];
    std::fill(wad.texInfos.begin() + kept, wad.texInfos.begin() + count, TexInfo{});
    wad.texInfoCount = static_cast<std::uint32_t>(kept);
    return changedFaces;
}

AtlasEditResult deleteTexture(Package& wad, int n, std::optional<int> replacement) {
    AtlasEditResult result;
    if (!requirePackage(wad, result.messages))
        return result;
    if (!hasSample(wad, n)) {
        result.messages.push_back(refusal(textureLabel(n) + " does not exist."));
        return result;
    }
    const int uses = sampleUseCounts(wad)[n];
    if (uses > 0 && !replacement) {
        result.messages.push_back(refusal(textureLabel(n) + " is used by " + facesText(uses) +
                                          ". Choose a replacement texture for them."));
        return result;
    }
    if (replacement && (*replacement == n || !hasSample(wad, *replacement))) {
        result.messages.push_back(refusal("The replacement must be another existing texture, not " +
                                          textureLabel(*replacement) + "."));
        return result;
    }
    const int count = int(wad.texInfoCount);
    std::vector<int> newNumber(count);
    for (int i = 0; i < count; ++i)
        newNumber[i] = i < n ? i : i == n ? -1 : i - 1;
    std::vector<int> replacements;
    if (replacement) {
        replacements.assign(count, -1);
        replacements[n] = *replacement;
    }
    if (const int zero = mirroredQuadOnZero(wad, newNumber, replacements); zero >= 0) {
        result.messages.push_back(refusal(zeroRefusal(zero)));
        return result;
    }
    applyNumbering(wad, newNumber, replacements, result);
    std::string text = "Deleted " + textureLabel(n);
    if (uses > 0) {
        const int now = newNumber[*replacement];
        text +=
            "; " + facesText(uses) + (uses == 1 ? " now uses " : " now use ") + textureLabel(now);
        if (now != *replacement)
            text += " (was " + textureLabel(*replacement) + ")";
    }
    result.messages.push_back({MessageKind::Status, text + "."});
    return result;
}

std::vector<int> numbersWithoutUnused(const Package& wad) {
    const std::vector<int> counts = sampleUseCounts(wad);
    const std::vector<bool> mirrored = mirroredQuadUse(wad);
    std::vector<int> newNumber(counts.size(), -1);
    const auto firstUsed = std::find_if(counts.begin(), counts.end(), [](int c) { return c > 0; });
    // A mirrored quad's sample must not move to number 0: keep sample 0 before it.
    const bool keepZero = firstUsed != counts.end() && firstUsed != counts.begin() &&
                          mirrored[std::size_t(firstUsed - counts.begin())];
    int next = 0;
    for (std::size_t i = 0; i < counts.size(); ++i)
        if (counts[i] > 0 || (i == 0 && keepZero))
            newNumber[i] = next++;
    return newNumber;
}

AtlasEditResult removeUnusedTextures(Package& wad) {
    AtlasEditResult result;
    if (!requirePackage(wad, result.messages))
        return result;
    const std::vector<int> newNumber = numbersWithoutUnused(wad);
    const int removed = int(std::count(newNumber.begin(), newNumber.end(), -1));
    const bool keptZero = !newNumber.empty() && newNumber[0] == 0 && sampleUseCounts(wad)[0] == 0;
    if (removed == 0) {
        result.messages.push_back({MessageKind::Information,
                                   keptZero ? "No unused textures to remove (" + textureLabel(0) +
                                                  " stays for the mirrored quads)."
                                            : std::string("No unused textures.")});
        return result;
    }
    applyNumbering(wad, newNumber, {}, result);
    std::string text = "Removed " + texturesText(removed) + " no face used; " +
                       texturesText(result.samplesAfter) + " remain.";
    if (keptZero)
        text += "\r\n" + textureLabel(0) +
                " is unused but stays, so that mirrored quads keep their mirroring.";
    result.messages.push_back({MessageKind::Information, text});
    return result;
}

AtlasEditResult deletePage(Package& wad, int p) {
    AtlasEditResult result;
    if (!requirePackage(wad, result.messages))
        return result;
    const int pages = wad.pageCount();
    if (p < 0 || p >= pages) {
        result.messages.push_back(refusal(pageLabel(p) + " does not exist."));
        return result;
    }
    const std::size_t count = std::min<std::size_t>(wad.texInfoCount, kMaxTexInfos);
    const int onPage = int(std::count_if(wad.texInfos.begin(), wad.texInfos.begin() + count,
                                         [p](const TexInfo& t) { return t.page == p; }));
    if (onPage > 0) {
        result.messages.push_back(refusal(pageLabel(p) + " still holds " + texturesText(onPage) +
                                          "; delete or move them first."));
        return result;
    }
    if (wad.textureData.size() < std::size_t(pages) * kPageBytes) {
        result.messages.push_back(refusal("The atlas is shorter than its page count."));
        return result;
    }
    if (pages == 1) {
        result.messages.push_back(refusal("The atlas must keep at least one page."));
        return result;
    }
    const auto first = wad.textureData.begin() + std::ptrdiff_t(p * kPageBytes);
    wad.textureData.erase(first, first + std::ptrdiff_t(kPageBytes));
    wad.textureDataSize -= static_cast<std::uint32_t>(kPageBytes);
    for (std::size_t i = 0; i < count; ++i)
        if (wad.texInfos[i].page > p)
            --wad.texInfos[i].page;
    result.changed = true;
    result.texelsMoved = true;
    result.pagesBefore = pages;
    result.pagesAfter = pages - 1;
    result.samplesBefore = result.samplesAfter = int(count);
    result.newPageNumber.resize(std::size_t(pages));
    for (int q = 0; q < pages; ++q)
        result.newPageNumber[q] = q < p ? q : q == p ? -1 : q - 1;
    result.messages.push_back({MessageKind::Status, "Deleted " + pageLabel(p) + "."});
    return result;
}

} // namespace kavlen
