// Wavefront OBJ files with their MTL material libraries: the OBJLoader model and
// the import of its vertices and faces into one mesh slot.
#pragma once

#include "interchange/interchange.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kavlen {

// Element i of every list below is what the file numbers i + 1.
struct ObjFace {
    int vertexCount = 0;
    std::vector<int> vertexIndex;   // as written in the file, from 1
    std::vector<int> texCoordIndex; // 0 when the token has none
    std::vector<int> normalIndex;   // 0 when the token has none
};

struct ObjGroup {
    std::string name;
    std::vector<ObjFace> faces;
    int material = 0; // number of the material from 1, 0 = none
    int faceCount() const { return static_cast<int>(faces.size()); }
};

struct ObjMaterial {
    std::string name;
    float ambient[3] = {0, 0, 0};
    float diffuse[3] = {0, 0, 0};
    float specular[3] = {0, 0, 0};
    float shininess = 60.0f;
    int texture = 0;
};

struct ObjVector {
    float x = 0, y = 0, z = 0;
};
struct ObjTexCoord {
    float u = 0, v = 0;
};

struct ObjModel {
    std::string name; // the file name up to its first "."
    std::vector<ObjVector> vertices;
    std::vector<ObjVector> normals;
    std::vector<ObjTexCoord> texCoords;
    std::vector<ObjGroup> groups;
    std::vector<ObjMaterial> materials;
};

// Gives the text of the material file named in an "mtllib" line, or nothing when
// it cannot be found.
using MtlSource = std::function<std::optional<std::string>(const std::string& name)>;

// Reads OBJ text into `model`; throws ConversionError on a malformed number. The
// returned messages report a material file that cannot be found.
Messages loadObjText(std::string_view text, ObjModel& model, const MtlSource& materials);
// Reads an OBJ file; a relative material file name is looked up beside it.
Messages loadObj(const std::filesystem::path& file, ObjModel& model);

// Replaces mesh slot `slot` with the vertices and faces of an OBJ file: y and z
// negated, face winding reversed, texture word and attributes 0.
ImportResult importObj(Package& wad, int slot, const std::filesystem::path& file,
                       const ImportOptions& options);
ImportResult importObjText(Package& wad, int slot, std::string_view text,
                           const MtlSource& materials, const ImportOptions& options);

} // namespace kavlen
