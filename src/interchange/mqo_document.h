// Metasequoia documents (".mqo", text format 1.0): the MQOLoader model, the
// import that merges the visible objects into one mesh slot, and the export.
#pragma once

#include "interchange/interchange.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kavlen {

struct MqoFace {
    int vertexCount = 0;          // as written; the import splits 5 or more
    std::vector<int> vertexIndex; // into the object's own vertices, from 0
    int material = -1;            // -1 when the face names none
};

struct MqoVertex {
    float x = 0, y = 0, z = 0;
};

struct MqoObject {
    std::string name;
    int depth = 0, folding = 0;
    float scale[3] = {0, 0, 0}, rotation[3] = {0, 0, 0}, translation[3] = {0, 0, 0};
    int patch = 0, segment = 0, visible = 0, locking = 0, shading = 0;
    float facet = 0;
    int mirror = 0, mirrorAxis = 0;
    float mirrorDis = 0;
    int lathe = 0, latheAxis = 0, latheSeg = 0;
    std::vector<MqoVertex> vertices;
    std::vector<MqoFace> faces;

    bool isVisible() const { return visible == 15; }
};

struct MqoDocument {
    std::vector<MqoObject> objects;
    std::vector<std::string> materials;
    std::string fileName;
};

// A line that does not follow the layout: the trimmed line and what was expected
// there.
struct MqoParseError {
    std::string message;
    std::string expected;
};

// Largest document read (also the largest a compressed one may unpack to).
inline constexpr std::uintmax_t kMqoMaxFileBytes = 64u << 20;

// Reads a whole document into `model`. A pre-scan leaves the model empty when the
// visible objects have fewer than 3 vertices, and refuses more than 1500 vertices
// or faces with a message. Throws MqoParseError or ConversionError; `lineCount`
// is the number of lines read so far.
Messages loadMqo(std::string_view bytes, int& lineCount, MqoDocument& model);
Messages loadMqoFile(const std::filesystem::path& file, int& lineCount, MqoDocument& model);

// Replaces mesh slot `slot` with the visible objects of a document (or of the
// one document in a compressed ".mqoz"); mirror objects come in with both
// halves, faces of 5 or more points split into triangles. Texture words and
// attributes come from the material names "sample_corner_attributes".
ImportResult importMqo(Package& wad, int slot, const std::filesystem::path& file,
                       const ImportOptions& options);
ImportResult importMqoBytes(Package& wad, int slot, std::string_view bytes,
                            const ImportOptions& options,
                            std::string_view fileName = "The document");

// Material name of a face, with its double quotes, e.g. "\"-12_4_0\"".
std::string mqoMaterialName(const MeshFace& face);

// The whole document text of mesh slot `slot`; `materialCount` receives the
// number of materials.
std::string buildMqo(const Mesh& mesh, int slot, std::size_t* materialCount = nullptr);
ExportResult exportMqo(const Package& wad, int slot, const std::filesystem::path& file);

} // namespace kavlen
