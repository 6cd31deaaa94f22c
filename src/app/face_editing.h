// Face editing in the editor: a left click in the render window picks the face
// (or vertex) under the mouse and does what the keys and the render mode say,
// reading the main window's "Mode" boxes, texture list and "Attributes" group,
// the Lighting Editor and the colour guide, and writing the results back into
// them. The Faces menu commands and the windows they share live here too.
#pragma once

#include "meshedit/face_click.h"
#include "meshedit/mesh_edit.h"

#include <QObject>
#include <QPointF>
#include <functional>
#include <optional>
#include <string>

class QMouseEvent;

namespace kavlen {

class AttributesGroup;
class ColourGuideWindow;
class Editor;
class LightingEditorWindow;
class RemapHelpWindow;
class TexturePanel;

class FaceEditing : public QObject {
    Q_OBJECT
  public:
    // Adds the "Attributes" group to the main window and creates the tool
    // windows; clicks in the render window's view come here from now on.
    explicit FaceEditing(Editor& editor);
    ~FaceEditing() override;

    AttributesGroup& attributes() const { return *attributes_; }
    ColourGuideWindow& colourGuide() const { return *colourGuide_; }
    LightingEditorWindow& lightingEditor() const { return *lightingEditor_; }
    RemapHelpWindow& remapHelp() const { return *remapHelp_; }

    // The matrices the last frame drew the mesh with; none before the first frame.
    std::optional<PickView> pickView() const;
    // The render mode the view draws in.
    RenderModeEntry renderMode() const;
    // What a click at `logical` (the view's logical pixels) picks, without acting.
    PickHit pickAt(QPointF logical) const;
    // A press in the view: pick, act on the document, update the windows.
    FaceClickResult click(QPointF logical, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);

    // "&Enable Lights" of the Lighting Editor, which the view's shading follows.
    bool lightsEnabled() const;

    // Faces menu.
    void textureAll();
    void shineAll();
    void opaqueAll();
    void rotateAll();
    void unhideFaces();
    // Edit and Help menus.
    void showLightingEditor();
    void showColourGuide();
    void showRemapHelp();

    // Selects the render window's "Render Mode" entry and applies it (Texture
    // All and Rotate All switch to "Textured").
    void selectRenderMode(RenderModeEntry mode);

  signals:
    // The render window's "Lights Enabled" indicator follows this.
    void lightsEnabledChanged(bool on);
    // The render window's "Hidden Faces" indicator: shown after a face was hidden,
    // hidden after Unhide Faces.
    void hiddenFacesChanged(bool shown);

  private:
    FaceClickInput gatherInput(Qt::MouseButton button, Qt::KeyboardModifiers modifiers) const;
    void applyResult(const FaceClickResult& result);
    void showMessages(const Messages& messages);
    // Runs a mesh command on the current mesh as one undo step.
    void editCurrentMesh(const std::string& caption,
                         const std::function<MeshEditResult(Package&, int)>& work);
    void changeAllLighting(int intensity);
    void enableLights(bool on);

    Editor& editor_;
    AttributesGroup* attributes_ = nullptr;
    ColourGuideWindow* colourGuide_ = nullptr;
    LightingEditorWindow* lightingEditor_ = nullptr;
    RemapHelpWindow* remapHelp_ = nullptr;
};

} // namespace kavlen
