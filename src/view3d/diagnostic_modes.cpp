#include "view3d/diagnostic_modes.h"

#include "meshedit/quad_bend.h"

#include <cmath>

namespace kavlen {

namespace {

// Model-unit vectors of the bend test.
struct Vector {
    double x, y, z;
};

const MeshVertex& corner(const Mesh& mesh, const MeshFace& face, int k) {
    return mesh.vertices[face.vertexIndex[static_cast<std::size_t>(k)]];
}

Vector modelPoint(const Mesh& mesh, const MeshFace& face, int k) {
    const MeshVertex& v = corner(mesh, face, k);
    return {double(v.x), double(v.y), double(v.z)};
}

Vector operator-(Vector a, Vector b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
double dot(Vector a, Vector b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
Vector cross(Vector a, Vector b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
double length(Vector a) {
    return std::sqrt(dot(a, a));
}

// Below this determinant a quad counts as flat.
constexpr double kFlatDeterminant = 0.000001;
// A quad is bent when its bend value exceeds this cosine.
constexpr double kBentLimit = 0.06;

} // namespace

Rgb shineColor(std::uint16_t attributes, bool colorScaleShine) {
    if ((attributes & kAttrShine) == 0)
        return kShineOffColor;
    int s = (attributes & 0x7F) >> kAttrShineShift;
    if (s == 0)
        return kShineZeroColor;
    if (!colorScaleShine)
        s = 31;
    const auto gb = static_cast<std::uint8_t>(248 - 8 * s);
    return {255, gb, gb};
}

Rgb transparencyColor(std::uint16_t attributes) {
    return (attributes & kAttrTransparent) ? kSemiTransparentColor : kOpaqueColor;
}

Rgb triangleCornerColor(int corner) {
    switch (corner) {
    case 0:
        return {0, 0, 255};
    case 2:
        return {0, 255, 0};
    case 4:
        return {0, 0, 128};
    case 6:
        return {0, 128, 0};
    default:
        return kOddCornerColor;
    }
}

double quadBendValue(const Mesh& mesh, const MeshFace& face) {
    const double determinant = quadBendDeterminant(corner(mesh, face, 0), corner(mesh, face, 1),
                                                   corner(mesh, face, 2), corner(mesh, face, 3));
    if (std::fabs(determinant) <= kFlatDeterminant)
        return 0.0;
    const Vector p0 = modelPoint(mesh, face, 0);
    const Vector n = cross(modelPoint(mesh, face, 1) - p0, modelPoint(mesh, face, 3) - p0);
    const Vector d = modelPoint(mesh, face, 2) - p0;
    const double den = length(n) * length(d);
    if (den == 0.0)
        return 1.0;
    return dot(d, n) / den;
}

bool isBentQuad(const Mesh& mesh, const MeshFace& face) {
    return face.isQuad() && std::fabs(quadBendValue(mesh, face)) > kBentLimit;
}

FacePaint diagnosticFacePaint(std::uint8_t mode, const Mesh& mesh, const MeshFace& face,
                              const FaceStyle& style) {
    FacePaint paint;
    paint.corners = face.cornerCount();
    paint.drawn = face.visible != 0 && faceVerticesInRange(mesh, face);
    if (!paint.drawn)
        return paint;

    Rgb color = kRgbWhite;
    switch (mode) {
    case kModeShine:
        color = shineColor(face.attributes, style.colorScaleShine);
        break;
    case kModeTransparency:
        color = transparencyColor(face.attributes);
        break;
    case kModeTriangleType:
        if (face.isQuad())
            color = style.showBentQuads && isBentQuad(mesh, face) ? kBentQuadColor : kQuadColor;
        else
            color = triangleCornerColor(decodeTextureWord(face.texture).corner);
        break;
    case kModePolyPtOrder:
        paint.colors = kVertexOrderColors;
        paint.perCorner = true;
        paint.smooth = true;
        return paint;
    default:
        paint.drawn = false;
        return paint;
    }
    paint.colors.fill(color);
    return paint;
}

} // namespace kavlen
