// MQO reader and import into a demo package mesh slot.
#include "document/demo_package.h"
#include "interchange/mqo_document.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const auto wad = kavlen::makeDemoPackage();
    static const kavlen::Mesh original = wad->meshes[2];
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    // Scale 1, a scale up, or fit, so that the scale checks are reached too.
    const kavlen::ImportOptions options{size % 2 == 0, int(size % 32), size % 3 == 1 ? 100.0 : 1.0,
                                        size % 3 == 2};
    const kavlen::ImportResult r = kavlen::importMqoBytes(*wad, 2, text, options);
    const kavlen::Mesh& m = wad->meshes[2];
    if (r.imported) {
        for (int f = 0; f < m.faceCount; ++f)
            for (int k = 0; k < m.faces[std::size_t(f)].cornerCount(); ++k)
                if (m.faces[std::size_t(f)].vertexIndex[std::size_t(k)] >= m.vertexCount)
                    std::abort(); // every face points at vertices of the mesh
    }
    wad->meshes[2] = original;
    return 0;
}
