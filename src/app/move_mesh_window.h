// The "Move Mesh" tool window: three pages that move the current mesh. "Move"
// nudges it along one axis with arrow buttons, "Number" moves it by three
// numbers, "Shift" puts one of its six bounds on a value. Moves that would leave
// the 16-bit coordinate range are refused on the status bar.
#pragma once

#include "meshedit/mesh_edit.h"
#include "meshedit/move_mesh.h"

#include <functional>

#include <QWidget>
#include <array>

class QCheckBox;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QToolButton;

namespace kavlen {

class Editor;

class MoveMeshWindow : public QWidget {
    Q_OBJECT
  public:
    MoveMeshWindow(Editor& editor, QWidget* parent);

    // The work behind the buttons.
    void arrowClicked(Axis axis, bool up);
    void numberOkClicked();
    void boundClicked(MeshBound bound);

    QTabWidget* pages = nullptr;
    // "Move" page: an up and a down arrow per axis (X, Y, Z) and "Clicks".
    std::array<QToolButton*, 3> upArrows{};
    std::array<QToolButton*, 3> downArrows{};
    QCheckBox* moveClicks = nullptr;
    // "Number" page.
    std::array<QSpinBox*, 3> numbers{};
    QPushButton* numberOk = nullptr;
    QPushButton* numberClear = nullptr;
    // "Shift" page: the bound buttons in the order of MeshBound.
    QSpinBox* shiftValue = nullptr;
    QCheckBox* shiftClicks = nullptr;
    QPushButton* shiftClear = nullptr;
    std::array<QPushButton*, 6> boundButtons{};

  private:
    QWidget* makeMovePage();
    QWidget* makeNumberPage();
    QWidget* makeShiftPage();
    // Runs a move of the current mesh as one undo step and shows its messages.
    void apply(const std::function<MeshEditResult(Package&, int)>& move);

    Editor& editor_;
};

} // namespace kavlen
