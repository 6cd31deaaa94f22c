// The main window's texture controls: the page view with its page selector, the
// texture list and the "Current Texture" box, the cutting shape controls and the
// Preview window. It keeps the page view's selection state and runs the Textures
// menu commands over the core texture operations, showing their messages.
#pragma once

#include "app/editor_selection.h"
#include "document/edit_history.h"
#include "textures/cutting_shape.h"
#include "textures/sample_deletion.h"
#include "textures/samples.h"
#include "textures/texture_numbers.h"

#include <QObject>
#include <QString>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

class QComboBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QToolButton;
class QWidget;

namespace kavlen {

class Editor;
class OpenProcedure;
class TexturePageView;
class SwapTexturesWindow;
class ChooseTextureWindow;
class FindTextureWindow;

class TexturePanel : public QObject {
    Q_OBJECT
  public:
    explicit TexturePanel(Editor& editor);
    ~TexturePanel() override;

    void registerOpenSteps(OpenProcedure& procedure);

    // Menu commands ("Textures" and the Tav File commands of "File").
    void exportAtlas();
    void importAtlas();
    void addPageFromImage();
    void addBlankPage();
    void addNewTexture();
    void exportTexture();
    void importTexture();
    void cutFromShape();
    void chooseSelectionColour();
    void chooseShapeColour();
    void showPreview();
    void showSwapWindow();
    void showFindWindow();
    void findFirstFace();
    void findNextFace();
    // The swap window's "Swap" button.
    void swapSamples();
    void saveTavFile();
    void restoreTavFile();

    // Page selector changed.
    void selectPage(int page);
    // After samples or pages were deleted or the atlas repacked: the selections
    // follow their samples and every view is refilled.
    void atlasEdited(const AtlasEditResult& result);
    // View > tint of the unused samples' rectangles on the page view.
    void setTintUnused(bool on);
    bool tintUnused() const { return tintUnused_; }
    // One step of a shape spin button (what a click on its half does).
    void spin(ShapeSpinButton button, SpinHalf half, bool ctrl);

    // State, for the other views and for tests.
    int currentPage() const { return selection_.page(); }
    int selectedSample() const { return selection_.sample(); }
    int otherSample() const { return selection_.otherSample(); }
    const CuttingShape& shape() const { return selection_.cuttingShape(); }
    int previewZoom() const { return previewZoom_; }
    const std::vector<SampleHit>& lastHits() const { return hits_; }
    std::uint32_t highlightColour() const { return highlight_; }
    std::uint32_t shapeColour() const { return shapeColour_; }

    TexturePageView* pageView() const { return pageView_; }
    QComboBox* pageSelector() const { return pageSelector_; }
    QListWidget* textureList() const { return textureList_; }
    QLabel* currentTexture() const { return currentTexture_; }
    QPushButton* pickedButton() const { return pickedButton_; }
    QToolButton* cutButton() const { return cutButton_; }
    QLabel* shapeLabel() const { return shapeLabel_; }
    QToolButton* spinButton(ShapeSpinButton button, SpinHalf half) const;
    bool chooseTarget() const { return chooseTarget_; }
    SwapTexturesWindow* swapWindow() const { return swap_; }
    ChooseTextureWindow* chooseWindow() const { return choose_; }
    FindTextureWindow* findWindow() const { return find_; }
    QWidget* previewWindow() const { return preview_; }
    QLabel* previewPicture() const { return previewPicture_; }

  private:
    void buildControls();
    void fillPageSelector();
    void fillTextureList();
    void markUnusedSamples();
    void textureListClicked(int row);
    void showSelectedSample();
    void showOtherSample();
    void redrawPageView();
    void updateCutPreview();
    void fillPreview(const Bitmap24& picture, const QString& caption);
    void setPicked(const std::string& caption, bool enabled);
    void selectListRow(int row);
    void otherListClicked(int row);
    void chooseEntryClicked(const QString& entry);
    void updateSwapButton();
    void showMessages(const std::vector<Message>& messages);
    void documentChanged(const DocumentChange& change);
    void selectionChanged(EditorSelection::Part part);
    void selectSample(int sample);

    void pagePressed(int x, int y, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void pageMoved(int x, int y);
    void pageReleased();

    Editor& editor_;
    EditorSelection& selection_; // the editor's: sample, other sample, page, cutting shape
    Subscription documentChanges_;
    Subscription selectionChanges_;
    bool selectingSample_ = false;
    int previewZoom_ = 2;
    bool chooseTarget_ = false; // the last sample shown was the other one
    bool tintUnused_ = false;
    std::vector<SampleHit> hits_; // the last page pick's hits (Choose Texture entries)
    std::uint32_t highlight_ = 0x00FFFFFF;
    std::uint32_t shapeColour_ = 0x000000FF;

    TexturePageView* pageView_ = nullptr;
    QComboBox* pageSelector_ = nullptr;
    QListWidget* textureList_ = nullptr;
    QLabel* currentTexture_ = nullptr;
    QPushButton* pickedButton_ = nullptr;
    QToolButton* cutButton_ = nullptr;
    QLabel* shapeLabel_ = nullptr;
    std::array<QToolButton*, 8> spinButtons_{};
    SwapTexturesWindow* swap_ = nullptr;
    ChooseTextureWindow* choose_ = nullptr;
    FindTextureWindow* find_ = nullptr;
    FindState findState_;
    QWidget* preview_ = nullptr;
    QLabel* previewPicture_ = nullptr;
};

} // namespace kavlen
