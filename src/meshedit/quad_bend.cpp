#include "meshedit/quad_bend.h"

namespace kavlen {

double quadBendDeterminant(const MeshVertex& p0, const MeshVertex& p1, const MeshVertex& p2,
                           const MeshVertex& p3) {
    // Subtracting row 0 from the others leaves the edges from p0 with a 0 in the
    // last column; expanding along that column gives -(e1 . (e2 x e3)).
    const double e1[3] = {double(p1.x) - p0.x, double(p1.y) - p0.y, double(p1.z) - p0.z};
    const double e2[3] = {double(p2.x) - p0.x, double(p2.y) - p0.y, double(p2.z) - p0.z};
    const double e3[3] = {double(p3.x) - p0.x, double(p3.y) - p0.y, double(p3.z) - p0.z};
    const double triple = e1[0] * (e2[1] * e3[2] - e2[2] * e3[1]) -
                          e1[1] * (e2[0] * e3[2] - e2[2] * e3[0]) +
                          e1[2] * (e2[0] * e3[1] - e2[1] * e3[0]);
    return -triple;
}

} // namespace kavlen
