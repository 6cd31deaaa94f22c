#include "app/boundary_panel.h"

#include "app/editor.h"
#include "app/main_window.h"
#include "app/name_lists.h"
#include "app/open_procedure.h"
#include "app/qt_text.h"
#include "app/render_window.h"
#include "view3d/mesh_scene.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>
#include <climits>

namespace kavlen {

namespace {

constexpr int kFieldWidth = 62;

// What each field holds, as its hint says (fields 7 to 10 hold the sphere for a
// mesh that no static uses).
constexpr std::array<const char*, kBoundFieldCount> kFieldHints = {
    "Visibility min X",
    "Visibility min Y",
    "Visibility min Z",
    "Visibility max X",
    "Visibility max Y",
    "Visibility max Z",
    "Collision min X / sphere X",
    "Collision min Y / sphere Y",
    "Collision min Z / sphere Z",
    "Collision max X / sphere radius",
    "Collision max Y",
    "Collision max Z",
    "Flag",
};

} // namespace

BoundaryPanel::BoundaryPanel(Editor& editor) : QObject(&editor.mainWindow()), editor_(editor) {
    setObjectName("boundaryPanel");
    showBox_ = editor.settings().showBox;
    editor.addSettingsCollector([this](EditorSettings& s) { s.showBox = showBox_; });
    buildControls();
    refreshControls();
    applyToScene();
    // Commands that change the shown mesh (moving or mirroring its vertices, new
    // sphere data) leave its numbers here up to date.
    editor.addMeshShownListener([this](int slot) { showMeshBounds(slot); });
    documentChanges_ = editor.history().onChange([this](const DocumentChange& change) {
        const int slot = editor_.selection().meshSlot();
        if (editor_.packageLoaded() && !change.wholePackage &&
            (change.touchesMesh(slot) || change.statics))
            showMeshBounds(slot);
    });
}

BoundaryPanel::~BoundaryPanel() = default;

void BoundaryPanel::buildControls() {
    group_ = new QGroupBox(tr("Boundary Data"));
    group_->setObjectName("boundaryGroup");
    auto* layout = new QHBoxLayout(group_);

    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(tr("Statics"), group_));
    statics_ = new QListWidget(group_);
    statics_->setObjectName("staticsList");
    statics_->setFixedWidth(120);
    statics_->setFixedHeight(150);
    left->addWidget(statics_);
    left->addStretch(1);
    layout->addLayout(left);

    auto* right = new QVBoxLayout;
    visibility_ = new QRadioButton(tr("Visibility Box"), group_);
    collision_ = new QRadioButton(tr("Collision Box"), group_);
    auto* kinds = new QButtonGroup(group_);
    kinds->addButton(visibility_);
    kinds->addButton(collision_);
    showBoxCheck_ = new QCheckBox(tr("Show Box"), group_);
    auto* choices = new QGridLayout;
    choices->addWidget(visibility_, 0, 0);
    choices->addWidget(collision_, 1, 0);
    choices->addWidget(showBoxCheck_, 0, 1);
    right->addLayout(choices);

    for (std::size_t i = 0; i < fields_.size(); ++i) {
        auto* box = new QSpinBox(group_);
        box->setObjectName(QString("boundField%1").arg(i + 1));
        box->setRange(INT_MIN, INT_MAX);
        box->setFixedWidth(kFieldWidth);
        box->setButtonSymbols(QAbstractSpinBox::NoButtons);
        box->setToolTip(tr(kFieldHints[i]));
        // A value counts once it is entered, not at every keystroke.
        box->setKeyboardTracking(false);
        fields_[i] = box;
        const int n = static_cast<int>(i) + 1;
        connect(box, &QSpinBox::valueChanged, this, [this, n](int value) { editField(n, value); });
    }
    // Two rows per box: the lower corner, then the upper one.
    const auto boxGroup = [this](const QString& caption, int first) {
        auto* g = new QGroupBox(caption, group_);
        auto* grid = new QGridLayout(g);
        grid->setContentsMargins(4, 4, 4, 4);
        for (int k = 0; k < 6; ++k)
            grid->addWidget(field(first + k), k / 3, k % 3);
        return g;
    };
    right->addWidget(boxGroup(tr("Visibility"), 1));
    right->addWidget(boxGroup(tr("Collision"), 7));

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(new QLabel(tr("Flag"), group_));
    bottom->addWidget(field(kFlagField));
    autoBound_ = new QPushButton(tr("Automatic Bound"), group_);
    autoBound_->setObjectName("automaticBound");
    bottom->addWidget(autoBound_, 1);
    right->addLayout(bottom);
    layout->addLayout(right, 1);

    connect(statics_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            selectStatic(row);
    });
    connect(visibility_, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            setBoxKind(BoxKind::Visibility);
    });
    connect(collision_, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            setBoxKind(BoxKind::Collision);
    });
    connect(showBoxCheck_, &QCheckBox::toggled, this, [this](bool on) { setShowBox(on); });
    connect(autoBound_, &QPushButton::clicked, this,
            [this] { editor_.commands().execute("AutomaticBound"); });

    editor_.mainWindow().addControlGroup(group_);
}

void BoundaryPanel::registerOpenSteps(OpenProcedure& procedure) {
    procedure.addStep(OpenStage::ClearMainWindow, [this](Package&) {
        const QSignalBlocker block(statics_);
        statics_->clear();
    });
    procedure.addStep(OpenStage::ClearImagesAndStatus, [this](Package&) {
        // The box kind and the radio buttons stay as they were.
        panel_.selectedStatic = -1;
        panel_.fields.fill(0);
        enableFields(panel_, FieldGroup::All);
        refreshControls();
    });
    procedure.addStep(OpenStage::FillObjectLists, [this](Package& wad) {
        const QSignalBlocker block(statics_);
        statics_->clear();
        for (const std::string& label : staticLabels(wad, editor_.staticNames()))
            statics_->addItem(toQt(label));
    });
}

void BoundaryPanel::refreshControls() {
    {
        const QSignalBlocker block(statics_);
        statics_->setCurrentRow(panel_.selectedStatic);
    }
    {
        const QSignalBlocker v(visibility_);
        const QSignalBlocker c(collision_);
        visibility_->setEnabled(panel_.visibilityRadioEnabled);
        (panel_.boxKind == BoxKind::Collision ? collision_ : visibility_)->setChecked(true);
    }
    {
        const QSignalBlocker block(showBoxCheck_);
        showBoxCheck_->setChecked(showBox_);
    }
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        const QSignalBlocker block(fields_[i]);
        fields_[i]->setValue(panel_.fields[i]);
        fields_[i]->setEnabled(panel_.enabled[i]);
    }
}

void BoundaryPanel::applyToScene() {
    if (MeshScene* scene = editor_.renderWindow().meshScene()) {
        scene->showBox = showBox_ ? 1 : 0;
        scene->boxKind = panel_.boxKind == BoxKind::Collision ? 1 : 0;
    }
    editor_.renderWindow().invalidateScene();
}

bool BoundaryPanel::showMeshBounds(int slot) {
    const bool staticShown = kavlen::showMeshBounds(editor_.document(), slot, panel_);
    refreshControls();
    applyToScene();
    return staticShown;
}

void BoundaryPanel::showInRenderWindow(int slot) {
    // The render window's Show mesh comes back here through the mesh-shown listener.
    editor_.renderWindow().showMesh(slot);
}

void BoundaryPanel::showMesh(int slot) {
    showInRenderWindow(slot);
    showMeshBounds(slot);
}

void BoundaryPanel::selectStatic(int staticIndex) {
    const int slot = kavlen::selectStatic(editor_.document(), staticIndex, panel_);
    if (slot >= 0)
        showInRenderWindow(slot);
    refreshControls();
    applyToScene();
}

void BoundaryPanel::editField(int field, long long value) {
    const int mesh = editor_.selection().meshSlot();
    BoundEdit result;
    editor_.edit("Boundary Data", EditScope::meshAndStatics(mesh),
                 [&] { result = editBoundField(editor_.document(), mesh, panel_, field, value); });
    finishEdit(result);
}

void BoundaryPanel::automaticBound() {
    const int mesh = editor_.selection().meshSlot();
    BoundEdit result;
    editor_.edit("Automatic Bound", EditScope::meshAndStatics(mesh),
                 [&] { result = kavlen::automaticBound(editor_.document(), mesh, panel_); });
    finishEdit(result);
}

void BoundaryPanel::finishEdit(const BoundEdit& edit) {
    for (const Message& message : edit.messages)
        editor_.dialogs().show(message);
    // A refused or clamped value goes back to what the document holds.
    refreshControls();
    if (edit.redraw)
        editor_.renderWindow().invalidateScene();
}

void BoundaryPanel::setBoxKind(BoxKind kind) {
    kavlen::setBoxKind(editor_.document(), editor_.selection().meshSlot(), panel_, kind);
    refreshControls();
    applyToScene();
}

void BoundaryPanel::setShowBox(bool on) {
    showBox_ = on;
    refreshControls();
    applyToScene();
}

} // namespace kavlen
