// OBJ export with textures: the OBJ file, a material file beside it and one PNG
// picture per atlas page the faces use. The axes are those of the OBJ import (y
// and z negated, winding reversed), so that exporting and importing again gives
// the same mesh. Each face's material is named after its texture word and
// attribute word (see obj_material_name.h).
#pragma once

#include "interchange/interchange.h"

#include <array>
#include <filesystem>
#include <string>
#include <vector>

namespace kavlen {

// One mesh of an export, placed at `offset` (package axes) under an object name.
struct ObjExportPart {
    int slot = 0;
    std::array<double, 3> offset{0, 0, 0};
    std::string objectName;
};

struct ObjFiles {
    std::string obj;
    std::string mtl;
    std::vector<int> pages; // atlas pages whose pictures the materials name
    std::size_t faceCount = 0;
    std::size_t materialCount = 0;
};

// Object name of a mesh slot in exported files, e.g. "Mesh_5".
std::string objObjectName(int slot);

// The texts of an export whose files are named `stem`.obj, `stem`.mtl and
// `stem`_pageN.png. Lines end in CR LF.
ObjFiles buildObj(const Package& wad, const std::vector<ObjExportPart>& parts,
                  const std::string& stem);

// Writes the OBJ file, the material file and the page pictures beside it.
ExportResult writeObjFiles(const Package& wad, const std::vector<ObjExportPart>& parts,
                           const std::filesystem::path& file);

// Writes mesh slot `slot`.
ExportResult exportObj(const Package& wad, int slot, const std::filesystem::path& file);

} // namespace kavlen
