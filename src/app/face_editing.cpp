#include "app/face_editing.h"

#include "app/attributes_group.h"
#include "app/colour_guide_window.h"
#include "app/command_feedback.h"
#include "app/editor.h"
#include "app/lighting_editor_window.h"
#include "app/main_window.h"
#include "app/remap_help_window.h"
#include "app/render_window.h"
#include "app/texture_panel.h"
#include "meshedit/lighting.h"
#include "view3d/gl_view.h"
#include "view3d/mesh_scene.h"

#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QMouseEvent>
#include <QSignalBlocker>

namespace kavlen {

namespace {

MouseButton mouseButtonOf(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton:
        return MouseButton::Left;
    case Qt::RightButton:
        return MouseButton::Right;
    case Qt::MiddleButton:
        return MouseButton::Middle;
    default:
        return MouseButton::Other;
    }
}

// The figure's own transform as applyAndDraw issues it: translate, scale, rotate
// about x, y, z.
Matrix4 figureMatrix(const SceneFigure& figure) {
    Matrix4 m = translationMatrix(figure.position[0], figure.position[1], figure.position[2]);
    m = multiply(m, scaleMatrix(figure.scale[0], figure.scale[1], figure.scale[2]));
    m = multiply(m, rotationMatrix(figure.rotation[0], 1, 0, 0));
    m = multiply(m, rotationMatrix(figure.rotation[1], 0, 1, 0));
    return multiply(m, rotationMatrix(figure.rotation[2], 0, 0, 1));
}

// The undo step's caption for what a click did.
std::string clickCaption(FaceClickAction action) {
    switch (action) {
    case FaceClickAction::Apply:
        return "Texture click";
    case FaceClickAction::PaintLight:
        return "Paint light";
    case FaceClickAction::SwapVertices:
        return "Swap vertices";
    case FaceClickAction::MirrorTexture:
        return "Mirror texture";
    case FaceClickAction::TurnCorner:
        return "Turn triangle corner";
    case FaceClickAction::RotateOrder:
        return "Rotate vertex order";
    case FaceClickAction::HideFace:
        return "Hide face";
    default:
        return "Face click";
    }
}

} // namespace

FaceEditing::FaceEditing(Editor& editor) : QObject(&editor.mainWindow()), editor_(editor) {
    setObjectName("faceEditing");
    MainWindow& form = editor.mainWindow();
    attributes_ = new AttributesGroup(&form);
    form.addControlGroup(attributes_);
    colourGuide_ = new ColourGuideWindow(&form);
    lightingEditor_ = new LightingEditorWindow(&form);
    remapHelp_ = new RemapHelpWindow(&form);

    colourGuide_->shineChosen = [this](int k) { attributes_->setShining(k); };
    colourGuide_->opacityChosen = [this](OpacityChoice c) { attributes_->setOpacity(c); };
    lightingEditor_->lightsToggled = [this](bool on) { enableLights(on); };
    lightingEditor_->changeAll = [this](int intensity) { changeAllLighting(intensity); };
    // The "Mode" boxes are kept in the settings file.
    editor.addSettingsCollector([&form](EditorSettings& s) {
        s.modeTx = form.modeTx()->isChecked();
        s.modeSh = form.modeSh()->isChecked();
        s.modeOp = form.modeOp()->isChecked();
    });

    // After the view's own navigation has seen the press.
    connect(&editor.renderWindow().view(), &GLView::mouseDown, this, [this](QMouseEvent* event) {
        click(event->position(), event->button(), event->modifiers());
    });
}

FaceEditing::~FaceEditing() = default;

std::optional<PickView> FaceEditing::pickView() const {
    RenderWindow& render = editor_.renderWindow();
    const Viewport::FrameMatrices& frame = render.viewport().lastFrameMatrices();
    if (!frame.valid)
        return std::nullopt;
    PickView view;
    view.modelview = multiply(frame.modelview, figureMatrix(render.scene()));
    view.projection = frame.projection;
    view.viewportX = frame.viewport[0];
    view.viewportY = frame.viewport[1];
    view.viewportWidth = frame.viewport[2];
    view.viewportHeight = frame.viewport[3];
    return view;
}

RenderModeEntry FaceEditing::renderMode() const {
    const MeshScene* scene = editor_.renderWindow().meshScene();
    if (!scene)
        return RenderModeEntry::Wireframe;
    return renderModeEntryOfSceneMode(scene->renderMode).value_or(RenderModeEntry::Wireframe);
}

PickHit FaceEditing::pickAt(QPointF logical) const {
    const auto view = pickView();
    if (!view || !editor_.packageLoaded())
        return {};
    RenderWindow& render = editor_.renderWindow();
    const PickCursor cursor =
        cursorInDevicePixels(logical.x(), logical.y(), render.view().devicePixelRatioF());
    return pickInCurrentMesh(editor_.document(), editor_.selection().meshSlot(), renderMode(), *view,
                             cursor);
}

FaceClickInput FaceEditing::gatherInput(Qt::MouseButton button,
                                        Qt::KeyboardModifiers modifiers) const {
    FaceClickInput in;
    in.button = mouseButtonOf(button);
    in.keys.shift = modifiers.testFlag(Qt::ShiftModifier);
    in.keys.ctrl = modifiers.testFlag(Qt::ControlModifier);
    in.keys.alt = modifiers.testFlag(Qt::AltModifier);
    in.mode = renderMode();
    const MainWindow& form = editor_.mainWindow();
    in.modeBoxes = {form.modeTx()->isChecked(), form.modeSh()->isChecked(),
                    form.modeOp()->isChecked()};
    in.currentSample = editor_.selection().sample();
    in.shining = attributes_->shining();
    in.opacity = attributes_->opacity();
    in.pickedVertex = editor_.selection().pickedVertex();
    in.lighting = lightingEditor_->state();
    in.triangleType = colourGuide_->triangleType();
    return in;
}

FaceClickResult FaceEditing::click(QPointF logical, Qt::MouseButton button,
                                   Qt::KeyboardModifiers modifiers) {
    // Only the left button edits; the right one belongs to the camera.
    if (button != Qt::LeftButton || !editor_.packageLoaded())
        return {};
    const PickHit hit = pickAt(logical);
    if (!hit.found())
        return {};
    const int slot = editor_.selection().meshSlot();
    const FaceClickInput input = gatherInput(button, modifiers);
    FaceClickResult result;
    std::string caption;
    // One undo step per click that changed the mesh.
    editor_.edit(caption, EditScope::mesh(slot), [&] {
        result = clickInView(editor_.document(), slot, hit, input);
        caption = clickCaption(result.action);
    });
    applyResult(result);
    return result;
}

void FaceEditing::applyResult(const FaceClickResult& result) {
    editor_.selection().setPickedVertex(result.pickedVertex);
    if (result.opacity)
        attributes_->setOpacity(*result.opacity);
    if (result.shining)
        attributes_->setShining(*result.shining);
    if (result.triangleCorner)
        colourGuide_->checkCorner(*result.triangleCorner);
    if (result.lightIntensity)
        lightingEditor_->setIntensity(*result.lightIntensity);
    if (result.selectSample)
        editor_.selection().setSample(*result.selectSample);
    if (result.showHiddenFacesIndicator)
        emit hiddenFacesChanged(true);
    showMessages(result.messages);
}

void FaceEditing::showMessages(const Messages& messages) {
    showResultMessages(editor_, messages);
}

void FaceEditing::editCurrentMesh(const std::string& caption,
                                  const std::function<MeshEditResult(Package&, int)>& work) {
    const int slot = editor_.selection().meshSlot();
    MeshEditResult result;
    editor_.edit(caption, EditScope::mesh(slot), [&] { result = work(editor_.document(), slot); });
    showMessages(result.messages);
}

bool FaceEditing::lightsEnabled() const {
    return lightingEditor_->state().lightsEnabled;
}

void FaceEditing::enableLights(bool on) {
    if (MeshScene* scene = editor_.renderWindow().meshScene())
        scene->lightsEnabled = on ? 1 : 0;
    emit lightsEnabledChanged(on);
    editor_.renderWindow().invalidateScene();
}

void FaceEditing::changeAllLighting(int intensity) {
    const int slot = editor_.selection().meshSlot();
    if (!editor_.packageLoaded() || !meshInSlot(editor_.document(), slot))
        return;
    editor_.edit("Change All lighting", EditScope::mesh(slot), [&] {
        if (Mesh* mesh = meshInSlot(editor_.document(), slot))
            setStaticLighting(*mesh, intensity);
    });
}

void FaceEditing::selectRenderMode(RenderModeEntry mode) {
    RenderWindow& render = editor_.renderWindow();
    const int m = static_cast<int>(mode);
    {
        const QSignalBlocker quiet(render.renderModeList());
        render.renderModeList()->setCurrentIndex(m);
    }
    render.chooseRenderMode(m);
}

void FaceEditing::textureAll() {
    if (renderMode() != RenderModeEntry::Textured)
        selectRenderMode(RenderModeEntry::Textured);
    const int slot = editor_.selection().meshSlot();
    const Mesh* mesh = meshInSlot(editor_.document(), slot);
    // Nothing to texture, nothing to ask.
    if (!mesh || faceLoopCount(*mesh) == 0)
        return;
    if (!editor_.dialogs().askWarningOkCancel(textureAllQuestion().text))
        return;
    const int sample = editor_.selection().sample();
    editCurrentMesh("Texture All", [sample](Package& wad, int slot) {
        return kavlen::textureAll(wad, slot, sample);
    });
}

void FaceEditing::shineAll() {
    const int shining = attributes_->shining();
    editCurrentMesh("Shine All", [shining](Package& wad, int slot) {
        return kavlen::shineAll(wad, slot, shining);
    });
}

void FaceEditing::opaqueAll() {
    const OpacityChoice opacity = attributes_->opacity();
    editCurrentMesh("Opaque All", [opacity](Package& wad, int slot) {
        return kavlen::opaqueAll(wad, slot, opacity);
    });
}

void FaceEditing::rotateAll() {
    if (renderMode() != RenderModeEntry::Textured)
        selectRenderMode(RenderModeEntry::Textured);
    editCurrentMesh("Rotate All",
                    [](Package& wad, int slot) { return kavlen::rotateAll(wad, slot); });
}

void FaceEditing::unhideFaces() {
    editCurrentMesh("Unhide Faces",
                    [](Package& wad, int slot) { return kavlen::unhideFaces(wad, slot); });
    const Mesh* mesh = meshInSlot(editor_.document(), editor_.selection().meshSlot());
    if (mesh && mesh->hasHiddenFaces == 0)
        emit hiddenFacesChanged(false);
}

void FaceEditing::showLightingEditor() {
    lightingEditor_->show();
    lightingEditor_->raise();
}

void FaceEditing::showColourGuide() {
    colourGuide_->show();
    colourGuide_->raise();
    editor_.renderWindow().invalidateScene();
}

void FaceEditing::showRemapHelp() {
    remapHelp_->show();
    remapHelp_->raise();
}

} // namespace kavlen
