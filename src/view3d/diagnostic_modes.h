// Colours of the four diagnostic render modes, worked out without GL: each face
// is coloured by one property (shine, transparency, triangle corner or bent
// quad, vertex order) instead of its texture.
#pragma once

#include "document/package.h"
#include "view3d/render_modes.h"
#include "view3d/scene_color.h"

namespace kavlen {

inline constexpr Rgb kShineOffColor{255, 255, 255};
inline constexpr Rgb kShineZeroColor{255, 128, 0};
inline constexpr Rgb kOpaqueColor{255, 255, 255};
inline constexpr Rgb kSemiTransparentColor{128, 128, 128};
inline constexpr Rgb kQuadColor{255, 255, 255};
inline constexpr Rgb kBentQuadColor{255, 0, 255};
// Triangles whose corner value is odd (1, 3, 5, 7) name no corner of the
// sample; they get red, a colour no valid corner uses, so they stand out.
inline constexpr Rgb kOddCornerColor{255, 0, 0};

// Shine mode: white without shine, orange for strength 0, graded reds for 1..31
// (pure red for all of them when the grading is off).
Rgb shineColor(std::uint16_t attributes, bool colorScaleShine);
// Transparency mode: grey for semi-transparent faces, white for opaque ones.
Rgb transparencyColor(std::uint16_t attributes);
// Triangle Type mode: the colour of a triangle's corner value 0..7.
Rgb triangleCornerColor(int corner);

// Cosine between p0->p2 and the normal of the plane through p0, p1, p3; 0 for a flat quad.
double quadBendValue(const Mesh& mesh, const MeshFace& face);
bool isBentQuad(const Mesh& mesh, const MeshFace& face);

// Poly Pt Order mode: the colours of vertices 0..3 of every face.
inline constexpr std::array<Rgb, 4> kVertexOrderColors{kRgbRed, kRgbLime, kRgbBlue, kRgbYellow};

// The face as a diagnostic mode (Shine, Transparency, Triangle Type, Poly Pt
// Order) draws it: hidden faces and faces with vertices out of range are not drawn.
FacePaint diagnosticFacePaint(std::uint8_t mode, const Mesh& mesh, const MeshFace& face,
                              const FaceStyle& style);

} // namespace kavlen
