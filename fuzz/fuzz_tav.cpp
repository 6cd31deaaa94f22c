// Texture-set Restore (packed and plain) over the demo package.
#include "document/demo_package.h"
#include "textures/texture_set.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const auto wad = kavlen::makeDemoPackage();
    static const auto pristine = kavlen::makeDemoPackage();
    const kavlen::TextureSetResult r = kavlen::restoreTextureSetFromBytes(
        *wad, {data, size}, [](const kavlen::UserQuestion&) { return true; });
    if (r.ok) {
        if (wad->texInfoCount > kavlen::kMaxTexInfos || wad->meshCount > kavlen::kMaxMeshes)
            std::abort();
        // Put the package back for the next input.
        wad->texInfos = pristine->texInfos;
        wad->texInfoCount = pristine->texInfoCount;
        wad->meshes = pristine->meshes;
        wad->meshCount = pristine->meshCount;
    } else if (r.messages.empty()) {
        std::abort();
    } else if (wad->texInfoCount != pristine->texInfoCount ||
               wad->meshCount != pristine->meshCount) {
        std::abort(); // a refused file changes nothing
    }
    return 0;
}
