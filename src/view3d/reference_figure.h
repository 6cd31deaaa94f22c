// The figure the render window shows before a mesh scene is plugged in: the
// reference grid and axes only.
#pragma once

#include "view3d/gl_figure.h"
#include "view3d/reference_drawing.h"

namespace kavlen {

class TReferenceFigure : public tglfigure {
  public:
    explicit TReferenceFigure(const RenderState& state) : state_(state) {}
    void Draw() override { drawReference(state_); }

  private:
    const RenderState& state_;
};

} // namespace kavlen
