// The main window's "Boundary Data" group: the statics list, the box kind radio
// buttons, "Show Box", the thirteen number fields and "Automatic Bound". The
// numbers and their rules live in the core's BoundPanel; this class binds them
// to the controls, writes edits into the document and tells the views.
#pragma once

#include "document/listener_list.h"

#include "document/bounds.h"

#include <QObject>
#include <array>

class QCheckBox;
class QGroupBox;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace kavlen {

class Editor;
class OpenProcedure;

class BoundaryPanel : public QObject {
    Q_OBJECT
  public:
    explicit BoundaryPanel(Editor& editor);
    ~BoundaryPanel() override;

    void registerOpenSteps(OpenProcedure& procedure);

    // The render window shows mesh `slot`: the first static that uses it is
    // selected with its boxes, or else the mesh's sphere fills fields 7 to 10.
    // Returns true when a static's boxes are shown (the render window then clears
    // its moveable selection).
    bool showMeshBounds(int slot);
    // Statics list choice: the static's mesh goes to the render window.
    void selectStatic(int staticIndex);
    // Field n (1..13) got a new value from the user.
    void editField(int field, long long value);
    // "Automatic Bound" (the command's work; the command table guards it).
    void automaticBound();
    void setBoxKind(BoxKind kind);
    void setShowBox(bool on);

    // Makes `slot` the render window's current mesh, fits the view and shows the
    // mesh's bounds here.
    void showMesh(int slot);

    const BoundPanel& state() const { return panel_; }
    bool showBox() const { return showBox_; }

    QGroupBox* group() const { return group_; }
    QListWidget* staticsList() const { return statics_; }
    QRadioButton* visibilityRadio() const { return visibility_; }
    QRadioButton* collisionRadio() const { return collision_; }
    QCheckBox* showBoxCheck() const { return showBoxCheck_; }
    // Field n, 1..13.
    QSpinBox* field(int n) const { return fields_[static_cast<std::size_t>(n - 1)]; }
    QPushButton* automaticBoundButton() const { return autoBound_; }

  private:
    // Makes `slot` the render window's current mesh and fits the view to it.
    void showInRenderWindow(int slot);
    void buildControls();
    // Puts the panel state into the controls without reacting to them.
    void refreshControls();
    // Box kind and "Show Box" into the scene the render window draws.
    void applyToScene();
    void finishEdit(const BoundEdit& edit);

    Editor& editor_;
    BoundPanel panel_ = freshBoundPanel();
    bool showBox_ = true;

    QGroupBox* group_ = nullptr;
    QListWidget* statics_ = nullptr;
    QRadioButton* visibility_ = nullptr;
    QRadioButton* collision_ = nullptr;
    QCheckBox* showBoxCheck_ = nullptr;
    std::array<QSpinBox*, kBoundFieldCount> fields_{};
    QPushButton* autoBound_ = nullptr;
    Subscription documentChanges_;
};

} // namespace kavlen
