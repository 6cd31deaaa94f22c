// Material names of exported OBJ files: what OBJ cannot carry about a face, in a
// form like the DXF layer name.
//
//   PREFIX_NNNN_C_A
//   PREFIX  "TEXTUR", or "FLIPED" when the texture is mirrored
//   NNNN    sample number, at least four digits (a quad's absolute texture word)
//   C       0 for a quad; for a triangle its corner: 1 = corner 0, 2 = corner 4,
//           3 = corner 6, 4 = corner 2 (the DXF codes), 5..8 = corners 1, 3, 5, 7
//   A       the whole attribute word, 0..65535
//
// e.g. "TEXTUR_0005_0_0" (a quad on sample 5), "FLIPED_0012_2_7" (a mirrored
// triangle on sample 12, corner 4, transparent with shine). Text after A (such as
// the ".001" that modelling programs append to copies) is ignored.
#pragma once

#include "document/package.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kavlen {

std::string objMaterialName(const MeshFace& face);

struct ObjFaceWords {
    bool quad = false; // the name was written for a quad
    bool mirrored = false;
    std::uint16_t sample = 0; // up to 4095 for triangles, 32768 for quads
    std::uint8_t corner = 0;  // triangle corner 0..7
    std::uint16_t attributes = 0;
    // The texture word for a face of the given shape.
    std::uint16_t textureWord(bool asQuad) const;
};

// Parses a material name of the form above; nothing when it is not one.
std::optional<ObjFaceWords> parseObjMaterialName(std::string_view name);

} // namespace kavlen
