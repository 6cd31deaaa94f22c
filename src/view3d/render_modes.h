// What the render modes draw, worked out without GL.
//
// The scene asks these functions, face by face, whether a face is drawn, which
// sample texture it binds, and which colour and texture coordinate each of its
// corners gets. Keeping that here lets the rules be tested without a window;
// the GL side only emits what they return.
#pragma once

#include "document/package.h"
#include "view3d/mesh_bounds.h"
#include "view3d/scene_color.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace kavlen {

// Internal render mode numbers (`MeshScene::renderMode`). 1 is never set and draws no mesh.
enum RenderMode : std::uint8_t {
    kModeWireframe = 0,
    kModeNone = 1,
    kModePoints = 2,
    kModeSolid = 3,
    kModeTextured = 4,
    kModePointsWire = 5,
    kModeShine = 6,
    kModeTransparency = 7,
    kModeTriangleType = 8,
    kModePolyPtOrder = 9,
};

// Entries of the render window's "Render Mode" list, in list order.
inline constexpr std::array<std::string_view, 9> kRenderModeEntries{
    "Wireframe", "Solid",        "Textured",      "Points",       "Points+Wire",
    "Shine",     "Transparency", "Triangle Type", "Poly Pt Order"};

// The render mode of a "Render Mode" list index; Wireframe for an index outside the list.
std::uint8_t renderModeOfListIndex(int listIndex);

// Whether the mode leaves out faces the user hid.
bool modeHidesHiddenFaces(std::uint8_t mode);

// Counts clamped to what a mesh slot can hold, so loops never leave the arrays.
int drawableVertexCount(const Mesh& mesh);
int drawableFaceCount(const Mesh& mesh);
// Whether every corner of the face names a vertex of the mesh.
bool faceVerticesInRange(const Mesh& mesh, const MeshFace& face);

struct TexCoord {
    float s = 0, t = 0;
    bool operator==(const TexCoord&) const = default;
};

// How one face is drawn.
struct FacePaint {
    bool drawn = true;      // false: the face emits nothing
    int corners = 3;        // 3 or 4
    int texture = 0;        // GL texture name to bind; 0: texturing off
    bool smooth = false;    // smooth shading across the corners
    bool perCorner = false; // corner colours differ; otherwise colors[0] is the face colour
    std::array<Rgb, 4> colors{};
    std::array<TexCoord, 4> texCoords{};
};

// The flags of the scene that change how faces look.
struct FaceStyle {
    std::uint32_t texInfoCount = 0;
    std::uint32_t lineColor = kDefaultLineColor;
    std::uint32_t solidTexture = 4097;
    bool lightsEnabled = false;
    bool untexturedWhite = false;
    bool colorScaleShine = true;
    bool showBentQuads = false;
};

// Brightness 0..255 of a vertex from its shade: 0 gives 255, 8191 and above give 0.
int vertexBrightness(std::int16_t shade);

// The face as the given mode draws it. Point modes draw no faces (drawn false).
FacePaint paintFace(std::uint8_t mode, const Mesh& mesh, int faceIndex, const FaceStyle& style);

// Wireframe: every face in range, hidden ones included, in the line colour.
FacePaint wireframeFacePaint(const Mesh& mesh, const MeshFace& face, const FaceStyle& style);
// Solid: every face in range in white over the Solid mode texture.
FacePaint solidFacePaint(const Mesh& mesh, const MeshFace& face, const FaceStyle& style);
// Textured: the face's sample texture, or the untextured gradient for sample 0.
FacePaint texturedFacePaint(const Mesh& mesh, const MeshFace& face, const FaceStyle& style);

// Remap limit of the point modes: vertices above it use the second point colour.
std::uint8_t remapLimit(std::uint16_t vertexCount);

} // namespace kavlen
