// The "Lighting Editor" tool window: the white light intensity that "Change &All"
// gives every vertex of the current mesh and that a click in the render window
// paints on the corners of one face, the corners a click paints, and the
// "&Enable Lights" switch that shows the shades in the view.
#pragma once

#include "meshedit/face_click.h"

#include <QWidget>
#include <array>
#include <functional>

class QCheckBox;
class QLabel;
class QPushButton;
class QSlider;

namespace kavlen {

class LightingEditorWindow : public QWidget {
    Q_OBJECT
  public:
    explicit LightingEditorWindow(QWidget* owner);

    LightingEditorState state() const;
    void setIntensity(int intensity);

    // "&Enable Lights" changed; "Change &All" pressed.
    std::function<void(bool)> lightsToggled;
    std::function<void(int intensity)> changeAll;

    QSlider* intensitySlider() const { return intensity_; }
    QLabel* intensityLabel() const { return label_; }
    QCheckBox* vertexBox(int n) const { return vertexBoxes_[static_cast<std::size_t>(n)]; }
    QCheckBox* enableLightsBox() const { return enable_; }
    QPushButton* changeAllButton() const { return changeAll_; }

  private:
    QSlider* intensity_ = nullptr;
    QLabel* label_ = nullptr;
    std::array<QCheckBox*, 4> vertexBoxes_{};
    QCheckBox* enable_ = nullptr;
    QPushButton* changeAll_ = nullptr;
};

} // namespace kavlen
