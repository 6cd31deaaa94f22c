// Exchanging two vertex indices of a mesh: the two points trade places in the
// vertex (and normal or shade) arrays and every face follows, so the drawn shape
// stays the same and only the numbering changes. Used to bring the skin vertices
// that meet a joint under the remap limit.
#pragma once

#include "meshedit/mesh_edit.h"

namespace kavlen {

// Whether swapVertices would act: a mesh in `slot`, both indices below its vertex
// count, and different. The Remap dialog stays open while this is false.
bool canSwapVertices(const Package& wad, int slot, int a, int b);

// Exchanges vertices a and b; reports "Vertex a changed to b" in the status bar.
// Does nothing when canSwapVertices is false.
MeshEditResult swapVertices(Package& wad, int slot, int a, int b);

} // namespace kavlen
