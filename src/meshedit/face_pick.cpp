#include "meshedit/face_pick.h"

#include "meshedit/mesh_edit.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace kavlen {

namespace {

// Half the side of the square a Points vertex is drawn as, and the radius of the
// sphere of Points+Wire, in view units.
constexpr double kPointMarkerSize = 0.01;
// The sphere of Points+Wire: slices around its axis and stacks from pole to pole.
constexpr int kSphereSlices = 8;
constexpr int kSphereStacks = 8;

// A half-space of homogeneous clip coordinates: inside where
// a x + b y + c z + d w >= 0.
struct Plane {
    double a = 0, b = 0, c = 0, d = 0;
    double at(const Vec4& v) const { return a * v.x + b * v.y + c * v.z + d * v.w; }
};

// The pick volume: the pick square (as gluPickMatrix narrows the view to it)
// between the near and far planes, as six half-spaces of clip coordinates.
struct PickVolume {
    std::array<Plane, 6> planes;

    // One bit per plane that `v` lies outside of.
    unsigned outcode(const Vec4& v) const {
        unsigned code = 0;
        for (std::size_t i = 0; i < planes.size(); ++i)
            if (planes[i].at(v) < 0)
                code |= 1u << i;
        return code;
    }
};

std::optional<PickVolume> pickVolume(const PickView& view, PickCursor cursor, double regionSize) {
    if (view.viewportWidth <= 0 || view.viewportHeight <= 0 || !(regionSize > 0))
        return std::nullopt;
    // The centre of the cursor's pixel in GL window coordinates (origin bottom left).
    const double cx = cursor.x + 0.5;
    const double cy = double(view.viewportY) + view.viewportHeight - (cursor.y + 0.5);
    const double h = regionSize / 2;
    // Window x = ox + sx * x / w, window y = oy + sy * y / w.
    const double sx = view.viewportWidth / 2.0, ox = view.viewportX + sx;
    const double sy = view.viewportHeight / 2.0, oy = view.viewportY + sy;
    PickVolume volume;
    volume.planes = {
        Plane{sx, 0, 0, ox - (cx - h)},  // window x >= cx - h
        Plane{-sx, 0, 0, (cx + h) - ox}, // window x <= cx + h
        Plane{0, sy, 0, oy - (cy - h)},  // window y >= cy - h
        Plane{0, -sy, 0, (cy + h) - oy}, // window y <= cy + h
        Plane{0, 0, 1, 1},               // near: z >= -w
        Plane{0, 0, -1, 1},              // far: z <= w
    };
    return volume;
}

// Clips triangle (p0, p1, p2) to the pick volume; returns the smallest window depth
// of what remains, or none when nothing does. `crossing` has the bits of the planes
// that some corner lies outside of (the OR of their outcodes); the others cannot
// cut the triangle.
std::optional<double> nearestDepthInVolume(const PickVolume& volume, const Vec4& p0, const Vec4& p1,
                                           const Vec4& p2, unsigned crossing) {
    // Each plane adds at most one vertex to the polygon.
    std::array<Vec4, 12> bufferA{p0, p1, p2}, bufferB;
    Vec4* poly = bufferA.data();
    Vec4* next = bufferB.data();
    int count = 3;
    for (std::size_t k = 0; k < volume.planes.size(); ++k) {
        if (!(crossing & (1u << k)))
            continue;
        const Plane& plane = volume.planes[k];
        int out = 0;
        for (int i = 0; i < count; ++i) {
            const Vec4& a = poly[i];
            const Vec4& b = poly[i + 1 == count ? 0 : i + 1];
            const double fa = plane.at(a), fb = plane.at(b);
            if (fa >= 0)
                next[out++] = a;
            if ((fa >= 0) != (fb >= 0)) {
                const double t = fa / (fa - fb);
                next[out++] = {a.x + t * (b.x - a.x), a.y + t * (b.y - a.y), a.z + t * (b.z - a.z),
                               a.w + t * (b.w - a.w)};
            }
        }
        count = out;
        if (count == 0)
            return std::nullopt;
        std::swap(poly, next);
    }
    std::optional<double> nearest;
    for (int i = 0; i < count; ++i) {
        if (!(poly[i].w > 0))
            continue; // only the eye point itself; it has no depth
        const double depth = 0.5 * poly[i].z / poly[i].w + 0.5;
        if (!nearest || depth < *nearest)
            nearest = depth;
    }
    return nearest;
}

// Whether GL culls triangle (p0, p1, p2) as a back face. Front faces wind
// clockwise in window coordinates. The sign of the determinant of the (x, y, w)
// rows is the winding of the part in front of the eye, also when the triangle
// reaches behind it; a triangle without area counts as a back face.
bool isBackFace(const Vec4& p0, const Vec4& p1, const Vec4& p2) {
    const double det = p0.x * (p1.y * p2.w - p1.w * p2.y) - p0.y * (p1.x * p2.w - p1.w * p2.x) +
                       p0.w * (p1.x * p2.y - p1.y * p2.x);
    return !(det < 0);
}

Matrix4 viewToClip(const PickView& view) {
    return multiply(view.projection, view.modelview);
}

bool faceIndicesValid(const MeshFace& face, int vertexCount) {
    for (int c = 0; c < face.cornerCount(); ++c)
        if (face.vertexIndex[c] >= vertexCount)
            return false;
    return true;
}

PickHit pickFace(const Mesh& mesh, bool skipHidden, const Matrix4& toClip,
                 const PickVolume& volume) {
    const int vertexCount = vertexLoopCount(mesh);
    std::vector<Vec4> clip(static_cast<std::size_t>(vertexCount));
    std::vector<unsigned> outcode(static_cast<std::size_t>(vertexCount));
    for (int i = 0; i < vertexCount; ++i) {
        const Point3 p = viewUnits(mesh.vertices[i]);
        clip[i] = transform(toClip, {p.x, p.y, p.z, 1});
        outcode[i] = volume.outcode(clip[i]);
    }
    PickHit best;
    // Quads are drawn as the triangles (0, 1, 3) and (1, 2, 3), each culled on its
    // own, as Mesa splits them.
    static constexpr int kTriangleCorners[3][3] = {{0, 1, 2}, {0, 1, 3}, {1, 2, 3}};
    for (int f = 0; f < faceLoopCount(mesh); ++f) {
        const MeshFace& face = mesh.faces[f];
        if ((skipHidden && face.visible == 0) || !faceIndicesValid(face, vertexCount))
            continue;
        const int first = face.isQuad() ? 1 : 0, last = face.isQuad() ? 2 : 0;
        for (int t = first; t <= last; ++t) {
            const int a = face.vertexIndex[kTriangleCorners[t][0]];
            const int b = face.vertexIndex[kTriangleCorners[t][1]];
            const int c = face.vertexIndex[kTriangleCorners[t][2]];
            if (outcode[a] & outcode[b] & outcode[c])
                continue; // wholly outside one side of the pick volume
            if (isBackFace(clip[a], clip[b], clip[c]))
                continue;
            const auto depth = nearestDepthInVolume(volume, clip[a], clip[b], clip[c],
                                                    outcode[a] | outcode[b] | outcode[c]);
            if (depth && (!best.found() || *depth < best.depth))
                best = {PickHit::Kind::Face, f, *depth};
        }
    }
    return best;
}

// The unit sphere as GLU draws it: rings of kSphereSlices points at kSphereStacks + 1
// heights from pole to pole; each band between two rings is a row of quads.
struct SpherePoints {
    std::array<std::array<Point3, kSphereSlices>, kSphereStacks + 1> rings;
};

const SpherePoints& unitSphere() {
    static const SpherePoints sphere = [] {
        SpherePoints s;
        for (int j = 0; j <= kSphereStacks; ++j) {
            const double rho = j * std::numbers::pi / kSphereStacks;
            for (int i = 0; i < kSphereSlices; ++i) {
                const double theta = i * 2 * std::numbers::pi / kSphereSlices;
                s.rings[j][i] = {-std::sin(theta) * std::sin(rho), std::cos(theta) * std::sin(rho),
                                 std::cos(rho)};
            }
        }
        return s;
    }();
    return sphere;
}

// Nearest depth of the marker a point mode draws for the vertex at clip position
// `centre`; `axes` are the clip-space images of the marker's half-size along the
// view's x, y and z. Culling is off in the point modes: both sides count.
std::optional<double> nearestMarkerDepth(RenderModeEntry mode, const PickVolume& volume,
                                         const Vec4& centre, const std::array<Vec4, 3>& axes) {
    // A box around the marker outside any side of the volume rules it out.
    for (const Plane& plane : volume.planes) {
        const double reach =
            std::abs(plane.at(axes[0])) + std::abs(plane.at(axes[1])) + std::abs(plane.at(axes[2]));
        if (plane.at(centre) + reach < 0)
            return std::nullopt;
    }
    const auto at = [&](double u, double v, double w) {
        return Vec4{centre.x + u * axes[0].x + v * axes[1].x + w * axes[2].x,
                    centre.y + u * axes[0].y + v * axes[1].y + w * axes[2].y,
                    centre.z + u * axes[0].z + v * axes[1].z + w * axes[2].z,
                    centre.w + u * axes[0].w + v * axes[1].w + w * axes[2].w};
    };
    std::optional<double> nearest;
    const auto consider = [&](const Vec4& p0, const Vec4& p1, const Vec4& p2) {
        const unsigned o0 = volume.outcode(p0), o1 = volume.outcode(p1), o2 = volume.outcode(p2);
        if (o0 & o1 & o2)
            return;
        const auto depth = nearestDepthInVolume(volume, p0, p1, p2, o0 | o1 | o2);
        if (depth && (!nearest || *depth < *nearest))
            nearest = depth;
    };
    if (mode == RenderModeEntry::Points) {
        // A square in the x-y plane of view units at the vertex's z.
        const Vec4 q0 = at(-1, 1, 0), q1 = at(1, 1, 0), q2 = at(1, -1, 0), q3 = at(-1, -1, 0);
        consider(q0, q1, q3);
        consider(q1, q2, q3);
        return nearest;
    }
    const SpherePoints& sphere = unitSphere();
    for (int j = 0; j < kSphereStacks; ++j) {
        for (int i = 0; i < kSphereSlices; ++i) {
            const int k = (i + 1) % kSphereSlices;
            const Point3 &a = sphere.rings[j][i], &b = sphere.rings[j][k];
            const Point3 &c = sphere.rings[j + 1][k], &d = sphere.rings[j + 1][i];
            const Vec4 pa = at(a.x, a.y, a.z), pb = at(b.x, b.y, b.z);
            const Vec4 pc = at(c.x, c.y, c.z), pd = at(d.x, d.y, d.z);
            consider(pa, pb, pd);
            consider(pb, pc, pd);
        }
    }
    return nearest;
}

PickHit pickVertex(const Mesh& mesh, RenderModeEntry mode, const Matrix4& toClip,
                   const PickVolume& volume) {
    std::array<Vec4, 3> axes;
    for (int k = 0; k < 3; ++k) {
        Vec4 axis{0, 0, 0, 0};
        (k == 0 ? axis.x : k == 1 ? axis.y : axis.z) = kPointMarkerSize;
        axes[k] = transform(toClip, axis);
    }
    PickHit best;
    for (int i = 0; i < vertexLoopCount(mesh); ++i) {
        const Point3 p = viewUnits(mesh.vertices[i]);
        const Vec4 centre = transform(toClip, {p.x, p.y, p.z, 1});
        const auto depth = nearestMarkerDepth(mode, volume, centre, axes);
        if (depth && (!best.found() || *depth < best.depth))
            best = {PickHit::Kind::Vertex, i, *depth};
    }
    return best;
}

} // namespace

std::optional<RenderModeEntry> renderModeEntryOfSceneMode(int renderMode) {
    switch (renderMode) {
    case 0:
        return RenderModeEntry::Wireframe;
    case 2:
        return RenderModeEntry::Points;
    case 3:
        return RenderModeEntry::Solid;
    case 4:
        return RenderModeEntry::Textured;
    case 5:
        return RenderModeEntry::PointsWire;
    case 6:
        return RenderModeEntry::Shine;
    case 7:
        return RenderModeEntry::Transparency;
    case 8:
        return RenderModeEntry::TriangleType;
    case 9:
        return RenderModeEntry::PolyPtOrder;
    default:
        return std::nullopt;
    }
}

bool isPointMode(RenderModeEntry mode) {
    return mode == RenderModeEntry::Points || mode == RenderModeEntry::PointsWire;
}

PickCursor cursorInDevicePixels(double logicalX, double logicalY, double devicePixelRatio) {
    return {logicalX * devicePixelRatio, logicalY * devicePixelRatio};
}

Point3 viewUnits(const MeshVertex& v) {
    return {v.x / 100.0, -v.y / 100.0, -v.z / 100.0};
}

std::optional<WindowPoint> projectToWindow(const Point3& viewPoint, const PickView& view) {
    const Vec4 c = transform(viewToClip(view), {viewPoint.x, viewPoint.y, viewPoint.z, 1});
    if (!(c.w > 0))
        return std::nullopt;
    const double glX = view.viewportX + (c.x / c.w + 1) * view.viewportWidth / 2.0;
    const double glY = view.viewportY + (c.y / c.w + 1) * view.viewportHeight / 2.0;
    return WindowPoint{glX, double(view.viewportY) + view.viewportHeight - glY,
                       0.5 * c.z / c.w + 0.5};
}

PickHit pickInMesh(const Mesh& mesh, RenderModeEntry mode, const PickView& view, PickCursor cursor,
                   double regionSize) {
    const auto volume = pickVolume(view, cursor, regionSize);
    if (!volume)
        return {};
    const Matrix4 toClip = viewToClip(view);
    switch (mode) {
    case RenderModeEntry::Points:
    case RenderModeEntry::PointsWire:
        return pickVertex(mesh, mode, toClip, *volume);
    case RenderModeEntry::Wireframe:
    case RenderModeEntry::Solid:
        return pickFace(mesh, false, toClip, *volume);
    case RenderModeEntry::Textured:
    case RenderModeEntry::Shine:
    case RenderModeEntry::Transparency:
    case RenderModeEntry::TriangleType:
    case RenderModeEntry::PolyPtOrder:
        return pickFace(mesh, true, toClip, *volume);
    }
    return {};
}

PickHit pickInCurrentMesh(const Package& wad, int slot, RenderModeEntry mode, const PickView& view,
                          PickCursor cursor, double regionSize) {
    if (!wad.isLoaded())
        return {};
    const Mesh* mesh = meshInSlot(wad, slot);
    return mesh ? pickInMesh(*mesh, mode, view, cursor, regionSize) : PickHit{};
}

} // namespace kavlen
