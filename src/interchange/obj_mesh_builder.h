// Turning the faces of an OBJ model (all of them, or one section's) into the
// content of one mesh slot; shared by the mesh and the whole-moveable imports.
#pragma once

#include "interchange/obj_model.h"

#include <memory>
#include <optional>
#include <string>

namespace kavlen {

struct ObjMeshBuild {
    std::unique_ptr<Mesh> mesh;    // null when refused
    std::string refusal;           // why, when refused
    std::optional<Message> notice; // what was split, dropped or changed
};

struct ObjMeshSource {
    const ObjModel* model = nullptr;
    int object = -1;              // section to take, -1 for every face of the file
    double offset[3] = {0, 0, 0}; // subtracted from every position (package axes)
    std::string fileLabel;        // names the file in messages
};

// Builds the new content of a slot whose present content is `base` (kept where a
// slot keeps what it held, and to keep the order of faces that did not change).
ObjMeshBuild meshFromObj(const Package& wad, const Mesh& base, const ObjMeshSource& source,
                         const ImportOptions& options);

// The atlas page a picture file of an exported OBJ shows ("NAME_page3.png" is
// page 3), or nothing.
std::optional<int> pageOfPictureName(std::string_view fileName);

} // namespace kavlen
