#include "interchange/polygon_split.h"

#include <cmath>
#include <cstddef>

namespace kavlen {

namespace {

struct Point2 {
    double x = 0, y = 0;
};

double cross(const Point2& o, const Point2& a, const Point2& b) {
    return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

// Whether p lies inside or on the triangle abc (counter-clockwise).
bool inside(const Point2& p, const Point2& a, const Point2& b, const Point2& c) {
    return cross(a, b, p) >= 0 && cross(b, c, p) >= 0 && cross(c, a, p) >= 0;
}

} // namespace

std::vector<std::array<int, 3>> splitPolygon(const std::vector<PolygonPoint>& points) {
    const int n = static_cast<int>(points.size());
    std::vector<std::array<int, 3>> triangles;
    if (n < 3)
        return triangles;

    // Newell normal; drop its largest axis to project.
    double nx = 0, ny = 0, nz = 0;
    for (int i = 0; i < n; ++i) {
        const PolygonPoint& a = points[std::size_t(i)];
        const PolygonPoint& b = points[std::size_t((i + 1) % n)];
        nx += (a.y - b.y) * (a.z + b.z);
        ny += (a.z - b.z) * (a.x + b.x);
        nz += (a.x - b.x) * (a.y + b.y);
    }
    const double ax = std::fabs(nx), ay = std::fabs(ny), az = std::fabs(nz);
    std::vector<Point2> flat(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        const PolygonPoint& p = points[std::size_t(i)];
        Point2 q;
        if (az >= ax && az >= ay)
            q = {p.x, nz >= 0 ? p.y : -p.y};
        else if (ax >= ay)
            q = {p.y, nx >= 0 ? p.z : -p.z};
        else
            q = {p.z, ny >= 0 ? p.x : -p.x};
        flat[std::size_t(i)] = q;
    }
    // The projection keeps the polygon counter-clockwise.

    std::vector<int> ring(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        ring[std::size_t(i)] = i;
    std::size_t guard = 0;
    std::size_t i = 0;
    while (ring.size() > 3) {
        const std::size_t m = ring.size();
        const int a = ring[(i + m - 1) % m], b = ring[i % m], c = ring[(i + 1) % m];
        const Point2& pa = flat[std::size_t(a)];
        const Point2& pb = flat[std::size_t(b)];
        const Point2& pc = flat[std::size_t(c)];
        bool ear = cross(pa, pb, pc) > 0;
        for (std::size_t k = 0; ear && k < m; ++k) {
            const int p = ring[k];
            if (p == a || p == b || p == c)
                continue;
            const Point2& pp = flat[std::size_t(p)];
            // Points that coincide with a corner do not block the ear.
            if ((pp.x == pa.x && pp.y == pa.y) || (pp.x == pb.x && pp.y == pb.y) ||
                (pp.x == pc.x && pp.y == pc.y))
                continue;
            ear = !inside(pp, pa, pb, pc);
        }
        if (ear) {
            triangles.push_back({a, b, c});
            ring.erase(ring.begin() + std::ptrdiff_t(i % m));
            guard = 0;
            i = i % ring.size();
            continue;
        }
        i = (i + 1) % m;
        if (++guard > m) {
            // No ear left: degenerate or self-crossing; finish as a fan.
            for (std::size_t k = 1; k + 1 < ring.size(); ++k)
                triangles.push_back({ring[0], ring[k], ring[k + 1]});
            return triangles;
        }
    }
    triangles.push_back({ring[0], ring[1], ring[2]});
    return triangles;
}

} // namespace kavlen
