// The steps that refill the views after a package was read. Each view adds its
// own steps at the stage where it belongs; a stage's steps run in the order they
// were added. After the clearing stages, the texture upload and the texture
// lists, pending window messages are processed so the windows repaint while a
// large package opens; the last stages run through to the first frame.
#pragma once

#include "document/package.h"

#include <functional>
#include <vector>

namespace kavlen {

enum class OpenStage {
    ClearMainWindow = 2,      // title "Loading...", empty page selector, texture and statics lists
    ClearRenderWindow = 3,    // selections, title, mesh group, mesh and moveable lists
    ClearImagesAndStatus = 4, // page and sample images, current mesh -1, status bar, boxes
    FillMeshList = 5,         // "Mesh #" entries of the render window
    UploadTextures = 6,       // GL textures of the samples
    BuildAtlas = 7,           // atlas bitmap and page selector
    FillTextureLists = 8,     // "Texture#" entries, page view redraw
    FillObjectLists = 9,      // statics and moveables with their names
    SelectObjects = 10,       // moveable and mesh selection, textured mode
    ShowFirstMesh = 11,       // current mesh 0, bounds, fit the view
};

// Whether pending window messages are processed after the stage.
bool repaintsAfter(OpenStage stage);

class OpenProcedure {
  public:
    using Step = std::function<void(Package& wad)>;

    void addStep(OpenStage stage, Step step);
    // Runs every step in stage order, calling `pump` after each stage that
    // repaints.
    void run(Package& wad, const std::function<void()>& pump) const;

  private:
    struct Entry {
        OpenStage stage;
        Step step;
    };
    std::vector<Entry> steps_;
};

} // namespace kavlen
