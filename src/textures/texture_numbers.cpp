#include "textures/texture_numbers.h"

#include "textures/atlas.h"
#include "textures/samples.h"

#include <algorithm>
#include <utility>

namespace kavlen {

namespace {

int meshTotal(const Package& wad) {
    return static_cast<int>(std::min<std::size_t>(wad.meshCount, wad.meshes.size()));
}

int faceTotal(const Mesh& mesh) {
    return std::clamp<int>(mesh.faceCount, 0, static_cast<int>(mesh.faces.size()));
}

// The first face using `sample` at or after `from`, in mesh order then face order.
std::optional<FaceRef> scanFrom(const Package& wad, FaceRef from, int sample) {
    for (int m = std::max(from.mesh, 0); m < meshTotal(wad); ++m) {
        const Mesh& mesh = wad.meshes[m];
        for (int f = m == from.mesh ? std::max(from.face, 0) : 0; f < faceTotal(mesh); ++f)
            if (faceSampleIndex(mesh.faces[f]) == sample)
                return FaceRef{m, f};
    }
    return std::nullopt;
}

} // namespace

bool swapAllowed(const Package& wad, int selected, int other) {
    return selected != other && selected != 0 && other != 0 && hasSample(wad, selected) &&
           hasSample(wad, other);
}

SwapResult swapTextureNumbers(Package& wad, int a, int b) {
    SwapResult result;
    if (!requirePackage(wad, result.messages) || !swapAllowed(wad, a, b))
        return result;
    std::swap(wad.texInfos[a], wad.texInfos[b]);
    result.swapped = true;
    result.rebuild = {b, a};
    return result;
}

std::string foundFaceLine(const FaceRef& at) {
    return "Mesh#" + std::to_string(at.mesh) + " Poly#" + std::to_string(at.face);
}

FindFirstResult findFirst(const Package& wad, FindState& state, int sample) {
    FindFirstResult result;
    state.reset();
    if (!hasSample(wad, sample))
        return result;
    result.ran = true;
    state.searched = sample;

    for (int m = 0; m < meshTotal(wad); ++m) {
        const Mesh& mesh = wad.meshes[m];
        int k = 0;
        for (int f = 0; f < faceTotal(mesh); ++f)
            k += faceSampleIndex(mesh.faces[f]) == sample;
        if (k > 0)
            result.meshLines.push_back("Mesh#" + std::to_string(m) + "  (" + std::to_string(k) +
                                       " of " + std::to_string(faceTotal(mesh)) + " faces)");
        result.total += k;
    }
    result.status = "Used by " + std::to_string(result.total) + " face" +
                    (result.total == 1 ? "" : "s") + " in the wad.";

    result.found = scanFrom(wad, {0, 0}, sample);
    if (result.found) {
        state.position = *result.found;
        result.foundLine = foundFaceLine(*result.found);
        result.findNextEnabled = result.total > 1;
    } else {
        result.meshLines.push_back("Not used.");
    }
    return result;
}

FindNextResult findNext(const Package& wad, FindState& state, int sample) {
    FindNextResult result;
    if (!hasSample(wad, sample))
        return result;
    result.ran = true;
    FaceRef from = state.position;
    ++from.face;
    if (from.mesh < meshTotal(wad) && from.face >= faceTotal(wad.meshes[from.mesh])) {
        ++from.mesh;
        from.face = 0;
    }
    result.found = scanFrom(wad, from, sample);
    if (result.found) {
        state.position = *result.found;
        result.line = foundFaceLine(*result.found);
        result.findNextEnabled = true;
    } else {
        result.line = "No more found.";
    }
    return result;
}

} // namespace kavlen
