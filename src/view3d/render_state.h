// What the scene draws besides the package itself: the current mesh, the view
// colours and the display switches. The render window owns one; the mesh scene
// reads it while drawing and every change to it ends with invalidateScene.
#pragma once

#include <cstdint>

namespace kavlen {

struct RenderState {
    static constexpr std::uint32_t kDefaultLineColor = 0x00FFFF00;   // aqua
    static constexpr std::uint32_t kDefaultBoxColor = 0x0000FFFF;    // yellow
    static constexpr std::uint32_t kDefaultPointColor = 0x0000FF00;  // lime
    static constexpr std::uint32_t kDefaultPoint2Color = 0x000000FF; // red
    static constexpr std::uint32_t kDefaultGridColor = 0x00808080;   // grey

    int currentMesh = -1; // mesh slot shown, -1 while none

    bool showAxes = false;
    bool showGrid = false;
    bool outlineFaces = false;
    bool untexturedWhite = false;
    bool stippleOn = false;
    std::uint16_t stipplePattern = 0x0F0F;

    std::uint32_t lineColor = kDefaultLineColor;
    std::uint32_t boxColor = kDefaultBoxColor;
    std::uint32_t pointColor = kDefaultPointColor;
    std::uint32_t point2Color = kDefaultPoint2Color;
    std::uint32_t gridColor = kDefaultGridColor;
};

} // namespace kavlen
