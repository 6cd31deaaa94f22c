#include "app/render_window.h"

#include "app/editor.h"
#include "app/moveables_window.h"
#include "app/open_procedure.h"
#include "view3d/gl_view.h"
#include "view3d/texture_upload.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QOpenGLContext>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <clocale>

namespace kavlen {

namespace {
// One above the largest face or vertex selection name.
constexpr std::uint32_t kOpenedIgnoreName = 1501;
constexpr int kTexturedListIndex = 2;

// The strip that holds the row of controls: it scrolls sideways when the window
// is narrower than the row, and is exactly as high as the row (plus the scroll
// bar while one is shown).
class ControlsStrip : public QScrollArea {
  public:
    explicit ControlsStrip(QWidget* parent) : QScrollArea(parent) {
        setFrameShape(QFrame::NoFrame);
        setWidgetResizable(true);
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    }

    void fitHeight() {
        if (!widget())
            return;
        int height = widget()->sizeHint().height();
        if (widget()->minimumSizeHint().width() > width())
            height += horizontalScrollBar()->sizeHint().height();
        if (height != this->height())
            setFixedHeight(height);
    }

  protected:
    void resizeEvent(QResizeEvent* event) override {
        QScrollArea::resizeEvent(event);
        fitHeight();
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == widget() && event->type() == QEvent::LayoutRequest)
            fitHeight();
        return QScrollArea::eventFilter(watched, event);
    }
};
} // namespace

RenderWindow::RenderWindow(QWidget* owner)
    : QWidget(owner, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowMinMaxButtonsHint) {
    setWindowTitle(kRenderWindowTitle);
    // Numbers shown and written anywhere in the process use a point as decimal
    // separator, whatever the user's locale.
    QLocale::setDefault(QLocale::c());
    std::setlocale(LC_NUMERIC, "C");

    viewport_.colorBits = 24;
    viewport_.setCamera(&camera_);
    viewport_.onDraw = [this] { scene_.applyAndDraw(); };

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* strip = new ControlsStrip(this);
    auto* controls = new QWidget(strip);
    controlsRow_ = new QHBoxLayout(controls);
    controlsRow_->setContentsMargins(4, 2, 4, 2);
    buildControls(controls);
    strip->setWidget(controls);
    strip->fitHeight();
    layout->addWidget(strip);
    view_ = new GLView(viewport_, this);
    view_->setMinimumSize(64, 64);
    layout->addWidget(view_, 1);

    placeOnScreen();
}

RenderWindow::~RenderWindow() {
    // The view uses the viewport, which goes before the base class deletes
    // the children.
    delete view_;
}

void RenderWindow::attachPackage(const Package& wad, std::filesystem::path solidPicture) {
    package_ = &wad;
    solidPicture_ = std::move(solidPicture);
    scene_.document = &wad;
    viewport_.invalidateScene();
    // Textures live as long as the view's context.
    connect(view_, &GLView::contextReady, this, [this] {
        uploadSolidTexture(scene_.textures, solidPicture_);
        if (packageReady())
            uploadAllSamples(scene_.textures, *package_, viewport_.colorBits, bilinearFiltering());
    });
    connect(view_, &GLView::contextLost, this, [this] { deleteSceneTextures(scene_.textures); });
}

void RenderWindow::setCurrentMesh(int slot) {
    scene_.currentMesh = slot;
    scene_.pickedVertex = -1;
    if (editor_) {
        editor_->selection().setMeshSlot(slot);
        editor_->selection().setPickedVertex(-1);
    }
}

void RenderWindow::attachEditor(Editor& editor) {
    editor_ = &editor;
    selectionChanges_ = editor.selection().onChange([this](EditorSelection::Part part) {
        // The picked vertex is drawn in its own colour.
        if (part == EditorSelection::Part::PickedVertex &&
            scene_.pickedVertex != editor_->selection().pickedVertex()) {
            scene_.pickedVertex = editor_->selection().pickedVertex();
            invalidateScene();
        }
    });
    documentChanges_ = editor.history().onChange(
        [this](const DocumentChange& change) { documentChanged(change); });
}

template <typename Work> void RenderWindow::withContext(Work work) {
    if (!view_->context() || !view_->context()->isValid())
        return;
    view_->makeCurrent();
    work();
    view_->doneCurrent();
}

bool RenderWindow::bilinearFiltering() const {
    return editor_ && editor_->commands().isChecked("BilinearFiltering");
}

void RenderWindow::uploadSamples(const std::vector<int>& samples) {
    if (!packageReady())
        return;
    const bool bilinear = bilinearFiltering();
    withContext([&] {
        if (samples.empty()) {
            uploadAllSamples(scene_.textures, *package_, viewport_.colorBits, bilinear);
            return;
        }
        for (int n : samples) {
            if (n >= 0 && static_cast<std::size_t>(n) < package_->texInfoCount)
                uploadSample(scene_.textures, *package_, static_cast<std::size_t>(n),
                             viewport_.colorBits, bilinear);
        }
    });
    viewport_.invalidateScene();
}

void RenderWindow::showHighlightedFace(int mesh, int face) {
    const bool valid = package_ && mesh >= 0 && mesh < package_->meshCount && face >= 0;
    scene_.highlightOn = valid ? 1 : 0;
    scene_.highlightMesh = valid ? mesh : -1;
    scene_.highlightFace = valid ? face : -1;
    if (valid && scene_.currentMesh != mesh)
        showMesh(mesh);
    viewport_.invalidateScene();
}

void RenderWindow::placeOnScreen() {
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect all = screen->geometry();
    QRect wanted(all.left() + 420, all.top() + 22, all.width() - 420, all.height() - 42 - 22);
    // Never under a panel of the desktop.
    wanted = wanted.intersected(screen->availableGeometry());
    move(wanted.topLeft());
    resize(wanted.size().expandedTo(QSize(320, 240)));
}

void RenderWindow::registerOpenSteps(OpenProcedure& procedure) {
    procedure.addStep(OpenStage::ClearMainWindow, [this](Package&) {
        viewport_.ignoreName = kOpenedIgnoreName;
        scene_.overlayName = kOpenedIgnoreName;
    });
    procedure.addStep(OpenStage::ClearRenderWindow, [this](Package&) { clearControls(); });
    procedure.addStep(OpenStage::ClearImagesAndStatus, [this](Package&) {
        setCurrentMesh(-1);
        viewport_.invalidateScene();
    });
    procedure.addStep(OpenStage::FillMeshList, [this](Package&) { fillAllMeshesList(); });
    procedure.addStep(OpenStage::UploadTextures, [this](Package&) { uploadSamples({}); });
    procedure.addStep(OpenStage::FillObjectLists, [this](Package&) { fillMoveablesList(); });
    procedure.addStep(OpenStage::SelectObjects, [this](Package&) {
        chooseMoveable(moveablesList_->currentIndex());
        if (editor_ && editor_->commands().isChecked("OpenTextured")) {
            const QSignalBlocker blocker(renderModeList_);
            renderModeList_->setCurrentIndex(kTexturedListIndex);
            chooseRenderMode(kTexturedListIndex);
        }
    });
    procedure.addStep(OpenStage::ShowFirstMesh, [this](Package& wad) {
        // The view always opens on mesh 0; the lists and the boundary data
        // follow it when the first moveable's mesh was another one.
        if (wad.meshCount > 0 && scene_.currentMesh != 0) {
            showMesh(0);
            return;
        }
        setCurrentMesh(0);
        if (wad.meshCount > 0) {
            centerView();
            return;
        }
        // No mesh to frame: the origin.
        scene_.position = {0, 0, 0};
        scene_.boundMin = scene_.boundMax = {0, 0, 0};
        viewport_.setBoundsFromFigure(scene_);
        viewport_.fitView();
        viewport_.invalidateScene();
    });
}

} // namespace kavlen
