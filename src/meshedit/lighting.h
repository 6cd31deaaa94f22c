// Normals and static shades of a mesh: what the importers call to rebuild the
// lighting data of a new mesh, and the commands that change a mesh's lighting.
#pragma once

#include "document/messages.h"
#include "document/package.h"

#include <cstdint>

namespace kavlen {

// Length of a stored normal.
inline constexpr double kNormalLength = 16300.0;

// Scales (x, y, z) to length 16300 in place; a zero vector stays zero.
void normalizeTo16300(double& x, double& y, double& z);

// Shade value of a light intensity 0..31: trunc(I * 8191 / 31). 0 is full light.
std::int16_t shadeFromIntensity(int intensity);

// Normals of normals 0..normalCount-1 from the faces: unit face normals summed
// (averaged) or raw cross products (weighted, larger faces weigh more), then
// scaled to 16300. A face contributes from its first three vertices; indices
// outside the mesh's vertices or normals are skipped. Does nothing unless
// normalCount > 0.
void recalcNormals(Mesh& mesh, bool averaged);

// normalCount = -vertexCount and every shade = shadeFromIntensity(intensity).
// Normals and face attributes are left as they are.
void setStaticLighting(Mesh& mesh, int intensity);

// Result of a lighting command on a mesh slot of a package.
struct LightingResult {
    bool changed = false;
    Messages messages;
};

// "Averaged" / "Weighted" normal recalculation of mesh slot `slot`: refuses a
// static-lit mesh, does nothing to a mesh without normals or faces.
LightingResult recalcNormalsCommand(Package& wad, int slot, bool averaged);

// Gives mesh slot `slot` static lighting of `intensity`. A mesh with normals
// loses the shine of every face (transparency stays), as static lighting has no
// shine; a mesh that is already static gets every shade set anew.
LightingResult changeToStaticLighting(Package& wad, int slot, int intensity);

// Gives mesh slot `slot` moveable lighting: a static-lit mesh gets one normal per
// vertex again, and the normals are recalculated averaged.
LightingResult changeToMoveableLighting(Package& wad, int slot);

} // namespace kavlen
