// GL textures of the 3D view: one per texture sample (texture n + 1 holds
// sample n) and the Solid mode texture (4097), kept in a SceneTextures table
// that maps those names to GL names.
//
// Every function here works in the GL context that is current when it is
// called: the GL view makes its context current (QOpenGLWidget::makeCurrent)
// around the calls.
#pragma once

#include "document/package.h"
#include "view3d/texture_names.h"
#include "view3d/texture_pixels.h"

#include <filesystem>

namespace kavlen {

// Makes texture `name` from a picture at colour depth `colorBits` (3 bytes per
// pixel for 16 and 24, 4 for 32). A texture of that name is replaced. With
// `bilinear` the texture gets linear filtering and a full mipmap chain,
// otherwise nearest filtering and level 0 only.
void uploadTexture(SceneTextures& textures, unsigned name, const TexturePicture& picture,
                   int colorBits, bool bilinear);

// Makes the textures of all samples of the package (names 1..texInfoCount).
// Returns the number of textures made.
std::size_t uploadAllSamples(SceneTextures& textures, const Package& wad, int colorBits,
                             bool bilinear);

// Remakes the texture of sample n alone (after it was added, cut or renumbered).
void uploadSample(SceneTextures& textures, const Package& wad, std::size_t n, int colorBits,
                  bool bilinear);

// The Solid mode picture: "solid.bmp" when it loads, else the built-in picture.
// `fromFile` tells which one was used.
TexturePicture loadSolidPicture(const std::filesystem::path& file, bool* fromFile = nullptr);

// Makes texture 4097 from "solid.bmp" (or the built-in picture), 32-bit, nearest
// filtering. Returns whether the file was used.
bool uploadSolidTexture(SceneTextures& textures, const std::filesystem::path& file);

// Deletes every sample texture and the Solid mode texture (at exit).
void deleteSceneTextures(SceneTextures& textures);

} // namespace kavlen
