// Commands that set one property of every face of a mesh at once (sample, shine,
// opacity, vertex order, visibility), the per-face steps they share with clicking
// single faces, and the hair vertex sets that the point modes can mark.
#pragma once

#include "meshedit/mesh_edit.h"

#include <span>

namespace kavlen {

// The question Texture All asks before it overwrites every face's sample
// (warning box with OK and Cancel).
Message textureAllQuestion();

// Texture All, once the user answered OK: every face takes sample `sample`, quads
// keeping their mirrored sign, triangles their corner and mirror bits. Refused
// with an error message when `sample` is not a sample of the package (-1: none
// selected).
MeshEditResult textureAll(Package& wad, int slot, int sample);

// Shine All with the "Shining" value (read as an unsigned 16-bit number and held
// at 31). Refused for a non-zero shine on a mesh with static lighting.
MeshEditResult shineAll(Package& wad, int slot, int shining);

// The "Attributes" group's opacity list; None while no entry is selected.
enum class OpacityChoice { None, Opaque, SemiTransparent };
MeshEditResult opaqueAll(Package& wad, int slot, OpacityChoice choice);

// Rotate All: every face's vertex order moves on by one.
MeshEditResult rotateAll(Package& wad, int slot);

// Unhide Faces: shows every face again. Does nothing (changed stays false, so no
// redraw) when the mesh has no hidden faces; otherwise the render window hides its
// "Hidden Faces" indicator.
MeshEditResult unhideFaces(Package& wad, int slot);

// A quad (a, b, c, d) becomes (d, a, b, c), a triangle (a, b, c) becomes (c, a, b).
void rotateFaceVertexOrder(MeshFace& face);

// Hair vertex sets: "Lara" marks 37..40, "Young Lara" 68..71 and 76..79.
enum class HairHighlight { None, Lara, YoungLara };
std::span<const int> hairVertexIndices(HairHighlight set);
bool isHairVertex(HairHighlight set, int vertex);

} // namespace kavlen
