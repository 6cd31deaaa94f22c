#include "app/render_window.h"

#include "app/open_procedure.h"
#include "view3d/gl_view.h"
#include "view3d/mesh_bounds.h"
#include "view3d/reference_figure.h"
#include "view3d/scene.h"
#include "view3d/texture_upload.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QOpenGLContext>
#include <QScreen>
#include <QVBoxLayout>
#include <clocale>

namespace kavlen {

namespace {
// One above the largest face or vertex selection name.
constexpr std::uint32_t kOpenedIgnoreName = 1501;
} // namespace

TForm4::TForm4(QWidget* owner)
    : QWidget(owner, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowMinMaxButtonsHint) {
    setWindowTitle(kRenderWindowTitle);
    // Numbers shown and written anywhere in the process use a point as decimal
    // separator, whatever the user's locale.
    QLocale::setDefault(QLocale::c());
    std::setlocale(LC_NUMERIC, "C");

    viewport_.colorBits = 24;
    viewport_.setCamera(&camera_);
    scene_ = std::make_unique<TReferenceFigure>(renderState_);
    viewport_.onDraw = [this] {
        syncSceneFromState();
        scene_->applyAndDraw();
    };

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    controlsRow_ = new QHBoxLayout; // takes no room until controls are added
    controlsRow_->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(controlsRow_);
    view_ = new GLView(viewport_, this);
    view_->setMinimumSize(64, 64);
    layout->addWidget(view_, 1);

    placeOnScreen();
}

TForm4::~TForm4() {
    // The view uses the viewport, which goes before the base class deletes
    // the children.
    delete view_;
}

void TForm4::attachPackage(const twad& wad, std::filesystem::path solidPicture) {
    package_ = &wad;
    solidPicture_ = std::move(solidPicture);
    auto scene = std::make_unique<tr_scene>(wad);
    meshScene_ = scene.get();
    setScene(std::move(scene));
    // Textures live as long as the view's context.
    connect(view_, &GLView::contextReady, this, [this] {
        if (!meshScene_)
            return;
        uploadSolidTexture(meshScene_->textures, solidPicture_);
        if (package_ && package_->isLoaded())
            uploadAllSamples(meshScene_->textures, *package_, viewport_.colorBits, false);
    });
    connect(view_, &GLView::contextLost, this, [this] {
        if (meshScene_)
            deleteSceneTextures(meshScene_->textures);
    });
}

template <typename Work> void TForm4::withContext(Work work) {
    if (!view_->context() || !view_->context()->isValid())
        return;
    view_->makeCurrent();
    work();
    view_->doneCurrent();
}

void TForm4::uploadSamples(const std::vector<int>& samples) {
    if (!meshScene_ || !package_ || !package_->isLoaded())
        return;
    withContext([&] {
        if (samples.empty()) {
            uploadAllSamples(meshScene_->textures, *package_, viewport_.colorBits, false);
            return;
        }
        for (int n : samples) {
            if (n >= 0 && static_cast<std::size_t>(n) < package_->texInfoCount)
                uploadSample(meshScene_->textures, *package_, static_cast<std::size_t>(n),
                             viewport_.colorBits, false);
        }
    });
    viewport_.invalidateScene();
}

void TForm4::showHighlightedFace(int mesh, int face) {
    if (!meshScene_)
        return;
    tr_scene& s = *meshScene_;
    const bool valid = package_ && mesh >= 0 && mesh < package_->meshCount && face >= 0;
    s.highlightOn = valid ? 1 : 0;
    s.highlightMesh = valid ? mesh : -1;
    s.highlightFace = valid ? face : -1;
    if (valid && renderState_.currentMesh != mesh) {
        renderState_.currentMesh = mesh;
        fitToCurrentMesh(*package_);
    }
    viewport_.invalidateScene();
}

// The window's controls keep the view state in `renderState_`; the mesh scene
// draws from its own fields, brought up to date before each compile.
void TForm4::syncSceneFromState() {
    if (!meshScene_)
        return;
    tr_scene& s = *meshScene_;
    s.currentMesh = renderState_.currentMesh;
    s.showAxes = renderState_.showAxes;
    s.showGrid = renderState_.showGrid;
    s.outlineFaces = renderState_.outlineFaces;
    s.untexturedWhite = renderState_.untexturedWhite;
    s.stippleOn = renderState_.stippleOn;
    s.stipplePattern = renderState_.stipplePattern;
    s.lineColor = renderState_.lineColor;
    s.boxColor = renderState_.boxColor;
    s.pointColor = renderState_.pointColor;
    s.point2Color = renderState_.point2Color;
    s.gridColor = renderState_.gridColor;
}

void TForm4::setScene(std::unique_ptr<tglfigure> scene) {
    scene_ = std::move(scene);
    viewport_.invalidateScene();
}

void TForm4::placeOnScreen() {
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

void TForm4::fitToCurrentMesh(const twad& wad) {
    const int slot = renderState_.currentMesh;
    if (slot >= 0 && slot < wad.meshCount && static_cast<std::size_t>(slot) < wad.meshes.size())
        setFigureBoundsToMesh(*scene_, wad.meshes[static_cast<std::size_t>(slot)]);
    else
        scene_->resetBounds();
    if (scene_->boundMin[0] > scene_->boundMax[0]) // no vertices: frame the origin
        scene_->boundMin = scene_->boundMax = {0, 0, 0};
    viewport_.setBoundsFromFigure(*scene_);
    viewport_.fitView();
    viewport_.invalidateScene();
}

void TForm4::registerOpenSteps(OpenProcedure& procedure) {
    procedure.addStep(OpenStage::ClearMainWindow,
                      [this](twad&) { viewport_.ignoreName = kOpenedIgnoreName; });
    procedure.addStep(OpenStage::ClearRenderWindow,
                      [this](twad&) { setWindowTitle(kRenderWindowTitle); });
    procedure.addStep(OpenStage::ClearImagesAndStatus, [this](twad&) {
        renderState_.currentMesh = -1;
        viewport_.invalidateScene();
    });
    procedure.addStep(OpenStage::ShowFirstMesh, [this](twad& wad) {
        if (meshScene_) {
            meshScene_->overlayName = kOpenedIgnoreName;
            uploadSamples({});
        }
        renderState_.currentMesh = 0;
        fitToCurrentMesh(wad);
    });
}

} // namespace kavlen
