#include "interchange/interchange.h"

#include "meshedit/lighting.h"

namespace kavlen {

const Mesh* meshForInterchange(const twad& wad, int slot, Messages& messages) {
    if (!wad.isLoaded()) {
        messages.push_back({MessageKind::Error, "No wad opened."});
        return nullptr;
    }
    if (slot < 0 || slot >= wad.meshCount || std::size_t(slot) >= wad.meshes.size()) {
        messages.push_back({MessageKind::Error, kNoMeshMessage});
        return nullptr;
    }
    return &wad.meshes[std::size_t(slot)];
}

void finishImportedLighting(Mesh& mesh, const ImportOptions& options) {
    if (options.moveable)
        recalcNormals(mesh, true);
    else
        setStaticLighting(mesh, options.intensity);
}

} // namespace kavlen
