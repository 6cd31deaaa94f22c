// Metasequoia documents (".mqo", text format 1.0): the MQOLoader model, the
// import that merges the visible objects into one mesh slot, and the export.
#pragma once

#include "interchange/interchange.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kavlen {

struct MqoFace {
    int vertexCount = 0;          // 3 or 4
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

// A line that does not follow the layout; the message is the trimmed line.
struct MqoParseError {
    std::string message;
};

// Reads a whole document into `model`. A pre-scan refuses documents whose visible
// objects have fewer than 3 or more than 1500 vertices or more than 1500 faces:
// the model stays empty and the returned messages say why. Throws MqoParseError
// or ConversionError; `lineCount` is the number of lines read so far.
Messages loadMqo(std::string_view bytes, int& lineCount, MqoDocument& model);
Messages loadMqoFile(const std::filesystem::path& file, int& lineCount, MqoDocument& model);

// Replaces mesh slot `slot` with the visible objects of a document; texture
// words and attributes come from the material names "sample_corner_attributes".
ImportResult importMqo(Package& wad, int slot, const std::filesystem::path& file,
                       const ImportOptions& options);
ImportResult importMqoBytes(Package& wad, int slot, std::string_view bytes,
                            const ImportOptions& options);

// Material name of a face, with its double quotes, e.g. "\"-12_4_0\"".
std::string mqoMaterialName(const MeshFace& face);

// The whole document text of mesh slot `slot`; `materialCount` receives the
// number of materials.
std::string buildMqo(const Mesh& mesh, int slot, std::size_t* materialCount = nullptr);
ExportResult exportMqo(const Package& wad, int slot, const std::filesystem::path& file);

} // namespace kavlen
