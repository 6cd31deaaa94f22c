// The editor's tool windows, made once at start in one place and owned by the
// main window, so each stays above it and goes to its screen; they are shown and
// hidden for the rest of the run. The first time one is shown it gets a size
// that shows all its content and a place where it covers neither the texture
// page nor the middle of the 3D view; after that it reopens where it was left.
#pragma once

#include <QObject>
#include <QRect>
#include <vector>

class QLabel;
class QWidget;

namespace kavlen {

class AboutMeshWindow;
class AboutMeshesWindow;
class ChooseTextureWindow;
class ColourGuideWindow;
class Editor;
class FindTextureWindow;
class KeysGuideWindow;
class LightingEditorWindow;
class MainWindow;
class MoveMeshWindow;
class MoveablesWindow;
class RemapHelpWindow;
class RemapWindow;
class SwapTexturesWindow;

class ToolWindows : public QObject {
    Q_OBJECT
  public:
    // The main window and the render window must exist already.
    ToolWindows(Editor& editor, MainWindow& owner);

    MoveMeshWindow& moveMesh() const { return *moveMesh_; }
    RemapWindow& remap() const { return *remap_; }
    LightingEditorWindow& lightingEditor() const { return *lightingEditor_; }
    SwapTexturesWindow& swapTextures() const { return *swap_; }
    FindTextureWindow& findTexture() const { return *find_; }
    ChooseTextureWindow& chooseTexture() const { return *choose_; }
    QWidget& preview() const { return *preview_; }
    QLabel& previewPicture() const { return *previewPicture_; }
    MoveablesWindow& moveables() const { return *moveables_; }
    AboutMeshWindow& aboutMesh() const { return *aboutMesh_; }
    AboutMeshesWindow& aboutMeshes() const { return *aboutMeshes_; }
    ColourGuideWindow& colourGuide() const { return *colourGuide_; }
    KeysGuideWindow& keysGuide() const { return *keysGuide_; }
    RemapHelpWindow& remapHelp() const { return *remapHelp_; }

    // Every tool window, in the order above.
    std::vector<QWidget*> all() const;

    // Where a window of `size` (with its frame) goes inside `screen` so that it
    // overlaps the `keepClear` areas as little as possible (`overlap`, in square
    // pixels), preferring the top right of the screen.
    struct Placement {
        QPoint at;
        long long overlap = 0;
    };
    static Placement placeClearOf(QSize size, QRect screen, const std::vector<QRect>& keepClear);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void adopt(QWidget* window);
    void placeFirstTime(QWidget& window);

    Editor& editor_;
    MainWindow& owner_;
    MoveMeshWindow* moveMesh_ = nullptr;
    RemapWindow* remap_ = nullptr;
    LightingEditorWindow* lightingEditor_ = nullptr;
    SwapTexturesWindow* swap_ = nullptr;
    FindTextureWindow* find_ = nullptr;
    ChooseTextureWindow* choose_ = nullptr;
    QWidget* preview_ = nullptr;
    QLabel* previewPicture_ = nullptr;
    MoveablesWindow* moveables_ = nullptr;
    AboutMeshWindow* aboutMesh_ = nullptr;
    AboutMeshesWindow* aboutMeshes_ = nullptr;
    ColourGuideWindow* colourGuide_ = nullptr;
    KeysGuideWindow* keysGuide_ = nullptr;
    RemapHelpWindow* remapHelp_ = nullptr;
    std::vector<QWidget*> placed_;
};

} // namespace kavlen
