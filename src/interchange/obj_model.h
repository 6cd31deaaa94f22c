// Wavefront OBJ files with their MTL material libraries: the model the reader
// fills, and the import of its vertices and faces into one mesh slot.
#pragma once

#include "interchange/interchange.h"

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kavlen {

struct ObjVertex {
    double x = 0, y = 0, z = 0;
    bool hasColour = false; // "v x y z r g b"
    float r = 0, g = 0, b = 0;
    int object = 0; // section the vertex was declared in
};

struct ObjVector {
    double x = 0, y = 0, z = 0;
};

struct ObjTexCoord {
    double u = 0, v = 0;
};

// One face corner; indices count from 0 and are resolved (negative indices of
// the file count back from the last element read). -1: the token has none.
struct ObjCorner {
    int vertex = -1;
    int texCoord = -1;
    int normal = -1;
};

struct ObjFace {
    std::size_t firstCorner = 0; // into ObjModel::corners
    int cornerCount = 0;
    int material = -1; // into ObjModel::usedMaterials, -1 before any "usemtl"
    int object = 0;    // into ObjModel::objects
    int line = 0;      // line number of the "f" statement
};

// What the reader takes from a material file: its name and its diffuse picture.
struct ObjMaterial {
    std::string name;
    std::string diffuseMap; // "map_Kd" file name, empty when none
};

struct ObjModel {
    std::string name; // the file name up to its first "."
    std::vector<ObjVertex> vertices;
    std::vector<ObjVector> normals;
    std::vector<ObjTexCoord> texCoords;
    std::vector<ObjCorner> corners;
    std::vector<ObjFace> faces;
    // Names given to "usemtl", in order of first use.
    std::vector<std::string> usedMaterials;
    // The materials of the "mtllib" files that "usemtl" names; unused ones are skipped.
    std::vector<ObjMaterial> materials;
    // Sections: entry 0 is what comes before the first "o" or "g"; then one entry
    // per distinct "o" name (or "g" name in files without "o").
    std::vector<std::string> objects{std::string()};

    // The material file entry of a used material, or null.
    const ObjMaterial* materialOf(const ObjFace& face) const;
};

// Gives the text of the material file named in an "mtllib" line, or nothing when
// it cannot be read.
using MtlSource = std::function<std::optional<std::string>(const std::string& name)>;

// Largest material file read, in bytes: material libraries are small text files.
inline constexpr std::size_t kMaxMtlFileBytes = 1u << 20;
// Largest OBJ file read, in bytes.
inline constexpr std::size_t kMaxObjFileBytes = 256u << 20;

// Reads OBJ text into `model`; throws ConversionError (with the line number) on a
// statement it cannot read. The returned messages report material files that
// could not be read.
Messages loadObjText(std::string_view text, ObjModel& model, const MtlSource& materials);
// Reads an OBJ file. Material files are read only when they are regular files
// beside the OBJ (or in a folder below it) and at most kMaxMtlFileBytes long.
Messages loadObj(const std::filesystem::path& file, ObjModel& model);

// Replaces mesh slot `slot` with the vertices and faces of an OBJ file: y and z
// negated, face winding reversed. Faces of 5 or more points are split into
// triangles; texture words come from material names written by exportObj, or
// from texture coordinates that match a sample of the page picture a material
// names. On any refusal the mesh stays exactly as it was.
ImportResult importObj(Package& wad, int slot, const std::filesystem::path& file,
                       const ImportOptions& options);
ImportResult importObjText(Package& wad, int slot, std::string_view text,
                           const MtlSource& materials, const ImportOptions& options);

} // namespace kavlen
