#include "document/safe_write.h"
#include "interchange/dxf.h"
#include "interchange/sorted_string_list.h"
#include "interchange/text_numbers.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace kavlen {

namespace {

std::string fourDigits(int value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%04d", value);
    return buffer;
}

// A package coordinate divided by 100; callers negate as integers, so zero is
// never written as minus zero.
std::string dxfCoordinate(int value) {
    return formatFixed(value / 100.0, 6);
}

struct DxfWriter {
    std::string text;
    void line(std::string_view s) {
        text += s;
        text += "\r\n";
    }
};

} // namespace

std::string dxfLayerName(const MeshFace& face) {
    std::string name;
    if (face.shape == kShapeQuad) {
        const int word = static_cast<std::int16_t>(face.texture);
        name = (word < 0 ? "FLIPED_" : "TEXTUR_") + fourDigits(std::abs(word)) + "_0";
    } else {
        const TextureWordInfo info = decodeTextureWord(face.texture);
        name = (info.mirrored ? "FLIPED_" : "TEXTUR_") + fourDigits(info.index);
        switch (info.corner) {
        case 0:
            name += "_1";
            break;
        case 2:
            name += "_4";
            break;
        case 4:
            name += "_2";
            break;
        case 6:
            name += "_3";
            break;
        default:
            break;
        }
    }
    // Shine strength bits without the shine flag are dropped.
    const std::uint16_t attributes =
        (face.attributes & kAttrShine) ? face.attributes : (face.attributes & 0xFF01);
    name += "_" + std::to_string(static_cast<std::int16_t>(attributes));
    return name;
}

std::string buildDxf(const Mesh& mesh, std::size_t* layerCount) {
    DxfWriter w;
    for (const char* s : {"  0", "SECTION", "  2", "HEADER", " 999",
                          "Created by Kavlen 3.9.5 Rev12", "  0", "ENDSEC", "  0", "SECTION", "  2",
                          "TABLES", "  0", "TABLE", "  2", "LAYER", "  70", "    153"})
        w.line(s);

    const int faceCount = std::max<int>(0, std::min<int>(mesh.faceCount, int(kMaxMeshVertices)));
    SortedStringList<> layers;
    std::vector<std::string> faceLayers(static_cast<std::size_t>(faceCount));
    for (int f = 0; f < faceCount; ++f) {
        faceLayers[std::size_t(f)] = dxfLayerName(mesh.faces[std::size_t(f)]);
        if (layers.find(faceLayers[std::size_t(f)]) == -1)
            layers.add(faceLayers[std::size_t(f)]);
    }
    for (int i = 0; i < layers.size(); ++i) {
        char colour[16];
        std::snprintf(colour, sizeof colour, "%6d", i);
        for (std::string_view s :
             {std::string_view("  0"), std::string_view("LAYER"), std::string_view("  2"),
              std::string_view(layers.name(i)), std::string_view(" 70"), std::string_view("  0"),
              std::string_view(" 62"), std::string_view(colour), std::string_view("  6"),
              std::string_view("CONTINUOUS")})
            w.line(s);
    }
    if (layerCount)
        *layerCount = std::size_t(layers.size());
    for (const char* s : {"  0", "ENDTAB", "  0", "ENDSEC", "  0", "SECTION", "  2", "ENTITIES"})
        w.line(s);

    static const char* const kCodes[4][3] = {
        {" 10", " 20", " 30"}, {" 11", " 21", " 31"}, {" 12", " 22", " 32"}, {" 13", " 23", " 33"}};
    for (int f = 0; f < faceCount; ++f) {
        const MeshFace& face = mesh.faces[std::size_t(f)];
        w.line("  0");
        w.line("3DFACE");
        w.line("  8");
        w.line(faceLayers[std::size_t(f)]);
        for (int k = 0; k < 4; ++k) {
            // A triangle's fourth corner repeats its third.
            const int corner = (k == 3 && face.shape != kShapeQuad) ? 2 : k;
            const std::uint16_t index = face.vertexIndex[std::size_t(corner)];
            const MeshVertex v = index < kMaxMeshVertices ? mesh.vertices[index] : MeshVertex{};
            w.line(kCodes[k][0]);
            w.line(dxfCoordinate(v.x));
            w.line(kCodes[k][1]);
            w.line(dxfCoordinate(-int(v.z)));
            w.line(kCodes[k][2]);
            w.line(dxfCoordinate(-int(v.y)));
        }
    }
    for (const char* s : {" 0", "ENDSEC", " 0", "EOF"})
        w.line(s);
    return std::move(w.text);
}

ExportResult exportDxf(const Package& wad, int slot, const std::filesystem::path& file) {
    ExportResult result;
    const Mesh* mesh = meshForInterchange(wad, slot, result.messages);
    if (!mesh)
        return result;
    std::size_t layerCount = 0;
    const std::string text = buildDxf(*mesh, &layerCount);
    const WriteResult written = writeFileSafely(file, std::string_view(text));
    if (!written.ok) {
        result.messages.push_back({MessageKind::Error, written.message});
        return result;
    }
    result.written = true;
    result.faceCount = std::size_t(std::clamp<int>(mesh->faceCount, 0, int(kMaxMeshVertices)));
    result.nameCount = layerCount;
    return result;
}

} // namespace kavlen
