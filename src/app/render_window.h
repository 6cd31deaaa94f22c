// The render window: the GL view on a drawing panel that fills the window, with a
// row of controls along its top edge. It owns the viewport, the camera and the
// mesh scene; the scene is the one holder of the view state (current mesh,
// render mode, colours, display flags) that the controls and menus change.
#pragma once

#include "document/document_change.h"
#include "document/listener_list.h"
#include "document/package.h"
#include "view3d/camera.h"
#include "view3d/mesh_scene.h"
#include "view3d/viewport.h"

#include <QWidget>
#include <filesystem>
#include <string>
#include <vector>

class QComboBox;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QToolButton;

namespace kavlen {

class Editor;
class GLView;
class MoveablesWindow;
class OpenProcedure;

inline constexpr const char* kRenderWindowTitle = "Render window";

// The colours the View menu and the colour boxes change.
enum class ViewColour { Background, Line, Box, Point, Point2, Grid };

class RenderWindow : public QWidget {
    Q_OBJECT
  public:
    // `owner` is the main window; the render window stays above it.
    explicit RenderWindow(QWidget* owner);
    ~RenderWindow() override;

    Viewport& viewport() { return viewport_; }
    Camera& camera() { return camera_; }
    GLView& view() { return *view_; }
    // The mesh scene and the view state it draws from.
    MeshScene& scene() { return scene_; }
    const MeshScene& scene() const { return scene_; }
    MeshScene* meshScene() { return &scene_; }
    // Controls along the top edge.
    QHBoxLayout* controlsRow() const { return controlsRow_; }

    // Rebuilds the scene list at the next frame; the indicators follow the scene.
    void invalidateScene();
    // The mesh slot shown, -1 while none (the editor's selection holds it too).
    int currentMesh() const { return scene_.currentMesh; }
    // At left 420, top 22, to the right edge and 42 pixels above the bottom.
    void placeOnScreen();

    void registerOpenSteps(OpenProcedure& procedure);

    // Gives the scene the package; "solid.bmp" is read from `solidPicture` (a
    // built-in picture stands in when it is missing).
    void attachPackage(const Package& wad, std::filesystem::path solidPicture);
    // Connects the controls to the editor: name lists, dialogs, the main
    // window's mode boxes and status bar, the commands and the change listeners.
    void attachEditor(Editor& editor);
    // Remakes the GL textures of the given samples (all of them when empty).
    void uploadSamples(const std::vector<int>& samples);
    // Shows `mesh` with its face `face` highlighted; (-1, -1) ends the highlight.
    void showHighlightedFace(int mesh, int face);

    // "Render Mode" list entry m: sets the mode, enables the main window's
    // "Mode" boxes for it and rebuilds the scene.
    void chooseRenderMode(int listIndex);
    // "Moveables" list entry j (the entry after the moveables is the added
    // meshes): fills the "Meshes" list, selects its first (or last) entry and
    // chooses it. -1 empties the mesh group.
    void chooseMoveable(int index, bool selectLast = false);
    // "Meshes" list entry k of the chosen moveable: shows its slot and counts
    // the moveables that use it.
    void chooseMesh(int entry);
    // Shows `slot` where the lists hold it: in the first moveable that uses it,
    // else among the added meshes, else in the all-meshes list (a mesh chosen in
    // a report).
    void showMeshInLists(int slot);
    // Makes `slot` the current mesh: selects it in the all-meshes list, tells
    // the mesh-shown listeners, shows the "Hidden Faces" indicator and centres.
    void showMesh(int slot);
    // "Center": centres the current mesh on the origin and fits the view; sets
    // the caption and the main window's size panel.
    void centerView();
    // Brings the mesh lists up to date after slots were added. With
    // `selectLastAdded`, chooses "-- Added Meshes --" with its last mesh.
    void refreshMeshLists(bool selectLastAdded);
    // Clears the "Moveables" list's selection without choosing anything.
    void clearMoveableSelection();
    // Options > Show All Meshes list.
    void showAllMeshesList(bool shown);
    // The count button: shows the "Moveables" window while a mesh is selected.
    void showMoveablesWindow();
    // "Lights Enabled" and "Hidden Faces" follow the scene and the current mesh.
    void refreshIndicators();

    // The View colours, the colour boxes and the indicators.
    std::uint32_t viewColour(ViewColour which) const;
    void setViewColour(ViewColour which, std::uint32_t colour);
    // The colour dialog preset with the colour; OK applies the choice.
    void chooseViewColour(ViewColour which);
    // Background, line, box, point, point 2 and grid back to their defaults.
    void resetColors();
    // Re-uploads every sample with the filtering "Bilinear Filtering" asks for.
    void applyBilinearFiltering();

    // The controls, for the menus and tests.
    QComboBox* renderModeList() const { return renderModeList_; }
    QComboBox* moveablesList() const { return moveablesList_; }
    QComboBox* meshesList() const { return meshesList_; }
    QComboBox* allMeshesList() const { return allMeshesList_; }
    QGroupBox* meshesGroup() const { return meshesGroup_; }
    QGroupBox* allMeshesGroup() const { return allMeshesGroup_; }
    QToolButton* moveablesCountButton() const { return countButton_; }
    QPushButton* centerButton() const { return centerButton_; }
    QToolButton* colourBox(ViewColour which) const;
    QLabel* hiddenFacesIndicator() const { return hiddenFaces_; }
    QLabel* lightsEnabledIndicator() const { return lightsEnabled_; }
    MoveablesWindow* moveablesWindow() const { return moveablesWindow_; }

  private:
    // Runs `work` with the view's GL context current; does nothing before the
    // context exists (the view then uploads everything when it is made).
    template <typename Work> void withContext(Work work);
    bool bilinearFiltering() const;
    bool packageReady() const { return package_ && package_->isLoaded(); }
    void buildControls(QWidget* parent);
    void clearControls();
    void fillAllMeshesList();
    void fillMoveablesList();
    // Fills the "Meshes" list for moveables entry `index` and its caption;
    // returns the number of entries.
    int fillMeshesList(int index);
    // Selects entry k of the "Meshes" list and chooses it.
    void selectMeshEntry(int entry);
    void setMeshCaption();
    // The scene draws `slot` and the editor's selection names it.
    void setCurrentMesh(int slot);
    void setSizeStatus(const Mesh& mesh);
    void paintColourBoxes();
    // What an edit, undo or redo changed: re-uploads changed samples, rebuilds
    // the scene when the shown mesh changed, refreshes captions and lists.
    void documentChanged(const DocumentChange& change);
    std::vector<std::string> moveableLabelsOnly() const;

    const Package* package_ = nullptr;
    Editor* editor_ = nullptr;
    std::filesystem::path solidPicture_;

    Viewport viewport_;
    Camera camera_;
    MeshScene scene_;
    QHBoxLayout* controlsRow_ = nullptr;
    GLView* view_ = nullptr;

    bool showingMesh_ = false; // a mesh-shown listener may ask for the same mesh again
    QComboBox* renderModeList_ = nullptr;
    QComboBox* moveablesList_ = nullptr;
    QGroupBox* meshesGroup_ = nullptr;
    QComboBox* meshesList_ = nullptr;
    QToolButton* countButton_ = nullptr;
    QPushButton* centerButton_ = nullptr;
    QToolButton* bgBox_ = nullptr;
    QToolButton* lineBox_ = nullptr;
    QToolButton* boxBox_ = nullptr;
    QLabel* hiddenFaces_ = nullptr;
    QLabel* lightsEnabled_ = nullptr;
    QGroupBox* allMeshesGroup_ = nullptr;
    QComboBox* allMeshesList_ = nullptr;
    MoveablesWindow* moveablesWindow_ = nullptr;
    Subscription documentChanges_;
    Subscription selectionChanges_;
};

} // namespace kavlen
