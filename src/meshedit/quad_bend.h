// How far a quad's four corners are from lying in one plane, in model units.
#pragma once

#include "document/package.h"

namespace kavlen {

// The determinant of the 4 x 4 matrix whose rows are (x, y, z, 1) of the quad's
// corners p0..p3 in index order: six times the signed volume of the tetrahedron
// they span, 0 for a flat quad.
double quadBendDeterminant(const MeshVertex& p0, const MeshVertex& p1, const MeshVertex& p2,
                           const MeshVertex& p3);

} // namespace kavlen
