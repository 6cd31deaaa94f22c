// The render window's row of controls: render mode, moveables and meshes lists,
// the moveables-count button, "Center", the colour boxes, the indicators and the
// hidden list of all meshes; and the view colours they show.
// Before any Qt header: Qt defines "slots" as a macro.
#include "meshedit/mesh_reports.h"

#include "app/busy_cursor.h"
#include "app/editor.h"
#include "app/main_window.h"
#include "app/moveables_window.h"
#include "app/name_lists.h"
#include "app/qt_text.h"
#include "app/render_window.h"
#include "document/bounds.h"
#include "view3d/mesh_bounds.h"
#include "view3d/render_modes.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QToolButton>

namespace kavlen {

namespace {

constexpr int kShineListIndex = 5;
constexpr int kTransparencyListIndex = 6;
constexpr int kFirstDiagnosticListIndex = 3; // "Points": from here the modes draw no texture

QColor qColour(std::uint32_t bgr) {
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

// Every bit of the 24-bit colour inverted.
std::uint32_t complement(std::uint32_t bgr) {
    return ~bgr & 0x00FFFFFFu;
}

QString meshEntry(int n) {
    return QStringLiteral("Mesh #%1").arg(n);
}

QGroupBox* addGroup(QHBoxLayout* row, QWidget* parent, const QString& caption) {
    auto* group = new QGroupBox(caption, parent);
    auto* layout = new QHBoxLayout(group);
    layout->setContentsMargins(4, 2, 4, 2);
    row->addWidget(group);
    return group;
}

} // namespace

void RenderWindow::buildControls(QWidget* parent) {
    QGroupBox* mode = addGroup(controlsRow_, parent, "Render Mode");
    renderModeList_ = new QComboBox(mode);
    for (std::string_view entry : kRenderModeEntries)
        renderModeList_->addItem(toQt(std::string(entry)));
    mode->layout()->addWidget(renderModeList_);
    connect(renderModeList_, &QComboBox::currentIndexChanged, this,
            &RenderWindow::chooseRenderMode);

    QGroupBox* moveables = addGroup(controlsRow_, parent, "Moveables");
    moveablesList_ = new QComboBox(moveables);
    moveablesList_->setMinimumContentsLength(18);
    moveables->layout()->addWidget(moveablesList_);
    connect(moveablesList_, &QComboBox::currentIndexChanged, this,
            [this](int index) { chooseMoveable(index); });

    meshesGroup_ = addGroup(controlsRow_, parent, "Meshes");
    meshesList_ = new QComboBox(meshesGroup_);
    meshesList_->setMinimumContentsLength(9);
    meshesGroup_->layout()->addWidget(meshesList_);
    countButton_ = new QToolButton(meshesGroup_);
    countButton_->setEnabled(false);
    countButton_->setMinimumWidth(24);
    meshesGroup_->layout()->addWidget(countButton_);
    connect(meshesList_, &QComboBox::currentIndexChanged, this, &RenderWindow::chooseMesh);
    connect(countButton_, &QToolButton::clicked, this, &RenderWindow::showMoveablesWindow);

    QGroupBox* camera = addGroup(controlsRow_, parent, "Camera");
    centerButton_ = new QPushButton("Center", camera);
    camera->layout()->addWidget(centerButton_);
    connect(centerButton_, &QPushButton::clicked, this, &RenderWindow::centerView);

    QGroupBox* colours = addGroup(controlsRow_, parent, "Colors");
    const auto colourBox = [&](const char* caption, ViewColour which) {
        auto* box = new QToolButton(colours);
        box->setText(caption);
        box->setMinimumWidth(36);
        colours->layout()->addWidget(box);
        connect(box, &QToolButton::clicked, this, [this, which] { chooseViewColour(which); });
        return box;
    };
    bgBox_ = colourBox("BG", ViewColour::Background);
    lineBox_ = colourBox("Line", ViewColour::Line);
    boxBox_ = colourBox("Box", ViewColour::Box);

    for (QLabel** indicator : {&hiddenFaces_, &lightsEnabled_}) {
        *indicator =
            new QLabel(indicator == &hiddenFaces_ ? "Hidden Faces" : "Lights Enabled", parent);
        (*indicator)->setAutoFillBackground(true);
        (*indicator)->setFrameShape(QFrame::Box);
        (*indicator)->setMargin(3);
        (*indicator)->hide();
        controlsRow_->addWidget(*indicator);
    }

    allMeshesGroup_ = addGroup(controlsRow_, parent, "All Meshes");
    allMeshesList_ = new QComboBox(allMeshesGroup_);
    allMeshesList_->setMinimumContentsLength(9);
    allMeshesGroup_->layout()->addWidget(allMeshesList_);
    allMeshesGroup_->hide();
    connect(allMeshesList_, &QComboBox::currentIndexChanged, this, &RenderWindow::showMesh);

    controlsRow_->addStretch(1);
    moveablesWindow_ = new MoveablesWindow(this);
    paintColourBoxes();
}

void RenderWindow::clearControls() {
    const QSignalBlocker a(moveablesList_), b(meshesList_), c(allMeshesList_);
    setWindowTitle(kRenderWindowTitle);
    meshesGroup_->setTitle("Meshes");
    countButton_->setText({});
    countButton_->setEnabled(false);
    countButton_->setToolTip({});
    meshesList_->clear();
    moveablesList_->clear();
    allMeshesList_->clear();
    moveablesWindow_->setLines({});
    hiddenFaces_->hide();
}

void RenderWindow::fillAllMeshesList() {
    const QSignalBlocker blocker(allMeshesList_);
    allMeshesList_->clear();
    if (!packageReady())
        return;
    QStringList entries;
    for (int i = 0; i < package_->meshCount; ++i)
        entries << meshEntry(i);
    allMeshesList_->addItems(entries);
    allMeshesList_->setCurrentIndex(
        scene_.currentMesh < allMeshesList_->count() ? scene_.currentMesh : -1);
}

void RenderWindow::fillMoveablesList() {
    const QSignalBlocker blocker(moveablesList_);
    moveablesList_->clear();
    if (!packageReady() || !editor_)
        return;
    QStringList entries;
    for (const std::string& label : moveableLabels(*package_, editor_->moveableNames()))
        entries << toQt(label);
    moveablesList_->addItems(entries);
    moveablesList_->setCurrentIndex(entries.isEmpty() ? -1 : 0);
}

std::vector<std::string> RenderWindow::moveableLabelsOnly() const {
    std::vector<std::string> labels;
    const int moveables = packageReady() ? std::min(moveablesList_->count(),
                                                    static_cast<int>(package_->moveableCount))
                                         : 0;
    for (int i = 0; i < moveables; ++i)
        labels.push_back(toStd(moveablesList_->itemText(i)));
    return labels;
}

void RenderWindow::chooseRenderMode(int listIndex) {
    scene_.setRenderModeFromList(listIndex);
    if (editor_) {
        // Face clicks set only what the mode shows.
        MainWindow& form = editor_->mainWindow();
        const bool all = listIndex < kFirstDiagnosticListIndex;
        form.modeTx()->setEnabled(all);
        form.modeSh()->setEnabled(all || listIndex == kShineListIndex);
        form.modeOp()->setEnabled(all || listIndex == kTransparencyListIndex);
    }
    viewport_.invalidateScene();
}

int RenderWindow::fillMeshesList(int index) {
    const QSignalBlocker blocker(meshesList_);
    meshesList_->clear();
    if (!packageReady() || index < 0 || index >= moveablesList_->count()) {
        meshesGroup_->setTitle({});
        countButton_->setText({});
        countButton_->setEnabled(false);
        return 0;
    }
    const Package& wad = *package_;
    int count = wad.addedMeshCount;
    if (static_cast<std::uint32_t>(index) < wad.moveableCount) {
        const auto [first, last] = wad.pointerRange(static_cast<std::size_t>(index));
        count = static_cast<int>(last - first);
    }
    QStringList entries;
    for (int k = 0; k < count; ++k)
        entries << meshEntry(k);
    meshesList_->addItems(entries);
    meshesGroup_->setTitle(QStringLiteral("%1 Mesh%2").arg(count).arg(count == 1 ? "" : "es"));
    if (count == 0) {
        countButton_->setText({});
        countButton_->setEnabled(false);
    }
    return count;
}

void RenderWindow::chooseMoveable(int index, bool selectLast) {
    const int count = fillMeshesList(index);
    if (count > 0)
        selectMeshEntry(selectLast ? count - 1 : 0);
}

void RenderWindow::selectMeshEntry(int entry) {
    {
        const QSignalBlocker blocker(meshesList_);
        meshesList_->setCurrentIndex(entry);
    }
    chooseMesh(entry);
}

void RenderWindow::showMeshInLists(int slot) {
    if (!packageReady())
        return;
    const MeshLocation at = locateMesh(*package_, slot);
    if (at.kind == MeshLocation::Kind::AllMeshes || at.listIndex >= moveablesList_->count()) {
        showMesh(slot);
        return;
    }
    {
        const QSignalBlocker blocker(moveablesList_);
        moveablesList_->setCurrentIndex(at.listIndex);
    }
    if (at.entry < fillMeshesList(at.listIndex))
        selectMeshEntry(at.entry);
}

void RenderWindow::chooseMesh(int entry) {
    const int moveable = moveablesList_->currentIndex();
    if (!packageReady() || moveable < 0 || entry < 0 || entry >= meshesList_->count())
        return;
    const Package& wad = *package_;
    int slot = -1;
    if (static_cast<std::uint32_t>(moveable) >= wad.moveableCount) {
        slot = wad.objectMeshCount + entry;
    } else {
        const auto range = wad.pointerRange(static_cast<std::size_t>(moveable));
        slot = wad.meshSlotOfPointer(range.first + static_cast<std::size_t>(entry));
    }
    if (slot < 0 || slot >= wad.meshCount)
        return;
    showMesh(slot);

    const MoveablesUsingMesh users = moveablesUsingMesh(wad, slot, moveableLabelsOnly());
    countButton_->setText(toQt(users.caption));
    countButton_->setEnabled(users.buttonEnabled);
    countButton_->setToolTip(toQt(users.hint));
    moveablesWindow_->setLines(users.labels);
}

void RenderWindow::showMesh(int slot) {
    if (showingMesh_ || !packageReady() || slot < 0 || slot >= package_->meshCount ||
        static_cast<std::size_t>(slot) >= package_->meshes.size())
        return;
    showingMesh_ = true;
    {
        const QSignalBlocker blocker(allMeshesList_);
        allMeshesList_->setCurrentIndex(slot < allMeshesList_->count() ? slot : -1);
    }
    setCurrentMesh(slot);
    if (editor_)
        editor_->meshShown(slot);
    // A static's mesh shows the static's boxes, not a moveable.
    if (staticOfMesh(*package_, slot) >= 0)
        clearMoveableSelection();
    refreshIndicators();
    centerView();
    showingMesh_ = false;
}

void RenderWindow::centerView() {
    const Mesh* mesh = scene_.currentMeshData();
    if (!mesh)
        return;
    setFigureBoundsToMesh(scene_, *mesh);
    if (scene_.boundMin[0] > scene_.boundMax[0]) // no vertices: the origin
        scene_.boundMin = scene_.boundMax = {0, 0, 0};
    for (int i = 0; i < 3; ++i)
        scene_.position[i] = -(scene_.boundMin[i] + scene_.boundMax[i]) / 2;
    viewport_.setBoundsFromFigure(scene_);
    viewport_.fitView();
    viewport_.invalidateScene();
    setMeshCaption();
}

void RenderWindow::setMeshCaption() {
    const Mesh* mesh = scene_.currentMeshData();
    if (!mesh)
        return;
    QString caption =
        QString::asprintf("Render window - Mesh#:%4d   vertices:%4d   polys:%4d",
                          scene_.currentMesh, int(mesh->vertexCount), int(mesh->faceCount));
    if (mesh->vertexCount != 0 && mesh->vertexCount % 256 == 0)
        caption += " WARNING - multiple of 256 vertices";
    setWindowTitle(caption);
    setSizeStatus(*mesh);
}

void RenderWindow::setSizeStatus(const Mesh& mesh) {
    if (!editor_)
        return;
    int width = 0, height = 0, depth = 0;
    if (const auto e = meshExtents(mesh)) {
        width = (*e)[1] - (*e)[0];
        height = (*e)[3] - (*e)[2];
        depth = (*e)[5] - (*e)[4];
    }
    editor_->mainWindow().setStatusText(
        2, QStringLiteral("Height:%1   Width:%2   Depth:%3").arg(height).arg(width).arg(depth));
}

void RenderWindow::refreshMeshLists(bool selectLastAdded) {
    if (!packageReady() || !editor_)
        return;
    const Package& wad = *package_;
    if (allMeshesList_->count() != wad.meshCount)
        fillAllMeshesList();

    QStringList labels;
    for (const std::string& label : moveableLabels(wad, editor_->moveableNames()))
        labels << toQt(label);
    QStringList shown;
    for (int i = 0; i < moveablesList_->count(); ++i)
        shown << moveablesList_->itemText(i);
    if (labels != shown) {
        const QSignalBlocker blocker(moveablesList_);
        const int kept = moveablesList_->currentIndex();
        moveablesList_->clear();
        moveablesList_->addItems(labels);
        moveablesList_->setCurrentIndex(std::min(kept, static_cast<int>(labels.size()) - 1));
    }

    const bool hasAddedEntry = wad.addedMeshCount > 0 && labels.size() > int(wad.moveableCount);
    const int addedEntry = static_cast<int>(wad.moveableCount);
    if (selectLastAdded && hasAddedEntry) {
        {
            const QSignalBlocker blocker(moveablesList_);
            moveablesList_->setCurrentIndex(addedEntry);
        }
        chooseMoveable(addedEntry, true);
        return;
    }
    // The added meshes' list grows with the slots, keeping its selection.
    if (moveablesList_->currentIndex() == addedEntry && hasAddedEntry &&
        meshesList_->count() != wad.addedMeshCount) {
        const int kept = meshesList_->currentIndex();
        const int count = fillMeshesList(addedEntry);
        const QSignalBlocker blocker(meshesList_);
        meshesList_->setCurrentIndex(std::min(kept, count - 1));
    }
}

void RenderWindow::clearMoveableSelection() {
    const QSignalBlocker blocker(moveablesList_);
    moveablesList_->setCurrentIndex(-1);
}

void RenderWindow::showAllMeshesList(bool shown) {
    allMeshesGroup_->setVisible(shown);
}

void RenderWindow::showMoveablesWindow() {
    if (!packageReady() || scene_.currentMesh < 0)
        return;
    moveablesWindow_->show();
    moveablesWindow_->raise();
}

void RenderWindow::invalidateScene() {
    refreshIndicators();
    viewport_.invalidateScene();
}

void RenderWindow::refreshIndicators() {
    const Mesh* mesh = scene_.currentMeshData();
    hiddenFaces_->setVisible(mesh && mesh->hasHiddenFaces == 1);
    lightsEnabled_->setVisible(scene_.lightsEnabled != 0);
}

void RenderWindow::documentChanged(const DocumentChange& change) {
    // An open refills everything through its own steps.
    if (change.packageOpened)
        return;
    if (change.wholePackage || change.sampleCount || change.pageCount) {
        uploadSamples({});
    } else if (!change.samples.empty()) {
        uploadSamples(change.samples);
    }
    if (change.wholePackage || change.meshTables) {
        refreshMeshLists(false);
        if (package_ && scene_.currentMesh >= package_->meshCount)
            showMesh(package_->meshCount > 0 ? 0 : -1);
    }
    if (change.touchesMesh(scene_.currentMesh)) {
        setMeshCaption();
        invalidateScene();
    } else if (change.statics && scene_.showBox) {
        invalidateScene(); // the static's box overlay
    }
}

std::uint32_t RenderWindow::viewColour(ViewColour which) const {
    switch (which) {
    case ViewColour::Background:
        return viewport_.clearColor();
    case ViewColour::Line:
        return scene_.lineColor;
    case ViewColour::Box:
        return scene_.boxColor;
    case ViewColour::Point:
        return scene_.pointColor;
    case ViewColour::Point2:
        return scene_.point2Color;
    case ViewColour::Grid:
        return scene_.gridColor;
    }
    return 0;
}

void RenderWindow::setViewColour(ViewColour which, std::uint32_t colour) {
    colour &= 0x00FFFFFFu;
    switch (which) {
    case ViewColour::Background:
        // The display list does not hold the background: a repaint is enough.
        viewport_.setClearColor(colour);
        paintColourBoxes();
        return;
    case ViewColour::Line:
        scene_.lineColor = colour;
        break;
    case ViewColour::Box:
        scene_.boxColor = colour;
        break;
    case ViewColour::Point:
        scene_.pointColor = colour;
        break;
    case ViewColour::Point2:
        scene_.point2Color = colour;
        break;
    case ViewColour::Grid:
        scene_.gridColor = colour;
        break;
    }
    paintColourBoxes();
    viewport_.invalidateScene();
}

void RenderWindow::chooseViewColour(ViewColour which) {
    if (!editor_)
        return;
    if (const auto chosen = editor_->dialogs().chooseColour(viewColour(which)))
        setViewColour(which, *chosen);
}

void RenderWindow::resetColors() {
    viewport_.setClearColor(Viewport::kDefaultClearColor);
    scene_.resetColors();
    paintColourBoxes();
    viewport_.invalidateScene();
}

void RenderWindow::applyBilinearFiltering() {
    if (!packageReady() || scene_.currentMesh < 0)
        return;
    BusyCursor busy;
    uploadSamples({});
}

QToolButton* RenderWindow::colourBox(ViewColour which) const {
    switch (which) {
    case ViewColour::Background:
        return bgBox_;
    case ViewColour::Line:
        return lineBox_;
    case ViewColour::Box:
        return boxBox_;
    default:
        return nullptr;
    }
}

void RenderWindow::paintColourBoxes() {
    for (ViewColour which : {ViewColour::Background, ViewColour::Line, ViewColour::Box}) {
        const std::uint32_t colour = viewColour(which);
        colourBox(which)->setStyleSheet(
            QStringLiteral("QToolButton { background-color: %1; color: %2; border: 1px solid "
                           "black; padding: 2px 4px; }")
                .arg(qColour(colour).name(), qColour(complement(colour)).name()));
    }
    const std::uint32_t background = viewport_.clearColor();
    for (QLabel* indicator : {hiddenFaces_, lightsEnabled_}) {
        QPalette palette = indicator->palette();
        palette.setColor(QPalette::Window, qColour(background));
        palette.setColor(QPalette::WindowText, qColour(complement(background)));
        indicator->setPalette(palette);
    }
}

} // namespace kavlen
