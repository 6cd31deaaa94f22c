// Reference grid and axes of the 3D view, drawn by the scene when they are on.
#pragma once

#include "view3d/scene_color.h"

namespace kavlen {

// An 11 x 11 line square in the plane y = 0, 5.12 view units apart; odd lines
// are 2 pixels wide. The centre lines are left out when the axes are shown.
void drawGrid(Rgb color, bool axesShown);
// Six segments from the origin, full colour towards the model's positive x, y
// and z. They reach the grid's edge (25.6) when the grid is shown, else 5.12.
void drawAxes(bool gridShown);

} // namespace kavlen
