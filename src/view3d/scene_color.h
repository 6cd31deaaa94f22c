// Named colours of the mesh scene and its default view colours (0x00BBGGRR).
#pragma once

#include "view3d/gl_colour.h"

#include <cstdint>

namespace kavlen {

inline constexpr Rgb kRgbWhite{255, 255, 255};
inline constexpr Rgb kRgbRed{255, 0, 0};
inline constexpr Rgb kRgbLime{0, 255, 0};
inline constexpr Rgb kRgbBlue{0, 0, 255};
inline constexpr Rgb kRgbYellow{255, 255, 0};

// The view colours that "Reset Colors" restores and the settings file defaults to.
inline constexpr std::uint32_t kDefaultLineColor = 0x00FFFF00;   // aqua
inline constexpr std::uint32_t kDefaultBoxColor = 0x0000FFFF;    // yellow
inline constexpr std::uint32_t kDefaultPointColor = 0x0000FF00;  // lime
inline constexpr std::uint32_t kDefaultPoint2Color = 0x000000FF; // red
inline constexpr std::uint32_t kDefaultGridColor = 0x00808080;   // grey

// The scene's point colour before the settings are read: green, where "Reset
// Colors" and the settings default give lime.
inline constexpr std::uint32_t kInitialPointColor = 0x00008000;

} // namespace kavlen
