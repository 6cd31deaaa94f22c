#include "app/remap_window.h"

#include "app/command_feedback.h"
#include "app/editor.h"
#include "app/render_window.h"
#include "meshedit/swap_vertices.h"
#include "view3d/mesh_scene.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

namespace kavlen {

RemapWindow::RemapWindow(Editor& editor, QWidget* parent) : QDialog(parent), editor_(editor) {
    setObjectName("remapWindow");
    setWindowTitle("Remap Vertices");
    setModal(true);
    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel("  Change this index    to this index", this), 0, 0, 1, 2);
    current = new QSpinBox(this);
    replacement = new QSpinBox(this);
    current->setObjectName("current");
    replacement->setObjectName("new");
    for (QSpinBox* field : {current, replacement})
        field->setRange(0, 0);
    grid->addWidget(new QLabel("Current", this), 1, 0);
    grid->addWidget(new QLabel("New", this), 1, 1);
    grid->addWidget(current, 2, 0);
    grid->addWidget(replacement, 2, 1);
    reMapButton = new QPushButton("Re-Map", this);
    cancelButton = new QPushButton("Cancel", this);
    reMapButton->setDefault(true);
    grid->addWidget(reMapButton, 3, 0);
    grid->addWidget(cancelButton, 3, 1);
    connect(reMapButton, &QPushButton::clicked, this, [this] { reMapClicked(); });
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void RemapWindow::fitToMesh(int vertexCount) {
    if (vertexCount <= 0)
        return;
    for (QSpinBox* field : {current, replacement}) {
        // A value outside the new mesh's vertices starts again at 0.
        if (field->value() < 0 || field->value() > vertexCount - 1)
            field->setValue(0);
        field->setRange(0, vertexCount - 1);
    }
}

void RemapWindow::showForCurrentMesh() {
    // Without a mesh there is nothing to renumber.
    const Mesh* mesh = meshInSlot(editor_.document(), editor_.selection().meshSlot());
    if (!mesh)
        return;
    fitToMesh(mesh->vertexCount);
    exec();
}

void RemapWindow::resetIndices() {
    current->setValue(0);
    replacement->setValue(0);
}

void RemapWindow::reMapClicked() {
    Package& wad = editor_.document();
    const int slot = editor_.selection().meshSlot();
    const int a = current->value();
    const int b = replacement->value();
    if (!editor_.packageLoaded() || !canSwapVertices(wad, slot, a, b))
        return;
    MeshEditResult result;
    editor_.edit("Remap", EditScope::mesh(slot), [&] { result = swapVertices(wad, slot, a, b); });
    // A vertex picked for swapping in the view now names another point.
    editor_.selection().setPickedVertex(-1);
    showResultMessages(editor_, result.messages);
    accept();
}

} // namespace kavlen
