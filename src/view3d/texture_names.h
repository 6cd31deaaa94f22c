// GL names of the view's textures.
//
// The scene speaks of sample n as texture n + 1 and of the Solid mode picture
// as texture 4097. The GL names behind them are generated rather than used
// directly, because the GL view's context also holds textures of its own (Qt
// renders the view into a framebuffer texture), and a fixed name such as 1
// would overwrite one of those. Each texture keeps its GL name until it is
// deleted, so display lists that bind it stay valid across re-uploads.
#pragma once

#include "view3d/texture_pixels.h"

#include <array>

namespace kavlen {

class SceneTextures {
  public:
    // The GL name of texture `name` (1..4097), 0 when it has not been made.
    unsigned glName(unsigned name) const;
    bool contains(unsigned name) const { return glName(name) != 0; }

    // Binds a fresh, empty texture object for `name` (the previous one of that
    // name is deleted; its GL name is kept). Needs a current context.
    void bindFresh(unsigned name);
    // Deletes texture `name` when it exists. Needs a current context.
    void remove(unsigned name);
    // Deletes every texture made through this table. Needs a current context.
    void removeAll();

  private:
    std::array<unsigned, kSolidTextureName + 1> glNames_{};
};

} // namespace kavlen
