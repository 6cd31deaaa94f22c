// Appending a new, empty mesh slot to the package. It gets its own mesh pointer
// and directory entry (a placeholder offset that the writer turns into the mesh's
// real offset), and it counts as an added mesh: no moveable or static uses it.
#pragma once

#include "meshedit/mesh_edit.h"

#include <string>

namespace kavlen {

struct AddMeshResult {
    int slot = -1;                    // the new slot, -1 when refused
    std::string meshLabel;            // "Mesh #" + slot, for the list of all meshes
    bool addedMeshesEntryNew = false; // "-- Added Meshes --" must now be listed
    Messages messages;                // refusals
};

// Refused with an error message when no package is loaded, when the package is
// full (1000 mesh slots, 999 directory entries or 2000 mesh pointers), or when its
// mesh slots do not match the meshes its pointers name.
AddMeshResult addEmptyMesh(Package& wad);

} // namespace kavlen
