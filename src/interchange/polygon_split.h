// Splitting a polygon of 5 or more points into triangles by ear clipping, so that
// concave faces keep their shape.
#pragma once

#include <array>
#include <vector>

namespace kavlen {

struct PolygonPoint {
    double x = 0, y = 0, z = 0;
};

// Triangles (as positions into `points`, in the polygon's winding) that cover a
// simple polygon. The polygon is projected onto the plane its Newell normal is
// most aligned with; where no ear is left (a degenerate or self-crossing
// polygon) the rest is split as a fan. Quadratic in the number of points: callers
// refuse huge polygons first.
std::vector<std::array<int, 3>> splitPolygon(const std::vector<PolygonPoint>& points);

} // namespace kavlen
