// The "Remap Vertices" dialog: exchanges two vertex indices of the current mesh
// ("Current" becomes "New" and back). It stays open while the two indices cannot
// be swapped.
#pragma once

#include <QDialog>

class QPushButton;
class QSpinBox;

namespace kavlen {

class Editor;

class RemapWindow : public QDialog {
    Q_OBJECT
  public:
    RemapWindow(Editor& editor, QWidget* parent);

    // Shows the dialog modally for the current mesh; nothing without one.
    void showForCurrentMesh();
    // Both indices back to 0, as when another mesh is shown.
    void resetIndices();
    // "Re-Map": swaps and closes, or does nothing and stays open.
    void reMapClicked();

    QSpinBox* current = nullptr;
    QSpinBox* replacement = nullptr; // "New"
    QPushButton* reMapButton = nullptr;
    QPushButton* cancelButton = nullptr;

  private:
    // Fits both fields to the vertices of the current mesh.
    void fitToMesh(int vertexCount);

    Editor& editor_;
};

} // namespace kavlen
