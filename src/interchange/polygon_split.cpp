#include "interchange/polygon_split.h"

#include <cmath>
#include <list>

namespace kavlen {

namespace {

struct Point2 {
    double u = 0, v = 0;
};

double cross(const Point2& a, const Point2& b, const Point2& c) {
    return (b.u - a.u) * (c.v - a.v) - (b.v - a.v) * (c.u - a.u);
}

// Whether p lies inside or on triangle abc (counter-clockwise).
bool inside(const Point2& p, const Point2& a, const Point2& b, const Point2& c) {
    return cross(a, b, p) >= 0 && cross(b, c, p) >= 0 && cross(c, a, p) >= 0;
}

// The corners projected on the plane that the polygon's normal (Newell's method)
// is most perpendicular to, oriented counter-clockwise.
std::vector<Point2> projected(const std::vector<Point3>& corners) {
    Point3 normal{0, 0, 0};
    const std::size_t n = corners.size();
    for (std::size_t i = 0; i < n; ++i) {
        const Point3& a = corners[i];
        const Point3& b = corners[(i + 1) % n];
        normal[0] += (a[1] - b[1]) * (a[2] + b[2]);
        normal[1] += (a[2] - b[2]) * (a[0] + b[0]);
        normal[2] += (a[0] - b[0]) * (a[1] + b[1]);
    }
    std::size_t drop = 0;
    for (std::size_t a = 1; a < 3; ++a)
        if (std::fabs(normal[a]) > std::fabs(normal[drop]))
            drop = a;
    const std::size_t uAxis = (drop + 1) % 3, vAxis = (drop + 2) % 3;
    const bool flip = normal[drop] < 0;
    std::vector<Point2> out(n);
    for (std::size_t i = 0; i < n; ++i)
        out[i] = {corners[i][uAxis], flip ? -corners[i][vAxis] : corners[i][vAxis]};
    return out;
}

} // namespace

std::vector<std::array<std::size_t, 3>> splitPolygon(const std::vector<Point3>& corners) {
    std::vector<std::array<std::size_t, 3>> triangles;
    if (corners.size() < 3)
        return triangles;
    const std::vector<Point2> p = projected(corners);
    std::list<std::size_t> ring;
    for (std::size_t i = 0; i < corners.size(); ++i)
        ring.push_back(i);
    triangles.reserve(corners.size() - 2);

    auto at = ring.begin();
    std::size_t failures = 0; // corners tried since the last ear
    const auto next = [&ring](std::list<std::size_t>::iterator it) {
        return ++it == ring.end() ? ring.begin() : it;
    };
    const auto prev = [&ring](std::list<std::size_t>::iterator it) {
        return it == ring.begin() ? std::prev(ring.end()) : std::prev(it);
    };
    while (ring.size() > 3) {
        const auto before = prev(at), after = next(at);
        const Point2 &a = p[*before], &b = p[*at], &c = p[*after];
        bool ear = cross(a, b, c) > 0;
        for (auto it = next(after); ear && it != before; it = next(it)) {
            const Point2& q = p[*it];
            const bool sharesCorner = (q.u == a.u && q.v == a.v) || (q.u == b.u && q.v == b.v) ||
                                      (q.u == c.u && q.v == c.v);
            if (!sharesCorner && inside(q, a, b, c))
                ear = false;
        }
        // No ear in a whole round: the polygon is degenerate or crosses itself;
        // clip the corner anyway so that every corner still ends in a triangle.
        if (ear || failures >= ring.size()) {
            triangles.push_back({*before, *at, *after});
            at = ring.erase(at);
            if (at == ring.end())
                at = ring.begin();
            failures = 0;
        } else {
            at = after;
            ++failures;
        }
    }
    const auto first = ring.begin();
    triangles.push_back({*first, *std::next(first), *std::next(first, 2)});
    return triangles;
}

} // namespace kavlen
