// Mirroring a mesh on one of the coordinate planes: XZ negates y, YZ negates x and
// XY negates z. Faces keep facing outwards (their corner order is reversed) and
// keep their texture (quads toggle the mirrored sign, triangles swap their corner
// and toggle the mirror bit). The boxes of the statics that use the mesh, or the
// mesh's sphere centre, are mirrored along.
#pragma once

#include "meshedit/mesh_edit.h"

namespace kavlen {

// The axis that mirroring on a plane negates: XZ -> Y, YZ -> X, XY -> Z.
enum class MirrorPlane { XZ, YZ, XY };
Axis mirrorAxis(MirrorPlane plane);

// Negates `axis` over the mesh. Refused (status message) when a vertex, box bound
// or sphere centre on that axis is -32768, which has no 16-bit mirror image.
MeshEditResult mirrorMesh(Package& wad, int slot, Axis axis);

// The face part of mirroring, for one face.
void mirrorFace(MeshFace& face);

} // namespace kavlen
