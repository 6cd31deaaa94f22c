#include "view3d/render_modes.h"

#include "view3d/diagnostic_modes.h"

#include <algorithm>

namespace kavlen {

namespace {

constexpr std::array<std::uint8_t, 9> kModeOfListIndex{
    kModeWireframe, kModeSolid,        kModeTextured,     kModePoints,     kModePointsWire,
    kModeShine,     kModeTransparency, kModeTriangleType, kModePolyPtOrder};

constexpr std::array<TexCoord, 4> kQuadCoords{{{0, 0}, {1, 0}, {1, 1}, {0, 1}}};
constexpr std::array<TexCoord, 4> kMirroredQuadCoords{{{1, 0}, {0, 0}, {0, 1}, {1, 1}}};
constexpr std::array<TexCoord, 4> kSolidTriangleCoords{{{0, 1}, {0, 0}, {1, 1}, {0, 0}}};

// Divisor that maps the shade range 0..8191 onto 255 brightness steps.
constexpr double kShadeStep = 32.121568;

FacePaint basePaint(const Mesh& mesh, const MeshFace& face) {
    FacePaint paint;
    paint.corners = face.cornerCount();
    paint.drawn = faceVerticesInRange(mesh, face);
    return paint;
}

} // namespace

std::uint8_t renderModeOfListIndex(int listIndex) {
    if (listIndex < 0 || listIndex >= static_cast<int>(kModeOfListIndex.size()))
        return kModeWireframe;
    return kModeOfListIndex[static_cast<std::size_t>(listIndex)];
}

bool modeHidesHiddenFaces(std::uint8_t mode) {
    return mode == kModeTextured || mode == kModeShine || mode == kModeTransparency ||
           mode == kModeTriangleType || mode == kModePolyPtOrder;
}

int drawableVertexCount(const Mesh& mesh) {
    return std::min<int>(mesh.vertexCount, static_cast<int>(kMaxMeshVertices));
}

int drawableFaceCount(const Mesh& mesh) {
    return std::clamp<int>(mesh.faceCount, 0, static_cast<int>(kMaxMeshVertices));
}

bool faceVerticesInRange(const Mesh& mesh, const MeshFace& face) {
    const int count = drawableVertexCount(mesh);
    for (int k = 0; k < face.cornerCount(); ++k) {
        if (face.vertexIndex[static_cast<std::size_t>(k)] >= count)
            return false;
    }
    return true;
}

int vertexBrightness(std::int16_t shade) {
    // Negative shades never occur in valid packages; they count as full light.
    const int clamped = std::clamp<int>(shade, 0, 8191);
    return 255 - static_cast<int>(clamped / kShadeStep);
}

FacePaint wireframeFacePaint(const Mesh& mesh, const MeshFace& face, const FaceStyle& style) {
    FacePaint paint = basePaint(mesh, face);
    paint.colors.fill(rgbOf(style.lineColor));
    return paint;
}

FacePaint solidFacePaint(const Mesh& mesh, const MeshFace& face, const FaceStyle& style) {
    FacePaint paint = basePaint(mesh, face);
    paint.texture = static_cast<int>(style.solidTexture);
    paint.colors.fill(kRgbWhite);
    paint.texCoords = face.isQuad() ? kQuadCoords : kSolidTriangleCoords;
    return paint;
}

FacePaint texturedFacePaint(const Mesh& mesh, const MeshFace& face, const FaceStyle& style) {
    FacePaint paint = basePaint(mesh, face);
    paint.drawn = paint.drawn && face.visible != 0;

    int sample = 0;
    if (face.isQuad()) {
        sample = faceSampleIndex(face);
        paint.texCoords = faceMirrored(face) ? kMirroredQuadCoords : kQuadCoords;
    } else {
        const TextureWordInfo info = decodeTextureWord(face.texture);
        sample = info.index;
        for (std::size_t k = 0; k < 3; ++k)
            paint.texCoords[k] = {float(info.pairs[k].u), float(info.pairs[k].v)};
    }
    // Samples the package does not have draw as sample 0.
    if (sample > static_cast<std::int64_t>(style.texInfoCount) - 1)
        sample = 0;

    if (sample == 0) {
        // Sample 0 counts as untextured: a vertex-colour gradient, or plain white.
        paint.texture = 0;
        paint.smooth = true;
        if (style.untexturedWhite) {
            paint.colors.fill(kRgbWhite);
        } else {
            paint.colors = {kRgbRed, kRgbLime, kRgbBlue, kRgbYellow};
            paint.perCorner = true;
        }
        return paint;
    }

    paint.texture = sample + 1;
    paint.smooth = mesh.normalCount < 0;
    paint.colors.fill(kRgbWhite);
    if (mesh.normalCount < 0 && style.lightsEnabled && paint.drawn) {
        paint.perCorner = true;
        for (int k = 0; k < paint.corners; ++k) {
            const std::size_t v = face.vertexIndex[static_cast<std::size_t>(k)];
            const auto b = static_cast<std::uint8_t>(vertexBrightness(mesh.shades[v]));
            paint.colors[static_cast<std::size_t>(k)] = {b, b, b};
        }
    }
    return paint;
}

FacePaint paintFace(std::uint8_t mode, const Mesh& mesh, int faceIndex, const FaceStyle& style) {
    if (faceIndex < 0 || faceIndex >= drawableFaceCount(mesh))
        return FacePaint{.drawn = false};
    const MeshFace& face = mesh.faces[static_cast<std::size_t>(faceIndex)];
    switch (mode) {
    case kModeWireframe:
        return wireframeFacePaint(mesh, face, style);
    case kModeSolid:
        return solidFacePaint(mesh, face, style);
    case kModeTextured:
        return texturedFacePaint(mesh, face, style);
    case kModeShine:
    case kModeTransparency:
    case kModeTriangleType:
    case kModePolyPtOrder:
        return diagnosticFacePaint(mode, mesh, face, style);
    default:
        return FacePaint{.drawn = false, .corners = face.cornerCount()};
    }
}

std::uint8_t remapLimit(std::uint16_t vertexCount) {
    const auto limit = static_cast<std::uint8_t>((vertexCount & 0xFF) - 1);
    return std::min<std::uint8_t>(limit, 127);
}

} // namespace kavlen
