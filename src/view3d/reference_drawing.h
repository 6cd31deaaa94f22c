// The reference grid and axes drawn with the scene.
#pragma once

#include <cstdint>

namespace kavlen {

inline constexpr double kGridSpacing = 5.12; // view units, 512 model units
inline constexpr int kGridHalfLines = 5;     // lines -5 .. 5
inline constexpr double kGridHalfSize = 25.6;
inline constexpr double kShortAxisLength = 5.12;

// An 11 x 11 line square in the plane y = 0; odd lines twice as wide. The centre
// lines are left out when the axes are drawn too.
void drawGrid(std::uint32_t colour, bool axesShown);
// Six segments from the origin; full strength marks the model's positive x, y
// and z. Longer when the grid is shown.
void drawAxes(bool gridShown);

} // namespace kavlen
