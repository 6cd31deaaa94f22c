// Named colours of the mesh scene and its default view colours (0x00BBGGRR).
#pragma once

#include "view3d/gl_colour.h"
#include "view3d/render_state.h"

#include <cstdint>

namespace kavlen {

inline constexpr Rgb kRgbWhite{255, 255, 255};
inline constexpr Rgb kRgbRed{255, 0, 0};
inline constexpr Rgb kRgbLime{0, 255, 0};
inline constexpr Rgb kRgbBlue{0, 0, 255};
inline constexpr Rgb kRgbYellow{255, 255, 0};

// The scene's point colour before the settings are read: green, where "Reset
// Colors" and the settings default give lime.
inline constexpr std::uint32_t kInitialPointColor = 0x00008000;

} // namespace kavlen
