// DXF import into a demo package mesh slot.
#include "document/demo_package.h"
#include "interchange/dxf.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const auto wad = kavlen::makeDemoPackage();
    static const kavlen::Mesh original = wad->meshes[1];
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    // Scale 1, a scale up, or fit, so that the scale checks are reached too.
    const kavlen::ImportOptions options{size % 2 == 0, int(size % 32), size % 3 == 1 ? 100.0 : 1.0,
                                        size % 3 == 2};
    const kavlen::ImportResult r = kavlen::importDxfText(*wad, 1, text, options);
    const kavlen::Mesh& m = wad->meshes[1];
    if (r.imported &&
        (m.vertexCount > kavlen::kMaxMeshVertices || m.faceCount > 1500 || m.faceCount < 0))
        std::abort();
    if (!r.imported && r.messages.empty())
        std::abort(); // a refusal always says why
    wad->meshes[1] = original;
    return 0;
}
