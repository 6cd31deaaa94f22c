// Splits a polygon of any number of corners into triangles by ear clipping, so
// that concave faces are split correctly.
#pragma once

#include <array>
#include <cstddef>
#include <vector>

namespace kavlen {

using Point3 = std::array<double, 3>;

// Triangles as positions into `corners`, each with the polygon's winding; a
// polygon of n >= 3 corners gives n - 2 triangles. Degenerate or self-crossing
// polygons still give n - 2 triangles (the last ones as a fan).
std::vector<std::array<std::size_t, 3>> splitPolygon(const std::vector<Point3>& corners);

} // namespace kavlen
