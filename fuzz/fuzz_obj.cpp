// OBJ reader and import; the text after a line "#mtl" is served as the material
// file that any "mtllib" line names.
#include "document/demo_package.h"
#include "interchange/obj_model.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const auto wad = kavlen::makeDemoPackage();
    static const kavlen::Mesh original = wad->meshes[3];
    std::string_view text(reinterpret_cast<const char*>(data), size);
    std::string mtl;
    if (const std::size_t at = text.find("\n#mtl\n"); at != std::string_view::npos) {
        mtl = std::string(text.substr(at + 6));
        text = text.substr(0, at);
    }
    const kavlen::MtlSource materials = [&mtl](const std::string&) -> std::optional<std::string> {
        if (mtl.empty())
            return std::nullopt;
        return mtl;
    };
    const kavlen::ImportOptions options{size % 2 == 0, int(size % 32)};
    const kavlen::ImportResult r = kavlen::importObjText(*wad, 3, text, materials, options);
    const kavlen::Mesh& m = wad->meshes[3];
    if (r.imported) {
        for (int f = 0; f < m.faceCount; ++f)
            for (int k = 0; k < m.faces[std::size_t(f)].cornerCount(); ++k)
                if (m.faces[std::size_t(f)].vertexIndex[std::size_t(k)] >= m.vertexCount)
                    std::abort();
    }
    wad->meshes[3] = original;
    return 0;
}
