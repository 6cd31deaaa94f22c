// The Textures menu's housekeeping commands over the core operations: "Delete
// Texture", "Remove Unused Textures", "Delete Page" and "Compact Atlas", and the
// View menu's tint of unused samples on the page view.
#pragma once

namespace kavlen {

class Editor;
class TexturePanel;

class TextureHousekeeping {
  public:
    TextureHousekeeping(Editor& editor, TexturePanel& panel);

    // Deletes the selected sample. A used sample needs a replacement: the other
    // sample (picked with Ctrl + right click on the page), after a question.
    void deleteTexture();
    void removeUnusedTextures();
    // Deletes the page shown in the page view.
    void deletePage();
    void compactAtlas();

  private:
    Editor& editor_;
    TexturePanel& panel_;
};

// Adds the four commands to the Textures menu and the tint switch to the View menu.
void addTextureHousekeepingCommands(Editor& editor, TexturePanel& panel);

} // namespace kavlen
