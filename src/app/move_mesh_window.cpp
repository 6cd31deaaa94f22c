#include "app/move_mesh_window.h"

#include "app/command_feedback.h"
#include "app/editor.h"
#include "app/main_window.h"
#include "app/render_window.h"
#include "document/bounds.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <climits>

namespace kavlen {

namespace {

// Axis colours: X red, Y green, Z blue.
constexpr const char* kAxisColour[3] = {"red", "green", "blue"};
constexpr const char* kAxisName[3] = {"X", "Y", "Z"};

void paintAxis(QWidget* widget, int axis) {
    widget->setStyleSheet(QString("background-color: %1; color: white;").arg(kAxisColour[axis]));
}

QSpinBox* unboundedField(QWidget* parent) {
    auto* field = new QSpinBox(parent);
    field->setRange(INT_MIN, INT_MAX);
    field->setValue(0);
    return field;
}

} // namespace

MoveMeshWindow::MoveMeshWindow(Editor& editor, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint), editor_(editor) {
    setObjectName("moveMeshWindow");
    setWindowTitle("Move Mesh");
    pages = new QTabWidget(this);
    pages->addTab(makeMovePage(), "Move");
    pages->addTab(makeNumberPage(), "Number");
    pages->addTab(makeShiftPage(), "Shift");
    pages->setCurrentIndex(0);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(pages);
}

QWidget* MoveMeshWindow::makeMovePage() {
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    for (int a = 0; a < 3; ++a) {
        const Axis axis = static_cast<Axis>(a);
        auto* up = new QToolButton(page);
        auto* down = new QToolButton(page);
        up->setArrowType(Qt::UpArrow);
        down->setArrowType(Qt::DownArrow);
        for (QToolButton* b : {up, down}) {
            paintAxis(b, a);
            b->setMinimumSize(32, 24);
        }
        up->setObjectName(QString("up%1").arg(kAxisName[a]));
        down->setObjectName(QString("down%1").arg(kAxisName[a]));
        connect(up, &QToolButton::clicked, this, [this, axis] { arrowClicked(axis, true); });
        connect(down, &QToolButton::clicked, this, [this, axis] { arrowClicked(axis, false); });
        upArrows[a] = up;
        downArrows[a] = down;
        const int column = 2 * a;
        grid->addWidget(new QLabel(kAxisName[a], page), 0, column + 1, Qt::AlignHCenter);
        grid->addWidget(up, 1, column + 1);
        grid->addWidget(down, 2, column + 1);
    }
    // y points down in the package: the Y up arrow makes y smaller.
    grid->addWidget(new QLabel("-", page), 1, 2);
    grid->addWidget(new QLabel("+", page), 2, 2);
    moveClicks = new QCheckBox("Clicks", page);
    grid->addWidget(moveClicks, 3, 0, 1, 6);
    return page;
}

QWidget* MoveMeshWindow::makeNumberPage() {
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    for (int a = 0; a < 3; ++a) {
        numbers[a] = unboundedField(page);
        grid->addWidget(new QLabel(QString(kAxisName[a]).toLower(), page), a, 0);
        grid->addWidget(numbers[a], a, 1);
    }
    numberOk = new QPushButton("OK", page);
    numberClear = new QPushButton("Clear", page);
    grid->addWidget(numberOk, 3, 0);
    grid->addWidget(numberClear, 3, 1);
    connect(numberOk, &QPushButton::clicked, this, [this] { numberOkClicked(); });
    connect(numberClear, &QPushButton::clicked, this, [this] {
        for (QSpinBox* field : numbers)
            field->setValue(0);
    });
    return page;
}

QWidget* MoveMeshWindow::makeShiftPage() {
    auto* page = new QWidget;
    auto* row = new QHBoxLayout(page);
    auto* left = new QVBoxLayout;
    shiftValue = unboundedField(page);
    shiftClicks = new QCheckBox("Clicks", page);
    shiftClear = new QPushButton("Clear", page);
    left->addWidget(shiftValue);
    left->addWidget(shiftClicks);
    left->addWidget(shiftClear);
    left->addStretch();
    row->addLayout(left);
    connect(shiftClear, &QPushButton::clicked, this, [this] { shiftValue->setValue(0); });

    auto* buttons = new QVBoxLayout;
    constexpr const char* captions[6] = {"Low X", "High X", "Low Y", "High Y", "Low Z", "High Z"};
    for (int b = 0; b < 6; ++b) {
        auto* button = new QPushButton(captions[b], page);
        paintAxis(button, b / 2);
        const auto bound = static_cast<MeshBound>(b);
        connect(button, &QPushButton::clicked, this, [this, bound] { boundClicked(bound); });
        boundButtons[b] = button;
        buttons->addWidget(button);
    }
    row->addLayout(buttons);
    return page;
}

void MoveMeshWindow::arrowClicked(Axis axis, bool up) {
    const bool clicks = moveClicks->isChecked();
    apply([&](Package& wad, int slot) { return moveMeshByArrow(wad, slot, axis, up, clicks); });
}

void MoveMeshWindow::numberOkClicked() {
    const int x = numbers[0]->value(), y = numbers[1]->value(), z = numbers[2]->value();
    apply([&](Package& wad, int slot) { return moveMesh(wad, slot, x, y, z); });
}

void MoveMeshWindow::boundClicked(MeshBound bound) {
    const int value = shiftValue->value();
    const bool clicks = shiftClicks->isChecked();
    apply(
        [&](Package& wad, int slot) { return shiftMeshToBound(wad, slot, bound, value, clicks); });
}

void MoveMeshWindow::apply(const std::function<MeshEditResult(Package&, int)>& move) {
    const int slot = editor_.selection().meshSlot();
    MeshEditResult result;
    editor_.edit("Move Mesh", EditScope::meshAndStatics(slot),
                 [&] { result = move(editor_.document(), slot); });
    // A refusal shown before is out of date now.
    if (result.changed)
        editor_.mainWindow().setStatusText(1, {});
    showResultMessages(editor_, result.messages);
}

} // namespace kavlen
