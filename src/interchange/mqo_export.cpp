#include "document/safe_write.h"
#include "interchange/mqo_document.h"
#include "interchange/sorted_string_list.h"
#include "interchange/text_numbers.h"

#include <algorithm>

namespace kavlen {

std::string mqoMaterialName(const MeshFace& face) {
    int sample = 0, corner = 0;
    if (face.shape == kShapeQuad) {
        sample = static_cast<std::int16_t>(face.texture);
    } else {
        const TextureWordInfo info = decodeTextureWord(face.texture);
        sample = info.mirrored ? -int(info.index) : int(info.index);
        corner = info.corner;
    }
    return "\"" + std::to_string(sample) + "_" + std::to_string(corner) + "_" +
           std::to_string(static_cast<std::int16_t>(face.attributes)) + "\"";
}

std::string buildMqo(const Mesh& mesh, int slot, std::size_t* materialCount) {
    std::string out;
    const auto line = [&out](std::string_view s) {
        out += s;
        out += "\r\n";
    };
    line("Metasequoia Document");
    line("Format Text Ver 1.0");
    line("");

    const int faceCount = std::clamp<int>(mesh.faceCount, 0, int(kMaxMeshVertices));
    SortedStringList<> materials;
    for (int f = 0; f < faceCount; ++f) {
        const std::string name = mqoMaterialName(mesh.faces[std::size_t(f)]);
        if (materials.find(name) == -1)
            materials.add(name);
    }
    if (materialCount)
        *materialCount = std::size_t(materials.size());
    line("Material " + std::to_string(materials.size()) + " {");
    for (int i = 0; i < materials.size(); ++i)
        line("\t" + materials.name(i));
    line("\t}");

    line("Object \"Mesh #" + std::to_string(slot) + "\" {");
    for (const char* s : {"depth 0", "folding 0", "scale 1.000000 1.000000 1.000000",
                          "rotation 0.000000 0.000000 0.000000",
                          "translation 0.000000 0.000000 0.000000", "visible 15", "locking 0",
                          "shading 0", "facet 59.5", "color 0.898 0.498 0.698", "color_type 0"})
        line(std::string("\t") + s);

    const std::size_t vertexCount = std::min<std::size_t>(mesh.vertexCount, kMaxMeshVertices);
    line("\tvertex " + std::to_string(mesh.vertexCount) + " {");
    for (std::size_t k = 0; k < vertexCount; ++k) {
        const MeshVertex& v = mesh.vertices[k];
        // Negated as integers, so that zero is never written as minus zero.
        line("\t\t" + formatFixed(-int(v.x), 4) + " " + formatFixed(-int(v.y), 4) + " " +
             formatFixed(v.z, 4));
    }
    line("\t}");

    line("\tface " + std::to_string(mesh.faceCount) + " {");
    for (int f = 0; f < faceCount; ++f) {
        const MeshFace& face = mesh.faces[std::size_t(f)];
        const int corners = face.cornerCount();
        std::string text = "\t\t" + std::to_string(corners) + " V(";
        for (int k = 0; k < corners; ++k)
            text += (k ? " " : "") + std::to_string(face.vertexIndex[std::size_t(k)]);
        text += ") M(" + std::to_string(materials.find(mqoMaterialName(face))) + ")";
        line(text);
    }
    line("\t}");
    line("}");
    line("Eof");
    return out;
}

ExportResult exportMqo(const Package& wad, int slot, const std::filesystem::path& file) {
    ExportResult result;
    const Mesh* mesh = meshForInterchange(wad, slot, result.messages);
    if (!mesh)
        return result;
    std::size_t materialCount = 0;
    const std::string text = buildMqo(*mesh, slot, &materialCount);
    const WriteResult written = writeFileSafely(file, std::string_view(text));
    if (!written.ok) {
        result.messages.push_back({MessageKind::Error, written.message});
        return result;
    }
    result.written = true;
    result.faceCount = std::size_t(std::clamp<int>(mesh->faceCount, 0, int(kMaxMeshVertices)));
    result.nameCount = materialCount;
    return result;
}

} // namespace kavlen
