// Minimal drawable interface of the scene: something the GL view can replay.
//
// The GL view compiles whatever `Draw` issues into its display list, so `Draw`
// must only issue GL commands into the current context and never query GL
// state it depends on.
#pragma once

namespace kavlen {

class SceneFigure {
  public:
    virtual ~SceneFigure() = default;
    // Issues the figure's geometry (legacy GL 1.1) into the current context.
    virtual void Draw() = 0;
};

} // namespace kavlen
