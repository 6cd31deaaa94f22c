// A drawable object with its own transform and bounding box. The mesh scene
// derives from it; the view draws whatever figure the render window gives it.
#pragma once

#include <array>
#include <functional>

namespace kavlen {

using Vec3 = std::array<double, 3>;

// Bounds of an empty box: any point widens them.
inline constexpr double kBoundReset = 922337203685477.5807;

class SceneFigure {
  public:
    SceneFigure();
    virtual ~SceneFigure() = default;

    Vec3 position{0, 0, 0};
    Vec3 rotation{0, 0, 0}; // degrees about x, y, z
    Vec3 scale{1, 1, 1};
    Vec3 boundMin{};
    Vec3 boundMax{};
    unsigned char flag = 0;
    std::function<void()> drawProc; // drawn by the default Draw

    // Issues the figure's GL geometry in its own coordinates.
    virtual void Draw();
    // Position and rotation 0, scale 1, bounds reset.
    virtual void Reset();
    // Draws the figure under its transform: translate, scale, rotate x, y, z.
    void applyAndDraw();

    void resetBounds();
};

// Multiplies the modelview matrix by: translate, scale, rotate about x, y, z.
void glTranslateScaleRotate(const Vec3& translation, const Vec3& scale, const Vec3& rotation);

} // namespace kavlen
