// Moving a mesh: by the Move page's arrows, by three numbers, or so that one of its
// bounds lands on a given value (the Shift page). A mesh used by statics carries
// their visibility and collision boxes along; any other mesh carries its sphere
// centre. A move that would put any vertex, box bound or sphere centre outside
// -32768..32767 is refused as a whole with a status-bar message.
#pragma once

#include "meshedit/mesh_edit.h"

namespace kavlen {

// Step of the arrows: 1, or 128 with "Clicks" checked. Y runs downwards, so the
// Y up arrow subtracts.
int moveArrowDelta(Axis axis, bool up, bool clicks);

MeshEditResult shiftMeshAxis(Package& wad, int slot, long long delta, Axis axis);
MeshEditResult moveMesh(Package& wad, int slot, long long dx, long long dy, long long dz);

// The Move page's arrow: shiftMeshAxis by moveArrowDelta.
MeshEditResult moveMeshByArrow(Package& wad, int slot, Axis axis, bool up, bool clicks);

enum class MeshBound { LowX, HighX, LowY, HighY, LowZ, HighZ };

// Shifts along the bound's axis so that the bound (smallest or largest coordinate
// over the mesh's vertices) becomes `value`, times 128 with "Clicks" checked.
MeshEditResult shiftMeshToBound(Package& wad, int slot, MeshBound bound, long long value,
                                bool clicks);

} // namespace kavlen
