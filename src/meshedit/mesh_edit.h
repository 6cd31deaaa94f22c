// What every mesh command shares: the axis names, the result a command hands back
// to the editor, and the look-up of the current mesh slot.
#pragma once

#include "document/messages.h"
#include "document/package.h"

namespace kavlen {

enum class Axis { X = 0, Y = 1, Z = 2 };

struct MeshEditResult {
    bool changed = false;       // the mesh changed: redraw the render window
    bool boundsChanged = false; // a sphere or static box changed: re-read the boundary panel
    bool recenterView = false;  // the render window re-centres on the mesh ("Center")
    Messages messages;
};

// The mesh in slot `slot`, or nullptr when the slot does not exist (-1 means no
// current mesh).
Mesh* meshInSlot(Package& wad, int slot);
const Mesh* meshInSlot(const Package& wad, int slot);

// Number of faces a loop over the mesh visits: faceCount held within 0..1500.
int faceLoopCount(const Mesh& mesh);
// Number of vertices, held within 0..1500.
int vertexLoopCount(const Mesh& mesh);

inline Message noWadOpened() {
    return {MessageKind::Error, "No wad opened."};
}

} // namespace kavlen
