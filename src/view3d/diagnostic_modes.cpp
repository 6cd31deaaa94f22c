#include "view3d/diagnostic_modes.h"

#include <cmath>

namespace kavlen {

namespace {

struct Vec3 {
    double x, y, z;
};

Vec3 modelPoint(const Mesh& mesh, const MeshFace& face, int corner) {
    const MeshVertex& v = mesh.vertices[face.vertexIndex[static_cast<std::size_t>(corner)]];
    return {double(v.x), double(v.y), double(v.z)};
}

Vec3 operator-(Vec3 a, Vec3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
double dot(Vec3 a, Vec3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
Vec3 cross(Vec3 a, Vec3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
double length(Vec3 a) {
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

double quadBendDeterminant(const Mesh& mesh, const MeshFace& face) {
    // The 4 x 4 determinant with rows (x, y, z, 1) equals the triple product of
    // the edges from p0.
    const Vec3 p0 = modelPoint(mesh, face, 0);
    const Vec3 a = modelPoint(mesh, face, 1) - p0;
    const Vec3 b = modelPoint(mesh, face, 2) - p0;
    const Vec3 c = modelPoint(mesh, face, 3) - p0;
    return -dot(a, cross(b, c));
}

double quadBendValue(const Mesh& mesh, const MeshFace& face) {
    if (std::fabs(quadBendDeterminant(mesh, face)) <= kFlatDeterminant)
        return 0.0;
    const Vec3 p0 = modelPoint(mesh, face, 0);
    const Vec3 n = cross(modelPoint(mesh, face, 1) - p0, modelPoint(mesh, face, 3) - p0);
    const Vec3 d = modelPoint(mesh, face, 2) - p0;
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
