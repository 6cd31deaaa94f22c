// OBJ reader and import; the text after a line "#mtl" is served as the material
// file that any "mtllib" line names. A mesh that imports must come back the same
// through OBJ export and import.
#include "document/demo_package.h"
#include "interchange/obj_export.h"
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
        const kavlen::Mesh imported = m;
        const kavlen::ObjFiles files = kavlen::buildObj(*wad, {{3, {0, 0, 0}, "m"}}, "m");
        const kavlen::MtlSource exported = [&files](const std::string&) { return files.mtl; };
        const kavlen::ImportResult again =
            kavlen::importObjText(*wad, 3, files.obj, exported, options);
        const kavlen::Mesh& back = wad->meshes[3];
        if (!again.imported || back.vertexCount != imported.vertexCount ||
            back.faceCount != imported.faceCount)
            std::abort();
        for (int v = 0; v < back.vertexCount; ++v) {
            const auto &a = back.vertices[std::size_t(v)], &b = imported.vertices[std::size_t(v)];
            if (a.x != b.x || a.y != b.y || a.z != b.z)
                std::abort();
        }
        for (int f = 0; f < back.faceCount; ++f) {
            const auto &a = back.faces[std::size_t(f)], &b = imported.faces[std::size_t(f)];
            if (a.shape != b.shape || a.texture != b.texture || a.attributes != b.attributes ||
                a.vertexIndex != b.vertexIndex)
                std::abort();
        }
    }
    wad->meshes[3] = original;
    return 0;
}
